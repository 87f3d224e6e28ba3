// The user settings kept between runs: one fixed 543-byte record in
// "mp3qc.ini" (beside the executable, or the user's own copy: see
// settings_location.h), read once at start-up and rewritten in
// place. The file is never created or truncated by the program, so a file of
// the wrong length stays wrong and a missing one stays missing.
//
// Record layout (little-endian, no header):
//   0  savedir   short string (length byte + 255 characters)
//   256 loaddir  short string
//   512 main window top, 516 main window left      signed 32-bit
//   520 toolbarmode, 521 toolbarstyle, 522 errorpolicy   bytes
//   523 infoleft, 527 infotop                      signed 32-bit
//   531 autousestart, autouseend, autosubstart, autosubend   bytes
//   535 autoleft, 539 autotop                      signed 32-bit
#pragma once

#include <cstdint>
#include <string>

#include "silence/auto_settings.h"
#include "ui/control.h"
#include "ui/msgbox.h"

namespace qc {

inline constexpr std::int64_t settingssize = 543;
inline constexpr const char* settingsname = "mp3qc.ini";
inline constexpr const char* settingsresetmessage =
    "Error reading configuration file.\r\nParameters reset.";

// The settings file beside the executable: the directory of its full path.
std::string settingspath(const std::string& exepath);

// The start value of both directories is the user's home directory; savedir
// keeps a trailing "/", loaddir has none unless it is the root.
std::string homedirectory();
std::string withslash(const std::string& dir);

class Settings {
public:
    // The main window's position is not kept here during the run: it is read
    // into the window and taken from it when writing. savedir is the save
    // dialog's own directory (the writer's), shared by reference so that the
    // two can never disagree.
    Settings(ui::Form& mainwindow, std::string& savedir);

    // The directories used before the file is read and after a reset.
    void setstartdirectory(const std::string& home);

    // Reads the record; on any failure resets and tells the user. Values are
    // taken as they are, without checks.
    void readsettings(ui::MessageBox& box);
    // Rewrites the record in place; false (and silent) on any failure.
    bool writesettings();

    // The settings file in use (see settings_location.h for which one).
    std::string path;
    // Its directory: other files of this user's settings live beside it.
    std::string directory() const;
    std::string& savedir;
    // The record held a save directory (one chosen by an earlier save).
    bool savedirstored = false;
    std::string loaddir;
    std::uint8_t toolbarmode = 0;   // 0 hidden, 1 pictures, 2 text, 3 both
    std::uint8_t toolbarstyle = 0;  // the style remembered while hidden
    std::uint8_t errorpolicy = 0;   // 0 fail, 1 prompt, 2 attempt to continue
    std::int32_t infoleft = 0;
    std::int32_t infotop = 0;
    AutoSettings autos;

private:
    void reset(ui::MessageBox& box);

    ui::Form& window_;
    std::string home_ = "/";
};

}  // namespace qc

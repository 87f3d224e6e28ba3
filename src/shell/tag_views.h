// The two tag views of the main window: the "view" buttons beside the
// header and footer tag lines reopen the source, read the tag as text and
// show it in a message box. Read-only; the tags are never changed.
#pragma once

#include <string>

#include "stream/loaded_file.h"
#include "tags/tag_read.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"

namespace qc {

namespace tagcaption {
inline constexpr const char* id3v1 = "ID3v1 (footer) TAG CONTENT";
inline constexpr const char* id3v2 = "ID3v2 (header) TAG CONTENT";
inline constexpr const char* error = "Error";
}  // namespace tagcaption

inline constexpr const char* diskerrortext =
    "Disk error - maybe file was moved or  modified in the meantime?";
inline constexpr int tagstyle = 64;    // OK, information
inline constexpr int errorstyle = 48;  // OK, exclamation

class TagViews {
public:
    TagViews(LoadedFile& file, ui::MessageBox& box);

    void vftbuttonClick();
    void vhtbuttonClick();
    void wire(ui::MainForm& form);

    // The text the last view built (the ID3v2 view's in UTF-8, the ID3v1
    // view's single-byte), and whether its re-read of the source failed.
    std::string tagtext;
    bool readfail = false;

private:
    bool opensource();
    void show(const TagRead& read, const char* caption, bool utf8);
    void closeview();

    LoadedFile& file_;
    ui::MessageBox& box_;
};

}  // namespace qc

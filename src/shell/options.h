// The user's options that the 543-byte settings record has no room for,
// kept in a small JSON file beside it (quillcut.json in the directory of
// the mp3qc.ini in use). A missing or unreadable file gives the defaults,
// silently; the record itself is never touched here.
#pragma once

#include <optional>
#include <string>

namespace qc {

struct Options {
    bool exactoutput = true;  // Options > Exact output
};

// The options file for the settings file at settingspath.
std::string optionspath(const std::string& settingspath);

Options readoptions(const std::string& path);
// Writes through a temporary file and a rename, so a crash leaves the old
// file or the new one; false on failure. Keys it does not know are kept.
bool writeoptions(const std::string& path, const Options& options);

// Where a window's frame was last: its outer top-left corner.
struct WindowPlace {
    int left = 0, top = 0;
    bool operator==(const WindowPlace&) const = default;
};

// A window's place under its own key ("tracks_window"), none when the file
// holds none or no usable one; written as writeoptions writes, the other
// keys kept.
std::optional<WindowPlace> readwindowplace(const std::string& path, const std::string& key);
bool writewindowplace(const std::string& path, const std::string& key, const WindowPlace& place);

}  // namespace qc

// Which settings file a run uses. A writable mp3qc.ini beside the executable
// wins: a portable copy carried on a stick, or a build folder. Otherwise each
// user has their own in $XDG_CONFIG_HOME/quillcut (by default
// ~/.config/quillcut), made once from the installed default so that a first
// start begins without the reset message. After that the file is the user's
// and follows every rule of the settings file: it is never created again
// while it exists, never truncated, and a wrong length is reset with the
// message at each start.
#pragma once

#include <string>

namespace qc {

struct SettingsPlaces {
    std::string exedir;     // the executable's directory
    std::string configdir;  // the user's configuration directory; empty: none known
    std::string datadir;    // the directory holding the installed default mp3qc.ini
};

// The user's configuration directory from the values of XDG_CONFIG_HOME and
// HOME (either may be null). A relative XDG_CONFIG_HOME is ignored, as the
// base directory rules ask; without an absolute HOME there is none ("").
std::string userconfigdir(const char* xdgconfighome, const char* home);

// The places for the executable at exepath, read from the environment. The
// default lies at the installed data folder's position relative to the
// installed executable, so an installed tree can be moved (or staged under
// DESTDIR) as a whole.
SettingsPlaces settingsplaces(const std::string& exepath);

// The full name of the settings file to use. May create the user's copy from
// the default; when that cannot be done the name is still returned, and the
// reader then resets with the message as for any missing file.
std::string settingslocation(const SettingsPlaces& places);

// Puts a copy of defaultfile at target unless target already exists. Only a
// default of exactly the record's length is copied, and the copy appears
// whole or not at all (another start at the same moment keeps its own).
bool createfromdefault(const std::string& target, const std::string& defaultfile);

// The directory part of a settings file name, where files kept beside it go.
std::string settingsdirectory(const std::string& settingsfile);

}  // namespace qc

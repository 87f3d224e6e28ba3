// Saving onto the source: recognising that a chosen name is the source,
// and putting the new content in its place without ever losing the old.
//
// The new content is written to a temporary file beside the file being
// replaced, flushed to the disk, and moved over it with one rename, which
// the file system performs atomically: at every moment the source's name
// holds either the old or the new content, also across a crash.
#pragma once

#include <functional>
#include <string>

namespace qc {

// True when both names denote one existing file: the same name, another
// spelling of it (relative parts, a symbolic link) or a hard link. Letter
// case is significant, as it is for the file system: SONG.MP3 and
// song.mp3 are two files.
bool samefile(const std::string& a, const std::string& b);

// The file that a save onto the source must replace: the source's name
// with every symbolic link resolved, so that a link is kept and the file
// it points to gets the new content. The name itself when it cannot be
// resolved.
std::string replacedfile(const std::string& source);

// The temporary name for a replacement: the name without its last three
// characters, followed by "tmpmp3" (song.mp3 gives song.tmpmp3).
std::string temporaryname(const std::string& name);

// Gives the temporary file the permission bits of the file it replaces,
// so that the replacement keeps them. Best effort.
void copypermissions(const std::string& from, const std::string& to);

// Moves the temporary file over the replaced one with rename, then (when
// durable) makes the directory entry durable. False when the rename failed;
// the replaced file is then untouched.
bool movereplacement(const std::string& temporary, const std::string& replaced,
                     const std::function<bool(const std::string&, const std::string&)>& rename,
                     bool durable = true);

}  // namespace qc

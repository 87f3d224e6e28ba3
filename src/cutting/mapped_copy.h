// The save's in-kernel copy of a run of frames. copy_file_range copies
// page by page, and where the run starts at another offset within a page
// in the output than in the source (as nearly every cut does: the first
// kept frame lies anywhere in the source, and goes to the start of the
// output or after a made tag frame), each page takes two partial copies;
// that measured 40 % slower than cp of the same file. Such a run is
// written instead from a map of the source, which the kernel copies once
// into the output's pages. A run at the same offset within the page goes
// to copy_file_range, where a file system that shares extents shares them
// (and a network file system copies on the server), except on ext2/3/4 and
// tmpfs, which do neither: there the map is quicker for every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace qc {

// A BinaryFile::RangeCopier. A source cut short under the map ends the call
// with what was written before the missing part (0 if nothing), the rest
// left to the caller's reads, which then fail as for any shrunk source;
// an output error returns -1 with errno, as copy_file_range does.
ssize_t mappedcopyrange(int infd, off_t* inoff, int outfd, off_t* outoff, std::size_t len);

// Writes n bytes of a map to fd at offset, again after a signal; the bytes
// written, with code set to the errno (EFAULT for a write that stopped
// short at a page past the end of a source cut short) where fewer went.
// The kernel reads the map, so a vanished page raises no signal.
std::size_t writefrommap(int fd, const std::uint8_t* data, std::size_t n, off_t offset, int& code);

}  // namespace qc

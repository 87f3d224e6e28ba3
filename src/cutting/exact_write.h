// Writing an exact plan's output. The tag frame at its head carries the CRC
// of the audio behind it, which takes a pass over the source's frames
// (mapped, so nothing is copied for it). By default the pass runs on a
// second thread while the frames are copied in the kernel, and the tag
// frame (whose size does not depend on the CRC) is written in its final
// form once the pass is done; the pass can also run before the copy. With
// a core to spare the pass beside the copy measured faster; on a machine
// whose cores are both busy, the pass before it (bench/exact_bench prints
// both).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cutting/exact_plan.h"
#include "stream/binary_file.h"
#include "stream/error.h"

namespace qc {

// How the music CRC is computed: beside the copy on a second thread, in one
// pass over the source before the copy, or (Chosen) beside the copy for an
// output of 16 MiB or more and before it for a smaller one, where a
// thread's start and the wait for it cost more than the pass: on 1,008
// small files, --jobs 1 waited about 1 ms a file for the thread on a busy
// machine.
enum class CrcPass { Beside, Before, Chosen };

// Writes plan.output to output, at its current position, and completes the
// plan's tag frame. sourcename is the file source reads, mapped for the CRC;
// buffer carries the copy where the kernel does not, and the CRC's own
// reads where the source cannot be mapped. Nobody to blame on success; the
// source where it could not be read (its error pending in source), the
// target where the output could not be written (pending in output).
Blame writeexactoutput(BinaryFile& source, BinaryFile& output, ExactPlan& plan,
                                   const std::string& sourcename, std::span<std::uint8_t> buffer,
                                   CrcPass pass = CrcPass::Chosen);

}  // namespace qc

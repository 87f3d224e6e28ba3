// The early copy of a cut: while the load still walks a large source, a
// second thread copies the frames behind the walk into the output, to the
// place the save is expected to put them, so that the whole cut costs
// little more than the copy alone. The save decides afterwards what the
// copy is worth: it takes copied bytes only where its own plan puts those
// same source bytes at those same places in that same file, and writes
// everything else itself; a copy that guessed wrong costs time, never a
// byte of the output.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>

#include "cutting/output_plan.h"
#include "stream/binary_file.h"
#include "stream/mapped_file.h"

namespace qc {

class EarlyCopy {
public:
    EarlyCopy() = default;
    ~EarlyCopy();
    EarlyCopy(const EarlyCopy&) = delete;
    EarlyCopy& operator=(const EarlyCopy&) = delete;

    // Starts copying the source (open as sourcefd, size bytes long) from
    // offset from on, into the existing file output at offset to, never
    // past the limit that advance moves. It reads through the kept map of
    // the source (the load's): false, and nothing started, where there is
    // none or the output cannot be opened.
    bool start(int sourcefd, std::size_t size, const std::string& output, std::int64_t from,
               std::int64_t to);
    bool started() const { return thread_.joinable(); }

    // The walk has checked the source up to offset limit: the copy may go
    // that far.
    void advance(std::int64_t limit);

    // What the output holds: source bytes [sourcefrom, sourcefrom + bytes)
    // at output offsets [outputfrom, outputfrom + bytes).
    struct Stretch {
        std::int64_t sourcefrom = 0, outputfrom = 0, bytes = 0;
    };
    // The save's plan puts the stretch from its start on at its place, as
    // far as source offset end: the copy goes no further (and is waited for
    // by finish).
    void bound(std::int64_t end);

    // Lets the copy go on up to source offset end (the load is done), waits
    // for it, and says what it holds, up to end at most. Nothing when it
    // never started or its source was found cut short. The first call
    // decides; later ones (from other threads too) get the same answer.
    //
    // Meanwhile the first caller lets the map's pages go behind the copy
    // (taking down the page tables of 200 MB costs a tenth of the copy's
    // time, here spent beside it instead of after it), but not ahead of a
    // reader announced with expectreader.
    Stretch finish(std::int64_t end);

    // Another pass will read the stretch through the map (the exact
    // output's CRC): its pages stay until readerpassed says it is past them.
    void expectreader();
    void readerpassed(std::int64_t offset);

    // Whether the copy's stretch starts at source offset in and output
    // offset out.
    bool startsat(std::int64_t in, std::int64_t out) const { return started() && in == from_ && out == to_; }

    // Whether fd is the file the copy writes, or reads.
    bool writes(int fd) const;
    bool reads(int fd) const;
    // Whether the file at path is the one the copy writes.
    bool writes(const std::string& path) const;

    // Stops the copy where it is; what it wrote stays in the output.
    void cancel();

private:
    void run();
    std::int64_t goal() const;
    void endat(std::int64_t end);  // (lock held)
    // Lets the map's pages go behind the copy and the reader until the copy
    // is complete (lock held on entry and exit).
    void releasebehind(std::unique_lock<std::mutex>& hold);

    MappedFile map_;
    int outfd_ = -1;
    dev_t sourcedev_ = 0, outdev_ = 0;
    ino_t sourceino_ = 0, outino_ = 0;
    std::int64_t from_ = 0, to_ = 0;

    mutable std::mutex lock_;
    std::condition_variable wake_, progress_;
    std::int64_t limit_ = 0;  // the walk's checked end
    std::int64_t end_ = -1;   // where finish stops the copy (-1: not yet)
    std::int64_t at_ = 0;     // copied up to here
    std::int64_t reader_ = std::numeric_limits<std::int64_t>::max();  // the other pass's place
    bool stop_ = false, finished_ = false, releasing_ = false;
    std::thread thread_;
};

// How the save's output was opened: created empty, or over the early
// copy's file as it stands (to be written around what it holds, and ended
// at the save's last byte).
enum class OutputOpen { Failed, Created, Adopted };
// Opens target for the save's output: the early copy's file as it stands
// where early writes it (and it opens), else a new empty file under the
// name (the early copy's file removed first: its bytes must not be taken
// for the new file's).
OutputOpen openoutput(BinaryFile& output, const std::string& target, const EarlyCopy* early);

// Before the save writes anything over the early copy's file: where its
// plan has a piece of at least minimum bytes (one the range copier moves)
// that starts where the copy starts, at the copy's place, the copy is
// bounded by it; otherwise it is stopped, so that it never writes where
// the save writes.
void settle(EarlyCopy& early, const CopyPlan& plan, std::int64_t minimum);
void settle(EarlyCopy& early, const OutputPlan& plan, std::int64_t minimum);

// A BinaryFile::RangeCopier that takes what the early copy already holds
// (where the call asks for exactly those bytes at exactly those places of
// the same files) as copied, and hands the rest to next.
BinaryFile::RangeCopier earlycopier(EarlyCopy& early, BinaryFile::RangeCopier next);

}  // namespace qc

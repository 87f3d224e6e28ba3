// Untyped binary file with a record size of one byte, in the manner of the
// classic Pascal file layer: nothing throws, a failed operation leaves an
// error code pending, and ioresult() returns that code and clears it.
// While a code is pending, further reads, writes and seeks are skipped, so a
// failure deep inside a run of unchecked reads surfaces at the next query.
//
// Reads are served from a 64 KiB window so that the scanner's two-byte probes
// and single-byte searches do not cost a system call each; writes are
// gathered the same way. A read that runs past the end of the file fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qc {

class BinaryFile {
public:
    static constexpr std::size_t windowsize = 65536;

    BinaryFile();
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing file with read and write access. A file whose write
    // permission bits are all clear counts as read-only and is refused, even
    // for root, like a file with the read-only attribute elsewhere.
    bool openexisting(const std::string& path);
    // Creates the file, or truncates an existing one, for reading and writing.
    bool create(const std::string& path);
    // Writes out anything gathered and closes; an error here stays pending.
    void close();
    bool isopen() const { return fd_ >= 0; }

    // Current size in bytes, including data gathered but not yet written.
    std::int64_t size();
    // Zero-based positioning; seeking beyond the end is allowed (as in Pascal),
    // the next read there fails.
    void seek(std::int64_t offset);
    std::int64_t position() const { return pos_; }

    // Reads exactly n bytes; fewer available is a failure (code 100).
    // Returns the number of bytes placed into buf.
    std::size_t read(void* buf, std::size_t n);
    // Reads one byte; 0 on failure.
    std::uint8_t readbyte();
    std::size_t write(const void* buf, std::size_t n);
    // Writes out gathered data and asks the system to put it on the disk.
    bool flush();

    // Returns the pending error code (0 = none) and clears it.
    int ioresult();
    // True while a code is pending (does not clear it).
    bool failed() const { return error_ != 0; }
    // The pending code, left pending.
    int peekerror() const { return error_; }

    static constexpr int eof_error = 100;  // read past the end of the file
    static constexpr int notopen_error = 103;

private:
    void fail(int code);
    bool flushwrites();
    bool fillwindow(std::int64_t at);

    int fd_ = -1;
    int error_ = 0;
    std::int64_t pos_ = 0;
    // read window: bytes [winstart_, winstart_ + winlen_) of the file
    std::vector<std::uint8_t> window_;
    std::int64_t winstart_ = 0;
    std::size_t winlen_ = 0;
    // gathered writes: bytes [wstart_, wstart_ + wbuf_.size())
    std::vector<std::uint8_t> wbuf_;
    std::int64_t wstart_ = 0;
};

// Delete and rename by name; false on failure (callers decide whether to look).
bool deletefile(const std::string& path);
bool renamefile(const std::string& from, const std::string& to);
bool fileexists(const std::string& path);

}  // namespace qc

#include "cli/batch.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <optional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/failure.h"
#include "cli/interrupts.h"
#include "cli/progress_line.h"

namespace qccli {

namespace {

// Moves all n bytes through io (read or write), again after a signal; false
// at the end of the pipe or on an error.
template <typename IO, typename Byte>
bool wholly(IO io, int fd, Byte* p, std::size_t n)
{
    while (n > 0) {
        ssize_t k = io(fd, p, n);
        if (k < 0 && errno == EINTR)
            continue;
        if (k <= 0)
            return false;
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

bool writeall(int fd, const void* data, std::size_t n)
{
    return wholly(::write, fd, static_cast<const char*>(data), n);
}

bool readall(int fd, void* data, std::size_t n)
{
    return wholly(::read, fd, static_cast<char*>(data), n);
}

// A report through a pipe: index, failed, the two lengths, the two texts.
struct FrameHead {
    std::uint64_t index = 0;
    std::uint64_t failed = 0;
    std::uint64_t outsize = 0;
    std::uint64_t errsize = 0;
};

bool sendreport(int fd, std::uint64_t index, const Printed& p)
{
    FrameHead h{index, p.failed ? 1u : 0u, p.out.size(), p.err.size()};
    return writeall(fd, &h, sizeof h) && writeall(fd, p.out.data(), p.out.size()) &&
           writeall(fd, p.err.data(), p.err.size());
}

bool receivereport(int fd, FrameHead& h, Printed& p)
{
    if (!readall(fd, &h, sizeof h))
        return false;
    // a report of a gigabyte is no report
    if (h.outsize > (1u << 30) || h.errsize > (1u << 30))
        return false;
    p.out.resize(h.outsize);
    p.err.resize(h.errsize);
    p.failed = h.failed != 0;
    return readall(fd, p.out.data(), p.out.size()) && readall(fd, p.err.data(), p.err.size());
}

struct Worker {
    pid_t pid = -1;
    int tochild = -1;    // file indexes go this way
    int fromchild = -1;  // reports come back this way
    std::optional<std::size_t> current;
};

void closefd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

[[noreturn]] void workerloop(const Batch& batch, int in, int out)
{
    for (;;) {
        std::uint64_t index = 0;
        if (!readall(in, &index, sizeof index) || index >= batch.names.size())
            ::_exit(0);
        if (!sendreport(out, index, batch.work(static_cast<std::size_t>(index))))
            ::_exit(1);
    }
}

class Pool {
public:
    Pool(const Batch& batch, std::size_t count) : batch_(batch), workers_(count) {}

    ~Pool()
    {
        for (Worker& w : workers_)
            retire(w);
    }

    bool start(Worker& w)
    {
        int a[2], b[2];
        if (::pipe(a) != 0)
            return false;
        if (::pipe(b) != 0) {
            ::close(a[0]);
            ::close(a[1]);
            return false;
        }
        std::cout.flush();
        std::cerr.flush();
        const pid_t parent = ::getpid();
        pid_t pid = ::fork();
        if (pid < 0) {
            for (int fd : {a[0], a[1], b[0], b[1]})
                ::close(fd);
            return false;
        }
        if (pid == 0) {
            // a worker never outlives the run that started it
            if (!diewithparent(parent))
                ::_exit(1);
            // the other workers' pipes stay with the parent, or a worker's
            // end would never be seen
            for (Worker& other : workers_) {
                closefd(other.tochild);
                closefd(other.fromchild);
            }
            ::close(a[1]);
            ::close(b[0]);
            workerloop(batch_, a[0], b[1]);
        }
        ::close(a[0]);
        ::close(b[1]);
        w.pid = pid;
        w.tochild = a[1];
        w.fromchild = b[0];
        w.current.reset();
        return true;
    }

    bool assign(Worker& w, std::size_t index)
    {
        std::uint64_t i = index;
        w.current = index;
        return writeall(w.tochild, &i, sizeof i);
    }

    // Lets the worker finish and collects it.
    void retire(Worker& w)
    {
        closefd(w.tochild);
        closefd(w.fromchild);
        if (w.pid > 0) {
            int status = 0;
            while (::waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
            }
            laststatus_ = status;
        }
        w.pid = -1;
        w.current.reset();
    }

    std::string why(int status) const
    {
        if (WIFSIGNALED(status))
            return "the worker handling it was stopped by signal " + std::to_string(WTERMSIG(status));
        return "the worker handling it ended with status " + std::to_string(WEXITSTATUS(status));
    }

    std::vector<Worker>& workers() { return workers_; }
    int laststatus() const { return laststatus_; }

private:
    const Batch& batch_;
    std::vector<Worker> workers_;
    int laststatus_ = 0;
};

class Printer {
public:
    explicit Printer(const Batch& batch) : batch_(batch), results_(batch.names.size()), line_(batch.names.size()) {}

    void started(std::size_t index) { line_.show(done_, batch_.names[index]); }

    void finished(std::size_t index, Printed p)
    {
        results_[index] = std::move(p);
        ++done_;
        while (next_ < results_.size() && results_[next_]) {
            const Printed& r = *results_[next_];
            line_.clear();
            std::cout << r.out << std::flush;
            std::cerr << r.err << std::flush;
            ok_ = ok_ && !r.failed;
            results_[next_].reset();
            ++next_;
        }
    }

    bool finish()
    {
        line_.clear();
        return ok_;
    }

private:
    const Batch& batch_;
    std::vector<std::optional<Printed>> results_;
    ProgressLine line_;
    std::size_t next_ = 0, done_ = 0;
    bool ok_ = true;
};

bool runinline(const Batch& batch)
{
    Printer printer(batch);
    for (std::size_t i = 0; i < batch.names.size(); ++i) {
        printer.started(i);
        printer.finished(i, batch.work(i));
    }
    return printer.finish();
}

bool runpool(const Batch& batch, std::size_t count)
{
    // a worker that died leaves a pipe that fails to take its next index
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &old);

    Printer printer(batch);
    const std::size_t total = batch.names.size();
    std::size_t next = 0;
    std::size_t pending = 0;
    {
        Pool pool(batch, count);
        auto feed = [&](Worker& w) {
            while (next < total) {
                if (w.pid < 0 && !pool.start(w))
                    return false;
                std::size_t index = next++;
                printer.started(index);
                if (pool.assign(w, index)) {
                    ++pending;
                    return true;
                }
                pool.retire(w);
                printer.finished(index, batch.lost(index, pool.why(pool.laststatus())));
            }
            pool.retire(w);
            return true;
        };
        for (Worker& w : pool.workers())
            if (!feed(w))
                break;
        if (pending == 0 && next < total) {
            // no worker could be started: the files are handled here
            for (; next < total; ++next) {
                printer.started(next);
                printer.finished(next, batch.work(next));
            }
        }
        while (pending > 0) {
            std::vector<pollfd> fds;
            std::vector<Worker*> owners;
            for (Worker& w : pool.workers())
                if (w.current) {
                    fds.push_back({w.fromchild, POLLIN, 0});
                    owners.push_back(&w);
                }
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            for (std::size_t k = 0; k < fds.size(); ++k) {
                if (fds[k].revents == 0)
                    continue;
                Worker& w = *owners[k];
                std::size_t index = *w.current;
                FrameHead h;
                Printed p;
                --pending;
                if (receivereport(w.fromchild, h, p) && h.index == index) {
                    w.current.reset();
                    printer.finished(index, std::move(p));
                } else {
                    pool.retire(w);
                    printer.finished(index, batch.lost(index, pool.why(pool.laststatus())));
                }
                feed(w);
            }
        }
    }
    ::sigaction(SIGPIPE, &old, nullptr);
    return printer.finish();
}

}  // namespace

int processorcount()
{
    long n = ::sysconf(_SC_NPROCESSORS_ONLN);
    return n < 1 ? 1 : static_cast<int>(std::min<long>(n, 1024));
}

bool runbatch(const Batch& batch)
{
    std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(std::max(batch.jobs, 1)), batch.names.size());
    if (count <= 1)
        return runinline(batch);
    return runpool(batch, count);
}

}  // namespace qccli

#include "cli/interrupts.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <sys/prctl.h>
#include <unistd.h>

namespace qccli {

namespace {

// The name, in storage a handler may read: written with the flag down, the
// flag raised once the name is whole.
char temporary[4096];
std::atomic<int> holding{0};

extern "C" void oninterrupt(int sig)
{
    if (holding.load() != 0)
        ::unlink(temporary);
    ::_exit(128 + sig);
}

}  // namespace

void watchinterrupts()
{
    static std::atomic<bool> done{false};
    if (done.exchange(true))
        return;
    struct sigaction sa {};
    sa.sa_handler = oninterrupt;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&sa.sa_mask, sig);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

void settemporary(const std::string& path)
{
    holding.store(0);
    if (path.empty() || path.size() >= sizeof temporary)
        return;
    std::memcpy(temporary, path.c_str(), path.size() + 1);
    holding.store(1);
}

bool diewithparent(int parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    return ::getppid() == parent;
}

}  // namespace qccli

// A property that must hold whatever the input: when it does not, the
// fuzzer is stopped with the condition, so that the input is kept as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace qcfuzz {
// Prints what the target knows about the input before it stops; optional.
inline void (*explain)() = nullptr;
}  // namespace qcfuzz

#define QC_FUZZ_CHECK(cond)                                                            \
    do {                                                                               \
        if (!(cond)) {                                                                 \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, \
                         #cond);                                                       \
            if (qcfuzz::explain)                                                       \
                qcfuzz::explain();                                                     \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

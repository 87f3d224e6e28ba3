// The whole load of arbitrary bytes, answered No to every question, policy fail.
#include "load_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qcfuzz::LoadRig rig(qcfuzz::Answers::No);
    rig.run(data, size);
    return 0;
}

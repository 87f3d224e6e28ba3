// The whole load of arbitrary bytes, answered Yes to every question, policy attempt.
#include "load_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qcfuzz::LoadRig rig(qcfuzz::Answers::Yes);
    rig.run(data, size);
    return 0;
}

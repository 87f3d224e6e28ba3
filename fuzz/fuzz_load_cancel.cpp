// The whole load of arbitrary bytes, answered with Cancel at the first question, policy prompt.
#include "load_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qcfuzz::LoadRig rig(qcfuzz::Answers::CancelFirst);
    rig.run(data, size);
    return 0;
}

// libFuzzer entry for fuzz::PhraseList (AppTargets.h, which says what it reads
// and what it checks).
#include "AppTargets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartGui();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::PhraseList(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}

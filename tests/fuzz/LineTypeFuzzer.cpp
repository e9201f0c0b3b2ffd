// libFuzzer entry for fuzz::LineType (LineTypeTarget.h, which says what it reads
// and what it checks).
#include "LineTypeTarget.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartGui();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::LineType(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}

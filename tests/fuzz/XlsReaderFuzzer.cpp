// libFuzzer entry for fuzz::XlsReader (GradingTargets.h, which says what it
// reads and what it checks).
#include "GradingTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::XlsReader(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}

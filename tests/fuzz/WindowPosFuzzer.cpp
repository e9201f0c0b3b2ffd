// libFuzzer entry for fuzz::WindowPos (GuiTargets.h, which says what it reads
// and what it checks).
#include "GuiTargets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartWidgets();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WindowPos(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}

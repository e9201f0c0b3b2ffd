// Asks the system to back a large buffer with huge pages where it gives
// them. Filling tens of megabytes page by page costs a fault per four
// kilobytes, which on a virtual machine is most of the time a large file
// takes to read or write; a huge page takes one fault per two megabytes.
// Only the two-megabyte spans wholly inside the buffer are advised.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

inline void AdviseHugePages(void* data, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    const std::uintptr_t last = (start + size) / kHugePageBytes * kHugePageBytes;
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

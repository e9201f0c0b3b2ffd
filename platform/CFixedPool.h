// Storage for the small objects a drawing holds by the million (list
// nodes, shared points, curve nodes): one slot size per pool, slots cut
// from large blocks and handed back onto a free list. Against the general
// heap this saves its per-allocation header and rounding (a 24-byte list
// node takes 24 bytes, not 32) and makes building and tearing down large
// pages several times cheaper.
//
// Free lists are per thread, so no locking is needed; a slot freed on
// another thread than the one that made it simply joins that thread's
// list. Blocks are never given back: they stay reachable from the
// registry below and are reused for the next document.
//
// Under the address sanitizer every slot comes from the general heap, so
// that use after free and overruns are still caught.
#pragma once

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VEK_POOL_USES_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEK_POOL_USES_HEAP 1
#endif
#endif

namespace pool_detail {

// Keeps every block reachable for the life of the program.
inline void RegisterBlock(void* block)
{
    static std::mutex mutex;
    static std::vector<void*>* blocks = new std::vector<void*>;
    const std::lock_guard<std::mutex> lock(mutex);
    blocks->push_back(block);
}

}  // namespace pool_detail

template <std::size_t Size, std::size_t Align>
class CFixedPool {
    struct FreeSlot {
        FreeSlot* next;
    };
    static constexpr std::size_t kAlign = Align < alignof(FreeSlot) ? alignof(FreeSlot) : Align;
    static constexpr std::size_t kRaw = Size < sizeof(FreeSlot) ? sizeof(FreeSlot) : Size;

public:
    static constexpr std::size_t kSlot = (kRaw + kAlign - 1) / kAlign * kAlign;

    static void* Allocate()
    {
#ifdef VEK_POOL_USES_HEAP
        return ::operator new(Size);
#else
        State& s = Local();
        if (FreeSlot* slot = s.free) {
            s.free = slot->next;
            return slot;
        }
        if (s.cursor == s.end) NewBlock(s);
        void* slot = s.cursor;
        s.cursor += kSlot;
        return slot;
#endif
    }

    static void Deallocate(void* p) noexcept
    {
        if (!p) return;
#ifdef VEK_POOL_USES_HEAP
        ::operator delete(p);
#else
        State& s = Local();
        FreeSlot* slot = static_cast<FreeSlot*>(p);
        slot->next = s.free;
        s.free = slot;
#endif
    }

private:
    struct State {
        FreeSlot* free = nullptr;
        char* cursor = nullptr;
        char* end = nullptr;
    };
    // Slots per block: about 64 KiB, at least 16 slots.
    static constexpr std::size_t kPerBlock = (65536 / kSlot) < 16 ? 16 : 65536 / kSlot;

    static State& Local()
    {
        thread_local State state;
        return state;
    }

    static void NewBlock(State& s)
    {
        char* block = static_cast<char*>(::operator new(kPerBlock * kSlot, std::align_val_t(kAlign)));
        pool_detail::RegisterBlock(block);
        s.cursor = block;
        s.end = block + kPerBlock * kSlot;
    }
};

// Gives a class pooled storage: `new T` and `delete` of exactly that class
// go through its pool. A derived class of another size falls back to the
// general heap, so the base may be pooled safely.
#define VEK_POOLED_CLASS(T)                                                              \
public:                                                                                  \
    static void* operator new(std::size_t size)                                          \
    {                                                                                    \
        return size == sizeof(T) ? CFixedPool<sizeof(T), alignof(T)>::Allocate()         \
                                 : ::operator new(size);                                 \
    }                                                                                    \
    static void operator delete(void* p, std::size_t size) noexcept                      \
    {                                                                                    \
        if (size == sizeof(T)) CFixedPool<sizeof(T), alignof(T)>::Deallocate(p);         \
        else ::operator delete(p);                                                       \
    }

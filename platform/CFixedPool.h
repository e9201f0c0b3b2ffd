// Storage for the small objects a drawing holds by the million (list
// nodes, shared points, curve nodes): one slot size per pool, slots cut
// from large blocks and handed back onto a free list. Against the general
// heap this saves its per-allocation header and rounding (a 24-byte list
// node takes 24 bytes, not 32) and makes building and tearing down large
// pages several times cheaper.
//
// Free lists are per thread, so no locking is needed; a slot freed on
// another thread than the one that made it simply joins that thread's
// list. A helper thread hands its unused slots to a shared stash before it
// ends (ReleaseThreadPools), from which any thread refills. Blocks are
// never given back: they stay reachable from the registry below and are
// reused for the next document.
//
// Under the address sanitizer every slot comes from the general heap, so
// that use after free and overruns are still caught.
#pragma once

#include "HugePages.h"

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

// A thread that has taken this much of one pool takes the rest in blocks
// of a huge page each: millions of slots then cost a page fault per two
// megabytes rather than per four kilobytes.
constexpr std::size_t kHugeBlock = kHugePageBytes;

// The pools this thread has drawn from, so that it can hand their slots
// over when it ends. Plain data: it must outlive every other object of
// the thread.
struct ThreadPools {
    static constexpr int kMaxPools = 64;
    void (*release[kMaxPools])() = {};
    int count = 0;
};

inline ThreadPools& LocalPools()
{
    thread_local ThreadPools pools;
    return pools;
}

}  // namespace pool_detail

// A helper thread calls this before it ends, and a thread that is about to
// let helpers build what it will free calls it first: the slots the thread
// holds go to the shared stash of each pool, for any thread to use.
inline void ReleaseThreadPools()
{
    pool_detail::ThreadPools& pools = pool_detail::LocalPools();
    for (int i = 0; i < pools.count; ++i) pools.release[i]();
    pools.count = 0;
}

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
        if (!s.free && s.cursor == s.end) Refill(s);
        if (FreeSlot* slot = s.free) {
            s.free = slot->next;
            if (!s.free) s.tail = nullptr;
            return slot;
        }
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
        Push(Local(), static_cast<FreeSlot*>(p));
#endif
    }

private:
    struct State {
        FreeSlot* free = nullptr;
        FreeSlot* tail = nullptr;  // last slot of the free list
        char* cursor = nullptr;
        char* end = nullptr;
        std::size_t taken = 0;  // bytes of blocks made by this thread
        bool registered = false;
    };
    struct Stash {
        std::mutex mutex;
        FreeSlot* free = nullptr;
    };
    // Slots per block: about 64 KiB, at least 16 slots.
    static constexpr std::size_t kPerBlock = (65536 / kSlot) < 16 ? 16 : 65536 / kSlot;

    static State& Local()
    {
        thread_local State state;
        return state;
    }

    static void Push(State& s, FreeSlot* slot)
    {
        slot->next = s.free;
        if (!s.free) s.tail = slot;
        s.free = slot;
    }

    static Stash& Shared()
    {
        static Stash* stash = new Stash;
        return *stash;
    }

    // Slots from the shared stash when it has any, else a new block.
    static void Refill(State& s)
    {
        if (!s.registered) {
            pool_detail::ThreadPools& pools = pool_detail::LocalPools();
            if (pools.count < pool_detail::ThreadPools::kMaxPools) {
                pools.release[pools.count++] = &ReleaseLocal;
                s.registered = true;
            }
        }
        {
            Stash& stash = Shared();
            const std::lock_guard<std::mutex> lock(stash.mutex);
            if (stash.free) {
                // A block's worth at most, so that every thread gets some.
                FreeSlot* last = stash.free;
                for (std::size_t n = 1; n < kPerBlock && last->next; ++n) last = last->next;
                s.free = stash.free;
                s.tail = last;
                stash.free = last->next;
                last->next = nullptr;
                return;
            }
        }
        NewBlock(s);
    }

    static void ReleaseLocal()
    {
        State& s = Local();
        s.registered = false;
        for (; s.cursor != s.end; s.cursor += kSlot) Push(s, reinterpret_cast<FreeSlot*>(s.cursor));
        if (!s.free) return;
        Stash& stash = Shared();
        const std::lock_guard<std::mutex> lock(stash.mutex);
        s.tail->next = stash.free;
        stash.free = s.free;
        s.free = s.tail = nullptr;
    }

    static void NewBlock(State& s)
    {
        const bool huge = s.taken >= pool_detail::kHugeBlock;
        const std::size_t slots = huge ? pool_detail::kHugeBlock / kSlot : kPerBlock;
        const std::size_t align = huge ? pool_detail::kHugeBlock : kAlign;
        char* block = static_cast<char*>(::operator new(slots * kSlot, std::align_val_t(align)));
        if (huge) AdviseHugePages(block, pool_detail::kHugeBlock);
        pool_detail::RegisterBlock(block);
        s.cursor = block;
        s.end = block + slots * kSlot;
        s.taken += slots * kSlot;
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

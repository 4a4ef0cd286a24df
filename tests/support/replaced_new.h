// The global operator new and delete replaced, for the binaries that watch
// the heap: every allocation is counted, what is not yet released is known,
// and a nothrow allocation, the kind the core makes, can be made to fail.
// Replacements are definitions, not inline: include this from exactly one
// source file of a test binary of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace murmex::testing::heap {

// Allocations made, of any kind, failed ones included.
inline std::atomic<long> allocations{0};
// Allocations not yet released.
inline std::atomic<long> held{0};
// Nothrow allocations made, failed ones included.
inline std::atomic<long> nothrowAllocations{0};
// The nothrow allocation that counts this down to 0 fails; negative: none fails.
inline std::atomic<long> failNothrowAfter{-1};

inline void* take(std::size_t size) {
    ++allocations;
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory != nullptr) {
        ++held;
    }
    return memory;
}

inline void* takeNothrow(std::size_t size) {
    ++nothrowAllocations;
    if (failNothrowAfter >= 0 && failNothrowAfter-- == 0) {
        ++allocations;
        return nullptr;
    }
    return take(size);
}

inline void give(void* memory) {
    if (memory != nullptr) {
        --held;
        std::free(memory);
    }
}

} // namespace murmex::testing::heap

void* operator new(std::size_t size) {
    if (void* memory = murmex::testing::heap::take(size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return murmex::testing::heap::takeNothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return murmex::testing::heap::takeNothrow(size);
}
// The replacements pair malloc with free; GCC cannot see that operator new
// above is ours and warns about the pairing when sanitizers are on.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept {
    murmex::testing::heap::give(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    murmex::testing::heap::give(memory);
}
void operator delete[](void* memory) noexcept {
    murmex::testing::heap::give(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    murmex::testing::heap::give(memory);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

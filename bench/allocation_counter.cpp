// Replaces the global operator new of the benchmark binary to count calls and bytes.
#include "bench/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
std::atomic<size_t> allocatedBytes{0};

void* allocate(std::size_t size) noexcept {
    ++allocations;
    allocatedBytes += size;
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

namespace murmex::bench {
AllocationTally allocationTally() {
    return {allocations.load(), allocatedBytes.load()};
}
} // namespace murmex::bench

void* operator new(std::size_t size) {
    if (void* memory = allocate(size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
// The replacements pair malloc with free; GCC cannot see that operator new
// above is ours and may warn about the pairing.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

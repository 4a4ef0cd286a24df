// The process's peak resident memory, for the tests that hold a tool to its
// memory bound. Each test runs in a process of its own under CTest, so the
// peak before a test's work is where that work starts from.
#pragma once

#include <cstdint>

#include <sys/resource.h>

namespace murmex::testing {

// The most memory the process has held resident so far, in bytes.
inline uint64_t peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<uint64_t>(usage.ru_maxrss) * 1024; // Linux counts kilobytes
}

} // namespace murmex::testing

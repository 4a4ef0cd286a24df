// Counts the allocations made through operator new in the benchmark binary,
// so a benchmark can show that a conversation step allocates nothing and what
// a load allocates.
#pragma once

#include <cstddef>

namespace murmex::bench {

struct AllocationTally {
    long count = 0;
    size_t bytes = 0;
};

AllocationTally allocationTally();

} // namespace murmex::bench

// The language server's memory against what a message header claims: a body
// is taken in as it arrives, so a length claimed but never sent costs nothing.
#include "lsp_session.h"
#include "support/peak_memory.h"

#include <gtest/gtest.h>

namespace {

using namespace murmex::testing;

TEST(MessageMemory, ClaimedLengthIsNotReservedAhead) {
    const uint64_t before = peakResidentBytes();
    const Served served =
        serve(initialize() + "Content-Length: 400000000\r\n\r\n{\"jsonrpc\":\"2.0\"}");
    EXPECT_EQ(served.status, 1); // the stream ended inside the body
    EXPECT_LT(peakResidentBytes() - before, uint64_t{32} << 20);
}

} // namespace

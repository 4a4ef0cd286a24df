// The explorer's memory limit, held on a script whose every situation has a
// memory of more than a hundred variables: the peak resident memory of the search
// stays within the limit and the stated margin.
#include "support/analysis_script.h"
#include "support/peak_memory.h"
#include "tools/analysis/script_explorer.h"

#include <gtest/gtest.h>

namespace {

using namespace murmex::testing;

// The margin the README states over the limit.
constexpr uint64_t MARGIN = uint64_t{32} << 20;

// A path that sets `fill` variables, one question each, then states that
// each offer two questions setting a variable of their own, so that the
// situations double with every question, each with a large memory.
std::vector<std::string> wideMemoryScript(int fill, int branchStates) {
    std::vector<std::string> body = {"\"Intro\" {", unitLine(0, 0, "")};
    for (int k = 0; k < fill; ++k) {
        body.push_back(unitLine(k, k + 1, "Fill " + std::to_string(k), "ACT_ADD_MEM",
                                "PARAM = \"f" + std::to_string(k) + "\" VAL = \"1\" "));
    }
    body.push_back(unitLine(fill, 0, "On", "ACT_COMM", "PARAM = \"B\" "));
    body.insert(body.end(), {"}", "\"B\" {", unitLine(0, 0, "")});
    for (int s = 0; s < branchStates; ++s) {
        for (const std::string side : {"a", "b"}) {
            body.push_back(unitLine(s, s + 1, side + std::to_string(s), "ACT_ADD_MEM",
                                    "PARAM = \"" + side + std::to_string(s) + "\" VAL = \"1\" "));
        }
    }
    body.push_back(unitLine(branchStates, -1, "Bye"));
    body.push_back("}");
    return body;
}

TEST(ExploreMemory, PeakStaysWithinTheLimitOnALargeMemorySpace) {
    ScratchFolder folder;
    const LoadedWithLines script = loadBody(folder, wideMemoryScript(140, 70));
    murmex::tool::ExploreLimits limits;
    limits.maxBytes = uint64_t{64} << 20;
    const uint64_t before = peakResidentBytes();
    const murmex::tool::ExploreReport report =
        murmex::tool::exploreScript(*script.loaded.engine, *script.lines, limits);
    const uint64_t grown = peakResidentBytes() - before;
    EXPECT_EQ(report.cutOff, murmex::tool::CutOff::Memory);
    EXPECT_LT(grown, limits.maxBytes + MARGIN) << grown / (1 << 20) << " MiB";
}

} // namespace

// The outline of a block past the loader's limit of units: the scan stops
// the block at its 151st unit, and the index reads on to its end however
// its units stand on lines.
#include "support/script_text.h"
#include "tools/lsp/open_document.h"

#include <gtest/gtest.h>

namespace {

using namespace murmex::testing;

TEST(ScriptIndex, ReadsOnPastTheLimitOfUnits) {
    for (const int perLine : {1, 7, 400}) {
        SCOPED_TRACE(perLine);
        std::vector<std::string> lines = {"\"Intro\" {"};
        std::string line;
        for (int i = 0; i < 400; ++i) {
            line += " { S = \"0\" N = \"" + std::to_string(i) +
                    "\" Q = \"q\" A = \"a\" ACT = \"ACT_NONE\" }";
            if ((i + 1) % perLine == 0) {
                lines.push_back(line);
                line.clear();
            }
        }
        lines.push_back(line + "}");
        lines.push_back("\"B\" { { S = \"0\" N = \"0\" Q = \"\" A = \"a\" ACT = \"ACT_NONE\" } }");
        const murmex::lsp::OpenDocument document("file:///x", scriptWithHeader(lines));
        ASSERT_EQ(document.index.characters.size(), 2u);
        const auto& units = document.index.characters[0].units;
        ASSERT_EQ(units.size(), 400u);
        for (size_t u = 0; u < units.size(); ++u) {
            ASSERT_EQ(units[u].find(murmex::ScriptField::Next)->text, std::to_string(u));
        }
        EXPECT_EQ(document.text[document.index.characters[0].span.end - 1], '}');
    }
}

} // namespace

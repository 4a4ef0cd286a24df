// Reading on past the first error must hold for any text, however broken:
// the demo cut short everywhere and with a brace or quote planted anywhere.
#include "tools/script_io/script_errors.h"

#include "murmex/load_script.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

namespace {

using murmex::tool::ScriptError;

// The first error is the loader's own, and the further ones follow it in
// the order of their lines, each on a line of its own.
void expectSoundReport(const std::string& text) {
    murmex::ConversationEngine engine;
    engine.disableDescramble();
    murmex::MemorySource source(text.data(), text.size());
    const murmex::LoadResult result = murmex::loadScriptFrom(engine, source);
    if (result.ok()) {
        return;
    }
    ScriptError first;
    first.code = result.code;
    first.line = result.line;
    first.message = result.message;
    first.detail = result.detail;
    const auto found = murmex::tool::findScriptErrorsIn(text, first);
    ASSERT_FALSE(found.errors.empty());
    EXPECT_EQ(found.errors[0].line, result.line);
    EXPECT_FALSE(found.errors[0].further);
    for (size_t i = 2; i < found.errors.size(); ++i) {
        EXPECT_LT(found.errors[i - 1].line, found.errors[i].line);
    }
    for (size_t i = 1; i < found.errors.size(); ++i) {
        EXPECT_TRUE(found.errors[i].further);
        EXPECT_NE(found.errors[i].line, result.line);
        EXPECT_LE(found.errors[i].detail.offset, text.size());
    }
}

TEST(ScriptErrors, HoldForTheDemoCutAndBrokenAnywhere) {
    const std::string demo = murmex::testing::readBytes(MURMEX_DEMO_SCRIPT);
    ASSERT_GT(demo.size(), 1000u);
    for (size_t at = 0; at < demo.size(); at += 37) {
        expectSoundReport(demo.substr(0, at));
        for (const char planted : {'"', '{', '}', '\n'}) {
            std::string broken = demo;
            broken[at] = planted;
            expectSoundReport(broken);
        }
    }
}

} // namespace

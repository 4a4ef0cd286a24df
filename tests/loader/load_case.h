// Table rows for load tests: a script's text and the code, line and message
// that loading it must report.
#pragma once

#include "murmex/conversation_engine.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace murmex::testing {

// The message of a value whose closing quote never comes, or comes too late.
constexpr const char* QUOTE_EXPECTED = "Syntax error: Expected \"";

struct LoadCase {
    std::string script;
    int32_t code;
    int32_t line;
    const char* message;
};

inline void PrintTo(const LoadCase& c, std::ostream* out) {
    // Short and unique enough to name the row: the outcome and the script's tail.
    const size_t tail = c.script.size() > 24 ? c.script.size() - 24 : 0;
    *out << c.code << " line " << c.line << " " << ::testing::PrintToString(c.message) << " for "
         << c.script.size() << " bytes ending " << ::testing::PrintToString(c.script.substr(tail));
}

// Loads the case's script, written plain, into a fresh engine and checks all
// three results; then loads it from memory, which must report the same.
inline void expectLoad(const LoadCase& c) {
    ScratchFolder folder;
    ConversationEngine engine;
    engine.disableDescramble();
    EXPECT_EQ(engine.load(folder.write("script.chr", c.script).c_str()), c.code);
    EXPECT_EQ(engine.line, c.line);
    EXPECT_STREQ(engine.errorMessage, c.message);

    ConversationEngine fromMemory;
    fromMemory.disableDescramble();
    EXPECT_EQ(fromMemory.loadFromMemory(c.script.data(), c.script.size()), c.code);
    EXPECT_EQ(fromMemory.line, c.line);
    EXPECT_STREQ(fromMemory.errorMessage, c.message);
}

} // namespace murmex::testing

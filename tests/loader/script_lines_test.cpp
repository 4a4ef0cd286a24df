// The table of lines a caller may hand the loader: the header colours' lines,
// each character's name line and each talk unit's opening line, whatever stands between them, and a
// load that is otherwise the same with or without the table.
#include "mill_header.h"
#include "murmex/conversation_engine.h"
#include "murmex/script_lines.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using murmex::ConversationEngine;
using murmex::LOAD_OK;
using murmex::ScriptLines;
using murmex::testing::HEADER;
using murmex::testing::scrambled;
using murmex::testing::ScratchFolder;

// The header takes lines 1 to 4.
const std::string SCRIPT =
    HEADER + "# line 5: a comment with a { brace\r\n"
             "\"Mill\" {\r\n"                                                        // 6
             "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi.\" ACT = \"ACT_NONE\" }\r\n" // 7
             "  \"between units\"\r\n"                                               // 8
             "  {\r\n"                                                               // 9
             "    S = \"0\" N = \"0\" Q = \"Who?\" A = \"Me, {you}.\"\r\n"
             "    ACT = \"ACT_NONE\" }\r\n"
             "}\r\n"
             "\r\n"
             "\"Smith\"\r\n" // 14
             "{ { S = \"0\" N = \"-1\" Q = \"Bye.\" A = \"-\" ACT = \"ACT_NONE\" } }\r\n";

TEST(ScriptLinesTest, NotesTheLineOfEachNameAndEachUnitOpening) {
    ScratchFolder folder;
    const std::string file = folder.write("script.chr", scrambled(SCRIPT));
    ConversationEngine engine;
    auto lines = std::make_unique<ScriptLines>();
    engine.scriptLines = lines.get();
    ASSERT_EQ(engine.load(file.c_str()), LOAD_OK) << engine.line << " " << engine.errorMessage;
    ASSERT_EQ(engine.characterCount, 2);
    EXPECT_EQ(lines->characterLines[0], 6);
    EXPECT_EQ(lines->characterLines[1], 14);
    EXPECT_EQ(lines->unitLines[0][0], 7);
    EXPECT_EQ(lines->unitLines[0][1], 9);
    EXPECT_EQ(lines->unitLines[1][0], 15);
    EXPECT_EQ(lines->unitLines[0][2], 0) << "nothing written past the units";
    EXPECT_EQ(lines->colorLine, 3);
    EXPECT_EQ(lines->textColorLine, 4);
}

TEST(ScriptLinesTest, LoadIsTheSameWithAndWithoutTheTable) {
    ScratchFolder folder;
    const std::string file = folder.write("script.chr", scrambled(SCRIPT));
    ConversationEngine plain;
    ConversationEngine noted;
    auto lines = std::make_unique<ScriptLines>();
    noted.scriptLines = lines.get();
    ASSERT_EQ(plain.load(file.c_str()), noted.load(file.c_str()));
    EXPECT_EQ(plain.blockSize(), noted.blockSize());
    ASSERT_EQ(plain.characterCount, noted.characterCount);
    EXPECT_EQ(std::memcmp(plain.block.get(), noted.block.get(), plain.blockSize()), 0);
    for (int32_t c = 0; c < plain.characterCount; ++c) {
        EXPECT_EQ(plain.characters[c]->unitCount, noted.characters[c]->unitCount);
    }
}

TEST(ScriptLinesTest, FailedLoadKeepsTheLinesOfWhatItCreated) {
    ScratchFolder folder;
    const std::string file = folder.write(
        "script.chr",
        scrambled(HEADER +
                  "\"A\" { { S = \"0\" N = \"0\" Q = \"\" A = \"\" ACT = \"ACT_NONE\" }\r\n"
                  "{ S = \"x\" N = \"0\" Q = \"\" A = \"\" ACT = \"ACT_NONE\" } }\r\n"));
    ConversationEngine engine;
    auto lines = std::make_unique<ScriptLines>();
    engine.scriptLines = lines.get();
    EXPECT_EQ(engine.load(file.c_str()), murmex::LOAD_SYNTAX);
    EXPECT_EQ(lines->unitLines[0][0], 5);
    EXPECT_EQ(lines->unitLines[0][1], 0);
    EXPECT_EQ(lines->characterLines[0], 0) << "a character whose block failed has no name line";
}

} // namespace

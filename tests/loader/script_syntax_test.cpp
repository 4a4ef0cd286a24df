// What the loader tells a listener: every field with the bytes of its keyword
// and value, blocks opening and closing, the error with the field it stood
// in; and the scan that reads on past errors.
#include "murmex/load_messages.h"
#include "murmex/script_source.h"
#include "murmex/script_syntax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace murmex;

constexpr const char* BLOCK_NAMES[] = {"header", "character", "unit", "condition"};

// Writes each event as a line of text, the spans as the bytes they cover.
class EventLog final : public SyntaxListener {
  public:
    explicit EventLog(const std::string& script) : text(script) {}

    void field(const SyntaxFieldEvent& e) override {
        events.push_back(std::string(scriptField(e.field).keyword) + "[" +
                         std::to_string(e.component) + "] " + bytes(e.keyword) + "=" +
                         bytes(e.value) + " @" + std::to_string(e.value.line));
    }
    void open(ScriptBlock block, const SyntaxSpan& at) override {
        events.push_back(std::string("open ") + BLOCK_NAMES[static_cast<int>(block)] + " @" +
                         std::to_string(at.line));
    }
    void close(ScriptBlock block, const SyntaxSpan&) override {
        events.push_back(std::string("close ") + BLOCK_NAMES[static_cast<int>(block)]);
    }
    void error(const SyntaxError& e) override {
        events.push_back(
            "error " + std::to_string(e.code) + " @" + std::to_string(e.line) + " " + e.message +
            " in " +
            (e.hasField ? scriptField(e.field).keyword : BLOCK_NAMES[static_cast<int>(e.block)]));
    }

    std::vector<std::string> events;

  private:
    std::string bytes(const SyntaxSpan& span) const {
        return text.substr(span.begin, span.end - span.begin);
    }
    const std::string& text;
};

const std::string HEADER = "MurmexSrcFile\r\n"
                           "TITLE = \"Mill\"\r\n"
                           "COLOR = \"1\", \"2\", \"3\" TEXT = \"4\",\"5\",\"6\"\r\n";

TEST(ScriptSyntaxTest, LoadTellsEachFieldWithItsKeywordAndValueBytes) {
    const std::string script = HEADER + "\"Ann\" {\r\n"
                                        "  { STATE = \"0\" N= \"1\" Q = \"Q?\" A = \"A.\"\r\n"
                                        "    ACTION = \"ACT_ADD_MEM\" PARAM = \"v\" VAL = \"2\"\r\n"
                                        "    { ID = \"v\" OP = \"not\" } }\r\n"
                                        "}\r\n";
    ConversationEngine engine;
    engine.disableDescramble();
    MemorySource source(script.data(), script.size());
    EventLog log(script);
    ASSERT_EQ(loadScriptFrom(engine, source, log).code, LOAD_OK);
    const std::vector<std::string> expected = {
        "open header @1",
        "TITLE[0] TITLE=Mill @2",
        "COLOR[0] COLOR=1 @3",
        "COLOR[1] =2 @3",
        "COLOR[2] =3 @3",
        "TEXTCOLOR[0] TEXT=4 @3",
        "TEXTCOLOR[1] =5 @3",
        "TEXTCOLOR[2] =6 @3",
        "close header",
        "[0] =Ann @4",
        "open character @4",
        "open unit @5",
        "S[0] STATE=0 @5",
        "N[0] N=1 @5",
        "Q[0] Q=Q? @5",
        "A[0] A=A. @5",
        "ACT[0] ACTION=ACT_ADD_MEM @6",
        "PARAM[0] PARAM=v @6",
        "VAL[0] VAL=2 @6",
        "open condition @7",
        "ID[0] ID=v @7",
        "OP[0] OP=not @7",
        "close condition",
        "close unit",
        "close character",
    };
    EXPECT_EQ(log.events, expected);
}

TEST(ScriptSyntaxTest, LoadTellsItsErrorWithTheFieldItStoodIn) {
    // Numbers are checked by the second pass, which tells what it read.
    const std::string script =
        HEADER + "\"Ann\" { { S = \"0\" N = \"x\" Q = \"\" A = \"\" ACT = \"ACT_NONE\" } }\r\n";
    ConversationEngine engine;
    engine.disableDescramble();
    MemorySource source(script.data(), script.size());
    EventLog log(script);
    ASSERT_EQ(loadScriptFrom(engine, source, log).code, LOAD_SYNTAX);
    EXPECT_EQ(log.events.back(),
              std::string("error -3 @4 ") + messages::UNIT_WRONG_NUMBER + " in N");
}

TEST(ScriptSyntaxTest, ScanReadsOnFromTheNextUnitOrBlockAfterEachError) {
    const std::string script =
        HEADER + "\"A\" {\r\n"                                                        // 4
                 "  { S = \"x\" N = \"0\" Q = \"\" A = \"\" ACT = \"ACT_NONE\" }\r\n" // 5
                 "  { S = 0 N = \"1\" Q = \"\" A = \"\" ACT = \"ACT_NONE\" }\r\n"     // 6
                 "  { S = \"0\" N = \"0\" Q = \"\" A = \"\" ACT = \"ditch\" }\r\n"    // 7
                 "  { S = \"0\" N = \"0\" Q = \"{ not a unit\" A = \"\" ACT = \"ACT_NONE\"\r\n"
                 "    { ID = \"v\" OP = \"=\" VAL = \"1\" } }\r\n" // 9
                 "}\r\n"
                 "\"B\" { { S = \"0\" N = \"0\" Q = \"\" A = \"\" ACT = \"ACT_NONE\" } }\r\n"
                 "\"C\" {\r\n";
    EventLog log(script);
    EXPECT_EQ(scanScript(script.data(), script.size(), log), 5);
    std::vector<std::string> errors;
    for (const std::string& event : log.events) {
        if (event.rfind("error", 0) == 0 || event.rfind("[0]", 0) == 0) {
            errors.push_back(event);
        }
    }
    const std::vector<std::string> expected = {
        "[0] =A @4",
        std::string("error -3 @5 ") + messages::UNIT_WRONG_NUMBER + " in S",
        std::string("error -3 @6 ") + messages::N_EXPECTED + " in N",
        std::string("error -3 @7 ") + messages::UNKNOWN_ACTION + " in ACT",
        std::string("error -3 @9 ") + messages::WRONG_OPERATOR + " in OP",
        "[0] =B @11",
        "[0] =C @12",
        std::string("error -3 @13 ") + messages::BLOCK_CLOSE_EXPECTED + " in character",
    };
    EXPECT_EQ(errors, expected);
}

TEST(ScriptSyntaxTest, ScanReadsTheHeaderAfterAFirstLineEndedByALineFeedAlone) {
    const std::string script =
        "MurmexSrcFile\n" + HEADER.substr(HEADER.find('\n') + 1) + "\"Ann\" { }\r\n";
    EventLog log(script);
    EXPECT_EQ(scanScript(script.data(), script.size(), log), 1);
    EXPECT_EQ(log.events[0].rfind("error -2 @2", 0), 0u) << log.events[0];
    EXPECT_EQ(log.events[2], "TITLE[0] TITLE=Mill @2");
    EXPECT_EQ(log.events[log.events.size() - 3], "[0] =Ann @4");
}

} // namespace

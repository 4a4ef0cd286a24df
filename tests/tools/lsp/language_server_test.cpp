// The language server driven as an editor drives it: the protocol's edge
// cases, documents of any bytes, and the features on the demo.
#include "lsp_session.h"
#include "murmex/script_keywords.h"
#include "support/sample_scripts.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"
#include "tools/lsp/feature_replies.h"
#include "tools/lsp/text_positions.h"

#include <gtest/gtest.h>

namespace {

using namespace murmex::testing;

constexpr int PARSE_ERROR = -32700;
constexpr int INVALID_REQUEST = -32600;
constexpr int METHOD_NOT_FOUND = -32601;
constexpr int NOT_INITIALIZED = -32002;
constexpr int REQUEST_FAILED = -32803;

int errorCode(const json& reply) {
    return reply.is_object() && reply.contains("error") ? reply["error"]["code"].get<int>() : 0;
}

// Each bad input gets its error reply, with the request's id where one can
// be read, and the server answers the request after it; exit after shutdown
// gives 0, any other end 1.
TEST(LanguageServer, AnswersBadInputAndReadsOn) {
    const std::string symbols =
        request(9, "textDocument/documentSymbol", {{"textDocument", {{"uri", "file:///s.txt"}}}});
    const std::string ending = request(10, "shutdown") + notification("exit");
    struct Case {
        const char* what;
        std::string input;
        int code;
        int status;
        json id;
    };
    const Case cases[] = {
        {"request before initialize", request(1, "shutdown") + initialize(), NOT_INITIALIZED, 0, 1},
        {"malformed JSON", initialize() + framed("{\"id\": 1,"), PARSE_ERROR, 0, nullptr},
        {"invalid UTF-8", initialize() + framed("{\"id\":1,\"method\":\"x\xff\"}"), PARSE_ERROR, 0,
         nullptr},
        {"length too short", initialize() + "Content-Length: 5\r\n\r\n{\"id\": 1}", PARSE_ERROR, 0,
         nullptr},
        {"length not a number", initialize() + "Content-Length: many\r\n\r\n", PARSE_ERROR, 0,
         nullptr},
        {"length too large", initialize() + "Content-Length: 99999999999\r\n\r\n", PARSE_ERROR, 1,
         nullptr},
        {"not a request", initialize() + framed("[1, 2]"), INVALID_REQUEST, 0, nullptr},
        {"unknown method", initialize() + request(1, "textDocument/unheard"), METHOD_NOT_FOUND, 0,
         1},
        {"wrong params", initialize() + request(1, "textDocument/hover", {{"x", 1}}), -32602, 0, 1},
        {"nested 100,000 deep",
         initialize() + framed("{\"id\":5,\"method\":\"x\",\"params\":" +
                               std::string(100'000, '[') + std::string(100'000, ']') + "}"),
         INVALID_REQUEST, 0, 5},
        {"id neither number nor string", initialize() + framed("{\"id\":[1],\"method\":\"x\"}"),
         INVALID_REQUEST, 0, nullptr},
        {"position not whole numbers",
         initialize() + openDocument(smallScript()) +
             request(1, "textDocument/hover",
                     {{"textDocument", {{"uri", "file:///s.txt"}}},
                      {"position", {{"line", 1e300}, {"character", 0}}}}),
         -32602, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool skipsRest = c.status == 1;
        const Served served =
            serve(c.input + openDocument(smallScript()) + (skipsRest ? "" : symbols + ending));
        EXPECT_EQ(served.status, c.status);
        const json& firstError = [&]() -> const json& {
            for (const json& message : served.messages) {
                if (message.contains("error")) {
                    return message;
                }
            }
            static const json none;
            return none;
        }();
        EXPECT_EQ(errorCode(firstError), c.code);
        EXPECT_EQ(firstError["id"], c.id);
        if (!skipsRest) {
            EXPECT_EQ(served.replyTo(9)["result"].size(), 1u) << "the server stopped reading";
        }
    }
}

TEST(LanguageServer, ExitsWithOneWithoutShutdown) {
    EXPECT_EQ(serve(initialize() + notification("exit")).status, 1);
    EXPECT_EQ(serve(initialize()).status, 1);
    EXPECT_EQ(serve(initialize() + request(1, "shutdown") + notification("exit")).status, 0);
    // After shutdown only exit is taken.
    EXPECT_EQ(
        errorCode(serve(initialize() + request(1, "shutdown") + request(2, "shutdown")).replyTo(2)),
        INVALID_REQUEST);
}

// Columns count UTF-16 units: "\u00e9" is one, an emoji two, and a byte that is
// no UTF-8 one (as the replacement character an editor shows). Any text the
// editor can send is read, NUL and every other control character included.
TEST(LanguageServer, PlacesDiagnosticsInUtf16Units) {
    const std::string before = "  { S = \"0\" N = \"0\" Q = \"";
    const std::string after = "\" A = \"x\" ";
    struct Case {
        std::string question;
        int units;
    };
    const Case cases[] = {{"", 0}, {"\xc3\xa9", 1}, {"\xf0\x9f\x98\x80", 2}, {"\xff\xfe", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        const std::string line = before + c.question + after + "ACT = \"ACT_BAD\" }";
        const std::string text = scriptWithHeader({"\"Intro\" {", line, "}"});
        const int column = static_cast<int>(before.size() + after.size()) + c.units;
        const murmex::lsp::TextPositions positions(text);
        const size_t action = text.find("ACT =");
        EXPECT_EQ(positions.at(action).character, column);
        EXPECT_EQ(positions.offsetOf(positions.at(action)), action);
        if (c.question != "\xff\xfe") { // JSON carries only UTF-8
            const json diagnostics = serve(initialize() + openDocument(text)).diagnostics();
            ASSERT_EQ(diagnostics.size(), 1u) << diagnostics.dump(1);
            EXPECT_EQ(diagnostics[0]["range"]["start"], json({{"line", 5}, {"character", column}}));
        }
    }
    std::string noise = "MurmexSrcFile\r\n";
    for (int byte = 0; byte < 128; ++byte) {
        noise += static_cast<char>(byte);
    }
    noise += "\xe2\x80\x9cWindows-1252 quotes as UTF-8\xe2\x80\x9d";
    const Served served = serve(initialize() + openDocument(noise) + request(5, "shutdown"));
    EXPECT_FALSE(served.diagnostics().empty());
    EXPECT_TRUE(served.replyTo(5).contains("result"));
}

// An open or change of the wrong shape is dropped whole: the URI is not left
// half open, and a document already open keeps its text. A range that starts
// after its end is refused too, rather than taken as an insertion at its
// start. The editor's log tells why.
TEST(LanguageServer, BadOpenOrChangeLeavesNoHalfMadeDocument) {
    const json symbolsOf = {{"textDocument", {{"uri", "file:///bad.txt"}}}};
    const json badOpens[] = {
        {{"textDocument", {{"uri", "file:///bad.txt"}}}},
        {{"textDocument", {{"uri", "file:///bad.txt"}, {"text", 7}}}},
        {{"textDocument", {{"uri", 3}, {"text", "x"}}}},
        {{"textDocument", "file:///bad.txt"}},
    };
    for (const json& bad : badOpens) {
        SCOPED_TRACE(bad.dump());
        const Served served =
            serve(initialize() + notification("textDocument/didOpen", bad) +
                  request(1, "textDocument/documentSymbol", symbolsOf) + request(2, "shutdown"));
        EXPECT_EQ(errorCode(served.replyTo(1)), -32602);
        EXPECT_TRUE(served.replyTo(2).contains("result"));
    }
    const json reversed = {{"start", {{"line", 8}, {"character", 0}}},
                           {"end", {{"line", 7}, {"character", 0}}}};
    const json badChanges[] = {
        {{{"text", "MurmexSrcFile\r\n"}}, {{"text", 1}}},
        {{{"range", reversed}, {"text", "\"Bob\" {\r\n}\r\n"}}},
    };
    for (const json& changes : badChanges) {
        SCOPED_TRACE(changes.dump());
        const json badChange = {{"textDocument", {{"uri", "file:///bad.txt"}, {"version", 2}}},
                                {"contentChanges", changes}};
        const Served changed = serve(initialize() + openDocument(smallScript(), "file:///bad.txt") +
                                     notification("textDocument/didChange", badChange) +
                                     request(1, "textDocument/documentSymbol", symbolsOf));
        EXPECT_EQ(changed.replyTo(1)["result"].size(), 1u) << changed.replyTo(1).dump();
        std::string logged;
        for (const json& message : changed.messages) {
            if (message.value("method", "") == "window/logMessage") {
                logged += message["params"]["message"].get<std::string>();
            }
        }
        EXPECT_NE(logged.find("didChange refused (-32602)"), std::string::npos) << logged;
    }
}

// Protocol lines end at CR LF, LF and a lone CR alike; the script's lines,
// as the loader counts them, at line feeds only.
TEST(LanguageServer, CountsEveryLineEndTheProtocolCounts) {
    const std::string bad = "  { S = \"0\" N = \"0\" Q = \"\" A = \"x\" ACT = \"ACT_BAD\" }";
    struct Case {
        std::string lineEnd;
        int line;
    };
    for (const Case& c : {Case{"\n", 7}, Case{"\r\n", 7}, Case{"\r", 7}, Case{"\r\r\n", 8}}) {
        SCOPED_TRACE(json(c.lineEnd).dump());
        const std::string text =
            scriptWithHeader({"# a note" + c.lineEnd + "# on two lines", "\"Intro\" {", bad, "}"});
        const json diagnostics = serve(initialize() + openDocument(text)).diagnostics();
        ASSERT_EQ(diagnostics.size(), 1u) << diagnostics.dump(1);
        EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], c.line);
        const murmex::lsp::TextPositions positions(text);
        const size_t action = text.find("ACT =");
        EXPECT_EQ(positions.lineOf(action), c.lineEnd == "\r" ? 6 : 7); // loader's count, 0-based
        EXPECT_EQ(positions.offsetOf(positions.at(action)), action);
    }
}

// The editor's text of a scrambled file is its bytes, here read as Latin-1
// as Vim reads what is not UTF-8: one error says so, with no command line's
// hint. A first line without its carriage return is marked on line 1, though
// the loader reports the line it read on to.
TEST(LanguageServer, TellsAScrambledDocumentAndMarksTheFirstLine) {
    std::string latin1;
    for (const char c : scrambled(smallScript())) {
        const auto byte = static_cast<unsigned char>(c);
        latin1 += byte < 0x80 ? std::string(1, c)
                              : std::string{static_cast<char>(0xC0 | (byte >> 6)),
                                            static_cast<char>(0x80 | (byte & 0x3F))};
    }
    const std::string lineFeeds = "MurmexSrcFile\n# a\n# b\n# c\n# d\nTITLE = \"T\"\nCOLOR = "
                                  "\"1\", \"2\", \"3\"\nT = \"4\", \"5\", \"6\"\n";
    for (const std::string& text : {latin1, lineFeeds}) {
        const json diagnostics = serve(initialize() + openDocument(text)).diagnostics();
        ASSERT_EQ(diagnostics.size(), 1u) << diagnostics.dump(1);
        EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], 0);
        const std::string message = diagnostics[0]["message"];
        EXPECT_EQ(message.find("--plain"), std::string::npos) << message;
        EXPECT_EQ(message.find("scrambled script") != std::string::npos, text == latin1) << message;
    }
}

// An outline of a script on one line converts each place in steps bounded
// by the distance between marks: twice the units, about twice the bytes
// walked, where walking from the line's start took four times as many.
TEST(LanguageServer, OutlineOfOneLongLineWalksLinearly) {
    const auto walkedFor = [](int units) {
        std::string line = "\"Intro\" {";
        for (int i = 0; i < units; ++i) {
            line += " { S = \"0\" N = \"0\" Q = \"Question " + std::to_string(i) +
                    "\" A = \"\u00e9\" ACT = \"ACT_NONE\" }";
        }
        const murmex::lsp::OpenDocument document("file:///one.txt",
                                                 scriptWithHeader({line + " }"}));
        EXPECT_EQ(murmex::lsp::documentSymbols(document)[0]["children"].size(),
                  static_cast<size_t>(units));
        return document.positions.bytesWalked();
    };
    const size_t once = walkedFor(400);
    const size_t twice = walkedFor(800);
    EXPECT_LT(twice, once * 5 / 2) << once << " then " << twice;
}

// The demo with one mistake: diagnostics, symbols and the name features.
class DemoDocument : public ::testing::Test {
  protected:
    const std::string demo = readBytes(MURMEX_DEMO_SCRIPT);

    // The 0-based line and column of the first `text` after `after`.
    json place(const std::string& text, const std::string& after = "", int into = 1) const {
        const size_t offset = demo.find(text, demo.find(after)) + static_cast<size_t>(into);
        const murmex::lsp::TextPositions positions(demo);
        const murmex::lsp::Position position = positions.at(offset);
        return at(position.line, position.character);
    }
};

TEST_F(DemoDocument, HasNoDiagnosticsAndAllCharacters) {
    const Served served = serve(
        initialize() + openDocument(demo) +
        request(1, "textDocument/documentSymbol", {{"textDocument", {{"uri", "file:///s.txt"}}}}));
    EXPECT_TRUE(served.diagnostics().empty()) << served.diagnostics().dump(1);
    const json symbols = served.replyTo(1)["result"];
    ASSERT_EQ(symbols.size(), 3u);
    EXPECT_EQ(symbols[1]["name"], "Mara");
    EXPECT_EQ(symbols[1]["children"][4]["name"], "0 \u2192 1");
}

TEST_F(DemoDocument, HoverAndReferencesOfAVariable) {
    const json letter = place("\"letter\"");
    const Served served =
        serve(initialize() + openDocument(demo) + request(1, "textDocument/hover", letter) +
              request(2, "textDocument/references", letter) +
              request(3, "textDocument/hover", place("Q = \"I will take")));
    const std::string hover = served.replyTo(1)["result"]["contents"]["value"];
    EXPECT_NE(hover.find("set by Mara"), std::string::npos) << hover;
    EXPECT_NE(hover.find("removed by Mara"), std::string::npos) << hover;
    EXPECT_GE(served.replyTo(2)["result"].size(), 6u);
    const std::string unit = served.replyTo(3)["result"]["contents"]["value"];
    EXPECT_EQ(unit.rfind("In state 1, offers \"I will take it to him at once.\"", 0), 0u) << unit;
    EXPECT_NE(unit.find("goes to state 4"), std::string::npos) << unit;
}

// A next state of -98 hands over and -99 stops the game, whatever else is
// negative ends the conversation: hover says what the player does.
TEST(Hover, TellsHandOverAndStopApartFromTheEnd) {
    const std::string script = murmex::testing::scriptWithHeader(
        {
            "\"Intro\" {",
            "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"-98\" Q = \"Over.\" A = \"Bob\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"-99\" Q = \"Stop.\" A = \"No.\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"-1\" Q = \"Bye.\" A = \"Bye.\" ACT = \"ACT_NONE\" }",
            "}",
        },
        {.title = "Small"});
    const murmex::lsp::TextPositions positions(script);
    const auto hoverOn = [&](int id, const std::string& question) {
        const murmex::lsp::Position position = positions.at(script.find(question));
        return request(id, "textDocument/hover", at(position.line, position.character));
    };
    const Served served = serve(initialize() + openDocument(script) + hoverOn(1, "Over.") +
                                hoverOn(2, "Stop.") + hoverOn(3, "Bye."));
    const struct {
        int id;
        const char* says;
    } cases[] = {{1, "hands the conversation over to Bob."},
                 {2, "stops the game as after a failure (-99)."},
                 {3, "ends the conversation (-1)."}};
    for (const auto& c : cases) {
        const std::string hover = served.replyTo(c.id)["result"]["contents"]["value"];
        EXPECT_NE(hover.find(c.says), std::string::npos) << hover;
        EXPECT_EQ(c.id == 3, hover.find("ends the conversation") != std::string::npos) << hover;
    }
}

// Inside a unit the keywords still to come, in their order; in OP the
// operators. A variable leads to the units that set it.
TEST_F(DemoDocument, CompletesByPlaceAndJumpsToSetters) {
    const Served served = serve(
        initialize() + openDocument(demo) +
        request(1, "textDocument/completion", place("N = \"0\" Q = \"\" A", "\"Mara\" {", 0)) +
        request(2, "textDocument/completion", place("OP = \"==\"", "", 6)) +
        request(3, "textDocument/definition", place("ID = \"paid\"", "", 6)));
    std::vector<std::string> labels;
    const json completions = served.replyTo(1)["result"];
    for (const json& item : completions) {
        labels.push_back(item["label"]);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"N", "Q", "A", "ACT", "PARAM", "VAL"}));
    EXPECT_EQ(served.replyTo(2)["result"].size(), std::size(murmex::OPERATOR_KEYWORDS));
    const json setters = served.replyTo(3)["result"];
    ASSERT_EQ(setters.size(), 1u) << setters.dump();
    const murmex::lsp::TextPositions positions(demo);
    EXPECT_EQ(setters[0]["range"]["start"]["line"],
              positions.lineOf(demo.find("PARAM = \"paid\"")));
}

TEST_F(DemoDocument, RefusesRenamesThatWouldBreakIt) {
    const json smith = place("PARAM = \"Smith\"", "", 9);
    const json trust = place("ID = \"trust\"", "", 6);
    struct Case {
        json where;
        std::string name;
        const char* why;
    };
    const Case cases[] = {
        {smith, "", "needs a name"},   {smith, "Mara", "is taken"},
        {smith, "Sm\"ith", "quote"},   {smith, std::string(200, 'x'), "at most 98 bytes"},
        {trust, "letter", "is taken"}, {trust, std::string(30, 'x'), "first 19 bytes"}};
    std::string input = initialize() + openDocument(demo);
    int id = 1;
    for (const Case& c : cases) {
        json params = c.where;
        params["newName"] = c.name;
        input += request(id++, "textDocument/rename", params);
    }
    const Served served = serve(input);
    id = 1;
    for (const Case& c : cases) {
        const json reply = served.replyTo(id++);
        EXPECT_EQ(errorCode(reply), REQUEST_FAILED) << c.name;
        EXPECT_NE(reply["error"]["message"].get<std::string>().find(c.why), std::string::npos)
            << reply.dump();
    }
}

// The rules of a name hold in a script that does not load too: a name the
// loader would cut or refuse is refused, one at the limit goes ahead.
TEST_F(DemoDocument, RenameKeepsItsRulesWhileTheScriptDoesNotLoad) {
    std::string broken = demo;
    broken.replace(broken.find("ACT_NONE"), 8, "ACT_NONX");
    const json smith = place("PARAM = \"Smith\"", "", 9);
    const json trust = place("ID = \"trust\"", "", 6);
    struct Case {
        json where;
        std::string name;
        bool refused;
    };
    const Case cases[] = {{smith, std::string(98, 'x'), false},
                          {smith, std::string(99, 'x'), true},
                          {smith, std::string(10'240, 'x'), true},
                          {trust, std::string(19, 'x'), false},
                          {trust, std::string(20, 'x'), true}};
    std::string input = initialize() + openDocument(broken);
    int id = 1;
    for (const Case& c : cases) {
        json params = c.where;
        params["newName"] = c.name;
        input += request(id++, "textDocument/rename", params);
    }
    const Served served = serve(input);
    ASSERT_FALSE(served.diagnostics().empty());
    id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.size());
        const json reply = served.replyTo(id++);
        EXPECT_EQ(errorCode(reply), c.refused ? REQUEST_FAILED : 0) << reply.dump().substr(0, 200);
    }
}

// However many problems a document has, the editor gets the first ones and a
// last diagnostic that counts the rest.
TEST(LanguageServer, CapsDiagnosticsAndCountsTheRest) {
    // Each unit's answer is never shown, a warning each: 1,120 of them.
    std::vector<std::string> lines;
    for (int c = 0; c < 8; ++c) {
        lines.push_back("\"" + (c == 0 ? std::string("Intro") : "C" + std::to_string(c)) + "\" {");
        for (int u = 0; u < 140; ++u) {
            lines.push_back("  { S = \"0\" N = \"-1\" Q = \"Bye " + std::to_string(u) +
                            "\" A = \"Bye.\" ACT = \"ACT_NONE\" }");
        }
        lines.push_back("}");
    }
    const json diagnostics =
        serve(initialize() + openDocument(scriptWithHeader(lines))).diagnostics();
    ASSERT_EQ(diagnostics.size(), murmex::lsp::DIAGNOSTICS_LIMIT + 1);
    const std::string last = diagnostics.back()["message"];
    EXPECT_NE(last.find("more diagnostics left out"), std::string::npos) << last;
}

} // namespace

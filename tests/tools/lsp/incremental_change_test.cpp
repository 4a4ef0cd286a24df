// Ranged edits as an editor sends them: whatever part of the document the
// server reads again, what it publishes and answers must be what a reading
// of the whole edited text gives.
#include "lsp_session.h"
#include "support/script_text.h"
#include "tools/lsp/feature_replies.h"
#include "tools/lsp/open_document.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace murmex::testing;
using murmex::lsp::TextPositions;

const std::string SCRIPT = scriptWithHeader({
    "\"Intro\" {",
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }",
    "  { S = \"0\" N = \"1\" Q = \"Ask\" A = \"Asked.\" ACT = \"ACT_ADD_MEM\" PARAM = \"asked\" "
    "VAL = \"1\" }",
    "  { S = \"1\" N = \"0\" Q = \"To Bob\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Bob\" }",
    "}",
    "# between the blocks",
    "\"Bob\" {",
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi.\" ACT = \"ACT_NONE\" }",
    "  { S = \"0\" N = \"-1\" Q = \"Bye\" A = \"Bye.\" ACT = \"ACT_NONE\" { ID = \"asked\" OP = "
    "\"==\" VAL = \"1\" } }",
    "}",
    "\"Carl\" {",
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hm.\" ACT = \"ACT_NONE\" }",
    "  { S = \"0\" N = \"3\" Q = \"Where\" A = \"Here.\" ACT = \"ACT_NONE\" }",
    // A warning whose words name another line, which moves with an edit above.
    "  { S = \"0\" N = \"0\" Q = \"&Wait\" A = \"Yes.\" ACT = \"ACT_NONE\" }",
    "  { S = \"0\" N = \"0\" Q = \"&Walk\" A = \"Go.\" ACT = \"ACT_NONE\" }",
    "}",
});

// Bytes [from, until) of the text, found after `anchor`, replaced by
// `inserted`; an empty `until` inserts at `from`.
struct Edit {
    std::string anchor;
    std::string from;
    std::string until;
    std::string inserted;
};

struct Placed {
    size_t begin;
    size_t end;
};

Placed place(const std::string& text, const Edit& edit) {
    const size_t begin = text.find(edit.from, text.find(edit.anchor));
    EXPECT_NE(begin, std::string::npos) << edit.from;
    const size_t end = edit.until.empty() ? begin : text.find(edit.until, begin);
    EXPECT_NE(end, std::string::npos) << edit.until;
    return {begin, end};
}

json positionJson(const TextPositions& positions, size_t offset) {
    const murmex::lsp::Position position = positions.at(offset);
    return {{"line", position.line}, {"character", position.character}};
}

const json SYMBOLS = {{"textDocument", {{"uri", "file:///s.txt"}}}};

// The diagnostics and symbols of a document opened with this text.
std::pair<json, json> readWhole(const std::string& text) {
    const Served served = serve(initialize() + openDocument(text) +
                                request(1, "textDocument/documentSymbol", SYMBOLS));
    return {served.diagnostics(), served.replyTo(1)["result"]};
}

TEST(IncrementalChange, GivesWhatAReadingOfTheWholeTextGives) {
    struct Case {
        const char* what;
        // Notifications, each of its changes in order.
        std::vector<std::vector<Edit>> notifications;
    };
    const Case cases[] = {
        {"typing into a question", {{{"\"Bob\" {", "Bye\"", "", "e"}}}},
        {"an edit that adds a warning", {{{"\"Carl\"", "N = \"3\"", "Q =", "N = \"-98\" "}}}},
        {"a line added to an early block moves what follows",
         {{{"\"Intro\"", "  { S = \"0\" N = \"1\"", "", "  # a note\r\n"}}}},
        {"lines removed from a block", {{{"\"Intro\"", "  { S = \"1\"", "}\r\n# between", ""}}}},
        {"an edit across two blocks", {{{"\"Intro\"", "To Bob", "Hi.", "Hello"}}}},
        {"an edit of the header", {{{"", "COLOR = \"1\"", "\"2\"", "COLOR = \"200\", "}}}},
        {"a new block", {{{"\"Carl\"", "\"Carl\"", "", "\"Dan\" {\r\n}\r\n"}}}},
        {"several changes in one notification",
         {{{"\"Intro\"", "A = \"Asked", "", "\r\n    "},
           {"\"Bob\" {", "Bye\"", "", "e"},
           {"\"Carl\"", "Where", "\"", "There"},
           {"", "# between the blocks", "\r\n", "# between"}}}},
        {"a change that breaks the script, then one that mends it",
         {{{"\"Bob\" {", "\" A = \"Bye.", "", "\""}},
          {{"\"Bob\" {", "\"\" A = \"Bye.", "\" A = \"Bye.", ""}}}},
        {"a block's closing brace taken and put back while the first block is broken",
         {{{"\"Intro\"", "ACT_NONE", "\"", "ACT_NOPE"}},
          {{"\"Bob\" {", "}\r\n\"Carl\"", "\"Carl\"", ""}},
          {{"\"Bob\" {", "\r\n\"Carl\"", "", "\r\n}"}},
          {{"\"Bob\" {", "Bye\"", "", "e"}}}},
        // A line feed taken from after a carriage return leaves a line end
        // for the editor but none for the loader; one put back joins them.
        {"line ends parted and joined",
         {{{"\"Carl\"", "\r\n", "  {", "\r"}}, {{"\"Carl\"", "  { S", "", "\n"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = SCRIPT;
        std::string input = initialize() + openDocument(text);
        std::vector<std::string> versions;
        murmex::lsp::OpenDocument document("file:///s.txt", text);
        for (const std::vector<Edit>& edits : c.notifications) {
            json changes = json::array();
            for (const Edit& edit : edits) {
                const Placed at = place(text, edit);
                const TextPositions positions(text);
                changes.push_back({{"range",
                                    {{"start", positionJson(positions, at.begin)},
                                     {"end", positionJson(positions, at.end)}}},
                                   {"text", edit.inserted}});
                text.replace(at.begin, at.end - at.begin, edit.inserted);
                document.edit(at.begin, at.end, edit.inserted);
            }
            document.settle();
            input += notification(
                "textDocument/didChange",
                {{"textDocument", {{"uri", "file:///s.txt"}, {"version", versions.size() + 2}}},
                 {"contentChanges", changes}});
            versions.push_back(text);
        }
        const Served served = serve(input + request(1, "textDocument/documentSymbol", SYMBOLS));
        std::vector<json> published;
        for (const json& message : served.messages) {
            if (message.value("method", "") == "textDocument/publishDiagnostics") {
                published.push_back(message["params"]["diagnostics"]);
            }
        }
        ASSERT_EQ(published.size(), versions.size() + 1);
        for (size_t v = 0; v < versions.size(); ++v) {
            const auto [diagnostics, symbols] = readWhole(versions[v]);
            EXPECT_EQ(published[v + 1], diagnostics) << "after notification " << v + 1;
            if (v + 1 == versions.size()) {
                EXPECT_EQ(served.replyTo(1)["result"], symbols);
            }
        }
        // The positions kept up edit by edit are those of the edited text.
        const TextPositions fresh(text);
        ASSERT_EQ(document.text, text);
        for (size_t offset = 0; offset <= text.size(); ++offset) {
            ASSERT_EQ(positionJson(document.positions, offset), positionJson(fresh, offset))
                << offset;
            ASSERT_EQ(document.positions.lineOf(offset), fresh.lineOf(offset)) << offset;
        }
    }
}

// Line ends parted or joined at either end of an edit, and at the text's
// end, where an empty last line follows the last line end.
TEST(IncrementalChange, PositionsKeepUpWithEditsAtLineEnds) {
    struct Case {
        std::string text;
        size_t begin;
        size_t removed;
        std::string inserted;
    };
    const Case cases[] = {
        {"a\r\n}\r\n", 3, 2, " "}, {"a\r\n", 3, 0, "b"},     {"a\r\n", 1, 2, ""},
        {"a\r", 2, 0, "\n"},       {"", 0, 0, "x\r\ny\r"},   {"ab\n\n", 2, 2, ""},
        {"a\rb", 1, 0, "\n"},      {"a\r\nb", 1, 1, "\r\r"}, {"\xc3\xa9\r\n", 0, 2, "\n"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        TextPositions kept(text);
        text.replace(c.begin, c.removed, c.inserted);
        kept.replaced(c.begin, c.removed, c.inserted.size());
        const TextPositions fresh(text);
        SCOPED_TRACE(json(text).dump());
        for (size_t offset = 0; offset <= text.size(); ++offset) {
            EXPECT_EQ(positionJson(kept, offset), positionJson(fresh, offset)) << offset;
            EXPECT_EQ(kept.lineOf(offset), fresh.lineOf(offset)) << offset;
        }
        for (int32_t line = 0; line < 4; ++line) {
            EXPECT_EQ(kept.offsetOf({line, 1}), fresh.offsetOf({line, 1})) << line;
            EXPECT_EQ(kept.lineStart(line), fresh.lineStart(line)) << line;
        }
    }
}

std::string diagnosticsOf(const murmex::lsp::OpenDocument& document) {
    size_t total = 0;
    std::string listed;
    for (const auto& diagnostic : document.diagnostics(10'000, total)) {
        listed += std::to_string(diagnostic.span.begin) + "-" +
                  std::to_string(diagnostic.span.end) + " " + diagnostic.code + " " +
                  diagnostic.message + "\n";
    }
    return listed + std::to_string(total);
}

// Keystrokes anywhere, mostly ones that keep the script loading: after each,
// the document read edit by edit is the one read whole. Every third round
// starts from a script whose first unit is broken, and types anything.
TEST(IncrementalChange, RandomKeystrokesGiveWhatAReadingOfTheWholeTextGives) {
    std::mt19937 random(9);
    const char* typed[] = {"x", " ", "\r\n", "\xc3\xa9", "&", "q", "\"", "}", "1", "-"};
    std::string broken = SCRIPT;
    broken.replace(broken.find("ACT_NONE"), 8, "ACT_NOPE");
    for (int round = 0; round < 150; ++round) {
        const bool fromBroken = round % 3 == 0;
        std::string text = fromBroken ? broken : SCRIPT;
        murmex::lsp::OpenDocument document("file:///s.txt", text);
        for (int keystroke = 0; keystroke < 5; ++keystroke) {
            const size_t begin = random() % (text.size() + 1);
            const size_t removed =
                std::min<size_t>(random() % 8 == 0 ? random() % 3 : 0, text.size() - begin);
            // Only the last keystroke may break a script that loads.
            const bool anything = fromBroken || keystroke == 4;
            const std::string inserted = typed[random() % (anything ? std::size(typed) : 6)];
            text.replace(begin, removed, inserted);
            document.edit(begin, begin + removed, inserted);
            document.settle();
            const murmex::lsp::OpenDocument whole("file:///s.txt", text);
            ASSERT_EQ(diagnosticsOf(document), diagnosticsOf(whole)) << round << " " << keystroke;
            ASSERT_EQ(murmex::lsp::documentSymbols(document), murmex::lsp::documentSymbols(whole))
                << round << " " << keystroke;
        }
    }
}

} // namespace

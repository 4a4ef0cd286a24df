// murmex graph: the demo and a script full of awkward characters give dot that
// Graphviz accepts; labels are escaped for each format; one character can be
// shown alone; a hand-over to a missing character shows as such.
#include "support/analysis_script.h"
#include "support/command_run.h"
#include "tools/analysis/script_graph.h"
#include "tools/cli/graph_command.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using murmex::testing::ScratchFolder;
using murmex::testing::scriptWithHeader;
using murmex::testing::unitLine;
using murmex::tool::GraphOptions;

// A value can't hold a double quote, but the labels add their own around
// questions; a backslash at the end of a text would escape the closing one.
const std::vector<std::string> AWKWARD = {
    "\"Intro\" {",
    unitLine(0, 0, ""),
    unitLine(0, 1, "Say 'hi' | <b> && #1 `x` \\", "ACT_ADD_MEM",
             "PARAM = \"a\\\" VAL = \"1\" { ID = \"a\\\" OP = \"not\" } "),
    unitLine(1, 0, "Back \\ slash"),
    unitLine(0, 0, "Off.", "ACT_COMM", "PARAM = \"Nobody \\\" "),
    unitLine(0, -1, "End."),
    unitLine(0, -99, "Fail."),
    "}"};

std::string graph(const GraphOptions& options, int expectedStatus = murmex::tool::EXIT_OK) {
    const murmex::testing::CommandRun run =
        murmex::testing::runCommand(murmex::tool::runGraph, options);
    EXPECT_EQ(run.status, expectedStatus) << run.err;
    return run.out;
}

bool dotAccepts(const ScratchFolder& folder, const std::string& dot) {
    const std::string in = folder.write("graph.dot", dot);
    const std::string command = "dot -Tsvg '" + in + "' -o '" + folder.path("graph.svg") + "' 2>'" +
                                folder.path("err") + "'";
    return std::system(command.c_str()) == 0 &&
           murmex::testing::readBytes(folder.path("err")).empty();
}

class GraphvizOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v dot >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "Graphviz's dot is not installed (tools/install_deps.sh installs it)";
        }
    }
};

TEST_F(GraphvizOutput, DemoIsValidDot) {
    ScratchFolder folder;
    const std::string dot = graph({MURMEX_DEMO_SCRIPT, true, "dot", ""});
    EXPECT_TRUE(dotAccepts(folder, dot)) << dot;
    // Questions read as the window shows them, without their mnemonics' &.
    EXPECT_NE(dot.find("Visit the Smith"), std::string::npos) << dot;
    EXPECT_EQ(dot.find('&'), std::string::npos) << dot;
}

TEST_F(GraphvizOutput, AwkwardTextsAreValidDot) {
    ScratchFolder folder;
    const std::string file = folder.write("s.txt", scriptWithHeader(AWKWARD));
    const std::string dot = graph({file, true, "dot", ""});
    EXPECT_TRUE(dotAccepts(folder, dot)) << dot;
    EXPECT_NE(dot.find("\\\"Nobody \\\\\\\" (missing)"), std::string::npos) << dot;
}

struct EscapeCase {
    const char* text;
    const char* dot;
    const char* mermaid;
};

class LabelEscaping : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(LabelEscaping, KeepsTheLabelInsideItsQuotes) {
    EXPECT_EQ(murmex::tool::dotQuoted(GetParam().text), GetParam().dot);
    EXPECT_EQ(murmex::tool::mermaidQuoted(GetParam().text), GetParam().mermaid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelEscaping,
    ::testing::Values(EscapeCase{"plain", "\"plain\"", "\"plain\""},
                      EscapeCase{"a \"b\"", "\"a \\\"b\\\"\"", "\"a #quot;b#quot;\""},
                      EscapeCase{"back\\slash", "\"back\\\\slash\"", "\"back\\slash\""},
                      EscapeCase{"two\nlines", "\"two\\nlines\"", "\"two<br>lines\""},
                      EscapeCase{"<b>|&#`", "\"<b>|&#`\"", "\"#lt;b#gt;#124;#amp;#35;#96;\""},
                      EscapeCase{"tab\there", "\"tab here\"", "\"tab here\""}));

TEST(GraphCommand, MermaidHasAnEdgePerQuestion) {
    ScratchFolder folder;
    const std::string file = folder.write("s.txt", scriptWithHeader(AWKWARD));
    const std::string mermaid = graph({file, true, "mermaid", ""});
    EXPECT_EQ(mermaid.rfind("flowchart LR\n", 0), 0u) << mermaid;
    size_t edges = 0;
    for (size_t at = mermaid.find("->|"); at != std::string::npos;
         at = mermaid.find("->|", at + 1)) {
        ++edges;
    }
    EXPECT_EQ(edges, 5u) << mermaid;
    EXPECT_NE(mermaid.find("#quot;Say 'hi' #124; #lt;b#gt; #amp; #35;1 #96;x#96; \\#quot;"),
              std::string::npos)
        << mermaid;
}

TEST(GraphCommand, OneCharacterAloneWithTheStartsItLeadsTo) {
    const std::string dot = graph({MURMEX_DEMO_SCRIPT, true, "dot", "Intro"});
    EXPECT_NE(dot.find("cluster_0"), std::string::npos);
    EXPECT_EQ(dot.find("cluster_1"), std::string::npos) << dot;
    EXPECT_NE(dot.find("c1s0 [label=\"Mara: 0\", shape=ellipse]"), std::string::npos) << dot;
    graph({MURMEX_DEMO_SCRIPT, true, "dot", "Nobody"}, murmex::tool::EXIT_FAILED);
}

} // namespace

// murmex graph: the demo and a script full of awkward characters give dot that
// Graphviz accepts; labels are escaped for each format; one character can be
// shown alone; a hand-over to a missing character shows as such; dot's own
// layout of the demo sets no label on another.
#include "support/analysis_script.h"
#include "support/command_run.h"
#include "tools/analysis/script_graph.h"
#include "tools/cli/graph_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

struct Box {
    std::string what;
    double left, bottom, right, top;
};

// The box of a label as dot draws it: each line's width about its anchor,
// from a quarter of the font size below its baseline to three above.
void addTextBox(const nlohmann::json& draw, const std::string& what, std::vector<Box>& boxes) {
    Box box{what, 1e9, 1e9, -1e9, -1e9};
    double size = 14;
    for (const nlohmann::json& op : draw) {
        if (op["op"] == "F") {
            size = op["size"].get<double>();
        } else if (op["op"] == "T") {
            const double x = op["pt"][0].get<double>(), y = op["pt"][1].get<double>();
            const double width = op["width"].get<double>();
            const double left = op["align"] == "c"   ? x - width / 2
                                : op["align"] == "l" ? x
                                                     : x - width;
            box = {what, std::min(box.left, left), std::min(box.bottom, y - size / 4),
                   std::max(box.right, left + width), std::max(box.top, y + size * 3 / 4)};
        }
    }
    if (box.left < box.right) {
        boxes.push_back(box);
    }
}

// Every node, block title and edge label of dot's JSON layout.
std::vector<Box> labelBoxes(const nlohmann::json& layout) {
    std::vector<Box> boxes;
    for (const nlohmann::json& object : layout["objects"]) {
        const std::string name = object["name"];
        if (object.contains("nodes")) {
            addTextBox(object.value("_ldraw_", nlohmann::json::array()), name, boxes);
        } else {
            double x = 0, y = 0;
            std::sscanf(object["pos"].get<std::string>().c_str(), "%lf,%lf", &x, &y);
            // Sizes in inches, of 72 points.
            const double halfWidth = std::stod(object["width"].get<std::string>()) * 36;
            const double halfHeight = std::stod(object["height"].get<std::string>()) * 36;
            boxes.push_back({name, x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight});
        }
    }
    for (const nlohmann::json& edge : layout["edges"]) {
        addTextBox(edge.value("_ldraw_", nlohmann::json::array()),
                   "edge " + edge.value("label", edge.value("xlabel", "")), boxes);
    }
    return boxes;
}

TEST_F(GraphvizOutput, DemoLabelsStandApart) {
    ScratchFolder folder;
    const std::string in = folder.write("graph.dot", graph({MURMEX_DEMO_SCRIPT, true, "dot", ""}));
    const std::string out = folder.path("graph.json");
    ASSERT_EQ(std::system(("dot -Tjson '" + in + "' -o '" + out + "'").c_str()), 0);
    const std::vector<Box> boxes =
        labelBoxes(nlohmann::json::parse(murmex::testing::readBytes(out)));
    EXPECT_GT(boxes.size(), 40u);
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Box& a = boxes[i];
            const Box& b = boxes[j];
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.bottom < b.top &&
                         b.bottom < a.top)
                << a.what << " overlaps " << b.what;
        }
    }
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

// Runs the script cases under tests/scripts: every *.chr.txt file there is a
// plain script whose "# expect:" comments say what loading it must report.
// tests/scripts/README.md describes the expectations.
#include "load_case.h"
#include "murmex/load_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace murmex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view SUFFIX = ".chr.txt";
constexpr std::string_view MARK = "# expect:";

// One fact: its keyword and its values, numbers as written, texts unquoted.
struct Fact {
    std::string keyword;
    std::vector<std::string> values;
};

// The facts and how many values each takes; load's are CODE line N "MESSAGE".
struct FactShape {
    std::string_view keyword;
    size_t values;
};
constexpr FactShape SHAPES[] = {{"load", 4},       {"detail", 1},     {"title", 1}, {"color", 3},
                                {"text-color", 3}, {"characters", 1}, {"pool", 1}};

// Splits one expectation into words and quoted texts (\" and \\ are escapes),
// up to a '#' that starts a note.
void splitWords(std::string_view text, std::vector<std::string>& words) {
    for (size_t at = 0; at < text.size() && text[at] != '#';) {
        if (text[at] == ' ' || text[at] == '\t') {
            ++at;
        } else if (text[at] == '"') {
            std::string value;
            for (++at; at < text.size() && text[at] != '"'; ++at) {
                at += text[at] == '\\' && at + 1 < text.size() ? 1 : 0;
                value += text[at];
            }
            words.push_back(value);
            ++at;
        } else {
            const size_t end = std::min(text.find_first_of(" \t", at), text.size());
            words.emplace_back(text.substr(at, end - at));
            at = end;
        }
    }
}

// Reads every "# expect:" comment of the script into facts; returns what is
// wrong with them, or "" when they hold exactly one load fact.
std::string readFacts(const std::string& script, std::vector<Fact>& facts) {
    std::vector<std::string> words;
    for (size_t at = script.find(MARK); at != std::string::npos; at = script.find(MARK, at)) {
        at += MARK.size();
        const size_t end = std::min(script.find_first_of("\r\n", at), script.size());
        splitWords(std::string_view(script).substr(at, end - at), words);
    }
    for (size_t at = 0; at < words.size();) {
        const auto shape = std::find_if(std::begin(SHAPES), std::end(SHAPES),
                                        [&](const FactShape& s) { return s.keyword == words[at]; });
        if (shape == std::end(SHAPES) || at + shape->values >= words.size()) {
            return "not a fact, or too few values: " + words[at];
        }
        const auto first = words.begin() + static_cast<std::ptrdiff_t>(at) + 1;
        facts.push_back({words[at], {first, first + static_cast<std::ptrdiff_t>(shape->values)}});
        at += 1 + shape->values;
    }
    const auto loads = std::count_if(facts.begin(), facts.end(),
                                     [](const Fact& f) { return f.keyword == "load"; });
    return loads == 1 ? "" : "no load fact, or more than one";
}

std::string joined(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values) {
        out += (out.empty() ? "" : " ") + v;
    }
    return out;
}

// What the loaded engine shows for a fact other than load, as the file writes it.
std::string shown(const std::string& keyword, const ConversationEngine& engine,
                  const LoadResult& result) {
    const auto rgb = [](const Rgb& c) {
        return joined({std::to_string(c.red), std::to_string(c.green), std::to_string(c.blue)});
    };
    char detail[LOAD_DETAIL_TEXT_SIZE];
    return keyword == "detail"       ? describeLoadDetail(result.detail, detail, sizeof(detail))
           : keyword == "title"      ? engine.title
           : keyword == "color"      ? rgb(engine.color)
           : keyword == "text-color" ? rgb(engine.textColor)
           : keyword == "characters" ? std::to_string(engine.characterCount)
                                     : std::to_string(engine.blockSize());
}

// The case files, by their path below the cases' folder; none where it
// cannot be read, which the test below reports.
std::vector<std::string> caseFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(MURMEX_SCRIPT_CASES, error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() > SUFFIX.size() && name.ends_with(SUFFIX)) {
            files.push_back(entry->path().lexically_relative(MURMEX_SCRIPT_CASES).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ScriptCases, AreFound) {
    EXPECT_FALSE(caseFiles().empty()) << MURMEX_SCRIPT_CASES;
}

class ScriptCaseTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptCaseTest, LoadsAsItsCommentsExpect) {
    std::ifstream in(fs::path(MURMEX_SCRIPT_CASES) / GetParam(), std::ios::binary);
    ASSERT_TRUE(in) << GetParam();
    const std::string script{std::istreambuf_iterator<char>(in), {}};
    std::vector<Fact> facts;
    ASSERT_EQ(readFacts(script, facts), "");
    for (const Fact& fact : facts) {
        SCOPED_TRACE(fact.keyword + " " + joined(fact.values));
        if (fact.keyword == "load") {
            ASSERT_EQ(fact.values[1], "line");
            testing::expectLoad({script, std::stoi(fact.values[0]), std::stoi(fact.values[2]),
                                 fact.values[3].c_str()});
            continue;
        }
        ConversationEngine engine;
        engine.disableDescramble();
        MemorySource source(script.data(), script.size());
        EXPECT_EQ(shown(fact.keyword, engine, loadScriptFrom(engine, source)), joined(fact.values));
    }
}

// Each file is a test named by its path: units/no_answer.chr.txt is units_no_answer.
INSTANTIATE_TEST_SUITE_P(Files, ScriptCaseTest, ::testing::ValuesIn(caseFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             name.resize(name.size() - SUFFIX.size());
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
} // namespace murmex

// Small scripts for the tool's tests: a fixed header on lines 1 to 4, so the
// first line of the body is line 5, and a plain file written from them.
#pragma once

#include "tools/analysis/script_loading.h"
#include "support/tool_test_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace murmex::testing {

inline std::string scriptWithHeader(const std::vector<std::string>& body) {
    std::string text = "MurmexSrcFile\r\nTITLE = \"T\"\r\nCOLOR = \"1\", \"2\", \"3\"\r\n"
                       "TEXTCOLOR = \"4\", \"5\", \"6\"\r\n";
    for (const std::string& line : body) {
        text += line + "\r\n";
    }
    return text;
}

// A unit line: S, N, Q, A and ACT with whatever follows ACT (PARAM, VAL,
// conditions) as `rest`.
inline std::string unitLine(int state, int next, const std::string& question,
                            const std::string& action = "ACT_NONE", const std::string& rest = "") {
    return "  { S = \"" + std::to_string(state) + "\" N = \"" + std::to_string(next) + "\" Q = \"" +
           question + "\" A = \"" + (question.empty() ? "Hello." : "Fine.") + "\" ACT = \"" +
           action + "\" " + rest + "}";
}

// A loaded plain script and the lines of its parts.
struct LoadedWithLines {
    tool::LoadedScript loaded;
    std::unique_ptr<ScriptLines> lines = std::make_unique<ScriptLines>();
};

inline LoadedWithLines loadBody(const ScratchFolder& folder, const std::vector<std::string>& body) {
    LoadedWithLines result;
    const std::string file = folder.write("script.txt", scriptWithHeader(body));
    result.loaded = tool::loadScript(file, true, result.lines.get());
    EXPECT_TRUE(result.loaded.ok()) << tool::loadErrorLine(file, true, result.loaded);
    return result;
}

} // namespace murmex::testing

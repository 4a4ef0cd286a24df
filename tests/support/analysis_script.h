// Small scripts for the analysis tests: unit lines built from their fields,
// a body written under the default header (so it starts on line 5) and
// loaded with the table of its lines, and what the analysis found, listed.
#pragma once

#include "support/scratch_folder.h"
#include "support/script_text.h"
#include "tools/analysis/finding.h"
#include "tools/script_io/script_loading.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace murmex::testing {

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
    std::unique_ptr<tool::ScriptPlaces> lines = std::make_unique<tool::ScriptPlaces>();
};

inline LoadedWithLines loadBody(const ScratchFolder& folder, const std::vector<std::string>& body,
                                const ScriptHeader& header = {}) {
    LoadedWithLines result;
    const std::string file = folder.write("script.txt", scriptWithHeader(body, header));
    result.loaded = tool::loadScript(file, true, result.lines.get());
    EXPECT_TRUE(result.loaded.ok()) << tool::loadErrorLine(file, true, result.loaded);
    return result;
}

// One finding a line, "LINE: TEXT [name]", for the message of a failed check.
inline std::string listFindings(const std::vector<tool::Finding>& findings) {
    std::string list;
    for (const tool::Finding& finding : findings) {
        list += std::to_string(finding.line) + ": " + finding.text + " [" + finding.name + "]\n";
    }
    return list;
}

} // namespace murmex::testing

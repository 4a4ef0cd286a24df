// Script texts for the tests: lines ended the way the format wants them, and
// the four header lines every script starts with, so a body starts on line 5.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace murmex::testing {

// What the header says: the title and the two colours.
struct ScriptHeader {
    std::string title = "T";
    std::array<int, 3> color = {1, 2, 3};
    std::array<int, 3> textColor = {4, 5, 6};
    // The loader reads only the first letter of this keyword.
    std::string textColorKeyword = "TEXTCOLOR";
};

// The demo's colours, which lint finds readable: the ones to use where a
// test wants no warning about the header.
inline ScriptHeader readableHeader() {
    ScriptHeader header;
    header.color = {140, 190, 255};
    header.textColor = {255, 236, 190};
    return header;
}

// Lines joined with carriage return and line feed, the last one ended too.
inline std::string scriptText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// Three colour components as the header writes them: "1", "2", "3".
inline std::string colorValues(const std::array<int, 3>& components) {
    return "\"" + std::to_string(components[0]) + "\", \"" + std::to_string(components[1]) +
           "\", \"" + std::to_string(components[2]) + "\"";
}

// The magic line and the header, four lines in all.
inline std::string scriptHeader(const ScriptHeader& header = {}) {
    return scriptText({"MurmexSrcFile", "TITLE = \"" + header.title + "\"",
                       "COLOR = " + colorValues(header.color),
                       header.textColorKeyword + " = " + colorValues(header.textColor)});
}

// The header, then the body's lines from line 5 on.
inline std::string scriptWithHeader(const std::vector<std::string>& body,
                                    const ScriptHeader& header = {}) {
    return scriptHeader(header) + scriptText(body);
}

} // namespace murmex::testing

// The range check of the header colours' components.
#include "tools/analysis/color_range.h"

#include "murmex/script_syntax.h"
#include "tools/analysis/unit_text.h"

#include <algorithm>
#include <string>

namespace murmex::tool {

namespace {

constexpr uint8_t COMPONENTS = 3;
constexpr const char* COMPONENT_NAMES[COMPONENTS] = {"red", "green", "blue"};
// A component's value is a number; a longer text is quoted cut.
constexpr size_t QUOTED_CHARACTERS = 20;

// "300", or "0x12C" (300) where the text spells the number otherwise.
std::string writtenText(const std::string& text, int32_t written) {
    const std::string shown = "\"" + shortText(text.c_str(), QUOTED_CHARACTERS) + "\"";
    return text == std::to_string(written) ? shown : shown + " (" + std::to_string(written) + ")";
}

} // namespace

void lintColorRange(const ScriptPlaces& lines, std::vector<Finding>& findings) {
    for (const ScriptField field : {ScriptField::Color, ScriptField::TextColor}) {
        for (uint8_t component = 0; component < COMPONENTS; ++component) {
            const ScriptPlaces::WrittenComponent& value = lines.colorComponent(field, component);
            int32_t written = 0;
            uint8_t taken = 0;
            // The window takes a number in range as it stands.
            if (!readColorComponent(value.text.c_str(), written, taken) || written == taken) {
                continue;
            }
            findings.push_back(Finding{
                std::max(value.line, 1),
                "color-out-of-range",
                std::string("the ") + COMPONENT_NAMES[component] + " component of " +
                    scriptField(field).keyword + ", " + writtenText(value.text, written) +
                    ", lies outside 0 to 255: the window takes it as " + std::to_string(taken),
                {},
                false});
        }
    }
}

} // namespace murmex::tool

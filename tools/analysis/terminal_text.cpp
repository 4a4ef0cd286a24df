// Control characters written out visibly for the terminal.
#include "tools/analysis/terminal_text.h"

namespace murmex::tool {

namespace {

// The lead byte of UTF-8's two-byte codes for U+0080 to U+00BF; the C1
// controls are those whose second byte lies below 0xA0.
constexpr unsigned char C1_LEAD = 0xC2;
constexpr unsigned char C1_END = 0xA0;

void appendEscaped(std::string& shown, unsigned int code) {
    static constexpr char HEX[] = "0123456789abcdef";
    shown += "\\x";
    shown += HEX[(code >> 4) & 0xF];
    shown += HEX[code & 0xF];
}

} // namespace

std::string terminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            appendEscaped(shown, byte);
        } else if (byte == C1_LEAD && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) < C1_END) {
            appendEscaped(shown, static_cast<unsigned char>(text[++i]));
        } else {
            shown += text[i];
        }
    }
    return shown;
}

} // namespace murmex::tool

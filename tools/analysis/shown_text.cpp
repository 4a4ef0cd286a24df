// Mnemonic markers and display decoding, as the window's text lines apply them.
#include "tools/analysis/shown_text.h"

#include "murmex/script_text.h"
#include "text/display_text.h"

#include <cstring>

namespace murmex::tool {

std::string withoutMnemonics(std::string_view bytes) {
    std::string shown(bytes.size() + 1, '\0');
    shown.resize(removeMnemonicMarks(bytes.data(), bytes.size(), shown.data(), shown.size()));
    return shown;
}

std::string shownText(const char* bytes) {
    if (bytes == nullptr) {
        return "";
    }
    // '&' is one byte in UTF-8 and in Windows-1252 alike, so the markers can
    // go before the text is decoded.
    return displayText(withoutMnemonics(bytes).c_str());
}

bool holdsText(const char* bytes) {
    return bytes != nullptr && bytes[0] != 0 && std::strcmp(bytes, "-") != 0;
}

} // namespace murmex::tool

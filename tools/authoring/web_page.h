// One self-contained HTML file that plays a script in a browser: the page's
// template filled with its style and code, the engine's WebAssembly module
// and the script's bytes, both as base64, and the game's settings.
#pragma once

#include "tools/authoring/page_labels.h"

#include <string>

namespace murmex::tool {

// The parts of the page as the web build leaves them (share/murmex/web/).
struct WebPageParts {
    std::string html;   // page.html, the template
    std::string style;  // page.css
    std::string api;    // murmex.js
    std::string code;   // page.js
    std::string engine; // murmex.wasm
};

struct WebPageSettings {
    // UTF-8 texts, shown as text: the heading and page title, the footer.
    std::string title;
    std::string about;
    // Where the game is kept between visits.
    std::string id;
    // The page's language, as <html lang> takes it, and its own texts.
    std::string language;
    PageLabels labels;
    bool plain = false;
    bool autosave = true;
};

// The page. Every placeholder of the template (@NAME@) is filled in one pass,
// so nothing a value brings is ever read as a placeholder or as markup.
std::string webPage(const WebPageParts& parts, const WebPageSettings& settings,
                    const std::string& scriptBytes);

// True when the code can sit inside a <script> element: it nowhere closes one.
bool fitsInScriptElement(const std::string& code);

} // namespace murmex::tool

// Filling the page's template.
#include "tools/authoring/web_page.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <string_view>

namespace murmex::tool {

namespace {

constexpr char PLACEHOLDER_MARK = '@';
constexpr std::string_view SCRIPT_END = "</script";

std::string base64(const std::string& bytes) {
    static constexpr char DIGITS[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (left > 1) {
            group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        }
        if (left > 2) {
            group |= static_cast<unsigned char>(bytes[i + 2]);
        }
        out += DIGITS[(group >> 18) & 63];
        out += DIGITS[(group >> 12) & 63];
        out += left > 1 ? DIGITS[(group >> 6) & 63] : '=';
        out += left > 2 ? DIGITS[group & 63] : '=';
    }
    return out;
}

// The text with every character that could start markup or end an
// attribute replaced by its character reference.
std::string htmlText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The labels as a JSON object that can stand in a <script> element: every
// '<' is escaped, so none can close it or open a comment.
std::string labelsJson(const PageLabels& labels) {
    std::string out;
    for (const char c : nlohmann::json(labels).dump()) {
        out += c == '<' ? std::string("\\u003c") : std::string(1, c);
    }
    return out;
}

std::string flag(bool set) {
    return set ? "1" : "0";
}

} // namespace

std::string webPage(const WebPageParts& parts, const WebPageSettings& settings,
                    const std::string& scriptBytes) {
    const std::map<std::string, std::string, std::less<>> values = {
        {"LANGUAGE", htmlText(settings.language)},
        {"TITLE", htmlText(settings.title)},
        {"ID", htmlText(settings.id)},
        {"PLAIN", flag(settings.plain)},
        {"AUTOSAVE", flag(settings.autosave)},
        {"ABOUT", htmlText(settings.about)},
        {"LABELS", labelsJson(settings.labels)},
        {"STYLE", parts.style},
        {"ENGINE", base64(parts.engine)},
        {"SCRIPT", base64(scriptBytes)},
        {"API", parts.api},
        {"PAGE", parts.code},
    };
    const std::string& html = parts.html;
    std::string page;
    size_t at = 0;
    while (at < html.size()) {
        const size_t open = html.find(PLACEHOLDER_MARK, at);
        const size_t close =
            open == std::string::npos ? open : html.find(PLACEHOLDER_MARK, open + 1);
        if (close == std::string::npos) {
            page.append(html, at);
            break;
        }
        const auto value = values.find(std::string_view(html).substr(open + 1, close - open - 1));
        if (value == values.end()) {
            // Not a placeholder: the mark stays and may open the next one.
            page.append(html, at, open + 1 - at);
            at = open + 1;
            continue;
        }
        page.append(html, at, open - at);
        page += value->second;
        at = close + 1;
    }
    return page;
}

bool fitsInScriptElement(const std::string& code) {
    std::string lower(code.size(), '\0');
    std::transform(code.begin(), code.end(), lower.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return lower.find(SCRIPT_END) == std::string::npos;
}

} // namespace murmex::tool

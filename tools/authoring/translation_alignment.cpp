// Matching a translation's entries with the script's texts by id and by text.
#include "tools/authoring/translation_alignment.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace murmex::tool {

namespace {

// What an id says of its text besides the place: the character and the kind
// ("Mara" and "Q" of "Mara/S1/2/Q"); the title is a group of its own. A name
// may hold slashes, so the parts are counted from the end.
std::pair<std::string_view, std::string_view> groupOf(std::string_view id) {
    size_t end = id.size();
    size_t kindSlash = 0;
    for (int part = 0; part < 3; ++part) {
        const size_t slash = end == 0 ? std::string_view::npos : id.rfind('/', end - 1);
        if (slash == std::string_view::npos) {
            return {id, {}};
        }
        kindSlash = part == 0 ? slash : kindSlash;
        end = slash;
    }
    return {id.substr(0, end), id.substr(kindSlash + 1)};
}

} // namespace

TranslationAlignment alignTranslation(const std::vector<ScriptText>& texts,
                                      const std::vector<TranslationEntry>& entries) {
    TranslationAlignment alignment;
    alignment.entryOfText.assign(texts.size(), -1);
    std::map<std::string_view, size_t> byId;
    std::vector<bool> open(entries.size(), true);
    for (size_t e = 0; e < entries.size(); ++e) {
        if (!byId.emplace(entries[e].id, e).second) {
            alignment.repeated.push_back(e);
            open[e] = false;
        }
    }
    const auto take = [&](size_t t, size_t e) {
        alignment.entryOfText[t] = static_cast<int32_t>(e);
        open[e] = false;
    };
    const auto entryOfId = [&](const ScriptText& text) -> int32_t {
        const auto found = byId.find(text.id);
        return found != byId.end() && open[found->second] ? static_cast<int32_t>(found->second)
                                                          : -1;
    };
    for (size_t t = 0; t < texts.size(); ++t) {
        if (const int32_t e = entryOfId(texts[t]);
            e >= 0 && entries[static_cast<size_t>(e)].source == texts[t].text) {
            take(t, static_cast<size_t>(e));
        }
    }
    for (size_t t = 0; t < texts.size(); ++t) {
        for (size_t e = 0; alignment.entryOfText[t] < 0 && e < entries.size(); ++e) {
            if (open[e] && entries[e].source == texts[t].text &&
                groupOf(entries[e].id) == groupOf(texts[t].id)) {
                take(t, e);
            }
        }
    }
    for (size_t t = 0; t < texts.size(); ++t) {
        if (const int32_t e = entryOfId(texts[t]); alignment.entryOfText[t] < 0 && e >= 0) {
            take(t, static_cast<size_t>(e));
        }
    }
    for (size_t e = 0; e < entries.size(); ++e) {
        if (open[e]) {
            alignment.unmatched.push_back(e);
        }
    }
    return alignment;
}

} // namespace murmex::tool

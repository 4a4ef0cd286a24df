// Locating the shown texts of a script in its bytes. The loader's scan tells
// where each value stands, so the title, every question and every answer
// are known by their spans; every located text is then checked against the
// loaded model, which has the last word.
#include "tools/authoring/script_texts.h"

#include "murmex/conversation_flow.h"
#include "murmex/script_syntax.h"
#include "murmex/unit_identity.h"
#include "text/display_text.h"
#include "tools/analysis/shown_text.h"
#include "tools/analysis/unit_text.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace murmex::tool {

namespace {

struct Place {
    size_t offset = 0;
    size_t length = 0;
    int32_t line = 0;
    bool found = false;
};

struct UnitPlaces {
    Place question;
    Place answer;
};

struct TextPlaces {
    Place title;
    std::vector<std::vector<UnitPlaces>> characters;
};

// Notes where the title, each character block, each unit and its texts
// stand, and the first error the scan meets.
class PlaceRecorder : public SyntaxListener {
  public:
    explicit PlaceRecorder(TextPlaces& scriptPlaces) : places(scriptPlaces) {}

    void field(const SyntaxFieldEvent& event) override {
        const Place place{event.value.begin, event.value.end - event.value.begin, event.value.line,
                          true};
        if (event.field == ScriptField::Title) {
            places.title = place;
        } else if (inUnit() && event.field == ScriptField::Question) {
            places.characters.back().back().question = place;
        } else if (inUnit() && event.field == ScriptField::Answer) {
            places.characters.back().back().answer = place;
        }
    }
    void open(ScriptBlock block, const SyntaxSpan&) override {
        if (block == ScriptBlock::Character) {
            places.characters.emplace_back();
        } else if (block == ScriptBlock::Unit && !places.characters.empty()) {
            places.characters.back().emplace_back();
        }
    }
    void error(const SyntaxError& error) override {
        if (firstError.empty()) {
            firstError = "line " + std::to_string(error.line) + ": " + error.message;
        }
    }

    std::string firstError;

  private:
    bool inUnit() const { return !places.characters.empty() && !places.characters.back().empty(); }

    TextPlaces& places;
};

bool findPlaces(const std::string& plain, TextPlaces& places, std::string& error) {
    PlaceRecorder recorder(places);
    if (scanScript(plain.data(), plain.size(), recorder) < 0) {
        error = "not enough memory to read the script";
        return false;
    }
    if (!recorder.firstError.empty()) {
        error = recorder.firstError;
        return false;
    }
    return true;
}

bool sameBytes(const std::string& plain, const Place& place, const char* text) {
    return place.found && text != nullptr && std::strlen(text) == place.length &&
           plain.compare(place.offset, place.length, text) == 0;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string stateWords(const TalkUnit& unit) {
    std::string words = "state " + std::to_string(unit.state);
    const std::string conditions = conditionsText(unit);
    if (!conditions.empty()) {
        words += ", when " + conditions;
    }
    return words;
}

std::string mnemonicNote(const std::string& text) {
    return text.find('&') == std::string::npos
               ? ""
               : "; '&' underlines the next letter as its key, '&&' shows one '&'";
}

// Who says the text and when, for the translator and the voice actor.
std::string unitNote(const std::string& name, const TalkUnit& unit, TextKind kind) {
    const std::string question = displayText(unit.question);
    if (kind == TextKind::Question) {
        std::string note = "The player asks " + name + " (" + stateWords(unit) + ")";
        const UnitEffect effect = unitEffect(unit);
        if (effect == UnitEffect::Ends) {
            note += "; ends the conversation";
        } else if (effect == UnitEffect::HandsOver && unit.action != ACT_COMM) {
            note += "; hands the conversation over to the character its answer names";
        } else if (effect == UnitEffect::Stops) {
            note += "; stops the game";
        } else if (unit.nextState != unit.state && effect == UnitEffect::Continues) {
            note += "; leads to state " + std::to_string(unit.nextState);
        }
        const std::string action = actionText(unit);
        if (!action.empty()) {
            note += "; " + action;
        }
        return note + mnemonicNote(question);
    }
    const std::string answer = displayText(unit.answer);
    if (question.empty()) {
        return name + " opens the conversation (" + stateWords(unit) + ")" + mnemonicNote(answer);
    }
    return name + " answers " + quoted(question) + " (" + stateWords(unit) + ")" +
           mnemonicNote(answer);
}

ScriptText makeText(const std::string& plain, const Place& place, TextKind kind) {
    ScriptText text;
    text.kind = kind;
    text.offset = place.offset;
    text.length = place.length;
    text.line = place.line;
    text.bytes = plain.substr(place.offset, place.length);
    text.text = displayText(text.bytes.c_str());
    return text;
}

} // namespace

const char* textKindName(TextKind kind) {
    switch (kind) {
    case TextKind::Title:
        return "title";
    case TextKind::Question:
        return "question";
    case TextKind::Answer:
        return "answer";
    }
    return "";
}

bool findScriptTexts(const std::string& plain, const ScriptModel& engine,
                     std::vector<ScriptText>& texts, std::string& error) {
    TextPlaces places;
    if (!findPlaces(plain, places, error)) {
        return false;
    }
    const std::string changed = "; the file changed since it was loaded, or is laid out in a way "
                                "the text scan does not follow";
    if (!sameBytes(plain, places.title, engine.title)) {
        error = "the title is not where the scan found it" + changed;
        return false;
    }
    if (places.characters.size() != static_cast<size_t>(engine.characterCount)) {
        error = "the scan found " + std::to_string(places.characters.size()) +
                " character blocks, the loader " + std::to_string(engine.characterCount) + changed;
        return false;
    }
    texts.clear();
    if (holdsText(engine.title)) {
        ScriptText title = makeText(plain, places.title, TextKind::Title);
        title.id = scriptField(ScriptField::Title).keyword;
        title.note = "The window title, at most " + std::to_string(MAX_TITLE) + " bytes";
        texts.push_back(title);
    }
    for (int32_t c = 0; c < engine.characterCount; ++c) {
        const Character& character = *engine.characters[c];
        const std::vector<UnitPlaces>& units = places.characters[static_cast<size_t>(c)];
        const std::string name = displayText(character.name);
        if (units.size() != static_cast<size_t>(character.unitCount)) {
            error = name + ": the scan found " + std::to_string(units.size()) +
                    " units, the loader " + std::to_string(character.unitCount) + changed;
            return false;
        }
        const int32_t idSuffix = characterIdSuffix(engine, c);
        for (int32_t u = 0; u < character.unitCount; ++u) {
            const TalkUnit& unit = *character.units[u];
            const UnitPlaces& place = units[static_cast<size_t>(u)];
            const int32_t placeNumber = placeInState(character, u);
            if (!sameBytes(plain, place.question, unit.question) ||
                !sameBytes(plain, place.answer, unit.answer)) {
                error = name + ": the texts of the unit on line " +
                        std::to_string(place.question.line) + " are not where the scan found them" +
                        changed;
                return false;
            }
            const bool answerShown = answerCanBeShown(unit);
            for (const TextKind kind : {TextKind::Question, TextKind::Answer}) {
                const bool isQuestion = kind == TextKind::Question;
                if (!holdsText(isQuestion ? unit.question : unit.answer) ||
                    (!isQuestion && !answerShown)) {
                    continue;
                }
                ScriptText text = makeText(plain, isQuestion ? place.question : place.answer, kind);
                char id[LINE_ID_SIZE];
                formatLineId(name.c_str(), idSuffix, unit, placeNumber,
                             isQuestion ? LinePart::Question : LinePart::Answer, id, sizeof id);
                text.id = id;
                text.character = name;
                text.note = unitNote(name, unit, kind);
                text.characterIndex = c;
                text.unitIndex = u;
                texts.push_back(std::move(text));
            }
        }
    }
    return true;
}

namespace {

bool sameText(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

bool sameUnitBesidesTexts(const TalkUnit& a, const TalkUnit& b) {
    if (a.state != b.state || a.nextState != b.nextState || a.action != b.action ||
        a.value != b.value || a.conditionCount != b.conditionCount ||
        (a.param == nullptr) != (b.param == nullptr) ||
        (a.param != nullptr && !sameText(a.param, b.param))) {
        return false;
    }
    for (int32_t i = 0; i < a.conditionCount; ++i) {
        const Condition& x = a.conditions[i];
        const Condition& y = b.conditions[i];
        if (x.op != y.op || x.value != y.value || !sameText(x.variable, y.variable)) {
            return false;
        }
    }
    return true;
}

bool sameRgb(const Rgb& a, const Rgb& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

} // namespace

bool sameScriptBesidesTexts(const ScriptModel& original, const ScriptModel& built,
                            const std::vector<ScriptText>& texts,
                            const std::vector<std::string>& replacedBytes, std::string& error) {
    // The expected bytes of every replaced text, by its unit and kind.
    std::map<std::tuple<int32_t, int32_t, int>, const std::string*> replaced;
    for (size_t i = 0; i < texts.size(); ++i) {
        replaced[{texts[i].characterIndex, texts[i].unitIndex, static_cast<int>(texts[i].kind)}] =
            &replacedBytes[i];
    }
    const auto expected = [&](int32_t c, int32_t u, TextKind kind, const char* before) {
        const auto found = replaced.find({c, u, static_cast<int>(kind)});
        return found == replaced.end() ? std::string(before) : *found->second;
    };
    if (expected(-1, -1, TextKind::Title, original.title) != built.title ||
        !sameRgb(original.color, built.color) || !sameRgb(original.textColor, built.textColor)) {
        error = "the header differs";
        return false;
    }
    if (original.characterCount != built.characterCount) {
        error = "the number of characters differs";
        return false;
    }
    for (int32_t c = 0; c < original.characterCount; ++c) {
        const Character& a = *original.characters[c];
        const Character& b = *built.characters[c];
        if (!sameText(a.name, b.name) || a.unitCount != b.unitCount) {
            error = "character " + displayText(a.name) + " differs";
            return false;
        }
        for (int32_t u = 0; u < a.unitCount; ++u) {
            const TalkUnit& x = *a.units[u];
            const TalkUnit& y = *b.units[u];
            if (!sameUnitBesidesTexts(x, y) ||
                expected(c, u, TextKind::Question, x.question) != y.question ||
                expected(c, u, TextKind::Answer, x.answer) != y.answer) {
                error = "unit " + std::to_string(u + 1) + " of " + displayText(a.name) + " differs";
                return false;
            }
        }
    }
    return true;
}

} // namespace murmex::tool

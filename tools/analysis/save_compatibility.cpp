// Saving every reachable screen of the old script and restoring it into the
// new one. The rules of what migrates are the engine's alone: this file only
// finds the screens, aligns units to know which one a screen should show,
// and words the result.
#include "tools/analysis/save_compatibility.h"

#include "murmex/game_state.h"
#include "murmex/unit_identity.h"
#include "text/display_text.h"
#include "tools/analysis/unit_text.h"

#include <cstring>
#include <set>
#include <string>
#include <tuple>

namespace murmex::tool {

namespace {

// How much of a unit's text a finding quotes.
constexpr size_t QUOTED_CHARACTERS = 40;

bool sameText(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

// The unit of the character whose answer or parameter the view shows, or -1.
int32_t shownUnit(const Character& character, const char* shown) {
    for (int32_t u = 0; shown != nullptr && u < character.unitCount; ++u) {
        if (character.units[u]->answer == shown || character.units[u]->param == shown) {
            return u;
        }
    }
    return -1;
}

std::vector<int32_t> unitsInState(const Character& character, int32_t state) {
    std::vector<int32_t> units;
    for (int32_t place = 1;; ++place) {
        const int32_t u = unitAtPlace(character, state, place);
        if (u < 0) {
            return units;
        }
        units.push_back(u);
    }
}

// Aligns the units of one state: same texts first, then the same shape in order.
void alignState(const Character& oldCharacter, const Character& newCharacter, int32_t state,
                std::vector<int32_t>& aligned) {
    const std::vector<int32_t> olds = unitsInState(oldCharacter, state);
    const std::vector<int32_t> news = unitsInState(newCharacter, state);
    std::vector<bool> taken(news.size(), false);
    for (const int32_t o : olds) {
        const TalkUnit& unit = *oldCharacter.units[o];
        for (size_t n = 0; n < news.size(); ++n) {
            const TalkUnit& candidate = *newCharacter.units[news[n]];
            if (!taken[n] && sameText(unit.question, candidate.question) &&
                sameText(unit.answer, candidate.answer)) {
                aligned[static_cast<size_t>(o)] = news[n];
                taken[n] = true;
                break;
            }
        }
    }
    size_t from = 0;
    for (const int32_t o : olds) {
        if (aligned[static_cast<size_t>(o)] >= 0) {
            continue;
        }
        const uint64_t shape = unitShape(*oldCharacter.units[o]);
        for (size_t n = from; n < news.size(); ++n) {
            if (!taken[n] && unitShape(*newCharacter.units[news[n]]) == shape) {
                aligned[static_cast<size_t>(o)] = news[n];
                taken[n] = true;
                from = n + 1;
                break;
            }
        }
    }
}

std::string quotedName(const Character& character) {
    return "\"" + shortText(character.name, QUOTED_CHARACTERS) + "\"";
}

std::string unitWords(const Character& character, int32_t u) {
    const TalkUnit& unit = *character.units[u];
    const bool opening = unit.question[0] == 0;
    return std::string(opening ? "the opening answer \"" : "the answer to \"") +
           shortText(opening ? unit.answer : unit.question, QUOTED_CHARACTERS) + "\" (unit " +
           std::to_string(placeInState(character, u)) + " of " + quotedName(character) +
           " in state " + std::to_string(unit.state) + ")";
}

const char* findingName(int32_t code) {
    switch (code) {
    case GAME_STATE_CHARACTER_GONE:
        return "save-character-gone";
    case GAME_STATE_STATE_GONE:
        return "save-state-gone";
    case GAME_STATE_UNIT_CHANGED:
        return "save-unit-changed";
    case GAME_STATE_NO_QUESTIONS:
        return "save-no-questions";
    default:
        return "save-refused";
    }
}

// Saves the screen the old engine shows and restores it into the new
// engine. GAME_STATE_OK, or the refusal in words.
int32_t carryOver(const ConversationEngine& oldScript, const ConversationView& oldView,
                  ConversationEngine& newScript, ConversationView& newView, std::string& words) {
    std::vector<uint8_t> bytes(GAME_STATE_V2_MAX_BYTES);
    size_t written = 0;
    int32_t result = saveGameState(oldScript, oldView, bytes.data(), bytes.size(), written);
    GameStateRefusal refusal;
    refusal.code = result;
    if (result == GAME_STATE_OK) {
        result = restoreGameState(newScript, newView, bytes.data(), written, refusal);
    }
    char text[GAME_STATE_REFUSAL_TEXT_SIZE];
    gameStateRefusalMessage(refusal, text, sizeof text);
    words = displayText(text);
    return result;
}

class CompatCheck {
  public:
    CompatCheck(const ConversationEngine& oldScript, const ScriptPlaces& oldLines,
                ConversationEngine& newScript)
        : oldScript(oldScript), oldLines(oldLines), newScript(newScript),
          aligned(alignUnits(oldScript, newScript)) {}

    // A screen of the old script, reached by choosing `unit` in `situation`.
    void screen(uint32_t situation, int32_t unit, const ConversationView& view) {
        const int32_t c = view.characterIndex;
        const Character& character = *oldScript.characters[c];
        const int32_t shown = shownUnit(character, view.answer);
        if (!seen.insert({c, character.state, shown, view.answer}).second) {
            return;
        }
        std::string words;
        const int32_t result = carryOver(oldScript, view, newScript, newView, words);
        Finding finding;
        finding.line = lineOf(c, shown);
        if (result == GAME_STATE_UNIT_CHANGED && shown >= 0) {
            finding.name = findingName(result);
            finding.text = "a game saved here is refused: it shows " + unitWords(character, shown) +
                           counterpartWords(c, shown);
        } else if (result != GAME_STATE_OK) {
            finding.name = findingName(result);
            finding.text = "a game saved here is refused: " + words;
        } else if (shown >= 0 && shownUnit(*newScript.characters[newView.characterIndex],
                                           newView.answer) != aligned[c][shown]) {
            finding.name = "save-shows-another-unit";
            finding.text = "a game saved at " + unitWords(character, shown) +
                           " restores showing another unit, which stands at its place now" +
                           keepSavesAdvice(character, shown);
        } else {
            return;
        }
        pending.push_back({situation, unit, std::move(finding)});
    }

    // The findings with their paths, once the search is over.
    std::vector<Finding> findings(const ExploreReport& report) {
        std::vector<Finding> words;
        for (Pending& found : pending) {
            found.finding.path = questionsTo(oldScript, report, found.situation, found.unit);
            found.finding.hasPath = true;
            words.push_back(std::move(found.finding));
        }
        return words;
    }

    uint64_t screens() const { return seen.size(); }

  private:
    struct Pending {
        uint32_t situation;
        int32_t unit;
        Finding finding;
    };

    // Where the old unit stands in the new script, and how to edit so that
    // it keeps its place.
    std::string counterpartWords(int32_t c, int32_t u) const {
        const int32_t counterpart = aligned[c][u];
        const Character& character = *oldScript.characters[c];
        if (counterpart < 0) {
            return ", which is gone from the new script or does something else there";
        }
        const int32_t n =
            findNameOccurrence(newScript, character.name, nameOccurrence(oldScript, c));
        const int32_t place = placeInState(*newScript.characters[n], counterpart);
        if (place == placeInState(character, u)) {
            return ", which does something else in the new script";
        }
        return ", which is unit " + std::to_string(place) + " of its state in the new script" +
               keepSavesAdvice(character, u);
    }

    // Saves name the unit they show by its place among its state's units.
    static std::string keepSavesAdvice(const Character& character, int32_t u) {
        const std::string state = std::to_string(character.units[u]->state);
        return "; insert new units after the last unit of state " + state + " of " +
               quotedName(character) + " to keep these saves";
    }

    int32_t lineOf(int32_t c, int32_t u) const {
        const int32_t line = u >= 0 ? oldLines.unitLine(c, u) : oldLines.characterLine(c);
        return line > 0 ? line : 1;
    }

    const ConversationEngine& oldScript;
    const ScriptPlaces& oldLines;
    ConversationEngine& newScript;
    ConversationView newView;
    std::vector<std::vector<int32_t>> aligned;
    // Screens checked: character, its state, the unit shown and its text.
    std::set<std::tuple<int32_t, int32_t, int32_t, const char*>> seen;
    std::vector<Pending> pending;
};

} // namespace

std::vector<std::vector<int32_t>> alignUnits(const ScriptModel& oldScript,
                                             const ScriptModel& newScript) {
    std::vector<std::vector<int32_t>> aligned;
    for (int32_t c = 0; c < oldScript.characterCount; ++c) {
        const Character& oldCharacter = *oldScript.characters[c];
        aligned.emplace_back(static_cast<size_t>(oldCharacter.unitCount), -1);
        const int32_t n =
            findNameOccurrence(newScript, oldCharacter.name, nameOccurrence(oldScript, c));
        if (n < 0) {
            continue;
        }
        std::set<int32_t> states;
        for (int32_t u = 0; u < oldCharacter.unitCount; ++u) {
            states.insert(oldCharacter.units[u]->state);
        }
        for (const int32_t state : states) {
            alignState(oldCharacter, *newScript.characters[n], state, aligned.back());
        }
    }
    return aligned;
}

CompatReport checkSaveCompatibility(ConversationEngine& oldScript, const ScriptPlaces& oldLines,
                                    ConversationEngine& newScript, const ExploreLimits& limits) {
    CompatReport result;
    result.version1Breaks = scriptDigest(oldScript) != scriptDigest(newScript);
    CompatCheck check(oldScript, oldLines, newScript);
    const ExploreReport report = exploreScript(
        oldScript, oldLines, limits,
        [&check](uint32_t situation, int32_t unit, const ConversationEngine&,
                 const ConversationView& view) { check.screen(situation, unit, view); });
    result.broken = check.findings(report);
    result.screens = check.screens();
    result.situations = report.situations;
    result.cutOff = report.cutOff;
    return result;
}

SavedGameVerdict checkSavedGame(ConversationEngine& script, const std::string& bytes) {
    ConversationView view;
    GameStateRefusal refusal;
    const int32_t result = restoreGameState(
        script, view, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), refusal);
    SavedGameVerdict verdict;
    verdict.resumes = result == GAME_STATE_OK;
    if (verdict.resumes) {
        verdict.words = "resumes with " + quotedName(*script.characters[view.characterIndex]) +
                        ", who says \"" + shortText(view.answer, QUOTED_CHARACTERS) + "\"";
    } else {
        char text[GAME_STATE_REFUSAL_TEXT_SIZE];
        gameStateRefusalMessage(refusal, text, sizeof text);
        verdict.words = "refused: " + displayText(text);
    }
    return verdict;
}

} // namespace murmex::tool

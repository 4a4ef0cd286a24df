// Naming where a game stands so that the names survive an edit or a
// translation of the script, and finding the same situation again in a
// script by those names. Nothing here allocates.
#include "engine/saved_places.h"

#include "engine/conversation_steps.h"
#include "engine/string_pool.h"
#include "murmex/unit_identity.h"

#include <cstring>

namespace murmex::saved_places {

namespace {

bool stateHasUnits(const Character& character, int32_t state) {
    return unitAtPlace(character, state, 1) >= 0;
}

// Which of the saved characters with its name entry `index` is, from 1.
int32_t savedOccurrence(const SavedPlaces& places, int32_t index) {
    int32_t occurrence = 0;
    for (int32_t i = 0; i <= index; ++i) {
        occurrence +=
            std::strcmp(places.characters[i].name, places.characters[index].name) == 0 ? 1 : 0;
    }
    return occurrence;
}

// The saved character with this name and occurrence, or null.
const SavedCharacter* savedCharacter(const SavedPlaces& places, const char* name,
                                     int32_t occurrence) {
    int32_t seen = 0;
    for (int32_t i = 0; i < places.characterCount; ++i) {
        if (std::strcmp(places.characters[i].name, name) == 0 && ++seen == occurrence) {
            return &places.characters[i];
        }
    }
    return nullptr;
}

// States carry over by name; a character new to the script starts at 0, and
// one the script no longer has is dropped.
void carryStates(const SavedPlaces& places, const ScriptModel& script, GameState& state) {
    state.characterCount = script.characterCount;
    for (int32_t c = 0; c < script.characterCount && c < MAX_CHARACTERS; ++c) {
        const Character* character = script.characters[c].get();
        const SavedCharacter* saved =
            character != nullptr && character->name != nullptr
                ? savedCharacter(places, character->name, nameOccurrence(script, c))
                : nullptr;
        state.states[c] = saved != nullptr ? saved->state : 0;
    }
}

// The shown unit's text, found by its place; GAME_STATE_UNIT_CHANGED unless
// the unit there does what the saved one did.
int32_t showUnit(const ShownUnit& shown, const ScriptModel& script, GameState& state) {
    const Character& character = *script.characters[state.characterIndex];
    const int32_t u = unitAtPlace(character, shown.state, shown.place);
    if (u < 0 || unitShape(*character.units[u]) != shown.shape) {
        return GAME_STATE_UNIT_CHANGED;
    }
    const TalkUnit& unit = *character.units[u];
    state.answerOffset =
        poolOffset(script, shown.text == ShownText::Param ? unit.param : unit.answer);
    return state.answerOffset >= 0 ? GAME_STATE_OK : GAME_STATE_UNIT_CHANGED;
}

// The questions the window offers in the situation: none once the
// conversation is over or nothing is shown.
void offerQuestions(const ScriptModel& script, GameState& state) {
    const int32_t characterState = state.states[state.characterIndex];
    state.questionCount = 0;
    if (state.answerOffset < 0 || characterState < 0) {
        return;
    }
    const char* questions[MAX_QUESTIONS];
    state.questionCount =
        steps::listQuestions(*script.characters[state.characterIndex], characterState, state.memory,
                             questions, state.questionUnits, MAX_QUESTIONS);
}

} // namespace

// Every text is pooled once, so the pointer tells the unit and which of its texts.
int32_t unitShowing(const Character& character, const char* text, ShownText& which) {
    for (int32_t u = 0; text != nullptr && u < character.unitCount && u < MAX_UNITS; ++u) {
        const TalkUnit* unit = character.units[u].get();
        if (unit != nullptr && (unit->answer == text || unit->param == text)) {
            which = unit->answer == text ? ShownText::Answer : ShownText::Param;
            return u;
        }
    }
    return -1;
}

int32_t take(const GameState& state, const ScriptModel& script, SavedPlaces& out) {
    out.characterCount = state.characterCount;
    for (int32_t c = 0; c < state.characterCount; ++c) {
        const Character* character = script.characters[c].get();
        const char* name =
            character != nullptr && character->name != nullptr ? character->name : "";
        if (std::strlen(name) > static_cast<size_t>(MAX_CHARACTER_NAME)) {
            return GAME_STATE_UNFIT;
        }
        std::strcpy(out.characters[c].name, name);
        out.characters[c].state = state.states[c];
    }
    out.talkedTo = state.characterIndex;
    out.shown = ShownUnit{};
    if (state.answerOffset < 0) {
        return GAME_STATE_OK;
    }
    const Character& character = *script.characters[state.characterIndex];
    const int32_t u =
        unitShowing(character, pooledTextAt(script, state.answerOffset), out.shown.text);
    if (u < 0) {
        return GAME_STATE_UNFIT;
    }
    const TalkUnit& unit = *character.units[u];
    out.shown.state = unit.state;
    out.shown.place = placeInState(character, u);
    out.shown.shape = unitShape(unit);
    return GAME_STATE_OK;
}

int32_t resolve(const SavedPlaces& places, const ScriptModel& script, GameState& state,
                GameStateRefusal& refusal) {
    carryStates(places, script, state);
    state.characterIndex = -1;
    state.answerOffset = -1;
    state.questionCount = 0;
    if (places.talkedTo < 0) {
        return places.shown.text == ShownText::None ? GAME_STATE_OK : GAME_STATE_UNFIT;
    }
    const SavedCharacter& talkedTo = places.characters[places.talkedTo];
    std::strcpy(refusal.character, talkedTo.name);
    refusal.occurrence = savedOccurrence(places, places.talkedTo);
    refusal.state = talkedTo.state;
    state.characterIndex = findNameOccurrence(script, talkedTo.name, refusal.occurrence);
    if (state.characterIndex < 0) {
        return GAME_STATE_CHARACTER_GONE;
    }
    // A negative state is a conversation over: no unit needs to hold it.
    if (talkedTo.state >= 0 &&
        !stateHasUnits(*script.characters[state.characterIndex], talkedTo.state)) {
        return GAME_STATE_STATE_GONE;
    }
    if (places.shown.text != ShownText::None) {
        refusal.unitState = places.shown.state;
        refusal.unitPlace = places.shown.place;
        const int32_t shown = showUnit(places.shown, script, state);
        if (shown != GAME_STATE_OK) {
            return shown;
        }
    }
    offerQuestions(script, state);
    // An answer with nothing to ask after it is no screen a game can go on from.
    if (state.answerOffset >= 0 && talkedTo.state >= 0 && state.questionCount == 0) {
        return GAME_STATE_NO_QUESTIONS;
    }
    return GAME_STATE_OK;
}

} // namespace murmex::saved_places

// Taking the game state from an engine and its view, and putting it back
// after checking it against the loaded script. Nothing here allocates.
#include "murmex/game_state.h"

#include "engine/game_state_parts.h"
#include "engine/saved_places.h"
#include "engine/string_pool.h"
#include "murmex/runtime_messages.h"
#include "text/fixed_format.h"

namespace murmex {

namespace {

struct ResultText {
    int32_t code;
    const char* text;
};

constexpr ResultText RESULT_TEXTS[] = {
    {GAME_STATE_OK, "the game state was taken or put back"},
    {GAME_STATE_BUFFER_TOO_SMALL, "the buffer is too small for the saved game"},
    {GAME_STATE_TRUNCATED, "the saved game is cut short"},
    {GAME_STATE_CORRUPT,
     "the saved game is damaged: its magic, length, layout or checksum is wrong"},
    {GAME_STATE_OTHER_VERSION, "the saved game was written in another format version"},
    {GAME_STATE_OTHER_SCRIPT, "the saved game belongs to another script"},
    {GAME_STATE_UNFIT,
     "the game state does not fit the loaded script: an index or a text is out of "
     "range, a slot is given twice, or a name lacks its terminating zero"},
    {GAME_STATE_CHARACTER_GONE,
     "the character the saved game talks to is not in the loaded script"},
    {GAME_STATE_STATE_GONE,
     "the state of the character the saved game talks to has no talk units in the loaded script"},
    {GAME_STATE_UNIT_CHANGED,
     "the talk unit whose answer the saved game shows is gone from the loaded script or does "
     "something else there"},
    {GAME_STATE_NO_QUESTIONS,
     "the situation the saved game talks to offers no question in the loaded script"},
};

bool characterExists(const ScriptModel& engine, int32_t index) {
    return index >= 0 && index < engine.characterCount && index < MAX_CHARACTERS &&
           engine.characters[index] != nullptr;
}

bool unitExists(const Character& character, int32_t index) {
    return index >= 0 && index < character.unitCount && index < MAX_UNITS &&
           character.units[index] != nullptr;
}

// What the view shows: a character, an answer or parameter of one of its
// units (as a step leaves it) and the units behind its questions, or nothing
// at all before the first conversation.
bool viewFits(const GameState& state, const ScriptModel& engine) {
    if (state.questionCount < 0 || state.questionCount > MAX_QUESTIONS) {
        return false;
    }
    if (state.answerOffset != -1 && pooledTextAt(engine, state.answerOffset) == nullptr) {
        return false;
    }
    if (state.characterIndex == -1) {
        return state.questionCount == 0 && state.answerOffset == -1;
    }
    if (!characterExists(engine, state.characterIndex)) {
        return false;
    }
    const Character& character = *engine.characters[state.characterIndex];
    saved_places::ShownText which = saved_places::ShownText::None;
    if (state.answerOffset != -1 &&
        saved_places::unitShowing(character, pooledTextAt(engine, state.answerOffset), which) < 0) {
        return false;
    }
    for (int32_t k = 0; k < state.questionCount; ++k) {
        if (!unitExists(character, state.questionUnits[k])) {
            return false;
        }
    }
    return true;
}

// The view's questions must be the texts of the units it names, or a saved
// game would show other questions than the screen it was taken from.
bool questionsMatchUnits(const ScriptModel& engine, const ConversationView& view) {
    const Character& character = *engine.characters[view.characterIndex];
    for (int32_t k = 0; k < view.questionCount; ++k) {
        if (view.questions[k] != character.units[view.unitIndices[k]]->question) {
            return false;
        }
    }
    return true;
}

} // namespace

namespace game_state {

bool fits(const GameState& state, const ScriptModel& script) {
    return state.characterCount == script.characterCount && script.characterCount >= 0 &&
           script.characterCount <= MAX_CHARACTERS && viewFits(state, script);
}

int32_t captureView(const ScriptModel& script, const ConversationView& view, GameState& out) {
    if (view.questionCount < 0 || view.questionCount > MAX_QUESTIONS) {
        return GAME_STATE_UNFIT;
    }
    out.characterIndex = view.characterIndex;
    out.answerOffset = poolOffset(script, view.answer);
    out.questionCount = view.questionCount;
    for (int32_t k = 0; k < view.questionCount; ++k) {
        out.questionUnits[k] = view.unitIndices[k];
    }
    const bool answerKept = view.answer == nullptr || out.answerOffset >= 0;
    if (!answerKept || !fits(out, script) ||
        (view.characterIndex >= 0 && !questionsMatchUnits(script, view))) {
        return GAME_STATE_UNFIT;
    }
    return GAME_STATE_OK;
}

void showView(const GameState& state, const ScriptModel& script, ConversationView& view) {
    view.characterIndex = state.characterIndex;
    view.answer = state.answerOffset < 0 ? nullptr : pooledTextAt(script, state.answerOffset);
    view.questionCount = state.questionCount;
    for (int32_t k = 0; k < MAX_QUESTIONS; ++k) {
        const bool offered = k < state.questionCount;
        view.unitIndices[k] = offered ? state.questionUnits[k] : 0;
        view.questions[k] =
            offered
                ? script.characters[state.characterIndex]->units[state.questionUnits[k]]->question
                : nullptr;
    }
}

} // namespace game_state

int32_t captureGameState(const ConversationEngine& engine, const ConversationView& view,
                         GameState& out) {
    if (engine.characterCount < 0 || engine.characterCount > MAX_CHARACTERS) {
        return GAME_STATE_UNFIT;
    }
    out.characterCount = engine.characterCount;
    for (int32_t c = 0; c < engine.characterCount; ++c) {
        const Character* character = engine.characters[c].get();
        out.states[c] = character != nullptr ? character->state : 0;
    }
    out.memory = engine.memory;
    return game_state::captureView(engine, view, out);
}

int32_t applyGameState(const GameState& state, ConversationEngine& engine, ConversationView& view) {
    if (!game_state::fits(state, engine)) {
        return GAME_STATE_UNFIT;
    }
    for (int32_t c = 0; c < state.characterCount; ++c) {
        if (engine.characters[c] != nullptr) {
            engine.characters[c]->state = state.states[c];
        }
    }
    // A whole-array copy keeps each variable in its slot and the slot tags in step.
    engine.memory = state.memory;
    game_state::showView(state, engine, view);
    return GAME_STATE_OK;
}

const char* gameStateMessage(int32_t code) {
    for (const ResultText& entry : RESULT_TEXTS) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return "unknown game state result";
}

size_t gameStateRefusalMessage(const GameStateRefusal& refusal, char* out, size_t capacity) {
    // The name as the translation export writes a repeated one.
    char name[MAX_CHARACTER_NAME + 16];
    if (refusal.occurrence > 1) {
        formatText(name, sizeof name, "%s~%d", {refusal.character, refusal.occurrence});
    } else {
        formatText(name, sizeof name, "%s", {refusal.character});
    }
    char* into = out != nullptr && capacity > 0 ? out : nullptr;
    const size_t room = into != nullptr ? capacity : 0;
    size_t length = 0;
    switch (refusal.code) {
    case GAME_STATE_CHARACTER_GONE:
        length = formatText(
            into, room, "the saved game talks to \"%s\", who is not in the loaded script", {name});
        break;
    case GAME_STATE_STATE_GONE:
        length = formatText(into, room,
                            "the saved game talks to \"%s\" in state %d, which has no talk "
                            "units in the loaded script",
                            {name, refusal.state});
        break;
    case GAME_STATE_UNIT_CHANGED:
        length = formatText(into, room,
                            "the saved game shows the answer of talk unit %d of \"%s\" in "
                            "state %d, which is gone from the loaded script or does something "
                            "else there",
                            {refusal.unitPlace, name, refusal.unitState});
        break;
    case GAME_STATE_NO_QUESTIONS:
        length = formatText(into, room,
                            "the saved game talks to \"%s\" in state %d, where no question's "
                            "conditions hold in the loaded script (the window ends there with "
                            "\"%s\")",
                            {name, refusal.state, runtime_messages::NO_QUESTIONS});
        break;
    default:
        length = formatText(into, room, "%s", {gameStateMessage(refusal.code)});
        break;
    }
    return length;
}

} // namespace murmex

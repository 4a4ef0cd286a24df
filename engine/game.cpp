// A Game: the engine's step rules over a shared script, with the states and
// memory of one playthrough, the shown texts decoded into the game's own
// buffers, and listeners told what each step changed.
#include "murmex/game.h"

#include "engine/conversation_steps.h"
#include "engine/flow_rules.h"
#include "engine/game_state_parts.h"

#include <cstring>
#include <new>
#include <utility>

namespace murmex {

namespace {

using States = int32_t[MAX_CHARACTERS];

// Listeners a game makes room for at first; the room doubles when full.
constexpr uint32_t FIRST_LISTENER_ROOM = 4;

size_t lengthOf(const char* text) {
    return text != nullptr ? std::strlen(text) : 0;
}

} // namespace

// What the flow rules hear from one step: where the conversation went.
class Game::StepHooks {
  public:
    explicit StepHooks(Game& played) : game(played) {}
    bool start(const char* name) { return game.start(name); }
    bool startGame() { return game.start(START_CHARACTER); }
    void handedOver(const char* name) { handedTo = name; }
    void ended(const char* answer) { endingAnswer = answer; }

    const char* handedTo = nullptr;
    const char* endingAnswer = nullptr;

  private:
    Game& game;
};

Game::Game(std::shared_ptr<const Script> script) : shared(std::move(script)) {
}

Game::~Game() = default;

void Game::operator delete(Game* game, std::destroying_delete_t) {
    if (game->notifying()) {
        // The call that is telling listeners still runs on the game.
        game->deleteAsked = true;
        return;
    }
    game->~Game();
    ::operator delete(game);
}

void Game::finishTelling() {
    if (deleteAsked && !notifying()) {
        delete this;
    }
}

std::unique_ptr<Game> Game::create(std::shared_ptr<const Script> script) {
    if (script == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<Game>(new (std::nothrow) Game(std::move(script)));
}

bool Game::start(const char* name) {
    if (notifying()) {
        return false;
    }
    const ScriptModel& model = shared->model();
    const int32_t index = model.indexOfCharacter(name);
    int32_t result = -1;
    if (index < 0) {
        failureText = runtime_messages::CHARACTER_NOT_FOUND;
    } else {
        result = steps::startCharacter(steps::Play<States>{model, states, memory, failureText},
                                       index, view);
        if (result == 0) {
            failureText = "";
        }
    }
    if (result != 0) {
        // A failed start shows nothing, so no question can be chosen.
        view = ConversationView{};
    }
    refreshTexts();
    return result == 0;
}

void Game::reset() {
    if (notifying()) {
        return;
    }
    for (int32_t& state : states) {
        state = 0;
    }
    memory = MemoryStore();
    view = ConversationView{};
    failureText = "";
    refreshTexts();
    deliver(GameEvent{GameEventKind::Reset});
    finishTelling();
}

StepOutcome Game::choose(int32_t index) {
    if (notifying() || index < 0 || index >= view.questionCount) {
        failureText = runtime_messages::CANNOT_APPLY;
        return {StepKind::Failed, RESULT_FAILED};
    }
    const ScriptModel& model = shared->model();
    const TalkUnit& unit = *model.characters[view.characterIndex]->units[view.unitIndices[index]];
    const bool changesVariable = unit.action == ACT_ADD_MEM || unit.action == ACT_SUB_MEM;
    int32_t before = 0;
    const bool existed = changesVariable && variable(unit.param, before);
    const uint32_t writesBefore = memory.variableChanges();
    const int32_t moneyBefore = memory.money;

    const int32_t result =
        steps::applyQuestion(steps::Play<States>{model, states, memory, failureText}, index, view);
    // The unit's action took effect exactly when its answer is shown.
    const bool applied = view.answer != nullptr;
    StepHooks hooks(*this);
    const StepOutcome outcome = flow_rules::followStep(hooks, result, view.answer);
    if (outcome.kind == StepKind::Failed) {
        view.questionCount = 0;
    }
    refreshTexts();

    // Told once the step is complete, so a listener reads the new situation.
    if (changesVariable && memory.variableChanges() != writesBefore) {
        announceVariable(unit.param, existed, before);
    }
    announceMoney(moneyBefore);
    if (applied) {
        announceItem(unit);
    }
    if (hooks.handedTo != nullptr) {
        GameEvent event{GameEventKind::HandedOver};
        decodeScriptText(hooks.handedTo, lengthOf(hooks.handedTo), eventName, sizeof eventName);
        event.name = hooks.handedTo;
        event.nameText = eventName;
        deliver(event);
    }
    if (hooks.endingAnswer != nullptr) {
        GameEvent event{GameEventKind::Ended};
        removeMnemonicMarks(hooks.endingAnswer, lengthOf(hooks.endingAnswer), unmarked,
                            sizeof unmarked);
        decodeScriptText(unmarked, lengthOf(unmarked), eventText, sizeof eventText);
        event.answer = hooks.endingAnswer;
        event.answerText = eventText;
        deliver(event);
    }
    finishTelling();
    return outcome;
}

const char* Game::characterName() const {
    const char* name = shared->characterName(view.characterIndex);
    return name != nullptr ? name : "";
}

const char* Game::characterNameText() const {
    const char* name = shared->characterNameText(view.characterIndex);
    return name != nullptr ? name : "";
}

Question Game::question(int32_t index) const {
    if (index < 0 || index >= view.questionCount) {
        return {"", "", "", 0};
    }
    return {view.questions[index], questionTexts[index], questionLabels[index], mnemonics[index]};
}

void Game::refreshTexts() {
    removeMnemonicMarks(view.answer, lengthOf(view.answer), unmarked, sizeof unmarked);
    decodeScriptText(unmarked, lengthOf(unmarked), shownAnswer, sizeof shownAnswer);
    for (int32_t k = 0; k < view.questionCount; ++k) {
        const char* bytes = view.questions[k];
        const size_t length = lengthOf(bytes);
        decodeScriptText(bytes, length, questionTexts[k], TEXT_SIZE);
        // Taken out before decoding, as the window does: the bytes without
        // their markers decide the encoding.
        removeMnemonicMarks(bytes, length, unmarked, sizeof unmarked);
        decodeScriptText(unmarked, lengthOf(unmarked), questionLabels[k], TEXT_SIZE);
        mnemonics[k] = mnemonicOf(bytes, length);
    }
}

bool Game::variable(const char* name, int32_t& value) const {
    const int32_t slot = name != nullptr ? memory.lookup(name) : -1;
    if (slot < 0) {
        return false;
    }
    value = memory.valueAt(slot);
    return true;
}

int32_t Game::setVariable(const char* name, int32_t value) {
    if (name == nullptr || name[0] == 0 || notifying()) {
        return -1;
    }
    if (std::strlen(name) > static_cast<size_t>(MAX_NAME_LENGTH)) {
        return NAME_TOO_LONG;
    }
    int32_t before = 0;
    const bool existed = variable(name, before);
    const uint32_t writesBefore = memory.variableChanges();
    if (memory.set(name, value) != 0) {
        return -1;
    }
    if (memory.variableChanges() != writesBefore) {
        announceVariable(name, existed, before);
    }
    finishTelling();
    return 0;
}

bool Game::removeVariable(const char* name) {
    int32_t before = 0;
    if (notifying() || !variable(name, before) || memory.remove(name) != 0) {
        return false;
    }
    announceVariable(name, true, before);
    finishTelling();
    return true;
}

int32_t Game::nextVariable(int32_t from, Variable& out) const {
    for (int32_t slot = from < 0 ? 0 : from; slot < MEMORY_SLOTS; ++slot) {
        const char* name = memory.names[slot];
        // A name a removal has hidden behind an empty slot, or one that a later
        // set has put in again nearer its start, is not what a lookup finds.
        if (name[0] != 0 && memory.lookup(name) == slot) {
            out = {name, memory.values[slot]};
            return slot;
        }
    }
    return -1;
}

void Game::setMoney(int32_t amount) {
    if (notifying()) {
        return;
    }
    const int32_t before = memory.money;
    memory.money = amount;
    announceMoney(before);
    finishTelling();
}

int32_t Game::save(uint8_t* out, size_t capacity, size_t& written) const {
    written = 0;
    GameState state;
    state.characterCount = shared->model().characterCount;
    for (int32_t c = 0; c < state.characterCount; ++c) {
        state.states[c] = states[c];
    }
    state.memory = memory;
    const int32_t captured = game_state::captureView(shared->model(), view, state);
    if (captured != GAME_STATE_OK) {
        return captured;
    }
    return game_state::encode(state, shared->model(), shared->digest(), out, capacity, written);
}

int32_t Game::restore(const uint8_t* bytes, size_t size) {
    return restoreFrom(bytes, size, false);
}

int32_t Game::restoreStrictly(const uint8_t* bytes, size_t size) {
    return restoreFrom(bytes, size, true);
}

int32_t Game::restoreFrom(const uint8_t* bytes, size_t size, bool strictly) {
    GameStateRefusal refusal;
    refusal.code = GAME_STATE_UNFIT;
    GameState state;
    if (!notifying()) {
        const auto match =
            strictly ? game_state::ScriptMatch::Strict : game_state::ScriptMatch::Migrate;
        if (game_state::decode(bytes, size, shared->model(), shared->digest(), match, state,
                               refusal) == GAME_STATE_OK &&
            !game_state::fits(state, shared->model())) {
            refusal.code = GAME_STATE_UNFIT;
        }
    }
    char words[GAME_STATE_REFUSAL_TEXT_SIZE] = {};
    if (refusal.code != GAME_STATE_OK) {
        gameStateRefusalMessage(refusal, words, sizeof words);
    }
    decodeScriptText(words, std::strlen(words), refusalText, sizeof refusalText);
    if (refusal.code != GAME_STATE_OK) {
        return refusal.code;
    }
    for (int32_t c = 0; c < MAX_CHARACTERS; ++c) {
        states[c] = c < state.characterCount ? state.states[c] : 0;
    }
    memory = state.memory;
    game_state::showView(state, shared->model(), view);
    failureText = "";
    refreshTexts();
    deliver(GameEvent{GameEventKind::Restored});
    finishTelling();
    return GAME_STATE_OK;
}

ListenerId Game::listen(GameEventKind kind, GameListener listener, void* userData) {
    if (listener == nullptr) {
        return 0;
    }
    return add({kind, listener, userData, 0, {}});
}

ListenerId Game::observe(const char* name, GameListener listener, void* userData) {
    const size_t length = lengthOf(name);
    if (listener == nullptr || length == 0 || length > static_cast<size_t>(MAX_NAME_LENGTH)) {
        return 0;
    }
    Listener observer{GameEventKind::VariableChanged, listener, userData, 0, {}};
    std::memcpy(observer.variable, name, length);
    return add(observer);
}

ListenerId Game::add(const Listener& listener) {
    if (deliveryDepth == 0) {
        // Removed entries go only here, never while a delivery walks the list.
        uint32_t kept = 0;
        for (uint32_t i = 0; i < listenerCount; ++i) {
            if (listeners[i].id != 0) {
                listeners[kept++] = listeners[i];
            }
        }
        listenerCount = kept;
    }
    if (listenerCount == listenerCapacity) {
        const uint32_t room = listenerCapacity == 0 ? FIRST_LISTENER_ROOM : listenerCapacity * 2;
        std::unique_ptr<Listener[]> grown(new (std::nothrow) Listener[room]);
        if (grown == nullptr) {
            return 0;
        }
        for (uint32_t i = 0; i < listenerCount; ++i) {
            grown[i] = listeners[i];
        }
        listeners = std::move(grown);
        listenerCapacity = room;
    }
    // Ids are never reused, so a stale id cannot remove a newer listener.
    ++lastId;
    listeners[listenerCount] = listener;
    listeners[listenerCount++].id = lastId;
    return lastId;
}

bool Game::unlisten(ListenerId id) {
    for (uint32_t i = 0; id != 0 && i < listenerCount; ++i) {
        if (listeners[i].id == id) {
            listeners[i].id = 0;
            return true;
        }
    }
    return false;
}

void Game::deliver(const GameEvent& event) {
    ++deliveryDepth;
    // Listeners added during the delivery stand past `count` and hear the
    // next event; the list may move when one is added, so it is read by index.
    const uint32_t count = listenerCount;
    for (uint32_t i = 0; i < count; ++i) {
        const Listener listener = listeners[i];
        if (listener.hears(event) && !deleteAsked) {
            listener.callback(listener.userData, event);
        }
    }
    --deliveryDepth;
}

bool Game::Listener::hears(const GameEvent& event) const {
    // Only VariableChanged is observed, and it always names its variable.
    return id != 0 && kind == event.kind &&
           (variable[0] == 0 || std::strcmp(variable, event.name) == 0);
}

void Game::announceVariable(const char* name, bool existed, int32_t before) {
    GameEvent event{GameEventKind::VariableChanged};
    int32_t value = 0;
    event.present = variable(name, value);
    event.value = value;
    event.previous = existed ? before : 0;
    // The name as the store holds it: cut to its limit.
    const int32_t slot = memory.lookup(name);
    char stored[NAME_SIZE] = {};
    if (slot >= 0) {
        std::memcpy(stored, memory.names[slot], NAME_SIZE);
    } else {
        std::strncpy(stored, name, MAX_NAME_LENGTH);
    }
    decodeScriptText(stored, std::strlen(stored), eventName, sizeof eventName);
    event.name = stored;
    event.nameText = eventName;
    deliver(event);
}

void Game::announceItem(const TalkUnit& unit) {
    if (unit.action != ACT_ADD_INV && unit.action != ACT_SUB_INV) {
        return;
    }
    GameEvent event{unit.action == ACT_ADD_INV ? GameEventKind::ItemGiven
                                               : GameEventKind::ItemTaken};
    decodeScriptText(unit.param, lengthOf(unit.param), eventText, sizeof eventText);
    event.name = unit.param;
    event.nameText = eventText;
    event.value = unit.value;
    deliver(event);
}

void Game::announceMoney(int32_t before) {
    if (memory.money == before) {
        return;
    }
    GameEvent event{GameEventKind::MoneyChanged};
    event.value = memory.money;
    event.previous = before;
    deliver(event);
}

} // namespace murmex

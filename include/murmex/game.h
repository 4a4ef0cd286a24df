// The host API, for games that embed the engine.
// One playthrough over a shared Script: its own memory and character states,
// the answer and questions shown, as the script's bytes and as UTF-8, events
// for what a step changes, and saving and restoring as bytes. Every step
// follows the window's rules (ConversationFlow): a hand-over starts the
// character it names, an ended conversation starts the first character
// again. No call allocates once the game is made, except adding a listener.
// A game belongs to one thread at a time; its script may be shared.
#pragma once

#include "murmex/engine/conversation_flow.h"
#include "murmex/engine/conversation_view.h"
#include "murmex/engine/memory_store.h"
#include "murmex/game_state.h"
#include "murmex/script.h"
#include "murmex/script_text.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace murmex {

/// Bytes of a decoded question or answer, with the terminating zero.
constexpr size_t TEXT_SIZE = decodedCapacity(MAX_TEXT_LENGTH);

/// One offered question. The texts belong to the game and change with its next step.
struct Question {
    const char* bytes; ///< as the script holds it, markers included
    const char* text;  ///< UTF-8, markers included
    const char* label; ///< UTF-8 without the '&' markers, as the window shows it
    char32_t mnemonic; ///< the marked character, or 0
};

enum class GameEventKind : int32_t {
    VariableChanged = 1, ///< set to another value, created, or removed
    MoneyChanged = 2,
    HandedOver = 3, ///< a unit handed the conversation to another character
    Ended = 4,      ///< a conversation ended; the first character starts again
    /// A unit's item action: the engine keeps no inventory, so the host does.
    ItemGiven = 5,
    ItemTaken = 6,
    /// Told once the game has changed, so that a screen can be drawn again.
    Restored = 7, ///< a saved game was taken back
    Reset = 8,    ///< the game went back to its beginning
};

/// What a listener hears; its texts are valid during the call only.
struct GameEvent {
    GameEventKind kind;
    /// VariableChanged: the variable's name; HandedOver: the character's name;
    /// ItemGiven, ItemTaken: the item's. Bytes and UTF-8; null for the other
    /// kinds.
    const char* name = nullptr;
    const char* nameText = nullptr;
    /// VariableChanged: the value (0 once removed); MoneyChanged: the amount;
    /// ItemGiven: the count (ItemTaken: the unit's number, which scripts leave 0).
    int32_t value = 0;
    /// The value before (0 for a new variable), or the amount before.
    int32_t previous = 0;
    /// VariableChanged: whether the variable exists after the change.
    bool present = false;
    /// Ended: the ending unit's answer, which the window never shows; bytes
    /// and UTF-8 without markers.
    const char* answer = nullptr;
    const char* answerText = nullptr;
};

/// A text that the next choices can show, as Game::lookahead lists it; its
/// id and its text come from the script (Script::lineId, Script::unit).
struct ShownLine {
    int32_t character; ///< the character's index in the script
    int32_t unit;      ///< the talk unit's index among the character's units
    LinePart part;     ///< the unit's question or its answer
    int32_t depth;     ///< the fewest choices from now that can show it, from 1
};

/// The most choices Game::lookahead looks ahead.
constexpr int32_t MAX_LOOKAHEAD_DEPTH = 3;

using GameListener = void (*)(void* userData, const GameEvent& event);
/// Names a listener for removal; never 0.
using ListenerId = uint32_t;

/// A variable as iteration finds it.
struct Variable {
    const char* name;
    int32_t value;
};

class Game {
  public:
    /// A new game over the script: no conversation, empty memory, no money.
    /// Null when the script is null or memory runs out.
    static std::unique_ptr<Game> create(std::shared_ptr<const Script> script);
    ~Game();
    /// Deleting a game from inside one of its own listeners (resetting the
    /// unique_ptr that holds it) waits until the call that is telling them
    /// returns; the listeners after it hear nothing more.
    static void operator delete(Game* game, std::destroying_delete_t);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    const Script& script() const { return *shared; }

    /// Starts the named character. False when there is no such character or it
    /// has nothing to say; failure() says which, and the game shows nothing.
    bool start(const char* name);
    /// Every character back to state 0, no variables, no money, no
    /// conversation. Listeners stay, and hear Reset.
    void reset();

    /// True while a conversation offers questions.
    bool playing() const { return view.characterIndex >= 0 && view.questionCount > 0; }
    /// The character talked to (-1 for none), its name as bytes and UTF-8.
    int32_t characterIndex() const { return view.characterIndex; }
    const char* characterName() const;
    const char* characterNameText() const;
    /// The answer shown: the script's bytes, and UTF-8 without markers. Empty
    /// when nothing is shown.
    const char* answer() const { return view.answer != nullptr ? view.answer : ""; }
    const char* answerText() const { return shownAnswer; }
    int32_t questionCount() const { return view.questionCount; }
    /// Offered question `index`, 0 to questionCount() - 1; empty texts out of range.
    Question question(int32_t index) const;

    /// The line ids of the answer shown and of offered question `index`: the
    /// id the translation export gives the same text (unit_identity.h), so
    /// that one key finds its translation and its recorded voice. Written into
    /// `out`, zero-terminated and cut to `capacity` (LINE_ID_SIZE always
    /// fits); returns the whole id's length. "" and 0 when no answer is shown
    /// or the index is out of range.
    size_t answerLineId(char* out, size_t capacity) const;
    size_t questionLineId(int32_t index, char* out, size_t capacity) const;

    /// Lists what the next `depth` choices (1 to MAX_LOOKAHEAD_DEPTH) can
    /// show from the screen now, to preload voices or pictures: the answer
    /// each offered question leads to (a hand-over's or an end's next opening
    /// answer instead) and the questions offered then, each text once, at
    /// the fewest choices that can show it. Changes nothing, tells no
    /// listener and allocates nothing. Writes up to `capacity` lines into
    /// `out` (null when `capacity` is 0), nearest first, from the `first`th
    /// on (for a caller that takes them in batches), and returns how many
    /// there are in all; -1 for a depth out of range.
    int32_t lookahead(int32_t depth, ShownLine* out, int32_t capacity, int32_t first = 0) const;

    /// Asks offered question `index` and carries on as the window does. An
    /// index that names no offered question changes nothing and gives
    /// {Failed, RESULT_FAILED} with "Can't apply question!" in failure().
    /// After any other Failed the game is over until the next start.
    StepOutcome choose(int32_t index);
    /// The engine's text of the last failure, or "".
    const char* failure() const { return failureText; }

    /// The variable's value; false when it does not exist. Names are bytes,
    /// cut to MAX_NAME_LENGTH as the memory store does.
    bool variable(const char* name, int32_t& value) const;
    /// 0; -1 when the name is new and every slot holds another (or the name
    /// is empty, or listeners are being told); NAME_TOO_LONG for a name over
    /// MAX_NAME_LENGTH bytes, which a host's call never has cut.
    static constexpr int32_t NAME_TOO_LONG = -2;
    int32_t setVariable(const char* name, int32_t value);
    /// False when the variable did not exist.
    bool removeVariable(const char* name);
    /// The first variable in slot `from` or later that a lookup finds at its
    /// slot (each name once); its slot, or -1 when none is left.
    int32_t nextVariable(int32_t from, Variable& out) const;

    int32_t money() const { return memory.money; }
    void setMoney(int32_t amount);

    /// The game as saved-game bytes, in the format of saveGameState; restore
    /// takes them back as restoreGameState does (into an edited or translated
    /// script too, where it still holds the situation saved), restoreStrictly
    /// as restoreGameStateStrictly does (for the same script only). A refusal
    /// changes nothing; one taken tells Restored. GAME_STATE_ codes;
    /// refusal() words the last one.
    int32_t save(uint8_t* out, size_t capacity, size_t& written) const;
    int32_t restore(const uint8_t* bytes, size_t size);
    int32_t restoreStrictly(const uint8_t* bytes, size_t size);
    /// Why the last restore was refused, as gameStateRefusalMessage words it,
    /// in UTF-8; empty after one that was taken.
    const char* refusal() const { return refusalText; }

    /// Adds a listener; 0 when memory runs out. Listeners hear events in the
    /// order they were added, after the step that caused them is complete; one
    /// added from inside a listener first hears the next event. A listener
    /// may read the game and add or remove listeners; a call that would change
    /// the game is refused while events are being delivered.
    ListenerId listen(GameEventKind kind, GameListener listener, void* userData);
    /// Adds a listener that hears VariableChanged for one variable only: the
    /// name as bytes, compared exactly with the name the memory store holds.
    /// 0 when memory runs out, or the name is empty or over MAX_NAME_LENGTH
    /// bytes. Otherwise a listener like any other: unlisten removes it.
    ListenerId observe(const char* name, GameListener listener, void* userData);
    /// Removes a listener at any time, from inside a listener too; never
    /// allocates. False for an unknown id.
    bool unlisten(ListenerId id);
    /// True while events are being delivered.
    bool notifying() const { return deliveryDepth > 0; }

  private:
    struct Listener {
        GameEventKind kind;
        GameListener callback;
        void* userData;
        ListenerId id; ///< 0 once removed
        /// An observer's variable; empty for one that hears every event of its kind.
        char variable[NAME_SIZE];

        bool hears(const GameEvent& event) const;
    };
    class StepHooks;

    explicit Game(std::shared_ptr<const Script> script);
    void refreshTexts();
    ListenerId add(const Listener& listener);
    void deliver(const GameEvent& event);
    /// Ends a public call that told listeners: a game one of them deleted goes
    /// now, and the caller must not touch it after.
    void finishTelling();
    void announceVariable(const char* name, bool existed, int32_t before);
    void announceMoney(int32_t before);
    void announceItem(const TalkUnit& unit);
    int32_t restoreFrom(const uint8_t* bytes, size_t size, bool strictly);

    std::shared_ptr<const Script> shared;
    int32_t states[MAX_CHARACTERS] = {};
    MemoryStore memory;
    ConversationView view;
    const char* failureText = "";

    /// Listeners in the order added; removal only clears an entry's id, and
    /// adding compacts when nothing is being delivered.
    std::unique_ptr<Listener[]> listeners;
    uint32_t listenerCount = 0;
    uint32_t listenerCapacity = 0;
    ListenerId lastId = 0;
    int32_t deliveryDepth = 0;
    /// Deleted by a listener; finishTelling deletes it.
    bool deleteAsked = false;

    /// Decoded texts of what is shown, rewritten after every change.
    char shownAnswer[TEXT_SIZE] = {};
    char questionTexts[MAX_QUESTIONS][TEXT_SIZE] = {};
    char questionLabels[MAX_QUESTIONS][TEXT_SIZE] = {};
    char32_t mnemonics[MAX_QUESTIONS] = {};
    /// For events: a name, and a text as long as an answer (an item's name or
    /// the ending answer; each event's texts live for its call only).
    char eventName[NAME_TEXT_SIZE] = {};
    char eventText[TEXT_SIZE] = {};
    /// The last restore's refusal, decoded.
    char refusalText[decodedCapacity(GAME_STATE_REFUSAL_TEXT_SIZE)] = {};
    /// Marker-free bytes on their way to being decoded.
    char unmarked[MAX_TEXT_LENGTH + 1] = {};
};

} // namespace murmex

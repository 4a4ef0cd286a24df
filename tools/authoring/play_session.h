// One game played without a window, for the terminal player, scripted
// playthroughs and any later command that walks a script: it loads the script,
// starts a character, chooses a question by position or by its text, and says
// what each applied talk unit did. Every step goes through the player's
// ConversationFlow, so a game here takes exactly the window's path.
#pragma once

#include "murmex/conversation_flow.h"
#include "tools/script_io/script_loading.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace murmex::tool {

// What one choice led to.
struct PlayStep {
    StepOutcome outcome;
    // What the applied unit did, one short phrase each, in the order it
    // happened: the state change, variables set or removed, money, items, and
    // the hand-over, end or failure that followed.
    std::vector<std::string> effects;
};

// Where a question text was looked for among the offered ones.
struct QuestionMatch {
    // Position 0 to questionCount - 1 of the only matching question.
    std::optional<int32_t> position;
    // How many offered questions showed this text.
    int32_t matches = 0;
};

class PlaySession {
  public:
    PlaySession() = default;
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // Loads the script, descrambled unless `plain`. False on failure, with
    // failureText() holding what the window would show.
    bool open(const std::string& path, bool plain);
    // Takes a script loaded already (or whose load failed), as open() would
    // have loaded it.
    bool adopt(LoadedScript script);

    // Begins a new game on the script already loaded, as a fresh load would:
    // every character in state 0, an empty memory, nothing shown and nothing
    // failed. False when the script did not load.
    bool restart();

    // Finds and starts the named character. False on failure, with the
    // engine's message in failureText(); the game is then over.
    bool start(const std::string& name);

    // Puts the game where a saved game says it stands, in place of a start.
    // False when the saved game is refused, with the refusal in words in
    // failureText(); the game is then over.
    bool resume(const std::string& savedGame);
    // The game as saved-game bytes; empty when it can't be saved (a game
    // that failed).
    std::string save() const;

    // Applies the offered question at `position` (0 to questionCount() - 1)
    // and carries on as the window does. The caller checks the position.
    PlayStep choose(int32_t position);

    // The offered question whose shown text is exactly `text`.
    QuestionMatch findQuestion(const std::string& text) const;

    // True after a failed load, start or step: nothing more can be played.
    bool failed() const { return failedGame; }
    // The window's message for the failure; empty while nothing has failed.
    const std::string& failureText() const { return failure; }

    // The current character's name, answer and offered questions, as shown.
    std::string characterName() const;
    std::string answer() const;
    std::vector<std::string> questions() const;
    int32_t questionCount() const { return view.questionCount; }
    // The engine's view behind them: which character and units they are.
    const ConversationView& shownView() const { return view; }

    // The script and the game state; valid once open() has been called.
    const LoadedScript& script() const { return loaded; }
    const MemoryStore& memory() const { return loaded.engine->memory; }

  private:
    void fail(std::string text);

    LoadedScript loaded;
    ConversationView view;
    std::optional<ConversationFlow> flow;
    bool failedGame = false;
    std::string failure;
};

} // namespace murmex::tool

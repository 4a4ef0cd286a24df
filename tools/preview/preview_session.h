// One playtest of a script for the preview, free of any toolkit. It plays
// through the player's ConversationFlow, keeps the game state from before
// every step so that each can be undone, takes changes made by hand to
// variables and money as steps of their own, and after a reload replays the
// same steps, stopping at the first that no longer fits and saying why.
#pragma once

#include "murmex/conversation_flow.h"
#include "murmex/game_state.h"
#include "tools/analysis/explore_goal.h"
#include "tools/preview/step_failure.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_places.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace murmex::tool {

enum class PreviewStepKind { Choose, SetVariable, RemoveVariable, SetMoney };

// One step of the path taken.
struct PreviewStep {
    PreviewStepKind kind = PreviewStepKind::Choose;
    // The question's place among the offered ones (Choose).
    int32_t position = 0;
    // The question as shown (Choose) or the variable's name.
    std::string text;
    // The value set (SetVariable, SetMoney).
    int32_t value = 0;
};

// "2. Who are you?", "set letter = 1", "money = 5".
std::string stepText(const PreviewStep& step);

struct PreviewVariable {
    int32_t slot = 0;
    std::string name;
    int32_t value = 0;
};

class PreviewSession {
  public:
    // `startName` is the character every game and replay starts with.
    explicit PreviewSession(std::string startName = START_CHARACTER)
        : start(std::move(startName)) {}

    // Loads the script, or loads it again after a change, and replays the
    // steps taken so far. False when it does not load: loadReport() then says
    // why, and the steps are kept for the next load.
    bool load(const std::string& path, bool plain);
    bool loaded() const { return script.engine && script.ok(); }
    // Every error of a failed load with the lines around it and explanations.
    const std::string& loadReport() const { return report; }

    // Starts `name` afresh with an empty path; it stays the start for replays.
    bool restart(const std::string& name);
    // Applies the offered question at `position`. False when there is none
    // there or the game has stopped on a failure.
    bool choose(int32_t position);
    // Replays question numbers from 1, as listed up front; stops at the first
    // that is not offered, saying so in divergence().
    bool chooseNumbers(const std::vector<int32_t>& numbers);
    // Undoes the last step. False when none was taken.
    bool back();
    bool setVariable(const std::string& name, int32_t value);
    bool removeVariable(const std::string& name);
    bool setMoney(int32_t value);

    const std::vector<PreviewStep>& path() const { return taken; }
    const std::string& startName() const { return start; }
    // The failure the game stopped on, if any.
    const std::optional<StepFailure>& failure() const { return failed; }
    // Why the last replay stopped short; empty when it did not.
    const std::string& divergence() const { return diverged; }

    const ConversationEngine& engine() const { return *script.engine; }
    const ConversationView& view() const { return shown; }
    // The character talked to and its state; "" and 0 before any start.
    std::string characterName() const;
    int32_t characterState() const;
    // The characters' names as the script holds them, in script order.
    std::vector<std::string> characterNames() const;
    // Every variable, in the order of their slots or by name.
    std::vector<PreviewVariable> variables(bool byName) const;

    // The goals the game is judged by; their characters are looked up in
    // each script loaded.
    void setGoals(std::vector<Goal> wins) { goals = std::move(wins); }
    // Judges the game as it stands against the goals, for standing().
    void judgeGoals();
    // Whether a goal can still be met from here, in words; empty without goals.
    const std::string& standing() const { return goalNote; }

  private:
    // Applies one step and records it; false, changing nothing, when it
    // can't be taken.
    bool apply(const PreviewStep& step);
    // The same for a step the author takes, which becomes the path to replay.
    bool take(const PreviewStep& step);
    // Chooses an offered question, noting why the step failed if it did.
    void applyChoice(int32_t position);
    // Offers the questions whose conditions hold after a change by hand, as
    // if the change had been made before they were listed.
    void relist();
    // Replays `steps` from a fresh start, stopping at the first that fails.
    void replay(const std::vector<PreviewStep>& steps);
    // The offered question to replay `step` with, or -1.
    int32_t findOffered(const PreviewStep& step) const;

    LoadedScript script;
    std::unique_ptr<ScriptPlaces> lines = std::make_unique<ScriptPlaces>();
    ConversationView shown;
    std::optional<ConversationFlow> flow;
    std::string start = START_CHARACTER;
    std::vector<PreviewStep> taken;
    // The game state before each step taken.
    std::vector<GameState> before;
    // The steps a replay aims for: the path, and after a replay that stopped
    // short, the rest of the old path, so a later fix replays it all.
    std::vector<PreviewStep> wanted;
    std::optional<StepFailure> failed;
    std::string diverged;
    std::string report;
    std::vector<Goal> goals;
    std::string goalNote;
};

} // namespace murmex::tool

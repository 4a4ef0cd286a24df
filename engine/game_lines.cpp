// The lines a game shows, named as the translation export names them, and
// the lines its next choices can show, found by playing those choices on a
// copy of the game's state on the stack.
#include "engine/conversation_steps.h"
#include "engine/flow_rules.h"
#include "murmex/engine/shown_unit.h"
#include "murmex/game.h"
#include "text/fixed_format.h"

#include <bitset>

namespace murmex {

namespace {

using States = int32_t[MAX_CHARACTERS];

// One situation of a lookahead: what a game would hold after some choices.
struct Situation {
    States states;
    MemoryStore memory;
    ConversationView view;
};

// Plays choices on situations and records what they show, each text once.
class Lookahead {
  public:
    Lookahead(const ScriptModel& played, ShownLine* into, int32_t room, int32_t skipped)
        : script(played), out(into), capacity(room), first(skipped) {}

    // Records what the screens exactly `depth` choices after `from` show.
    void explore(const Situation& from, int32_t depth, int32_t level) {
        for (int32_t k = 0; k < from.view.questionCount; ++k) {
            Situation next = from;
            if (!choose(next, k)) {
                continue;
            }
            if (level == depth) {
                show(next, level);
            } else {
                explore(next, depth, level + 1);
            }
        }
    }

    int32_t found() const { return count; }

  private:
    // What the flow rules hear from a step of the copy: starts on the copy.
    class Hooks {
      public:
        explicit Hooks(Lookahead& owner, Situation& situation)
            : lookahead(owner), played(situation) {}
        bool start(const char* name) {
            return lookahead.start(played, lookahead.script.indexOfCharacter(name));
        }
        bool startGame() { return start(START_CHARACTER); }
        void handedOver(const char*) {}
        void ended(const char*) {}

      private:
        Lookahead& lookahead;
        Situation& played;
    };

    bool start(Situation& situation, int32_t index) {
        const char* failure = nullptr;
        return steps::startCharacter(
                   steps::Play<States>{script, situation.states, situation.memory, failure}, index,
                   situation.view) == 0;
    }

    bool choose(Situation& situation, int32_t position) {
        const char* failure = nullptr;
        const int32_t result = steps::applyQuestion(
            steps::Play<States>{script, situation.states, situation.memory, failure}, position,
            situation.view);
        Hooks hooks(*this, situation);
        return flow_rules::followStep(hooks, result, situation.view.answer).kind !=
               StepKind::Failed;
    }

    void show(const Situation& situation, int32_t depth) {
        const int32_t character = situation.view.characterIndex;
        record({character, answeringUnit(script, situation.view), LinePart::Answer, depth});
        for (int32_t k = 0; k < situation.view.questionCount; ++k) {
            record({character, situation.view.unitIndices[k], LinePart::Question, depth});
        }
    }

    void record(const ShownLine& line) {
        if (line.character < 0 || line.unit < 0) {
            return;
        }
        const size_t bit =
            (static_cast<size_t>(line.character) * MAX_UNITS + static_cast<size_t>(line.unit)) * 2 +
            (line.part == LinePart::Answer ? 1 : 0);
        if (seen[bit]) {
            return;
        }
        seen[bit] = true;
        if (count >= first && count - first < capacity) {
            out[count - first] = line;
        }
        ++count;
    }

    const ScriptModel& script;
    ShownLine* out;
    int32_t capacity;
    int32_t first;
    int32_t count = 0;
    std::bitset<static_cast<size_t>(MAX_CHARACTERS) * MAX_UNITS * 2> seen;
};

} // namespace

size_t Game::answerLineId(char* out, size_t capacity) const {
    const int32_t unit = answeringUnit(shared->model(), view);
    if (unit < 0) {
        return formatText(out, capacity, "", {});
    }
    return shared->lineId(view.characterIndex, unit, LinePart::Answer, out, capacity);
}

size_t Game::questionLineId(int32_t index, char* out, size_t capacity) const {
    if (index < 0 || index >= view.questionCount) {
        return formatText(out, capacity, "", {});
    }
    return shared->lineId(view.characterIndex, view.unitIndices[index], LinePart::Question, out,
                          capacity);
}

int32_t Game::lookahead(int32_t depth, ShownLine* out, int32_t capacity, int32_t first) const {
    if (depth < 1 || depth > MAX_LOOKAHEAD_DEPTH) {
        return -1;
    }
    Lookahead search(shared->model(), out, out != nullptr && capacity > 0 ? capacity : 0,
                     first > 0 ? first : 0);
    // A few kilobytes a level, on the stack: the game itself is left alone.
    Situation now;
    for (int32_t c = 0; c < MAX_CHARACTERS; ++c) {
        now.states[c] = states[c];
    }
    now.memory = memory;
    now.view = view;
    // Deepening one choice at a time finds each text first at its least depth.
    for (int32_t level = 1; level <= depth; ++level) {
        search.explore(now, level, 1);
    }
    return search.found();
}

} // namespace murmex

// Each expectation is asked what the game shows in its place; the steps whose
// answer differs are written anew over the span of their words, so whatever
// stands around them on the line is kept.
#include "tools/authoring/plan_update.h"

#include <algorithm>

namespace murmex::tool {

namespace {

bool sameStep(const PlanStep& a, const PlanStep& b) {
    return a.kind == b.kind && a.text == b.text && a.texts == b.texts && a.number == b.number;
}

// The line of `text` that holds the byte at `offset` (no line break),
// without its line end.
std::string lineAt(const std::string& text, size_t offset) {
    const size_t start = text.rfind('\n', offset);
    const size_t first = start == std::string::npos ? 0 : start + 1;
    size_t last = text.find('\n', offset);
    if (last == std::string::npos) {
        last = text.size();
    }
    if (last > first && text[last - 1] == '\r') {
        --last;
    }
    return text.substr(first, last - first);
}

class PlanUpdater : public PlanWalker {
  public:
    bool expectation(size_t, const PlanStep& step, const PlaySession& session,
                     PlanHalt& halt) override {
        PlanStep now = step;
        if (!shownNow(session, now, halt)) {
            return false;
        }
        if (sameStep(now, step)) {
            return true;
        }
        if (!planStepFitsOnOneLine(now)) {
            halt = {step.line, planStepText(step),
                    "a text with a line break, which a plan cannot hold"};
            return false;
        }
        rewrites.push_back({&step, planStepText(now)});
        return true;
    }

    // The steps to rewrite, in the plan's order, and their new words.
    std::vector<std::pair<const PlanStep*, std::string>> rewrites;

  private:
    // `step` made to say what the game shows now, or false when the game
    // shows nothing of that kind.
    static bool shownNow(const PlaySession& session, PlanStep& step, PlanHalt& halt) {
        const MemoryStore& memory = session.memory();
        const bool showing = !session.failed();
        switch (step.kind) {
        case PlanStepKind::ExpectAnswer:
            step.text = showing ? session.answer() : step.text;
            break;
        case PlanStepKind::ExpectQuestions:
            step.texts = showing ? session.questions() : step.texts;
            break;
        case PlanStepKind::ExpectCharacter:
            step.text = showing ? session.characterName() : step.text;
            break;
        case PlanStepKind::ExpectVariable:
        case PlanStepKind::ExpectMissing: {
            const int32_t slot = memory.lookup(step.text.c_str());
            step.kind = slot >= 0 ? PlanStepKind::ExpectVariable : PlanStepKind::ExpectMissing;
            step.number = slot >= 0 ? memory.valueAt(slot) : 0;
            return true;
        }
        case PlanStepKind::ExpectMoney:
            step.number = memory.money;
            return true;
        case PlanStepKind::ExpectError:
            if (!session.failed()) {
                halt = {step.line, "error " + planQuoted(step.text), "no error"};
                return false;
            }
            step.text = session.failureText();
            return true;
        case PlanStepKind::Start:
        case PlanStepKind::ChooseNumber:
        case PlanStepKind::ChooseText:
            return true;
        }
        if (!showing) {
            // What the step expects, as `murmex test` words it: its words
            // after "expect ".
            halt = {step.line, planStepText(step).substr(std::string("expect ").size()),
                    "error " + planQuoted(session.failureText())};
        }
        return showing;
    }
};

} // namespace

bool updatePlan(const std::string& text, const TranscriptPlan& plan, PlaySession& session,
                PlanUpdate& update, PlanHalt& halt) {
    PlanUpdater updater;
    if (!walkPlan(plan, session, updater, halt)) {
        return false;
    }
    update = {text, {}};
    // From the last step back, so the spans of the earlier ones still hold.
    for (auto it = updater.rewrites.rbegin(); it != updater.rewrites.rend(); ++it) {
        const PlanStep& step = *it->first;
        const std::string before = lineAt(update.text, step.begin);
        update.text.replace(step.begin, step.end - step.begin, it->second);
        update.changes.push_back({step.line, before, lineAt(update.text, step.begin)});
    }
    std::reverse(update.changes.begin(), update.changes.end());
    return true;
}

} // namespace murmex::tool

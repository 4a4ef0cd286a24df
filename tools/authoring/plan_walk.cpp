// The start, the choices and the expected failures of a plan, followed step
// by step; what to make of each expectation is the walker's.
#include "tools/authoring/plan_walk.h"

#include "murmex/conversation_flow.h"

namespace murmex::tool {

namespace {

bool failureExpected(const std::vector<PlanStep>& steps, size_t at) {
    return at < steps.size() && steps[at].kind == PlanStepKind::ExpectError;
}

bool halted(PlanHalt& halt, int32_t line, std::string expected, std::string got) {
    halt = {line, std::move(expected), std::move(got)};
    return false;
}

std::string errorOf(const PlaySession& session) {
    return "error " + planQuoted(session.failureText());
}

// The position the choice names, or false with the reason.
bool positionOf(size_t index, const PlanStep& step, const PlaySession& session, PlanWalker& walker,
                int32_t& position, PlanHalt& halt) {
    if (step.kind == PlanStepKind::ChooseNumber) {
        if (step.number > session.questionCount()) {
            return halted(halt, step.line,
                          "question " + std::to_string(step.number) + " to be offered",
                          planQuotedList(session.questions()));
        }
        position = step.number - 1;
        return true;
    }
    const QuestionMatch match = walker.question(index, step, session);
    if (match.matches > 1) {
        return halted(halt, step.line, "question " + planQuoted(step.text) + " to be offered once",
                      "it " + std::to_string(match.matches) + " times; choose it by number");
    }
    if (!match.position) {
        return halted(halt, step.line, "question " + planQuoted(step.text) + " to be offered",
                      planQuotedList(session.questions()));
    }
    position = *match.position;
    return true;
}

} // namespace

QuestionMatch PlanWalker::question(size_t, const PlanStep& step, const PlaySession& session) {
    return session.findQuestion(step.text);
}

std::string planQuotedList(const std::vector<std::string>& texts) {
    if (texts.empty()) {
        return "none";
    }
    std::string list;
    for (const std::string& text : texts) {
        list += (list.empty() ? "" : " ") + planQuoted(text);
    }
    return list;
}

bool walkPlan(const TranscriptPlan& plan, PlaySession& session, PlanWalker& walker,
              PlanHalt& halt) {
    const std::vector<PlanStep>& steps = plan.steps;
    const bool named = !steps.empty() && steps[0].kind == PlanStepKind::Start;
    const std::string first = named ? steps[0].text : START_CHARACTER;
    size_t next = named ? 1 : 0;
    if (!session.start(first) && !failureExpected(steps, next)) {
        return halted(halt, steps.empty() ? 1 : steps[0].line, first + " to start",
                      errorOf(session));
    }
    for (; next < steps.size(); ++next) {
        const PlanStep& step = steps[next];
        if (step.kind != PlanStepKind::ChooseNumber && step.kind != PlanStepKind::ChooseText) {
            if (!walker.expectation(next, step, session, halt)) {
                return false;
            }
            continue;
        }
        if (session.failed()) {
            return halted(halt, step.line, "a question to choose",
                          "the game over after " + errorOf(session));
        }
        int32_t position = 0;
        if (!positionOf(next, step, session, walker, position, halt)) {
            return false;
        }
        session.choose(position);
        if (session.failed() && !failureExpected(steps, next + 1)) {
            return halted(halt, step.line, "the game to go on", errorOf(session));
        }
    }
    return true;
}

} // namespace murmex::tool

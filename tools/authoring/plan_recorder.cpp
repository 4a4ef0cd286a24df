// Texts go into the plan quoted as its reader unquotes them. A plan holds one
// step a line, so a text with a line break cannot be expected; a comment says
// it was left out rather than the plan failing on it later.
#include "tools/authoring/plan_recorder.h"

#include "tools/authoring/transcript_plan.h"

#include "murmex/conversation_flow.h"

#include <vector>

namespace murmex::tool {

namespace {

bool fitsOnOneLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

} // namespace

PlanRecorder::PlanRecorder(const std::string& command, const std::string& script) {
    line("# Recorded by " + command + " from " + (fitsOnOneLine(script) ? script : "a script") +
         ".");
}

void PlanRecorder::started(const PlaySession& session, const std::string& name) {
    begun = true;
    if (name != START_CHARACTER) {
        line("start " + planQuoted(name));
    }
    character = session.characterName();
    recordShown(session);
}

void PlanRecorder::choosing(const PlaySession& session, int32_t position) {
    beforeChoices.emplace_back(plan.size(), character);
    const std::string question = session.questions()[static_cast<size_t>(position)];
    // By its text, which reads well and survives reordering, unless the text
    // is offered twice or cannot be quoted.
    if (fitsOnOneLine(question) && session.findQuestion(question).matches == 1) {
        line("choose " + planQuoted(question));
    } else {
        line("choose " + std::to_string(position + 1));
    }
}

void PlanRecorder::tookBack() {
    if (beforeChoices.empty()) {
        return;
    }
    plan.resize(beforeChoices.back().first);
    character = std::move(beforeChoices.back().second);
    beforeChoices.pop_back();
}

void PlanRecorder::chose(const PlaySession& session) {
    if (!session.failed() && session.characterName() != character) {
        character = session.characterName();
        line("expect character " + planQuoted(character));
    }
    recordShown(session);
}

void PlanRecorder::recordShown(const PlaySession& session) {
    if (session.failed()) {
        const std::string& failure = session.failureText();
        line(fitsOnOneLine(failure) ? "expect error " + planQuoted(failure)
                                    : "# the step failed; its message spans lines");
        return;
    }
    const std::string answer = session.answer();
    line(fitsOnOneLine(answer) ? "expect answer " + planQuoted(answer)
                               : "# the answer spans lines and is not expected");
    std::string questions = "expect questions";
    for (const std::string& question : session.questions()) {
        if (!fitsOnOneLine(question)) {
            line("# a question spans lines; the questions are not expected");
            return;
        }
        questions += " " + planQuoted(question);
    }
    line(questions);
}

void PlanRecorder::line(const std::string& text) {
    plan += text;
    plan += '\n';
}

} // namespace murmex::tool

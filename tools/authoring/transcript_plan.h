// Transcript plans: small text files that play a script step by step and say
// what the player should see. One step a line; '#' starts a comment outside
// quoted text. Texts stand in double quotes, with \" and \\ for a quote and a
// backslash inside them. The steps:
//   start NAME                  the character to start with (first step only;
//                               without it the game starts with "Intro")
//   choose 2                    the offered question at that place, from 1
//   choose "Who are you?"       the offered question with that text
//   expect answer "TEXT"        the answer shown now
//   expect questions "A" "B"    exactly these questions, in this order
//   expect character NAME       the character talked to now
//   expect var NAME == NUMBER   a variable's value
//   expect var NAME missing     a variable that does not exist
//   expect money NUMBER         the money counter
//   expect error "TEXT"         the last step failed with this message
// A NAME is a bare word or a quoted text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

// The largest plan file read. A plan is a few hundred lines; a file many
// times larger is not a plan, and reading it whole would only use up memory.
constexpr size_t PLAN_SIZE_LIMIT = size_t{4} << 20;

enum class PlanStepKind {
    Start,
    ChooseNumber,
    ChooseText,
    ExpectAnswer,
    ExpectQuestions,
    ExpectCharacter,
    ExpectVariable,
    ExpectMissing,
    ExpectMoney,
    ExpectError,
};

struct PlanStep {
    PlanStepKind kind = PlanStepKind::ChooseNumber;
    // 1-based line of the plan the step stands on.
    int32_t line = 0;
    // The text or name the step names (question, answer, character, variable,
    // error message).
    std::string text;
    // The questions of ExpectQuestions.
    std::vector<std::string> texts;
    // The question number of ChooseNumber (from 1), the value of
    // ExpectVariable, the money of ExpectMoney.
    int32_t number = 0;
    // Where the step's words stand in the plan's text, from the first to the
    // end of the last, without the blanks and the comment around them: what
    // a rewrite of the step replaces.
    size_t begin = 0;
    size_t end = 0;
};

struct TranscriptPlan {
    std::vector<PlanStep> steps;
};

// Where and why a plan does not parse.
struct PlanError {
    int32_t line = 0;
    std::string message;
};

// Parses the text of a plan file. False, with the first error, when a line is
// not a step.
bool parsePlan(const std::string& text, TranscriptPlan& plan, PlanError& error);

// The text in double quotes as a plan writes it, with \" and \\ inside.
std::string planQuoted(const std::string& text);

// The step as a plan writes it, without a line end; parsePlan reads it back
// as the same step. Names stand bare where they read back as one word.
// Texts with a line break cannot be written: see planStepFitsOnOneLine.
std::string planStepText(const PlanStep& step);

// False when a text or name of the step holds a line break, which ends a
// plan's step.
bool planStepFitsOnOneLine(const PlanStep& step);

} // namespace murmex::tool

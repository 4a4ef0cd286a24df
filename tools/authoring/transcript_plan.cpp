// Reading transcript plans: a line is cut into words and quoted texts, and the
// words are matched against the few step forms there are.
#include "tools/authoring/transcript_plan.h"

#include <charconv>
#include <optional>

namespace murmex::tool {

namespace {

struct Token {
    std::string text;
    // Quoted texts never count as keywords, so "expect" in quotes is a text.
    bool quoted = false;
    // Where the token stands in its line, its quotes included.
    size_t begin = 0;
    size_t end = 0;
};

bool isBlank(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r';
}

// Cuts a line into tokens. False, with the reason, on a broken quoted text.
bool tokenize(const std::string& line, std::vector<Token>& tokens, std::string& error) {
    size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
        } else if (line[i] == '#') {
            return true;
        } else if (line[i] == '"') {
            Token token{"", true, i, 0};
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char byte = line[i++];
                if (byte == '"') {
                    closed = true;
                    break;
                }
                if (byte == '\\') {
                    if (i >= line.size() || (line[i] != '"' && line[i] != '\\')) {
                        error = "a backslash in quoted text must be followed by \" or \\";
                        return false;
                    }
                    token.text += line[i++];
                } else {
                    token.text += byte;
                }
            }
            if (!closed) {
                error = "quoted text is not closed";
                return false;
            }
            token.end = i;
            tokens.push_back(std::move(token));
        } else {
            Token token{"", false, i, 0};
            while (i < line.size() && !isBlank(line[i]) && line[i] != '"' && line[i] != '#') {
                token.text += line[i++];
            }
            token.end = i;
            tokens.push_back(std::move(token));
        }
    }
    return true;
}

std::optional<int32_t> numberOf(const Token& token) {
    if (token.quoted || token.text.empty()) {
        return std::nullopt;
    }
    int32_t value = 0;
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    const auto [end, status] = std::from_chars(first, last, value);
    if (status != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

bool isWord(const Token& token, const char* word) {
    return !token.quoted && token.text == word;
}

// Reads one line's tokens into a step; false with the reason when they are not one.
class StepReader {
  public:
    StepReader(const std::vector<Token>& tokens, PlanStep& step, std::string& error)
        : tokens(tokens), step(step), error(error) {}

    bool read() {
        if (isWord(tokens[0], "start")) {
            return readName(PlanStepKind::Start, 1, "start needs a character name");
        }
        if (isWord(tokens[0], "choose")) {
            return readChoose();
        }
        if (isWord(tokens[0], "expect")) {
            return readExpect();
        }
        return fail("unknown step \"" + tokens[0].text + "\": a step is start, choose or expect");
    }

  private:
    bool fail(std::string message) {
        error = std::move(message);
        return false;
    }

    bool readName(PlanStepKind kind, size_t at, const char* usage) {
        if (tokens.size() != at + 1) {
            return fail(usage);
        }
        step.kind = kind;
        step.text = tokens[at].text;
        return true;
    }

    bool readQuoted(PlanStepKind kind, const char* usage) {
        if (tokens.size() != 3 || !tokens[2].quoted) {
            return fail(usage);
        }
        step.kind = kind;
        step.text = tokens[2].text;
        return true;
    }

    bool readChoose() {
        const char* usage = "choose needs a question number (choose 2) or a quoted question "
                            "(choose \"Who are you?\")";
        if (tokens.size() != 2) {
            return fail(usage);
        }
        if (tokens[1].quoted) {
            step.kind = PlanStepKind::ChooseText;
            step.text = tokens[1].text;
            return true;
        }
        const std::optional<int32_t> number = numberOf(tokens[1]);
        if (!number || *number < 1) {
            return fail(usage);
        }
        step.kind = PlanStepKind::ChooseNumber;
        step.number = *number;
        return true;
    }

    bool readExpect() {
        if (tokens.size() < 2) {
            return fail("expect needs what to expect: answer, questions, character, var, "
                        "money or error");
        }
        const Token& what = tokens[1];
        if (isWord(what, "answer")) {
            return readQuoted(PlanStepKind::ExpectAnswer, "expect answer needs one quoted text");
        }
        if (isWord(what, "error")) {
            return readQuoted(PlanStepKind::ExpectError, "expect error needs one quoted text");
        }
        if (isWord(what, "character")) {
            return readName(PlanStepKind::ExpectCharacter, 2, "expect character needs one name");
        }
        if (isWord(what, "questions")) {
            step.kind = PlanStepKind::ExpectQuestions;
            for (size_t i = 2; i < tokens.size(); ++i) {
                if (!tokens[i].quoted) {
                    return fail("expect questions takes quoted texts only, got " + tokens[i].text);
                }
                step.texts.push_back(tokens[i].text);
            }
            return true;
        }
        if (isWord(what, "money")) {
            const std::optional<int32_t> money =
                tokens.size() == 3 ? numberOf(tokens[2]) : std::nullopt;
            if (!money) {
                return fail("expect money needs one whole number");
            }
            step.kind = PlanStepKind::ExpectMoney;
            step.number = *money;
            return true;
        }
        if (isWord(what, "var")) {
            return readVariable();
        }
        return fail("unknown expectation \"" + what.text +
                    "\": expect answer, questions, character, var, money or error");
    }

    bool readVariable() {
        const char* usage = "expect var needs NAME == NUMBER or NAME missing";
        if (tokens.size() == 4 && isWord(tokens[3], "missing")) {
            step.kind = PlanStepKind::ExpectMissing;
            step.text = tokens[2].text;
            return true;
        }
        if (tokens.size() != 5 || !isWord(tokens[3], "==")) {
            return fail(usage);
        }
        const std::optional<int32_t> value = numberOf(tokens[4]);
        if (!value) {
            return fail(usage);
        }
        step.kind = PlanStepKind::ExpectVariable;
        step.text = tokens[2].text;
        step.number = *value;
        return true;
    }

    const std::vector<Token>& tokens;
    PlanStep& step;
    std::string& error;
};

} // namespace

bool parsePlan(const std::string& text, TranscriptPlan& plan, PlanError& error) {
    plan.steps.clear();
    int32_t lineNumber = 0;
    size_t lineStart = 0;
    while (lineStart <= text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        const size_t lineOffset = lineStart;
        lineStart = lineEnd + 1;
        ++lineNumber;

        std::vector<Token> tokens;
        std::string message;
        if (!tokenize(line, tokens, message)) {
            error = {lineNumber, message};
            return false;
        }
        if (tokens.empty()) {
            continue;
        }
        PlanStep step;
        step.line = lineNumber;
        step.begin = lineOffset + tokens.front().begin;
        step.end = lineOffset + tokens.back().end;
        if (!StepReader(tokens, step, message).read()) {
            error = {lineNumber, message};
            return false;
        }
        if (step.kind == PlanStepKind::Start && !plan.steps.empty()) {
            // The window starts one character, once; so does a plan.
            error = {lineNumber, "start must be the first step"};
            return false;
        }
        plan.steps.push_back(std::move(step));
    }
    return true;
}

std::string planQuoted(const std::string& text) {
    std::string result = "\"";
    for (const char byte : text) {
        if (byte == '"' || byte == '\\') {
            result += '\\';
        }
        result += byte;
    }
    return result + '"';
}

namespace {

// A name the reader takes back as one bare word: anything but blanks, quotes
// and the comment sign.
std::string planName(const std::string& name) {
    const bool bare = !name.empty() && name.find_first_of(" \t\r\"#") == std::string::npos;
    return bare ? name : planQuoted(name);
}

bool fitsOnOneLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

} // namespace

std::string planStepText(const PlanStep& step) {
    switch (step.kind) {
    case PlanStepKind::Start:
        return "start " + planName(step.text);
    case PlanStepKind::ChooseNumber:
        return "choose " + std::to_string(step.number);
    case PlanStepKind::ChooseText:
        return "choose " + planQuoted(step.text);
    case PlanStepKind::ExpectAnswer:
        return "expect answer " + planQuoted(step.text);
    case PlanStepKind::ExpectQuestions: {
        std::string text = "expect questions";
        for (const std::string& question : step.texts) {
            text += " " + planQuoted(question);
        }
        return text;
    }
    case PlanStepKind::ExpectCharacter:
        return "expect character " + planName(step.text);
    case PlanStepKind::ExpectVariable:
        return "expect var " + planName(step.text) + " == " + std::to_string(step.number);
    case PlanStepKind::ExpectMissing:
        return "expect var " + planName(step.text) + " missing";
    case PlanStepKind::ExpectMoney:
        return "expect money " + std::to_string(step.number);
    case PlanStepKind::ExpectError:
        return "expect error " + planQuoted(step.text);
    }
    return "";
}

bool planStepFitsOnOneLine(const PlanStep& step) {
    if (!fitsOnOneLine(step.text)) {
        return false;
    }
    for (const std::string& text : step.texts) {
        if (!fitsOnOneLine(text)) {
            return false;
        }
    }
    return true;
}

} // namespace murmex::tool

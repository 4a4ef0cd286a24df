// The texts of a new game. The script is written with LF here and given its
// CR LF line ends when the file is made, so it reads well in this source.
#include "tools/authoring/game_template.h"

#include "murmex/script_model.h"

namespace murmex::tool {

namespace {

constexpr std::string_view SCRIPT_BEFORE_TITLE = R"(MurmexSrcFile
# A conversation script. The first line is the magic word; lines end in a
# carriage return and a line feed. A '#' outside quotes starts a comment, and
# every value stands in double quotes.
#
# The game keeps one variable: met, 1 once the stranger has told his name.

TITLE = ")";

constexpr std::string_view SCRIPT_AFTER_TITLE = R"("
# The window and question-line colours, then the colour of the texts.
COLOR = "120", "150", "200"
TEXTCOLOR = "255", "245", "210"

# The game starts with Intro and comes back to it when a conversation ends.
# A unit with an empty question (Q) is an opening answer; the last one whose
# conditions hold is shown. A hand-over (ACT_COMM) starts the character named
# by PARAM.
"Intro" {
  { S = "0" N = "0" Q = "" A = "A crossroads at noon. A stranger leans on the signpost." ACT = "ACT_NONE" }
  { S = "0" N = "0" Q = "&Talk to the stranger." A = "-" ACT = "ACT_COMM" PARAM = "Stranger" }
}

# S is the state a question is offered in, N the state it leads to; a negative
# N ends the conversation.
"Stranger" {
  { S = "0" N = "0" Q = "" A = "'Well met. Lost, are you?'" ACT = "ACT_NONE" }
  { S = "0" N = "0" Q = "" A = "'Back again, friend?'" ACT = "ACT_NONE"
    { ID = "met" OP = "==" VAL = "1" } }
  { S = "0" N = "1" Q = "&Who are you?" A = "'Tam, the carter. I know every road from here to the sea.'" ACT = "ACT_ADD_MEM" PARAM = "met" VAL = "1"
    { ID = "met" OP = "not" } }
  { S = "1" N = "0" Q = "&Glad to meet you, Tam." A = "'Likewise. Ask if you need a road.'" ACT = "ACT_NONE" }
  { S = "0" N = "-1" Q = "&Goodbye." A = "-" ACT = "ACT_NONE" }
}
)";

constexpr std::string_view FIRST_PLAN =
    R"(# Meeting the stranger: his name, then goodbye and back at the crossroads.
# `murmex test game.chr.txt plans/*.plan` plays it.
choose "Talk to the stranger."
expect character Stranger
expect answer "'Well met. Lost, are you?'"
choose "Who are you?"
expect answer "'Tam, the carter. I know every road from here to the sea.'"
expect var met == 1
expect questions "Glad to meet you, Tam."
choose 1
choose "Goodbye."
expect character Intro
expect answer "A crossroads at noon. A stranger leans on the signpost."
)";

// Editors that honour it save scripts with CR LF; nothing is said of their
// encoding, which the script decides.
constexpr std::string_view EDITOR_CONFIG = R"(root = true

[*.chr.txt]
end_of_line = crlf
insert_final_newline = true
)";

// Git checks scripts out with CR LF everywhere and never touches the bytes of
// a scrambled file.
constexpr std::string_view GIT_ATTRIBUTES = R"(*.chr.txt eol=crlf
*.chr binary
)";

constexpr std::string_view README_BEFORE_TITLE = "# ";

constexpr std::string_view README_AFTER_TITLE = R"(

A conversation game for the Kestrine player. `game.chr.txt` is its script,
plain text; `plans/` holds transcript plans that play it and say what the
player must see.

    murmex check game.chr.txt              # does it load?
    murmex lint game.chr.txt               # likely slips
    murmex play game.chr.txt               # play it in the terminal
    murmex play --record plans/new.plan game.chr.txt
                                           # ... and keep the path as a plan
    murmex test game.chr.txt plans/*.plan
    murmex preview game.chr.txt            # the player's window, live
    murmex scramble game.chr.txt data.chr  # what the player loads

Kestrine plays `data.chr` from the folder it is started in (`kestrine`), or
the plain script renamed to `data.chr` with `kestrine -nd`.

The script must keep its CR LF line ends; `.editorconfig` and `.gitattributes`
see to it in editors and in Git.
)";

std::string withCrLf(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (const char byte : text) {
        if (byte == '\n') {
            result += '\r';
        }
        result += byte;
    }
    return result;
}

} // namespace

std::string gameTitleProblem(std::string_view title) {
    if (title.empty()) {
        return "the title is empty";
    }
    if (title.size() > static_cast<size_t>(MAX_TITLE)) {
        return "the title is longer than " + std::to_string(MAX_TITLE) + " bytes";
    }
    if (title.find('"') != std::string_view::npos) {
        return "the title holds a double quote, which would end the script's TITLE value";
    }
    if (title.find_first_of("\r\n") != std::string_view::npos) {
        return "the title holds a line break";
    }
    return "";
}

std::vector<TemplateFile> gameTemplate(const std::string& title) {
    std::string script(SCRIPT_BEFORE_TITLE);
    script += title;
    script += SCRIPT_AFTER_TITLE;
    std::string readme(README_BEFORE_TITLE);
    readme += title;
    readme += README_AFTER_TITLE;
    return {
        {std::string(GAME_SCRIPT_NAME), withCrLf(script)},
        {"plans/first.plan", std::string(FIRST_PLAN)},
        {".editorconfig", std::string(EDITOR_CONFIG)},
        {".gitattributes", std::string(GIT_ATTRIBUTES)},
        {"README.md", readme},
    };
}

} // namespace murmex::tool

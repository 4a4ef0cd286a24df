// A game embedding the murmex engine: it loads a script held in memory, plays
// a fixed path of questions, saves the game state, restores it into a second
// engine, and checks that both show the same and go on alike.
#include <murmex/conversation_engine.h>
#include <murmex/conversation_flow.h>
#include <murmex/game_state.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// A plain (not scrambled) script; its lines end in CR LF like a script file's.
constexpr char SCRIPT[] =
    "MurmexSrcFile\r\n"
    "TITLE = \"The Ferry\"\r\n"
    "COLOR = \"0\", \"0\", \"96\"\r\n"
    "TEXTCOLOR = \"255\", \"255\", \"200\"\r\n"
    "\"Intro\" {\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"A lantern swings over the landing.\""
    " ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"1\" Q = \"Ring the bell.\" A = \"A bell answers across the river.\""
    " ACT = \"ACT_ADD_MEM\" PARAM = \"rang\" VAL = \"1\" { ID = \"rang\" OP = \"not\" } }\r\n"
    "  { S = \"0\" N = \"0\" Q = \"Call the ferryman.\" A = \"-\""
    " ACT = \"ACT_COMM\" PARAM = \"Ferryman\" }\r\n"
    "  { S = \"1\" N = \"0\" Q = \"Wait.\" A = \"A boat bumps against the landing.\""
    " ACT = \"ACT_NONE\" }\r\n"
    "}\r\n"
    "\"Ferryman\" {\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"'Who calls so late?'\" ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"'You rang, so I came.'\" ACT = \"ACT_NONE\""
    " { ID = \"rang\" OP = \"==\" VAL = \"1\" } }\r\n"
    "  { S = \"0\" N = \"1\" Q = \"Take me across.\" A = \"'Mind the gap, then.'\""
    " ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"-1\" Q = \"Never mind.\" A = \"-\" ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"1\" N = \"-1\" Q = \"Step aboard.\" A = \"-\" ACT = \"ACT_NONE\" }\r\n"
    "}\r\n";

// Positions of the questions asked before saving: ring, wait, call the
// ferryman (a hand-over); and of the one asked after.
constexpr int32_t PATH[] = {0, 0, 0};
constexpr int32_t NEXT_QUESTION = 0;

int fail(const char* what, const char* why) {
    std::fprintf(stderr, "embed: %s: %s\n", what, why);
    return 1;
}

bool load(murmex::ConversationEngine& engine) {
    engine.disableDescramble();
    if (engine.loadFromMemory(SCRIPT, sizeof SCRIPT - 1) != murmex::LOAD_OK) {
        std::fprintf(stderr, "embed: script line %d: %s\n", engine.line, engine.errorMessage);
        return false;
    }
    return true;
}

// Asks the offered question at `position`; the flow follows a hand-over to
// the character it names. False when the conversation ended or failed.
bool ask(murmex::ConversationFlow& flow, int32_t position) {
    const murmex::StepKind kind = flow.choose(position).kind;
    return kind == murmex::StepKind::Continued || kind == murmex::StepKind::Switched;
}

void show(const murmex::ConversationView& view) {
    std::printf("%s\n", view.answer != nullptr ? view.answer : "");
    for (int32_t i = 0; i < view.questionCount; ++i) {
        std::printf("  %d. %s\n", i + 1, view.questions[i]);
    }
}

bool sameText(const char* a, const char* b) {
    return a == nullptr || b == nullptr ? a == b : std::strcmp(a, b) == 0;
}

// Texts are compared, not pointers: each engine holds its own copy.
bool sameView(const murmex::ConversationView& a, const murmex::ConversationView& b) {
    if (a.characterIndex != b.characterIndex || a.questionCount != b.questionCount ||
        !sameText(a.answer, b.answer)) {
        return false;
    }
    for (int32_t i = 0; i < a.questionCount; ++i) {
        if (!sameText(a.questions[i], b.questions[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

int main() {
    murmex::ConversationEngine engine;
    murmex::ConversationView view;
    if (!load(engine)) {
        return 1;
    }
    // Plays as the player does, starting with the character "Intro".
    murmex::ConversationFlow flow(engine, view);
    if (!flow.startGame()) {
        return fail("start", engine.errorMessage);
    }
    show(view);
    for (const int32_t position : PATH) {
        std::printf("> %s\n", view.questions[position]);
        if (!ask(flow, position)) {
            return fail("ask", "the conversation ended before the game was saved");
        }
        show(view);
    }

    uint8_t saved[murmex::GAME_STATE_V2_MAX_BYTES];
    size_t size = 0;
    int32_t code = murmex::saveGameState(engine, view, saved, sizeof saved, size);
    if (code != murmex::GAME_STATE_OK) {
        return fail("save", murmex::gameStateMessage(code));
    }
    std::printf("Saved the game in %zu bytes; restoring it into a second engine.\n", size);

    murmex::ConversationEngine restored;
    murmex::ConversationView restoredView;
    murmex::ConversationFlow restoredFlow(restored, restoredView);
    if (!load(restored)) {
        return 1;
    }
    code = murmex::restoreGameState(restored, restoredView, saved, size);
    if (code != murmex::GAME_STATE_OK) {
        return fail("restore", murmex::gameStateMessage(code));
    }
    show(restoredView);
    if (!sameView(view, restoredView)) {
        return fail("restore", "the restored game shows something else");
    }

    std::printf("> %s (in both)\n", view.questions[NEXT_QUESTION]);
    const bool going = ask(flow, NEXT_QUESTION);
    const bool restoredGoing = ask(restoredFlow, NEXT_QUESTION);
    if (going != restoredGoing || (going && !sameView(view, restoredView))) {
        return fail("next step", "the saved and the restored game went different ways");
    }
    show(view);
    std::printf("Both games agree.\n");
    return 0;
}

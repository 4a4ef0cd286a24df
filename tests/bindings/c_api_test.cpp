// The C functions as a host in another language calls them: every bad
// argument is refused with a code and changes nothing, failures are worded on
// their own game, and listeners get their user data back.
#include "murmex/murmex.h"

#include "support/sample_scripts.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <tuple>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct Loaded {
    murmex_script* script = nullptr;
    murmex_game* game = nullptr;
    Loaded() {
        const std::string text = murmex::testing::playScript();
        EXPECT_EQ(
            murmex_script_from_bytes(text.data(), text.size(), MURMEX_LOAD_PLAIN, &script, nullptr),
            MURMEX_OK);
        EXPECT_EQ(murmex_game_new(script, &game), MURMEX_OK);
        EXPECT_EQ(murmex_game_start(game, "Intro"), MURMEX_OK);
    }
    ~Loaded() {
        murmex_game_free(game);
        murmex_script_free(script);
    }
};

TEST(CApiTest, NullHandlesBuffersAndIndicesAreRefusedWithACode) {
    Loaded loaded;
    murmex_game* game = loaded.game;
    const char* text = nullptr;
    int32_t number = 0;
    murmex_question question{};
    size_t size = 0;
    uint32_t id = 0;
    char buffer[8];
    murmex_color color{};
    const std::vector<std::pair<std::string, std::function<int()>>> calls = {
        {"title of no script", [&] { return murmex_script_title(nullptr, MURMEX_TEXT, &text); }},
        {"title into nothing", [&] { return murmex_script_title(loaded.script, 0, nullptr); }},
        {"colours into nothing",
         [&] { return murmex_script_colors(loaded.script, &color, nullptr); }},
        {"load into nothing", [&] { return murmex_script_load("x", 0, nullptr, nullptr); }},
        {"bytes from nothing",
         [&] { return murmex_script_from_bytes(nullptr, 3, 0, &loaded.script, nullptr); }},
        {"game of no script", [&] { return murmex_game_new(nullptr, &game); }},
        {"start no game", [&] { return murmex_game_start(nullptr, "Intro"); }},
        {"start no name", [&] { return murmex_game_start(game, nullptr); }},
        {"answer of no game", [&] { return murmex_game_answer(nullptr, MURMEX_TEXT, &text); }},
        {"choose in no game", [&] { return murmex_game_choose(nullptr, 0); }},
        {"variable without name", [&] { return murmex_game_variable(game, nullptr, &number); }},
        {"save into a null buffer", [&] { return murmex_game_save(game, nullptr, 10, &size); }},
        {"restore from a null buffer", [&] { return murmex_game_restore(game, nullptr, 10); }},
        {"listen without a listener",
         [&] { return murmex_game_listen(game, MURMEX_EVENT_MONEY, nullptr, nullptr, &id); }},
    };
    for (const auto& [what, call] : calls) {
        EXPECT_EQ(call(), MURMEX_ERROR_NULL) << what;
    }
    const std::vector<std::pair<std::string, std::function<int()>>> outOfRange = {
        {"character -1", [&] { return murmex_script_character_name(loaded.script, -1, 0, &text); }},
        {"character 2", [&] { return murmex_script_character_name(loaded.script, 2, 0, &text); }},
        {"form 2", [&] { return murmex_game_answer(game, 2, &text); }},
        {"question 5", [&] { return murmex_game_question(game, 5, &question); }},
        {"choice -1", [&] { return murmex_game_choose(game, -1); }},
        {"choice 5", [&] { return murmex_game_choose(game, 5); }},
        {"event 9",
         [&] {
             return murmex_game_listen(
                 game, 9, [](void*, const murmex_event*) {}, nullptr, &id);
         }},
        {"cursor 501",
         [&] {
             int32_t cursor = 501;
             return murmex_game_next_variable(game, &cursor, &text, &number);
         }},
    };
    for (const auto& [what, call] : outOfRange) {
        EXPECT_EQ(call(), MURMEX_ERROR_RANGE) << what;
    }
    EXPECT_EQ(murmex_game_save(game, buffer, sizeof buffer, &size), MURMEX_ERROR_BUFFER);
    EXPECT_GT(size, sizeof buffer);
    EXPECT_LE(size, static_cast<size_t>(MURMEX_SAVE_MAX_BYTES));
    // Nothing above moved the game.
    ASSERT_EQ(murmex_game_question_count(game, &number), MURMEX_OK);
    EXPECT_EQ(number, 5);
    murmex_game_free(nullptr);
    murmex_script_free(nullptr);
}

TEST(CApiTest, AFailedLoadTellsCodeLineMessageAndDetail) {
    const std::string text = murmex::testing::scriptWithHeader({"\"Intro\" {", "  { S = 0 }"});
    murmex_script* script = nullptr;
    murmex_load_error error{};
    EXPECT_EQ(
        murmex_script_from_bytes(text.data(), text.size(), MURMEX_LOAD_PLAIN, &script, &error),
        MURMEX_ERROR_LOAD);
    EXPECT_EQ(script, nullptr);
    EXPECT_EQ(error.code, -3);
    EXPECT_EQ(error.line, 6);
    EXPECT_STREQ(error.message, "Syntax error: } unexpected");
    EXPECT_NE(error.detail[0], 0);
    EXPECT_EQ(murmex_script_load("/no/such/script", 0, &script, &error), MURMEX_ERROR_LOAD);
    EXPECT_EQ(error.code, -1);
    // The file is named, with the system's reason.
    EXPECT_STREQ(error.detail, ("the script cannot be opened: /no/such/script: " +
                                std::string(std::strerror(ENOENT)))
                                   .c_str());
}

#ifndef _WIN32
TEST(CApiTest, AFifoIsRefusedInsteadOfWaitedOn) {
    const murmex::testing::ScratchFolder folder;
    const std::string fifo = folder.path("script.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    murmex_script* script = nullptr;
    murmex_load_error error{};
    auto loading = std::async(std::launch::async, [&] {
        return murmex_script_load(fifo.c_str(), MURMEX_LOAD_PLAIN, &script, &error);
    });
    if (loading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the load waits for a writer";
        // A writer that writes nothing lets each pass go on to its end.
        while (loading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        }
    }
    EXPECT_EQ(loading.get(), MURMEX_ERROR_LOAD);
    EXPECT_EQ(error.code, -1);
    EXPECT_EQ(script, nullptr);
}
#endif

TEST(CApiTest, FailuresAreWordedOnTheirOwnGame) {
    Loaded first;
    Loaded second;
    EXPECT_EQ(murmex_game_start(first.game, "Nobody"), MURMEX_ERROR_NOT_FOUND);
    EXPECT_STREQ(murmex_game_last_error(first.game), "Character not found!");
    EXPECT_STREQ(murmex_game_last_error(second.game), "");
    EXPECT_EQ(murmex_game_choose(first.game, 0), MURMEX_ERROR_NO_CONVERSATION);
    ASSERT_EQ(murmex_game_start(first.game, "Intro"), MURMEX_OK);
    EXPECT_EQ(murmex_game_choose(first.game, 1), MURMEX_STEP_FAILED); // forget what isn't set
    EXPECT_STREQ(murmex_game_last_error(first.game), "Can't apply question!");
    const char garbage[] = "MXGS but nothing more";
    EXPECT_EQ(murmex_game_restore(second.game, garbage, sizeof garbage), MURMEX_ERROR_SAVED_GAME);
    EXPECT_STRNE(murmex_game_last_error(second.game), "");
}

TEST(CApiTest, RefusalsSpeakTheHostsWordsAndASucceedingCallClearsThem) {
    Loaded loaded;
    murmex_game* game = loaded.game;
    murmex_question question{};
    int32_t value = 0;
    const std::vector<std::tuple<std::string, std::function<int()>, int, std::string>> refusals = {
        {"choice 7", [&] { return murmex_game_choose(game, 7); }, MURMEX_ERROR_RANGE,
         "no question is offered at that index"},
        {"question 7", [&] { return murmex_game_question(game, 7, &question); }, MURMEX_ERROR_RANGE,
         "no question is offered at that index"},
        {"listener 99", [&] { return murmex_game_unlisten(game, 99); }, MURMEX_ERROR_NOT_FOUND,
         "no listener of this game has that id"},
        // Twenty bytes, the last two one character: cut, it would be split.
        {"long name",
         [&] { return murmex_game_set_variable(game, "eighteen_bytes_lon\xC3\xA9", 1); },
         MURMEX_ERROR_NAME_TOO_LONG, "a variable's name is longer than 19 bytes"},
    };
    for (const auto& [what, call, code, words] : refusals) {
        EXPECT_EQ(call(), code) << what;
        EXPECT_EQ(murmex_game_last_error(game), words) << what;
    }
    EXPECT_EQ(murmex_game_variable(game, "eighteen_bytes_lon\xC3", &value), MURMEX_ERROR_NOT_FOUND);
    EXPECT_EQ(murmex_game_set_variable(game, "nineteen_bytes_long", 1), MURMEX_OK);

    // A listener's refused change is not the failure of the call that told it.
    uint32_t id = 0;
    ASSERT_EQ(murmex_game_listen(
                  game, MURMEX_EVENT_VARIABLE,
                  [](void* data, const murmex_event*) {
                      EXPECT_EQ(murmex_game_set_money(static_cast<murmex_game*>(data), 5),
                                MURMEX_ERROR_BUSY);
                  },
                  game, &id),
              MURMEX_OK);
    EXPECT_EQ(murmex_game_choose(game, 0), MURMEX_STEP_CONTINUED);
    EXPECT_STREQ(murmex_game_last_error(game), "");

    const std::string text = murmex::testing::playScript();
    murmex_script* script = nullptr;
    EXPECT_EQ(murmex_script_from_bytes(text.data(), text.size(), 7, &script, nullptr),
              MURMEX_ERROR_FLAGS);
    EXPECT_EQ(murmex_script_load("/no/such/script", 2, &script, nullptr), MURMEX_ERROR_FLAGS);
    EXPECT_EQ(script, nullptr);
}

TEST(CApiTest, AGameFreedInItsOwnListenerGoesWhenTheCallReturns) {
    Loaded loaded;
    struct Seen {
        murmex_game* game;
        int calls;
    } seen{loaded.game, 0};
    const murmex_listener freeing = [](void* data, const murmex_event*) {
        auto* held = static_cast<Seen*>(data);
        ++held->calls;
        murmex_game_free(held->game);
    };
    uint32_t id = 0;
    ASSERT_EQ(murmex_game_listen(loaded.game, MURMEX_EVENT_VARIABLE, freeing, &seen, &id),
              MURMEX_OK);
    ASSERT_EQ(murmex_game_listen(loaded.game, MURMEX_EVENT_VARIABLE, freeing, &seen, &id),
              MURMEX_OK);
    EXPECT_EQ(murmex_game_choose(loaded.game, 0), MURMEX_STEP_CONTINUED);
    EXPECT_EQ(seen.calls, 1) << "the listeners after it hear nothing";
    loaded.game = nullptr; // freed; the leak check sees it if it was not
}

TEST(CApiTest, ObserversHearTheirVariableAndAResetIsTold) {
    Loaded loaded;
    murmex_game* game = loaded.game;
    std::vector<std::string> heard;
    const murmex_listener note = [](void* data, const murmex_event* event) {
        static_cast<std::vector<std::string>*>(data)->push_back(
            std::to_string(event->kind) +
            (event->name != nullptr ? std::string(" ") + event->name_text : ""));
    };
    uint32_t id = 0;
    ASSERT_EQ(murmex_game_observe(game, "door", note, &heard, &id), MURMEX_OK);
    ASSERT_EQ(murmex_game_listen(game, MURMEX_EVENT_RESET, note, &heard, &id), MURMEX_OK);
    EXPECT_EQ(murmex_game_observe(game, "", note, &heard, &id), MURMEX_ERROR_RANGE);
    EXPECT_EQ(murmex_game_observe(game, "twenty_bytes_long_xx", note, &heard, &id),
              MURMEX_ERROR_NAME_TOO_LONG);
    EXPECT_EQ(murmex_game_set_variable(game, "window", 1), MURMEX_OK);
    EXPECT_EQ(murmex_game_set_variable(game, "door", 1), MURMEX_OK);
    EXPECT_EQ(murmex_game_reset(game), MURMEX_OK);
    EXPECT_EQ(heard, (std::vector<std::string>{"1 door", "8"}));
}

TEST(CApiTest, LineIdsAndLookaheadFillTheCallersBuffersOrSayHowMuchIsNeeded) {
    Loaded loaded;
    murmex_game* game = loaded.game;
    char id[MURMEX_LINE_ID_MAX_BYTES];
    size_t length = 0;
    EXPECT_EQ(murmex_game_question_line_id(game, 0, id, sizeof id, &length), MURMEX_OK);
    EXPECT_STREQ(id, "Intro/S0/2/Q");
    char small[4];
    EXPECT_EQ(murmex_game_answer_line_id(game, small, sizeof small, &length), MURMEX_ERROR_BUFFER);
    EXPECT_EQ(length, 12u);
    EXPECT_STREQ(small, "Int");
    EXPECT_EQ(murmex_game_question_line_id(game, 9, id, sizeof id, &length), MURMEX_ERROR_RANGE);

    murmex_line lines[2];
    size_t count = 0;
    EXPECT_EQ(murmex_game_lookahead(game, 1, lines, 2, &count), MURMEX_ERROR_BUFFER);
    EXPECT_EQ(count, 11u);
    EXPECT_EQ(lines[1].part, MURMEX_LINE_QUESTION);
    EXPECT_EQ(murmex_script_line_id(loaded.script, &lines[1], id, sizeof id, &length), MURMEX_OK);
    EXPECT_STREQ(id, "Intro/S1/1/Q");
    EXPECT_EQ(murmex_game_lookahead(game, 4, lines, 2, &count), MURMEX_ERROR_RANGE);

    // The opening answer's text, as the window shows it and as the script holds it.
    const murmex_line opening{0, 0, MURMEX_LINE_ANSWER, 1};
    char text[64];
    EXPECT_EQ(
        murmex_script_line_text(loaded.script, &opening, MURMEX_TEXT, text, sizeof text, &length),
        MURMEX_OK);
    EXPECT_STREQ(text, "Hello there, fish & chips.");
    EXPECT_EQ(
        murmex_script_line_text(loaded.script, &opening, MURMEX_BYTES, text, sizeof text, &length),
        MURMEX_OK);
    EXPECT_STREQ(text, "Hello &there, fish && chips.");
    const murmex_line nowhere{0, 99, MURMEX_LINE_ANSWER, 1};
    EXPECT_EQ(murmex_script_line_id(loaded.script, &nowhere, id, sizeof id, &length),
              MURMEX_ERROR_RANGE);
}

TEST(CApiTest, ListenersGetTheirUserDataAndGamesKeepTheirScript) {
    Loaded loaded;
    murmex_game* game = nullptr;
    ASSERT_EQ(murmex_game_new(loaded.script, &game), MURMEX_OK);
    murmex_script_free(loaded.script);
    loaded.script = nullptr;
    ASSERT_EQ(murmex_game_start(game, "Intro"), MURMEX_OK);
    std::vector<std::string> heard;
    uint32_t id = 0;
    ASSERT_EQ(murmex_game_listen(
                  game, MURMEX_EVENT_VARIABLE,
                  [](void* data, const murmex_event* event) {
                      static_cast<std::vector<std::string>*>(data)->push_back(
                          std::string(event->name_text) + "=" + std::to_string(event->value));
                  },
                  &heard, &id),
              MURMEX_OK);
    EXPECT_EQ(murmex_game_choose(game, 0), MURMEX_STEP_CONTINUED);
    EXPECT_EQ(murmex_game_set_variable(game, "door", 7), MURMEX_OK);
    EXPECT_EQ(heard, (std::vector<std::string>{"count=3", "door=7"}));
    EXPECT_EQ(murmex_game_unlisten(game, id), MURMEX_OK);
    EXPECT_EQ(murmex_game_unlisten(game, id), MURMEX_ERROR_NOT_FOUND);

    std::vector<std::string> names;
    int32_t cursor = 0;
    const char* name = nullptr;
    int32_t value = 0;
    while (murmex_game_next_variable(game, &cursor, &name, &value) == MURMEX_OK) {
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"count", "door"}));
    murmex_game_free(game);
}

// ---- The whole screen in one call

TEST(CApiTest, TheScreenGivesWhatTheSeparateCallsGive) {
    Loaded loaded;
    murmex_game* game = loaded.game;
    murmex_screen screen{};
    murmex_question questions[5]{};
    ASSERT_EQ(murmex_game_screen(game, &screen, questions, 5), MURMEX_OK);
    const char* answer = nullptr;
    ASSERT_EQ(murmex_game_answer(game, MURMEX_TEXT, &answer), MURMEX_OK);
    EXPECT_STREQ(screen.character, "Intro");
    EXPECT_STREQ(screen.answer, answer);
    ASSERT_EQ(screen.question_count, 5);
    for (int32_t index = 0; index < 5; ++index) {
        murmex_question one{};
        ASSERT_EQ(murmex_game_question(game, index, &one), MURMEX_OK);
        EXPECT_STREQ(questions[index].label, one.label);
        EXPECT_STREQ(questions[index].text, one.text);
        EXPECT_STREQ(questions[index].bytes, one.bytes);
        EXPECT_EQ(questions[index].mnemonic, one.mnemonic);
    }

    // Too few entries: the count and the entries that fit, nothing past them.
    murmex_question two[3]{};
    EXPECT_EQ(murmex_game_screen(game, &screen, two, 2), MURMEX_ERROR_BUFFER);
    EXPECT_EQ(screen.question_count, 5);
    EXPECT_STREQ(two[1].label, questions[1].label);
    EXPECT_EQ(two[2].label, nullptr);
    EXPECT_EQ(murmex_game_screen(game, &screen, nullptr, 0), MURMEX_ERROR_BUFFER);
    EXPECT_EQ(murmex_game_screen(game, &screen, nullptr, 1), MURMEX_ERROR_NULL);
    EXPECT_EQ(murmex_game_screen(game, nullptr, questions, 5), MURMEX_ERROR_NULL);
    EXPECT_EQ(murmex_game_screen(game, &screen, questions, -1), MURMEX_ERROR_RANGE);
    EXPECT_EQ(murmex_game_screen(nullptr, &screen, questions, 5), MURMEX_ERROR_NULL);
}

} // namespace

/* Plays a script through the C functions alone and prints the transcript the
 * terminal player prints for the same choices: `c_transcript [--plain]
 * [--start NAME] FILE 1,3,2`, with the tool's exit statuses (3 when the script
 * fails). Written in C99, so it also proves that the header is C. */
#include <murmex/murmex.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The terminal player's exit status when the script fails. */
#define SCRIPT_FAILED 3

static void showSituation(const murmex_game* game) {
    const char* name = "";
    const char* answer = "";
    int32_t count = 0;
    murmex_game_character(game, MURMEX_TEXT, &name);
    murmex_game_answer(game, MURMEX_TEXT, &answer);
    murmex_game_question_count(game, &count);
    printf("%s: %s\n", name, answer);
    for (int32_t i = 0; i < count; ++i) {
        murmex_question question;
        murmex_game_question(game, i, &question);
        printf("  %d. %s\n", (int)(i + 1), question.label);
    }
}

static int play(murmex_game* game, char* choices) {
    for (char* entry = strtok(choices, ","); entry != NULL; entry = strtok(NULL, ",")) {
        printf("> %s\n", entry);
        const int step = murmex_game_choose(game, atoi(entry) - 1);
        if (step < 0 || step == MURMEX_STEP_FAILED) {
            fflush(stdout);
            fprintf(stderr, "%s\n", murmex_game_last_error(game));
            return SCRIPT_FAILED;
        }
        printf("\n");
        showSituation(game);
    }
    return 0;
}

int main(int argc, char** argv) {
    const int plain = argc > 1 && strcmp(argv[1], "--plain") == 0;
    const int named = argc > 2 + plain && strcmp(argv[1 + plain], "--start") == 0;
    const char* start = named ? argv[2 + plain] : "Intro";
    argv += plain + 2 * named;
    argc -= plain + 2 * named;
    if (argc != 3) {
        fprintf(stderr, "usage: c_transcript [--plain] [--start NAME] FILE CHOICES\n");
        return 2;
    }
    murmex_script* script = NULL;
    murmex_load_error error;
    if (murmex_script_load(argv[1], plain ? MURMEX_LOAD_PLAIN : 0, &script, &error) != MURMEX_OK) {
        fprintf(stderr, "Err=%d\nLine=%d\nErrStr=%s\n", (int)error.code, (int)error.line,
                error.message);
        return SCRIPT_FAILED;
    }
    const char* title = "";
    murmex_script_title(script, MURMEX_TEXT, &title);
    printf("%s\n\n", title);
    murmex_game* game = NULL;
    int status = murmex_game_new(script, &game);
    if (status != MURMEX_OK) {
        fprintf(stderr, "%s\n", murmex_status_message(status));
        status = SCRIPT_FAILED;
    } else if (murmex_game_start(game, start) != MURMEX_OK) {
        fprintf(stderr, "%s\n", murmex_game_last_error(game));
        status = SCRIPT_FAILED;
    } else {
        showSituation(game);
        status = play(game, argv[2]);
    }
    murmex_game_free(game);
    murmex_script_free(script);
    return status;
}

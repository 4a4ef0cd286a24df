/* Plays a script through the C functions alone and prints the transcript the
 * terminal player prints for the same choices: `c_transcript [--plain]
 * [--events] [--start NAME] FILE 1,3,2`, with the tool's exit statuses (3 when
 * the script fails); --events prints each event a line, as the tool does. Written in C99, so it
 * also proves that the header is C. */
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

static void printEvent(void* unused, const murmex_event* event) {
    (void)unused;
    switch (event->kind) {
    case MURMEX_EVENT_VARIABLE:
        if (event->present) {
            printf("* variable %s %d\n", event->name_text, (int)event->value);
        } else {
            printf("* variable %s removed\n", event->name_text);
        }
        break;
    case MURMEX_EVENT_MONEY:
        printf("* money %d\n", (int)event->value);
        break;
    case MURMEX_EVENT_HAND_OVER:
        printf("* handover %s\n", event->name_text);
        break;
    case MURMEX_EVENT_ENDED:
        printf("* ended\n");
        break;
    case MURMEX_EVENT_ITEM_GIVEN:
        printf("* item-given %s %d\n", event->name_text, (int)event->value);
        break;
    case MURMEX_EVENT_ITEM_TAKEN:
        printf("* item-taken %s\n", event->name_text);
        break;
    case MURMEX_EVENT_RESTORED:
        printf("* restored\n");
        break;
    case MURMEX_EVENT_RESET:
        printf("* reset\n");
        break;
    default:
        break;
    }
}

static int listenToAll(murmex_game* game) {
    for (int kind = MURMEX_EVENT_VARIABLE; kind <= MURMEX_EVENT_RESET; ++kind) {
        uint32_t id = 0;
        if (murmex_game_listen(game, kind, printEvent, NULL, &id) != MURMEX_OK) {
            return 0;
        }
    }
    return 1;
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
    int plain = 0;
    int events = 0;
    const char* start = "Intro";
    int next = 1;
    for (; next < argc && strncmp(argv[next], "--", 2) == 0; ++next) {
        if (strcmp(argv[next], "--plain") == 0) {
            plain = 1;
        } else if (strcmp(argv[next], "--events") == 0) {
            events = 1;
        } else if (strcmp(argv[next], "--start") == 0 && next + 1 < argc) {
            start = argv[++next];
        } else {
            break;
        }
    }
    argv += next - 1;
    argc -= next - 1;
    if (argc != 3) {
        fprintf(stderr, "usage: c_transcript [--plain] [--events] [--start NAME] FILE CHOICES\n");
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
    } else if (events && !listenToAll(game)) {
        fprintf(stderr, "%s\n", murmex_game_last_error(game));
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

/* The host API for C.
 * The engine for C and for every language that calls C: load a script once,
 * play any number of games over it, hear what each game changes, and save and
 * restore a game as bytes.
 *
 * Conventions, for every function below:
 * - Handles are opaque. A script is immutable once loaded and may be read
 *   from several threads at once; a game belongs to one thread at a time.
 * - Functions that can fail return an int: MURMEX_OK (0) or a value of 0 or
 *   more on success, a negative MURMEX_ERROR_ code otherwise. A null handle,
 *   a null output pointer, a null buffer with a nonzero size and an index out
 *   of range are refused with a code; nothing is changed then.
 * - murmex_game_last_error words the last failure on that game (no state is
 *   shared between handles); murmex_status_message words any code.
 * - Texts come in two forms (MURMEX_BYTES, MURMEX_TEXT): the script's own
 *   bytes, or UTF-8 decoded from them (kept when the text is valid UTF-8,
 *   else read as Windows-1252). Question labels and answers have their '&'
 *   markers taken out, as the window shows them. Every text is
 *   zero-terminated.
 * - Strings a function hands out are borrowed, never freed by the caller: a
 *   script's stay valid while the script lives, a game's until the next call
 *   that changes that game (start, choose, reset, restore, or a setter). Copy
 *   them to keep them.
 */
#ifndef MURMEX_MURMEX_H
#define MURMEX_MURMEX_H

#include <stddef.h>
#include <stdint.h>

/* MURMEX_VERSION_MAJOR, _MINOR, _PATCH and _STRING, of the headers in use;
 * murmex_version() gives the library's. */
#include "murmex/version.h"

#if defined(_WIN32) && defined(MURMEX_SHARED_BUILD)
#define MURMEX_API __declspec(dllexport)
#elif defined(__GNUC__)
#define MURMEX_API __attribute__((visibility("default")))
#else
#define MURMEX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. */
#define MURMEX_OK 0
#define MURMEX_END 1                      /**< murmex_game_next_variable: no more variables */
#define MURMEX_ERROR_NULL (-1)            /**< a handle, output or buffer is null */
#define MURMEX_ERROR_RANGE (-2)           /**< an index or a form is out of range */
#define MURMEX_ERROR_LOAD (-3)            /**< the script did not load; see murmex_load_error */
#define MURMEX_ERROR_MEMORY (-4)          /**< memory ran out */
#define MURMEX_ERROR_BUFFER (-5)          /**< the caller's buffer is too small */
#define MURMEX_ERROR_NOT_FOUND (-6)       /**< no such character or variable */
#define MURMEX_ERROR_FAILED (-7)          /**< the game failed; murmex_game_last_error says why */
#define MURMEX_ERROR_NO_CONVERSATION (-8) /**< nothing is offered: start a character first */
#define MURMEX_ERROR_MEMORY_FULL (-9)     /**< every variable slot holds another name */
#define MURMEX_ERROR_SAVED_GAME (-10)     /**< the saved game was refused; last error says why */
#define MURMEX_ERROR_BUSY (-11)           /**< called from a listener, which may only read */
#define MURMEX_ERROR_FLAGS (-12)          /**< a load was given flags it does not know */
#define MURMEX_ERROR_NAME_TOO_LONG (-13)  /**< a variable's name is over 19 bytes */

/* Text forms. */
#define MURMEX_BYTES 0 /**< the script's bytes, as the script holds them */
#define MURMEX_TEXT 1  /**< UTF-8 */

/* Flags of a load. */
#define MURMEX_LOAD_PLAIN 1 /**< the script is plain text, not scrambled */

/* What murmex_game_choose returns on success: where the game went. */
#define MURMEX_STEP_CONTINUED 0 /**< the same character answered */
#define MURMEX_STEP_SWITCHED 1  /**< the conversation went on with another character */
#define MURMEX_STEP_ENDED 2     /**< the conversation ended; the first character started again */
#define MURMEX_STEP_FAILED 3    /**< the game failed and is over; last error says why */

/* Events a listener can hear. */
#define MURMEX_EVENT_VARIABLE 1  /**< a variable was set to another value, created or removed */
#define MURMEX_EVENT_MONEY 2     /**< money changed */
#define MURMEX_EVENT_HAND_OVER 3 /**< a unit handed the conversation to another character */
#define MURMEX_EVENT_ENDED 4     /**< a conversation ended */
/* A unit's item action; the engine keeps no inventory, so the host does. */
#define MURMEX_EVENT_ITEM_GIVEN 5 /**< a unit gave an item: its name and count */
#define MURMEX_EVENT_ITEM_TAKEN 6 /**< a unit took an item: its name */
/* Told once the game has changed, so that a screen can be drawn again. */
#define MURMEX_EVENT_RESTORED 7 /**< a saved game was restored */
#define MURMEX_EVENT_RESET 8    /**< the game was reset */

typedef struct murmex_script murmex_script;
typedef struct murmex_game murmex_game;

/** Why a load failed. All texts are copied into the record. */
typedef struct murmex_load_error {
    int32_t code;     /**< the loader's negative code (-1 to -5) */
    int32_t line;     /**< 1-based line the loader had reached */
    char message[64]; /**< the fixed text the player's box shows; may be empty */
    char detail[200]; /**< the cause in plain words; may be empty. A file that could not
                         be opened is named with the system's reason. */
} murmex_load_error;

typedef struct murmex_color {
    uint8_t red, green, blue;
} murmex_color;

/** One offered question; its texts are borrowed from the game. */
typedef struct murmex_question {
    const char* bytes; /**< as the script holds it, markers included */
    const char* text;  /**< UTF-8, markers included */
    const char* label; /**< UTF-8 without the '&' markers: what the window shows */
    uint32_t mnemonic; /**< the marked character (a code point), or 0 */
} murmex_question;

/** What a listener hears. Texts are borrowed for the call only. */
typedef struct murmex_event {
    int32_t kind;            /**< MURMEX_EVENT_ */
    const char* name;        /**< variable: its name; hand-over: the character's; item: the
                                item's; else null */
    const char* name_text;   /**< the same as UTF-8 */
    int32_t value;           /**< variable: its value (0 once removed); money: the new amount;
                                item given: the count */
    int32_t previous;        /**< the value or amount before (0 for a new variable) */
    int32_t present;         /**< variable: 1 while it exists, 0 once removed */
    const char* answer;      /**< ended: the ending unit's answer, which no window shows */
    const char* answer_text; /**< the same as UTF-8, without markers */
} murmex_event;

typedef void (*murmex_listener)(void* user_data, const murmex_event* event);

/** The library's version, "1.0.0"; a static string. */
MURMEX_API const char* murmex_version(void);
/** A fixed text for any status code. */
MURMEX_API const char* murmex_status_message(int code);

/** Loads a script file (flags: MURMEX_LOAD_PLAIN or 0; any other bit gives
 * MURMEX_ERROR_FLAGS). On success *out holds
 * a new script, freed with murmex_script_free. On MURMEX_ERROR_LOAD the
 * reason is written into *error if it is not null. A name that is not a
 * regular file (a FIFO, a device, a folder) is refused at once, code -1. */
MURMEX_API int murmex_script_load(const char* path, int flags, murmex_script** out,
                                  murmex_load_error* error);
/** The same for a script in memory; the bytes are read during the call only. */
MURMEX_API int murmex_script_from_bytes(const void* data, size_t size, int flags,
                                        murmex_script** out, murmex_load_error* error);
/** Gives up the caller's hold on the script; games made from it keep it alive.
 * A null script is ignored. */
MURMEX_API void murmex_script_free(murmex_script* script);

/** The title (the window's caption); borrowed from the script. */
MURMEX_API int murmex_script_title(const murmex_script* script, int form, const char** out);
/** The header's two colours: the window's and the texts'. */
MURMEX_API int murmex_script_colors(const murmex_script* script, murmex_color* window,
                                    murmex_color* text);
/** How many characters the script holds. */
MURMEX_API int murmex_script_character_count(const murmex_script* script, int32_t* out);
/** The name of character `index` (0 to count - 1); borrowed from the script. */
MURMEX_API int murmex_script_character_name(const murmex_script* script, int32_t index, int form,
                                            const char** out);

/** A new game over the script, with empty memory and no conversation yet.
 * Freed with murmex_game_free. */
MURMEX_API int murmex_game_new(const murmex_script* script, murmex_game** out);
/** A null game is ignored. Freed from inside one of its own listeners, the
 * game goes when the call that is telling them returns, and the listeners
 * after that one hear nothing more. */
MURMEX_API void murmex_game_free(murmex_game* game);

/** Starts the conversation with the named character (bytes, compared
 * exactly). MURMEX_ERROR_NOT_FOUND for no such character, MURMEX_ERROR_FAILED
 * when it has nothing to say. */
MURMEX_API int murmex_game_start(murmex_game* game, const char* name);
/** Back to the beginning: every state 0, no variables, no money, no
 * conversation. Listeners stay. */
MURMEX_API int murmex_game_reset(murmex_game* game);

/** The answer shown: form MURMEX_TEXT gives it without markers. Empty before
 * any conversation. */
MURMEX_API int murmex_game_answer(const murmex_game* game, int form, const char** out);
/** The name of the character talked to; empty before any conversation. */
MURMEX_API int murmex_game_character(const murmex_game* game, int form, const char** out);
/** How many questions are offered, 0 to 5. */
MURMEX_API int murmex_game_question_count(const murmex_game* game, int32_t* out);
/** Offered question `index` (0-based); its texts are borrowed from the game. */
MURMEX_API int murmex_game_question(const murmex_game* game, int32_t index, murmex_question* out);
/** Asks offered question `index` (0-based) and carries on as the window does:
 * a hand-over starts the named character, an ended conversation starts the
 * first character again. Returns a MURMEX_STEP_ value, or an error code. */
MURMEX_API int murmex_game_choose(murmex_game* game, int32_t index);

/* Line ids name each text a player can be shown as the translation export
 * names it ("Mara/S1/2/Q"), so that one key finds its translation and its
 * recorded voice. Each writes the id zero-terminated into `buffer` and its
 * length into *length. With a buffer too small (or null with capacity 0),
 * MURMEX_ERROR_BUFFER and *length the length needed; MURMEX_LINE_ID_MAX_BYTES
 * always fits. The answer's id is empty while none is shown. */
#define MURMEX_LINE_ID_MAX_BYTES 342
/** The answer's line id, as told above. */
MURMEX_API int murmex_game_answer_line_id(const murmex_game* game, char* buffer, size_t capacity,
                                          size_t* length);
/** Offered question `index`'s line id, as told above. */
MURMEX_API int murmex_game_question_line_id(const murmex_game* game, int32_t index, char* buffer,
                                            size_t capacity, size_t* length);

/* A text the next choices can show: a unit's question or its answer. */
#define MURMEX_LINE_QUESTION 0
#define MURMEX_LINE_ANSWER 1
#define MURMEX_LOOKAHEAD_MAX_DEPTH 3
typedef struct murmex_line {
    int32_t character; /**< the character's index in the script */
    int32_t unit;      /**< the talk unit's index among the character's units */
    int32_t part;      /**< MURMEX_LINE_QUESTION or MURMEX_LINE_ANSWER */
    int32_t depth;     /**< the fewest choices from now that can show it, from 1 */
} murmex_line;
/** Lists what the next `depth` choices (1 to MURMEX_LOOKAHEAD_MAX_DEPTH) can
 * show from the screen now: the answers the offered questions lead to and
 * the questions offered then, each once, nearest first. Changes nothing and
 * tells no listener. *count gets how many there are; with more than
 * `capacity`, the first `capacity` are written and MURMEX_ERROR_BUFFER says
 * so. */
MURMEX_API int murmex_game_lookahead(const murmex_game* game, int32_t depth, murmex_line* lines,
                                     size_t capacity, size_t* count);
/** The line's id, written as murmex_game_answer_line_id writes it. */
MURMEX_API int murmex_script_line_id(const murmex_script* script, const murmex_line* line,
                                     char* buffer, size_t capacity, size_t* length);
/** The line's text, zero-terminated: the script's bytes (MURMEX_BYTES), or
 * UTF-8 without the '&' markers as the window shows it (MURMEX_TEXT). A
 * buffer too small gives MURMEX_ERROR_BUFFER and *length the length needed. */
MURMEX_API int murmex_script_line_text(const murmex_script* script, const murmex_line* line,
                                       int form, char* buffer, size_t capacity, size_t* length);

/** MURMEX_OK with the value, or MURMEX_ERROR_NOT_FOUND. Names are bytes, at
 * most 19 of them: a longer name finds the variable of its first 19 bytes,
 * and setting one is refused with MURMEX_ERROR_NAME_TOO_LONG. A game holds
 * at most 500 variables. */
MURMEX_API int murmex_game_variable(const murmex_game* game, const char* name, int32_t* value);
/** Sets a variable, creating it if need be (MURMEX_ERROR_MEMORY_FULL when
 * there is no slot left). */
MURMEX_API int murmex_game_set_variable(murmex_game* game, const char* name, int32_t value);
/** Removes a variable; MURMEX_ERROR_NOT_FOUND when there is none. */
MURMEX_API int murmex_game_remove_variable(murmex_game* game, const char* name);
/** Walks the variables a lookup finds, each once. Set *cursor to 0 first;
 * MURMEX_OK with the next name (borrowed until the game changes) and value,
 * or MURMEX_END. */
MURMEX_API int murmex_game_next_variable(const murmex_game* game, int32_t* cursor,
                                         const char** name, int32_t* value);
/** The money the game holds. */
MURMEX_API int murmex_game_money(const murmex_game* game, int32_t* out);
/** Sets the money. */
MURMEX_API int murmex_game_set_money(murmex_game* game, int32_t money);

/* Writes the game as bytes. With a null buffer or one too small,
 * MURMEX_ERROR_BUFFER and *written the size needed (at most
 * MURMEX_SAVE_MAX_BYTES). */
#define MURMEX_SAVE_MAX_BYTES 23359
MURMEX_API int murmex_game_save(const murmex_game* game, void* buffer, size_t capacity,
                                size_t* written);
/** Restores what murmex_game_save wrote: into the same script exactly, and
 * into an edited or translated one while it still holds the situation saved
 * (the character talked to, its state, the unit whose answer is shown).
 * Saves written before the format's version 2 restore into their own script
 * only. A refusal (MURMEX_ERROR_SAVED_GAME) changes nothing, and
 * murmex_game_last_error names the character and state it is about. */
MURMEX_API int murmex_game_restore(murmex_game* game, const void* data, size_t size);
/** The same, but any change of the script refuses. */
MURMEX_API int murmex_game_restore_strict(murmex_game* game, const void* data, size_t size);

/** Adds a listener for one MURMEX_EVENT_ kind; *id names it for removal.
 * Listeners hear events in the order they were added; one added from inside
 * a listener first hears the next event. */
MURMEX_API int murmex_game_listen(murmex_game* game, int kind, murmex_listener listener,
                                  void* user_data, uint32_t* id);
/** Adds a listener that hears MURMEX_EVENT_VARIABLE for one variable only:
 * the name as bytes, compared exactly with the name the game holds.
 * MURMEX_ERROR_RANGE for an empty name, MURMEX_ERROR_NAME_TOO_LONG for one
 * over 19 bytes. murmex_game_unlisten removes it. */
MURMEX_API int murmex_game_observe(murmex_game* game, const char* name, murmex_listener listener,
                                   void* user_data, uint32_t* id);
/** Removes a listener or an observer at any time, from inside a listener too. */
MURMEX_API int murmex_game_unlisten(murmex_game* game, uint32_t id);

/** The last failure on this game in words: the engine's text ("Character not
 * found!") or what an argument lacked. Never null; empty after a call that
 * succeeded, even when a listener it told had a call refused. Borrowed until
 * the next call on the game. */
MURMEX_API const char* murmex_game_last_error(const murmex_game* game);

/* ---- The whole screen in one call ---- */

/** What the window shows now. Texts are UTF-8 (the answer without markers),
 * never null, and borrowed like the game's other texts. */
typedef struct murmex_screen {
    const char* character;  /**< the character talked to; empty before any conversation */
    const char* answer;     /**< the answer shown */
    int32_t question_count; /**< the questions offered */
} murmex_screen;

/** Fills *out, and questions[0] to questions[question_count - 1] as
 * murmex_game_question would. A host then reads a step's screen with one
 * call instead of one per text. With fewer than question_count entries
 * (`capacity`; questions may be null when it is 0), MURMEX_ERROR_BUFFER:
 * *out is filled all the same, and the questions that fit. */
MURMEX_API int murmex_game_screen(const murmex_game* game, murmex_screen* out,
                                  murmex_question* questions, int32_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* MURMEX_MURMEX_H */

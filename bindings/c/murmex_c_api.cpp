// The C ABI over Script and Game. Every function checks its arguments first
// and answers a bad one with a code, so a caller in any language can hand in
// anything without crashing the library. Handles own C++ objects; a game's
// handle keeps its script alive.
#include "murmex/murmex.h"

#include "murmex/game.h"
#include "murmex/runtime_messages.h"
#include "murmex/script.h"
#include "text/fixed_format.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

static_assert(MURMEX_SAVE_MAX_BYTES == murmex::GAME_STATE_V2_MAX_BYTES);
static_assert(sizeof(murmex_load_error::detail) >= murmex::LOAD_DETAIL_TEXT_SIZE);
// The status text of MURMEX_ERROR_NAME_TOO_LONG gives the limit in figures.
static_assert(murmex::MAX_NAME_LENGTH == 19);

struct murmex_script {
    std::shared_ptr<const murmex::Script> script;
};

// What a C listener registered. The game's C++ listener carries a pointer to
// it. A record is freed when its listener is removed, so a game holds only
// the records of listeners still registered; the trampoline reads a record
// only before the call it makes, so a listener may remove itself.
struct CListener {
    murmex_listener callback;
    void* userData;
    CListener* next;
    const murmex_game* owner;
    uint32_t id;
};

struct murmex_game {
    std::unique_ptr<murmex::Game> game;
    // Words of the last failure: a fixed text, or the game's own words of a
    // refused restore, which live until its next restore.
    mutable const char* lastError = "";
    // The records of the listeners registered now.
    CListener* records = nullptr;
    // Freed by one of its listeners: the call telling them frees it when
    // they are done, and tells nobody more.
    bool freeAsked = false;
};

namespace {

using murmex::Game;
using murmex::Script;

struct StatusText {
    int code;
    const char* text;
};

constexpr StatusText STATUS_TEXTS[] = {
    {MURMEX_OK, "ok"},
    {MURMEX_END, "no more variables"},
    {MURMEX_ERROR_NULL, "a handle, an output or a buffer is null"},
    {MURMEX_ERROR_RANGE, "an index or a text form is out of range"},
    {MURMEX_ERROR_LOAD, "the script did not load"},
    {MURMEX_ERROR_MEMORY, "memory ran out"},
    {MURMEX_ERROR_BUFFER, "the buffer is too small"},
    {MURMEX_ERROR_NOT_FOUND, "no such character or variable"},
    {MURMEX_ERROR_FAILED, "the game failed"},
    {MURMEX_ERROR_NO_CONVERSATION, "no question is offered: start a character first"},
    {MURMEX_ERROR_MEMORY_FULL, "every variable slot holds another name"},
    {MURMEX_ERROR_SAVED_GAME, "the saved game was refused"},
    {MURMEX_ERROR_BUSY, "a listener may only read the game"},
    {MURMEX_ERROR_FLAGS, "the load was given a flag it does not know"},
    {MURMEX_ERROR_NAME_TOO_LONG, "a variable's name is longer than 19 bytes"},
};

// Event kinds are numbered from MURMEX_EVENT_VARIABLE up to this one.
constexpr int LAST_EVENT_KIND = MURMEX_EVENT_RESET;
static_assert(LAST_EVENT_KIND == static_cast<int>(murmex::GameEventKind::Reset));

// Words of failures whose code covers more than they do.
constexpr const char* NAMELESS_VARIABLE = "a variable needs a name";
constexpr const char* QUESTION_NOT_OFFERED = "no question is offered at that index";
constexpr const char* UNKNOWN_LISTENER = "no listener of this game has that id";

// Records the failure on the game, when there is one, and returns its code.
int fail(const murmex_game* game, int code, const char* words = nullptr) {
    if (game != nullptr) {
        game->lastError = words != nullptr ? words : murmex_status_message(code);
    }
    return code;
}

// Ends a call that may have told listeners. A listener's refused call is
// not this call's failure, so the last error becomes `words`; a game that a
// listener freed goes now.
int settle(murmex_game* game, int code, const char* words = "") {
    game->lastError = words;
    if (game->freeAsked) {
        murmex_game_free(game);
    }
    return code;
}

bool validForm(int form) {
    return form == MURMEX_BYTES || form == MURMEX_TEXT;
}

// Checks what every game call needs; MURMEX_OK or the code to return.
int checkGame(const murmex_game* game) {
    if (game == nullptr || game->game == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    game->lastError = "";
    return MURMEX_OK;
}

// A call that would change the game, made from inside a listener.
int checkChange(const murmex_game* game) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK) {
        return checked;
    }
    return game->game->notifying() ? fail(game, MURMEX_ERROR_BUSY) : MURMEX_OK;
}

void copyText(char* out, size_t capacity, const char* text) {
    const size_t length = std::strlen(text);
    const size_t kept = length < capacity ? length : capacity - 1;
    std::memcpy(out, text, kept);
    out[kept] = 0;
}

int finishLoad(std::shared_ptr<const Script> script, const murmex::LoadResult& result,
               murmex_script** out, murmex_load_error* error) {
    if (script == nullptr) {
        if (error != nullptr) {
            error->code = result.code;
            error->line = result.line;
            copyText(error->message, sizeof error->message, result.message);
            murmex::describeLoadDetail(result.detail, error->detail, sizeof error->detail);
        }
        return result.code == murmex::LOAD_MEMORY &&
                       result.detail.cause == murmex::LoadCause::OutOfMemory
                   ? MURMEX_ERROR_MEMORY
                   : MURMEX_ERROR_LOAD;
    }
    auto* handle = new (std::nothrow) murmex_script{std::move(script)};
    if (handle == nullptr) {
        return MURMEX_ERROR_MEMORY;
    }
    *out = handle;
    return MURMEX_OK;
}

// Refuses flags no load knows, so a caller's mistake is not read as plain.
int checkLoadFlags(int flags) {
    return (flags & ~MURMEX_LOAD_PLAIN) != 0 ? MURMEX_ERROR_FLAGS : MURMEX_OK;
}

int giveText(const char* bytes, const char* text, int form, const char** out) {
    *out = form == MURMEX_TEXT ? text : bytes;
    return MURMEX_OK;
}

void listenerTrampoline(void* userData, const murmex::GameEvent& event);

} // namespace

extern "C" {

const char* murmex_version(void) {
    return MURMEX_VERSION_STRING;
}

const char* murmex_status_message(int code) {
    for (const StatusText& entry : STATUS_TEXTS) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return "unknown status";
}

namespace {

// Why the file at `path` cannot be read, in the system's words. Asked after
// the load failed: a folder, a FIFO or a device is named as such and never
// opened (a FIFO would wait for a writer); any other file is opened once
// more for the system's reason.
const char* openFailure(const char* path) {
    using std::filesystem::file_type;
    std::error_code ignored;
    switch (std::filesystem::status(path, ignored).type()) {
    case file_type::directory:
        return "it is a folder";
    case file_type::fifo:
    case file_type::socket:
    case file_type::block:
    case file_type::character:
        return "it is not a regular file";
    default:
        break;
    }
    errno = 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file != nullptr) {
        std::fclose(file);
        return "it could not be read";
    }
    return errno != 0 ? std::strerror(errno) : "it could not be opened";
}

// The detail of a file that could not be opened names the file and the
// reason, so that a host's message says which file and why.
void nameUnopenedFile(const char* path, murmex_load_error* error) {
    const size_t kept = std::strlen(error->detail);
    murmex::formatText(error->detail + kept, sizeof error->detail - kept, ": %s: %s",
                       {path, openFailure(path)});
}

} // namespace

int murmex_script_load(const char* path, int flags, murmex_script** out, murmex_load_error* error) {
    if (path == nullptr || out == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    *out = nullptr;
    if (checkLoadFlags(flags) != MURMEX_OK) {
        return MURMEX_ERROR_FLAGS;
    }
    murmex::LoadResult result;
    auto script = Script::load(path, result, (flags & MURMEX_LOAD_PLAIN) != 0);
    const int status = finishLoad(std::move(script), result, out, error);
    if (status == MURMEX_ERROR_LOAD && error != nullptr &&
        result.code == murmex::LOAD_CANNOT_OPEN) {
        nameUnopenedFile(path, error);
    }
    return status;
}

int murmex_script_from_bytes(const void* data, size_t size, int flags, murmex_script** out,
                             murmex_load_error* error) {
    if (out == nullptr || (data == nullptr && size != 0)) {
        return MURMEX_ERROR_NULL;
    }
    *out = nullptr;
    if (checkLoadFlags(flags) != MURMEX_OK) {
        return MURMEX_ERROR_FLAGS;
    }
    murmex::LoadResult result;
    auto script = Script::fromMemory(data, size, result, (flags & MURMEX_LOAD_PLAIN) != 0);
    return finishLoad(std::move(script), result, out, error);
}

void murmex_script_free(murmex_script* script) {
    delete script;
}

int murmex_script_title(const murmex_script* script, int form, const char** out) {
    if (script == nullptr || out == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    if (!validForm(form)) {
        return MURMEX_ERROR_RANGE;
    }
    return giveText(script->script->title(), script->script->titleText(), form, out);
}

int murmex_script_colors(const murmex_script* script, murmex_color* window, murmex_color* text) {
    if (script == nullptr || window == nullptr || text == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    const murmex::Rgb color = script->script->color();
    const murmex::Rgb textColor = script->script->textColor();
    *window = {color.red, color.green, color.blue};
    *text = {textColor.red, textColor.green, textColor.blue};
    return MURMEX_OK;
}

int murmex_script_character_count(const murmex_script* script, int32_t* out) {
    if (script == nullptr || out == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    *out = script->script->characterCount();
    return MURMEX_OK;
}

int murmex_script_character_name(const murmex_script* script, int32_t index, int form,
                                 const char** out) {
    if (script == nullptr || out == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    const Script& loaded = *script->script;
    if (!validForm(form) || index < 0 || index >= loaded.characterCount()) {
        return MURMEX_ERROR_RANGE;
    }
    return giveText(loaded.characterName(index), loaded.characterNameText(index), form, out);
}

int murmex_game_new(const murmex_script* script, murmex_game** out) {
    if (script == nullptr || out == nullptr) {
        return MURMEX_ERROR_NULL;
    }
    *out = nullptr;
    auto* handle = new (std::nothrow) murmex_game{Game::create(script->script)};
    if (handle == nullptr || handle->game == nullptr) {
        delete handle;
        return MURMEX_ERROR_MEMORY;
    }
    *out = handle;
    return MURMEX_OK;
}

void murmex_game_free(murmex_game* game) {
    if (game == nullptr) {
        return;
    }
    if (game->game != nullptr && game->game->notifying()) {
        game->freeAsked = true;
        return;
    }
    game->game.reset();
    while (game->records != nullptr) {
        CListener* next = game->records->next;
        delete game->records;
        game->records = next;
    }
    delete game;
}

int murmex_game_start(murmex_game* game, const char* name) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK) {
        return checked;
    }
    if (name == nullptr) {
        return fail(game, MURMEX_ERROR_NULL);
    }
    if (game->game->start(name)) {
        return MURMEX_OK;
    }
    const bool missing = game->game->script().findCharacter(name) < 0;
    return fail(game, missing ? MURMEX_ERROR_NOT_FOUND : MURMEX_ERROR_FAILED,
                game->game->failure());
}

int murmex_game_reset(murmex_game* game) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK) {
        return checked;
    }
    game->game->reset();
    return settle(game, MURMEX_OK);
}

int murmex_game_answer(const murmex_game* game, int form, const char** out) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || out == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (!validForm(form)) {
        return fail(game, MURMEX_ERROR_RANGE);
    }
    return giveText(game->game->answer(), game->game->answerText(), form, out);
}

int murmex_game_character(const murmex_game* game, int form, const char** out) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || out == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (!validForm(form)) {
        return fail(game, MURMEX_ERROR_RANGE);
    }
    return giveText(game->game->characterName(), game->game->characterNameText(), form, out);
}

int murmex_game_question_count(const murmex_game* game, int32_t* out) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || out == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    *out = game->game->questionCount();
    return MURMEX_OK;
}

int murmex_game_question(const murmex_game* game, int32_t index, murmex_question* out) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || out == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (index < 0 || index >= game->game->questionCount()) {
        return fail(game, MURMEX_ERROR_RANGE, QUESTION_NOT_OFFERED);
    }
    const murmex::Question question = game->game->question(index);
    *out = {question.bytes, question.text, question.label,
            static_cast<uint32_t>(question.mnemonic)};
    return MURMEX_OK;
}

namespace {

static_assert(MURMEX_LINE_ID_MAX_BYTES == murmex::LINE_ID_SIZE);
static_assert(MURMEX_LOOKAHEAD_MAX_DEPTH == murmex::MAX_LOOKAHEAD_DEPTH);

// Hands over a text that was written into the caller's buffer, cut, as
// `whole` bytes long.
int giveWritten(const murmex_game* game, size_t whole, size_t capacity, size_t* length) {
    *length = whole;
    return whole < capacity ? MURMEX_OK : fail(game, MURMEX_ERROR_BUFFER);
}

bool validLine(const Script& script, const murmex_line* line) {
    return script.unit(line->character, line->unit) != nullptr &&
           (line->part == MURMEX_LINE_QUESTION || line->part == MURMEX_LINE_ANSWER);
}

murmex::LinePart linePart(int32_t part) {
    return part == MURMEX_LINE_QUESTION ? murmex::LinePart::Question : murmex::LinePart::Answer;
}

} // namespace

int murmex_game_answer_line_id(const murmex_game* game, char* buffer, size_t capacity,
                               size_t* length) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || length == nullptr || (buffer == nullptr && capacity != 0)) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    return giveWritten(game, game->game->answerLineId(buffer, capacity), capacity, length);
}

int murmex_game_question_line_id(const murmex_game* game, int32_t index, char* buffer,
                                 size_t capacity, size_t* length) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || length == nullptr || (buffer == nullptr && capacity != 0)) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (index < 0 || index >= game->game->questionCount()) {
        return fail(game, MURMEX_ERROR_RANGE, QUESTION_NOT_OFFERED);
    }
    return giveWritten(game, game->game->questionLineId(index, buffer, capacity), capacity, length);
}

int murmex_game_lookahead(const murmex_game* game, int32_t depth, murmex_line* lines,
                          size_t capacity, size_t* count) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || count == nullptr || (lines == nullptr && capacity != 0)) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (depth < 1 || depth > murmex::MAX_LOOKAHEAD_DEPTH) {
        return fail(game, MURMEX_ERROR_RANGE, "the lookahead depth is 1 to 3");
    }
    // More than every unit's two texts can never be found.
    constexpr size_t MOST = static_cast<size_t>(murmex::MAX_CHARACTERS) * murmex::MAX_UNITS * 2;
    const int32_t room = static_cast<int32_t>(capacity < MOST ? capacity : MOST);
    // Found a batch at a time on the stack and converted: murmex_line and
    // ShownLine differ in the part's type. Most screens need one batch.
    constexpr int32_t BATCH = 64;
    murmex::ShownLine found[BATCH];
    int32_t total = 0;
    for (int32_t first = 0;; first += BATCH) {
        total = game->game->lookahead(depth, found, BATCH, first);
        for (int32_t k = 0; k < BATCH && first + k < room && first + k < total; ++k) {
            const murmex::ShownLine& line = found[k];
            lines[first + k] = {line.character, line.unit,
                                line.part == murmex::LinePart::Question ? MURMEX_LINE_QUESTION
                                                                        : MURMEX_LINE_ANSWER,
                                line.depth};
        }
        if (first + BATCH >= room || first + BATCH >= total) {
            break;
        }
    }
    *count = static_cast<size_t>(total);
    return static_cast<size_t>(total) <= capacity ? MURMEX_OK : fail(game, MURMEX_ERROR_BUFFER);
}

int murmex_script_line_id(const murmex_script* script, const murmex_line* line, char* buffer,
                          size_t capacity, size_t* length) {
    if (script == nullptr || line == nullptr || length == nullptr ||
        (buffer == nullptr && capacity != 0)) {
        return MURMEX_ERROR_NULL;
    }
    const Script& loaded = *script->script;
    if (!validLine(loaded, line)) {
        return MURMEX_ERROR_RANGE;
    }
    return giveWritten(
        nullptr, loaded.lineId(line->character, line->unit, linePart(line->part), buffer, capacity),
        capacity, length);
}

int murmex_script_line_text(const murmex_script* script, const murmex_line* line, int form,
                            char* buffer, size_t capacity, size_t* length) {
    if (script == nullptr || line == nullptr || length == nullptr ||
        (buffer == nullptr && capacity != 0)) {
        return MURMEX_ERROR_NULL;
    }
    const Script& loaded = *script->script;
    if (!validLine(loaded, line) || !validForm(form)) {
        return MURMEX_ERROR_RANGE;
    }
    const murmex::TalkUnit& unit = *loaded.unit(line->character, line->unit);
    const char* bytes = line->part == MURMEX_LINE_QUESTION ? unit.question : unit.answer;
    const size_t size = std::strlen(bytes);
    if (form == MURMEX_BYTES) {
        if (size < capacity) {
            std::memcpy(buffer, bytes, size + 1);
        } else if (capacity > 0) {
            copyText(buffer, capacity, bytes);
        }
        return giveWritten(nullptr, size, capacity, length);
    }
    char unmarked[murmex::MAX_TEXT_LENGTH + 1];
    murmex::removeMnemonicMarks(bytes, size, unmarked, sizeof unmarked);
    char text[murmex::TEXT_SIZE];
    const size_t whole =
        murmex::decodeScriptText(unmarked, std::strlen(unmarked), text, sizeof text);
    if (capacity > 0) {
        copyText(buffer, capacity, text);
    }
    return giveWritten(nullptr, whole, capacity, length);
}

int murmex_game_choose(murmex_game* game, int32_t index) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK) {
        return checked;
    }
    if (game->game->questionCount() == 0) {
        return fail(game, MURMEX_ERROR_NO_CONVERSATION);
    }
    if (index < 0 || index >= game->game->questionCount()) {
        return fail(game, MURMEX_ERROR_RANGE, QUESTION_NOT_OFFERED);
    }
    switch (game->game->choose(index).kind) {
    case murmex::StepKind::Continued:
        return settle(game, MURMEX_STEP_CONTINUED);
    case murmex::StepKind::Switched:
        return settle(game, MURMEX_STEP_SWITCHED);
    case murmex::StepKind::Ended:
        return settle(game, MURMEX_STEP_ENDED);
    case murmex::StepKind::Failed:
        break;
    }
    return settle(game, MURMEX_STEP_FAILED, game->game->failure());
}

int murmex_game_variable(const murmex_game* game, const char* name, int32_t* value) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || name == nullptr || value == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    return game->game->variable(name, *value) ? MURMEX_OK : fail(game, MURMEX_ERROR_NOT_FOUND);
}

int murmex_game_set_variable(murmex_game* game, const char* name, int32_t value) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK || name == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (name[0] == 0) {
        return fail(game, MURMEX_ERROR_RANGE, NAMELESS_VARIABLE);
    }
    const int32_t result = game->game->setVariable(name, value);
    if (result == Game::NAME_TOO_LONG) {
        return fail(game, MURMEX_ERROR_NAME_TOO_LONG);
    }
    return result == 0 ? settle(game, MURMEX_OK) : fail(game, MURMEX_ERROR_MEMORY_FULL);
}

int murmex_game_remove_variable(murmex_game* game, const char* name) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK || name == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    return game->game->removeVariable(name) ? settle(game, MURMEX_OK)
                                            : fail(game, MURMEX_ERROR_NOT_FOUND);
}

int murmex_game_next_variable(const murmex_game* game, int32_t* cursor, const char** name,
                              int32_t* value) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || cursor == nullptr || name == nullptr || value == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (*cursor < 0 || *cursor > murmex::MEMORY_SLOTS) {
        return fail(game, MURMEX_ERROR_RANGE);
    }
    murmex::Variable found{};
    const int32_t slot = game->game->nextVariable(*cursor, found);
    if (slot < 0) {
        *cursor = murmex::MEMORY_SLOTS;
        return MURMEX_END;
    }
    *cursor = slot + 1;
    *name = found.name;
    *value = found.value;
    return MURMEX_OK;
}

int murmex_game_money(const murmex_game* game, int32_t* out) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || out == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    *out = game->game->money();
    return MURMEX_OK;
}

int murmex_game_set_money(murmex_game* game, int32_t money) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK) {
        return checked;
    }
    game->game->setMoney(money);
    return settle(game, MURMEX_OK);
}

int murmex_game_save(const murmex_game* game, void* buffer, size_t capacity, size_t* written) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || written == nullptr || (buffer == nullptr && capacity != 0)) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    const int32_t result = game->game->save(static_cast<uint8_t*>(buffer), capacity, *written);
    if (result == murmex::GAME_STATE_BUFFER_TOO_SMALL) {
        return fail(game, MURMEX_ERROR_BUFFER);
    }
    return result == murmex::GAME_STATE_OK
               ? MURMEX_OK
               : fail(game, MURMEX_ERROR_SAVED_GAME, murmex::gameStateMessage(result));
}

namespace {

// Restores with the game's own rule; a refusal is worded with the character
// and state it is about.
int restoreGame(murmex_game* game, const void* data, size_t size, bool strictly) {
    const int checked = checkChange(game);
    if (checked != MURMEX_OK || (data == nullptr && size != 0)) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    const int32_t result =
        strictly ? game->game->restoreStrictly(bytes, size) : game->game->restore(bytes, size);
    return result == murmex::GAME_STATE_OK
               ? settle(game, MURMEX_OK)
               : fail(game, MURMEX_ERROR_SAVED_GAME, game->game->refusal());
}

} // namespace

int murmex_game_restore(murmex_game* game, const void* data, size_t size) {
    return restoreGame(game, data, size, false);
}

int murmex_game_restore_strict(murmex_game* game, const void* data, size_t size) {
    return restoreGame(game, data, size, true);
}

namespace {

// Registers a C listener of every event of `kind`, or an observer of
// `variable` when it is not null.
int addListener(murmex_game* game, int kind, const char* variable, murmex_listener listener,
                void* userData, uint32_t* id) {
    auto* record = new (std::nothrow) CListener{listener, userData, game->records, game, 0};
    murmex::ListenerId added = 0;
    if (record != nullptr) {
        added = variable != nullptr ? game->game->observe(variable, listenerTrampoline, record)
                                    : game->game->listen(static_cast<murmex::GameEventKind>(kind),
                                                         listenerTrampoline, record);
    }
    if (added == 0) {
        delete record;
        return fail(game, MURMEX_ERROR_MEMORY);
    }
    record->id = added;
    game->records = record;
    *id = added;
    return MURMEX_OK;
}

} // namespace

int murmex_game_listen(murmex_game* game, int kind, murmex_listener listener, void* user_data,
                       uint32_t* id) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || listener == nullptr || id == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (kind < MURMEX_EVENT_VARIABLE || kind > LAST_EVENT_KIND) {
        return fail(game, MURMEX_ERROR_RANGE);
    }
    return addListener(game, kind, nullptr, listener, user_data, id);
}

int murmex_game_observe(murmex_game* game, const char* name, murmex_listener listener,
                        void* user_data, uint32_t* id) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || name == nullptr || listener == nullptr || id == nullptr) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    const size_t length = std::strlen(name);
    if (length == 0) {
        return fail(game, MURMEX_ERROR_RANGE, NAMELESS_VARIABLE);
    }
    if (length > static_cast<size_t>(murmex::MAX_NAME_LENGTH)) {
        return fail(game, MURMEX_ERROR_NAME_TOO_LONG);
    }
    return addListener(game, MURMEX_EVENT_VARIABLE, name, listener, user_data, id);
}

int murmex_game_unlisten(murmex_game* game, uint32_t id) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK) {
        return checked;
    }
    if (!game->game->unlisten(id)) {
        return fail(game, MURMEX_ERROR_NOT_FOUND, UNKNOWN_LISTENER);
    }
    // The game no longer calls the listener, so its record can go.
    for (CListener** link = &game->records; *link != nullptr; link = &(*link)->next) {
        if ((*link)->id == id) {
            CListener* removed = *link;
            *link = removed->next;
            delete removed;
            break;
        }
    }
    return MURMEX_OK;
}

const char* murmex_game_last_error(const murmex_game* game) {
    return game == nullptr ? murmex_status_message(MURMEX_ERROR_NULL) : game->lastError;
}

} // extern "C"

namespace {

void listenerTrampoline(void* userData, const murmex::GameEvent& event) {
    // Copied first: the call may remove this listener and free its record.
    const CListener record = *static_cast<const CListener*>(userData);
    // A game freed by an earlier listener tells nobody more.
    if (record.owner->freeAsked) {
        return;
    }
    murmex_event out{};
    out.kind = static_cast<int32_t>(event.kind);
    out.name = event.name;
    out.name_text = event.nameText;
    out.value = event.value;
    out.previous = event.previous;
    out.present = event.present ? 1 : 0;
    out.answer = event.answer;
    out.answer_text = event.answerText;
    record.callback(record.userData, &out);
}

} // namespace

// ---- The whole screen in one call

extern "C" int murmex_game_screen(const murmex_game* game, murmex_screen* out,
                                  murmex_question* questions, int32_t capacity) {
    const int checked = checkGame(game);
    if (checked != MURMEX_OK || out == nullptr || (questions == nullptr && capacity != 0)) {
        return checked != MURMEX_OK ? checked : fail(game, MURMEX_ERROR_NULL);
    }
    if (capacity < 0) {
        return fail(game, MURMEX_ERROR_RANGE);
    }
    const Game& played = *game->game;
    const int32_t count = played.questionCount();
    *out = {played.characterNameText(), played.answerText(), count};
    const int32_t filled = count < capacity ? count : capacity;
    for (int32_t index = 0; index < filled; ++index) {
        const murmex::Question question = played.question(index);
        questions[index] = {question.bytes, question.text, question.label,
                            static_cast<uint32_t>(question.mnemonic)};
    }
    return filled == count ? MURMEX_OK : fail(game, MURMEX_ERROR_BUFFER);
}

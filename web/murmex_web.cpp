// What the web page needs beside the C functions, so that it rewrites none of
// the player's rules in JavaScript: the window's colours derived from the
// header's two, the window's text for a failed load, where a label's marked
// character stands and the case form mnemonics match in, listeners and
// observers that hand a game's events to JavaScript, and how much of the
// module's memory is in use.
#include "murmex/murmex.h"
#include "murmex/script_text.h"
#include "window/derived_colors.h"
#include "window/load_error_text.h"

#include <emscripten.h>
#include <emscripten/emmalloc.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

// The five colours in the order murmex_web_window_colors writes them.
enum WindowColor : uint32_t { WINDOW, LINE, QUESTION_TEXT, HOVER_TEXT, ANSWER_TEXT, COLOR_COUNT };

} // namespace

extern "C" {

// Imported from the JavaScript that instantiates the module: calls the
// listener registered there under `token`, which reads the event while this
// call lasts.
__attribute__((import_module("env"), import_name("murmex_web_heard"))) void
murmex_web_heard(int32_t token, const murmex_event* event);

// Writes the window's five colours (background, text background, question
// text, hovered question text, answer text) as 0xBBGGRR values.
EMSCRIPTEN_KEEPALIVE int murmex_web_window_colors(const murmex_script* script, uint32_t* out) {
    murmex_color window{};
    murmex_color text{};
    const int status = murmex_script_colors(script, &window, &text);
    if (status != MURMEX_OK || out == nullptr) {
        return status != MURMEX_OK ? status : MURMEX_ERROR_NULL;
    }
    const kestrine::DerivedColors colors = kestrine::DerivedColors::from(
        {window.red, window.green, window.blue}, {text.red, text.green, text.blue});
    out[WINDOW] = colors.windowColor;
    out[LINE] = colors.lineColor;
    out[QUESTION_TEXT] = colors.questionTextColor;
    out[HOVER_TEXT] = colors.hoverTextColor;
    out[ANSWER_TEXT] = colors.answerTextColor;
    static_assert(COLOR_COUNT == 5);
    return MURMEX_OK;
}

// The message the window's box shows for a failed load; valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* murmex_web_load_error_text(const murmex_load_error* error) {
    static std::string text;
    text = error != nullptr ? kestrine::loadErrorText(error->code, error->line, error->message)
                            : std::string();
    return text.c_str();
}

// Where the marked character starts in the text's label, in bytes, or -1
// when the text marks none: the label of the text up to the first prefix
// that marks a character, without that character.
EMSCRIPTEN_KEEPALIVE int32_t murmex_web_mnemonic_offset(const char* text) {
    if (text == nullptr) {
        return -1;
    }
    const size_t length = std::strlen(text);
    for (size_t end = 1; end <= length; ++end) {
        if (murmex::mnemonicOf(text, end) != 0) {
            std::string label(end, '\0');
            return static_cast<int32_t>(
                murmex::removeMnemonicMarks(text, end - 1, label.data(), label.size()));
        }
    }
    return -1;
}

// A key's letter and a question's mnemonic match when these are equal.
EMSCRIPTEN_KEEPALIVE uint32_t murmex_web_fold_mnemonic(uint32_t letter) {
    return static_cast<uint32_t>(murmex::foldMnemonicCase(static_cast<char32_t>(letter)));
}

// The C listener of every JavaScript one: the token names it to murmex.js.
static void heardByToken(void* userData, const murmex_event* event) {
    murmex_web_heard(static_cast<int32_t>(reinterpret_cast<intptr_t>(userData)), event);
}

static void* tokenData(int32_t token) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(token));
}

// Adds a listener that hands each event of `kind` to JavaScript with `token`.
EMSCRIPTEN_KEEPALIVE int murmex_web_listen(murmex_game* game, int kind, int32_t token,
                                           uint32_t* id) {
    return murmex_game_listen(game, kind, heardByToken, tokenData(token), id);
}

// The same for the changes of the one variable `name`.
EMSCRIPTEN_KEEPALIVE int murmex_web_observe(murmex_game* game, const char* name, int32_t token,
                                            uint32_t* id) {
    return murmex_game_observe(game, name, heardByToken, tokenData(token), id);
}

// Bytes the allocator has handed out and not had back; the memory itself
// never shrinks, so this is what shows whether freed games went.
EMSCRIPTEN_KEEPALIVE uint32_t murmex_web_heap_in_use() {
    return static_cast<uint32_t>(emmalloc_dynamic_heap_size() - emmalloc_free_dynamic_memory());
}

} // extern "C"

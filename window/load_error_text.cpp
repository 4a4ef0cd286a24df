// The load error message of the player.
#include "window/load_error_text.h"

#include "text/fixed_format.h"

namespace kestrine {

namespace {
// Room for the load error text: every load error message fits in it.
constexpr size_t LOAD_ERROR_TEXT_SIZE = 100;
} // namespace

std::string loadErrorText(int32_t code, int32_t line, const char* message) {
    char text[LOAD_ERROR_TEXT_SIZE];
    murmex::formatText(text, sizeof(text), "Err=%i\nLine=%i\nErrStr=%s", {code, line, message});
    return text;
}

} // namespace kestrine

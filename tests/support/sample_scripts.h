// Whole scripts shared by the tool's tests: the smallest one that can be
// talked to, also grown to a given size, and one that reaches every kind of
// step and failure.
#pragma once

#include "support/script_text.h"

#include <cstddef>
#include <string>

namespace murmex::testing {

// The smallest script with one character that can be talked to.
inline std::string smallScript() {
    return scriptWithHeader(
        {
            "\"Intro\" {",
            "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"-1\" Q = \"Bye.\" A = \"Bye.\" ACT = \"ACT_NONE\" }",
            "}",
        },
        {.title = "Small"});
}

// The small script grown to at least `size` bytes by comment lines after it.
inline std::string smallScriptOfSize(size_t size) {
    std::string text = smallScript();
    while (text.size() < size) {
        text += "# a comment line that only makes the script longer\r\n";
    }
    return text;
}

// For the tests of playing: every kind of step the window knows (go on, hand
// over, end) and every way a step can fail, reachable in one or two choices
// from the start. Intro offers, in this order: 1 "Count" (sets count = 3; its
// own state then offers "Pay", which takes 2 money), 2 "Forget" (removes
// count: fails while it is not set), 3 "Go to Bob", 4 "Bye" (ends the
// conversation), 5 "Dead end" (a state without questions). Bob offers "Go to
// Nobody", a hand-over to a character that does not exist, and "Back".
inline std::string playScript() {
    // One unit a line, as in a script file.
    // clang-format off
    return scriptWithHeader({
        "\"Intro\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello &there, fish && chips.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"1\" Q = \"&Count\" A = \"Counted.\" ACT = \"ACT_ADD_MEM\" PARAM = \"count\" VAL = \"3\" }",
        "  { S = \"1\" N = \"0\" Q = \"Pay\" A = \"Paid.\" ACT = \"ACT_SUB_MONEY\" PARAM = \"coins\" VAL = \"2\" }",
        "  { S = \"0\" N = \"0\" Q = \"Forget\" A = \"Forgotten.\" ACT = \"ACT_SUB_MEM\" PARAM = \"count\" }",
        "  { S = \"0\" N = \"0\" Q = \"Go to Bob\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Bob\" }",
        "  { S = \"0\" N = \"-1\" Q = \"Bye\" A = \"Bye.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"2\" Q = \"Dead end\" A = \"Nothing here.\" ACT = \"ACT_NONE\" }",
        "}",
        "\"Bob\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Bob here.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"0\" Q = \"Go to Nobody\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Nobody\" }",
        "  { S = \"0\" N = \"0\" Q = \"Back\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Intro\" }",
        "}",
    }, {.title = "Trial & Error"});
    // clang-format on
}

// Items a host keeps: Intro offers "Ask" (gives two of an item whose name is
// Windows-1252) and, in its next state, "Return" (takes it back).
inline std::string itemScript() {
    // clang-format off
    return scriptWithHeader({
        "\"Intro\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"1\" Q = \"Ask\" A = \"Take them.\" ACT = \"ACT_ADD_INV\" PARAM = \"Caf\xE9 key\" VAL = \"2\" }",
        "  { S = \"1\" N = \"0\" Q = \"Return\" A = \"Thanks.\" ACT = \"ACT_SUB_INV\" PARAM = \"Caf\xE9 key\" }",
        "}",
    });
    // clang-format on
}

} // namespace murmex::testing

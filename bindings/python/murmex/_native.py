"""The C library behind the package: where it is found, and the prototype of
every function the package calls.

Every prototype is declared, so ctypes converts and checks each argument
instead of guessing at an int, and a pointer result is never cut to 32 bits.
"""

from __future__ import annotations

import ctypes
import ctypes.util
import os
import sys
import sysconfig
from pathlib import Path

# Status codes, as the C header defines them.
OK = 0
END = 1
ERROR_NULL = -1
ERROR_RANGE = -2
ERROR_LOAD = -3
ERROR_MEMORY = -4
ERROR_BUFFER = -5
ERROR_NOT_FOUND = -6
ERROR_FAILED = -7
ERROR_NO_CONVERSATION = -8
ERROR_MEMORY_FULL = -9
ERROR_SAVED_GAME = -10
ERROR_BUSY = -11
ERROR_FLAGS = -12
ERROR_NAME_TOO_LONG = -13

# Text forms: the script's own bytes, or UTF-8 decoded from them.
BYTES = 0
TEXT = 1

LOAD_PLAIN = 1

# A variable's name holds at most this many bytes; a game at most this many
# variables.
MAX_NAME_BYTES = 19
MAX_VARIABLES = 500

# The C side takes 32-bit integers; a Python int outside this range would be
# cut silently by ctypes, so callers check against it first.
INT32_MIN = -(2**31)
INT32_MAX = 2**31 - 1
UINT32_MAX = 2**32 - 1

# The variable set by MURMEX_LIBRARY names the library file to use, for a
# build tree or a test run; it wins over every place searched below.
LIBRARY_VARIABLE = "MURMEX_LIBRARY"


class LoadErrorRecord(ctypes.Structure):
    _fields_ = [
        ("code", ctypes.c_int32),
        ("line", ctypes.c_int32),
        ("message", ctypes.c_char * 64),
        ("detail", ctypes.c_char * 200),
    ]


class Color(ctypes.Structure):
    _fields_ = [
        ("red", ctypes.c_uint8),
        ("green", ctypes.c_uint8),
        ("blue", ctypes.c_uint8),
    ]


class QuestionRecord(ctypes.Structure):
    _fields_ = [
        ("bytes", ctypes.c_char_p),
        ("text", ctypes.c_char_p),
        ("label", ctypes.c_char_p),
        ("mnemonic", ctypes.c_uint32),
    ]


# The most questions a game offers at once; a screen call says so should a
# script ever offer more, and the package then asks again with room for all.
SCREEN_QUESTIONS = 5


# A question record's size in pointers: its first field, the bytes, is then
# every QUESTION_STRIDE-th pointer of an array of records.
QUESTION_STRIDE, _rest = divmod(ctypes.sizeof(QuestionRecord), ctypes.sizeof(ctypes.c_char_p))
assert _rest == 0 and QuestionRecord.bytes.offset == 0


# A line id holds at most this many bytes, not counting its zero.
LINE_ID_MAX_BYTES = 342

# A line's part.
LINE_QUESTION = 0
LINE_ANSWER = 1


class LineRecord(ctypes.Structure):
    _fields_ = [
        ("character", ctypes.c_int32),
        ("unit", ctypes.c_int32),
        ("part", ctypes.c_int32),
        ("depth", ctypes.c_int32),
    ]


class ScreenRecord(ctypes.Structure):
    _fields_ = [
        ("character", ctypes.c_char_p),
        ("answer", ctypes.c_char_p),
        ("question_count", ctypes.c_int32),
    ]


class EventRecord(ctypes.Structure):
    _fields_ = [
        ("kind", ctypes.c_int32),
        ("name", ctypes.c_char_p),
        ("name_text", ctypes.c_char_p),
        ("value", ctypes.c_int32),
        ("previous", ctypes.c_int32),
        ("present", ctypes.c_int32),
        ("answer", ctypes.c_char_p),
        ("answer_text", ctypes.c_char_p),
    ]


LISTENER = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.POINTER(EventRecord))

_script_p = ctypes.c_void_p
_game_p = ctypes.c_void_p
_int = ctypes.c_int
_i32 = ctypes.c_int32
_out_text = ctypes.POINTER(ctypes.c_char_p)
_out_i32 = ctypes.POINTER(ctypes.c_int32)
_out_size = ctypes.POINTER(ctypes.c_size_t)
_line_p = ctypes.POINTER(LineRecord)

# name: (result, argument types). One table, so a prototype can't be missed.
_PROTOTYPES = {
    "murmex_version": (ctypes.c_char_p, []),
    "murmex_status_message": (ctypes.c_char_p, [_int]),
    "murmex_script_load": (
        _int,
        [ctypes.c_char_p, _int, ctypes.POINTER(_script_p), ctypes.POINTER(LoadErrorRecord)],
    ),
    "murmex_script_from_bytes": (
        _int,
        [ctypes.c_void_p, ctypes.c_size_t, _int, ctypes.POINTER(_script_p),
         ctypes.POINTER(LoadErrorRecord)],
    ),
    "murmex_script_free": (None, [_script_p]),
    "murmex_script_title": (_int, [_script_p, _int, _out_text]),
    "murmex_script_colors": (_int, [_script_p, ctypes.POINTER(Color), ctypes.POINTER(Color)]),
    "murmex_script_character_count": (_int, [_script_p, _out_i32]),
    "murmex_script_character_name": (_int, [_script_p, _i32, _int, _out_text]),
    "murmex_game_new": (_int, [_script_p, ctypes.POINTER(_game_p)]),
    "murmex_game_free": (None, [_game_p]),
    "murmex_game_start": (_int, [_game_p, ctypes.c_char_p]),
    "murmex_game_reset": (_int, [_game_p]),
    "murmex_game_answer": (_int, [_game_p, _int, _out_text]),
    "murmex_game_character": (_int, [_game_p, _int, _out_text]),
    "murmex_game_question_count": (_int, [_game_p, _out_i32]),
    "murmex_game_question": (_int, [_game_p, _i32, ctypes.POINTER(QuestionRecord)]),
    "murmex_game_choose": (_int, [_game_p, _i32]),
    "murmex_game_answer_line_id": (
        _int, [_game_p, ctypes.c_char_p, ctypes.c_size_t, _out_size]
    ),
    "murmex_game_question_line_id": (
        _int, [_game_p, _i32, ctypes.c_char_p, ctypes.c_size_t, _out_size]
    ),
    "murmex_game_lookahead": (_int, [_game_p, _i32, _line_p, ctypes.c_size_t, _out_size]),
    "murmex_script_line_id": (
        _int, [_script_p, _line_p, ctypes.c_char_p, ctypes.c_size_t, _out_size]
    ),
    "murmex_script_line_text": (
        _int, [_script_p, _line_p, _int, ctypes.c_char_p, ctypes.c_size_t, _out_size]
    ),
    "murmex_game_variable": (_int, [_game_p, ctypes.c_char_p, _out_i32]),
    "murmex_game_set_variable": (_int, [_game_p, ctypes.c_char_p, _i32]),
    "murmex_game_remove_variable": (_int, [_game_p, ctypes.c_char_p]),
    "murmex_game_next_variable": (_int, [_game_p, _out_i32, _out_text, _out_i32]),
    "murmex_game_money": (_int, [_game_p, _out_i32]),
    "murmex_game_set_money": (_int, [_game_p, _i32]),
    "murmex_game_save": (
        _int, [_game_p, ctypes.c_void_p, ctypes.c_size_t, ctypes.POINTER(ctypes.c_size_t)]
    ),
    "murmex_game_restore": (_int, [_game_p, ctypes.c_void_p, ctypes.c_size_t]),
    "murmex_game_restore_strict": (_int, [_game_p, ctypes.c_void_p, ctypes.c_size_t]),
    "murmex_game_screen": (
        _int, [_game_p, ctypes.POINTER(ScreenRecord), ctypes.POINTER(QuestionRecord), _i32]
    ),
    "murmex_game_listen": (
        _int, [_game_p, _int, LISTENER, ctypes.c_void_p, ctypes.POINTER(ctypes.c_uint32)]
    ),
    "murmex_game_observe": (
        _int, [_game_p, ctypes.c_char_p, LISTENER, ctypes.c_void_p, ctypes.POINTER(ctypes.c_uint32)]
    ),
    "murmex_game_unlisten": (_int, [_game_p, ctypes.c_uint32]),
    "murmex_game_last_error": (ctypes.c_char_p, [_game_p]),
}


def _file_names() -> list[str]:
    if sys.platform == "win32":
        return ["murmex.dll"]
    if sys.platform == "darwin":
        return ["libmurmex.1.dylib", "libmurmex.dylib"]
    return ["libmurmex.so.1"]


def _candidates() -> list[str]:
    """Where the library may be, in the order tried."""
    chosen = os.environ.get(LIBRARY_VARIABLE)
    if chosen:
        # Named on purpose: no other place is tried, so a wrong path is an
        # error instead of a silent fall-back to another copy.
        return [chosen]
    package = Path(__file__).resolve().parent
    # Installed, the package sits in PREFIX/lib/python3/dist-packages/murmex
    # and the library in PREFIX/lib, or in its multiarch folder on Debian
    # (PREFIX/lib/x86_64-linux-gnu).
    folders = [package] + list(package.parents[2:3])
    multiarch = sysconfig.get_config_var("MULTIARCH")
    if multiarch and len(package.parents) > 2:
        folders.append(package.parents[2] / multiarch)
    found = [str(folder / name) for folder in folders for name in _file_names()]
    found = [path for path in found if os.path.exists(path)]
    system = ctypes.util.find_library("murmex")
    if system:
        found.append(system)
    return found


def _open() -> ctypes.CDLL:
    tried = _candidates()
    failures = []
    for path in tried:
        try:
            return ctypes.CDLL(path)
        except OSError as error:
            failures.append(f"{path}: {error}")
    if not tried:
        raise ImportError(
            "the murmex library was not found: set MURMEX_LIBRARY to the path of "
            + " or ".join(_file_names())
            + ", or install it beside the package"
        )
    raise ImportError("the murmex library did not open: " + "; ".join(failures))


def _declare(library: ctypes.CDLL) -> ctypes.CDLL:
    for name, (result, arguments) in _PROTOTYPES.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments
    return library


lib = _declare(_open())


def unconverted(name: str) -> ctypes._CFuncPtr:
    """A second handle on a function that returns int, with no prototype:
    converting each argument costs a call made on every step more than the
    library takes for it. The caller passes only exact C values: a handle
    as the c_void_p it was given, pointers made once with byref, and ints
    it has checked to fit 32 bits."""
    function = lib[name]
    function.restype = ctypes.c_int
    return function


def status_message(code: int) -> str:
    return lib.murmex_status_message(code).decode("utf-8", "replace")

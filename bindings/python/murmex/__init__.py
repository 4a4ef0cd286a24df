"""Murmex conversation scripts for Python: load a script once, play any number
of games over it, hear what each game changes, and save and restore a game as
bytes::

    script = murmex.Script.load("demo.chr.txt", plain=True)
    with script.new_game() as game:
        game.start("Intro")
        print(game.character, game.answer)
        for question in game.questions:
            print(question.label)
        game.choose(0)

Every text comes from the library already decoded (UTF-8 kept, anything else
read as Windows-1252) and, for labels and answers, without '&' markers; the
package decodes nothing itself. Names going in (characters, variables) are
bytes as the script holds them: a str is encoded as UTF-8, bytes are passed
as they are.
"""

from __future__ import annotations

import ctypes
import enum
import operator
import os
import weakref
from collections.abc import Callable, Iterator, MutableMapping
from dataclasses import dataclass
from typing import NamedTuple, Optional, Union

from . import _native
from ._native import lib

__all__ = [
    "Event",
    "EventKind",
    "GameEvent",
    "Game",
    "Line",
    "LoadError",
    "MurmexError",
    "OutOfRangeError",
    "Question",
    "SavedGameError",
    "Screen",
    "Script",
    "Step",
    "Variables",
    "version",
]

Name = Union[str, bytes]
Listener = Callable[["GameEvent"], None]


class MurmexError(Exception):
    """Every failure the library reports: a call it refused or a game that
    failed, in the library's words, which are never empty; `code` is the
    library's negative status code (``MURMEX_ERROR_`` in murmex.h)."""

    def __init__(self, message: str, code: int) -> None:
        message = message or _native.status_message(code)
        super().__init__(message)
        self.code = code
        self.message = message


class LoadError(MurmexError):
    """A script that did not load: the loader's code (-1 to -5), the 1-based
    line it had reached, the fixed text the player's box shows (may be empty)
    and the cause in plain words (may be empty). A file that could not be
    opened also gives its `path` and the system's `reason`, which the
    cause names too."""

    def __init__(self, code: int, line: int, message: str, detail: str,
                 path: Optional[str] = None, reason: str = "") -> None:
        words = detail or message or _native.status_message(_native.ERROR_LOAD)
        # The library's words name a file that could not be opened, and why.
        shown = f"line {line}: {words}" if path is None else words
        super().__init__(shown, code)
        self.line = line
        self.message = message
        self.detail = detail
        self.path = path
        self.reason = reason


class SavedGameError(MurmexError):
    """A saved game the library refused; the game is unchanged."""


class OutOfRangeError(MurmexError, IndexError):
    """An index the library refused, such as a question that is not offered;
    an IndexError as well."""


class Step(enum.IntEnum):
    """Where a choice took the game. Printed, a step is its name
    ("continued"); compared, it is the library's number."""

    CONTINUED = 0  # the same character answered
    SWITCHED = 1  # another character took the conversation over
    ENDED = 2  # the conversation ended; the first character started again
    FAILED = 3  # the game failed and is over; Game.last_error says why

    def __str__(self) -> str:
        return self.name.lower()

    def __format__(self, format_spec: str) -> str:
        return format(str(self), format_spec)


class EventKind(enum.IntEnum):
    """What a listener can hear. The value is the library's number; str(kind)
    and kind.text give the name every binding calls it by ("item-given"),
    which EventKind() and Game.on take as well as the member or the number."""

    VARIABLE = 1  # a variable was set to another value, created or removed
    MONEY = 2  # money changed
    HAND_OVER = 3  # a unit handed the conversation to another character
    ENDED = 4  # a conversation ended
    ITEM_GIVEN = 5  # a unit gave an item: its name, and the count as value
    ITEM_TAKEN = 6  # a unit took an item: its name
    RESTORED = 7  # a saved game was restored
    RESET = 8  # the game was reset

    @property
    def text(self) -> str:
        return _KIND_TEXTS[self]

    def __str__(self) -> str:
        return self.text

    def __format__(self, format_spec: str) -> str:
        return format(self.text, format_spec)

    @classmethod
    def _missing_(cls, value: object) -> Optional["EventKind"]:
        return _KINDS_BY_TEXT.get(value) if isinstance(value, str) else None


# The names every binding gives the event kinds.
_KIND_TEXTS = {
    EventKind.VARIABLE: "variable",
    EventKind.MONEY: "money",
    EventKind.HAND_OVER: "handover",
    EventKind.ENDED: "ended",
    EventKind.ITEM_GIVEN: "item-given",
    EventKind.ITEM_TAKEN: "item-taken",
    EventKind.RESTORED: "restored",
    EventKind.RESET: "reset",
}
_KINDS_BY_TEXT = {text: kind for kind, text in _KIND_TEXTS.items()}
# By number, for the calls on every step and event: looking a member up by
# value through the enum costs more than the call to the library.
_KINDS = {int(kind): kind for kind in EventKind}
_STEPS = tuple(Step)

# The name the package had first; the same class.
Event = EventKind


@dataclass(frozen=True)
class Question:
    """One offered question."""

    text: str  # UTF-8, markers included
    label: str  # what the window shows: without the '&' markers
    mnemonic: Optional[str]  # the marked character, or None
    bytes: bytes  # as the script holds it, markers included
    # The id the translation export gives the question ("Mara/S1/2/Q"): the
    # one key for its translation and its recorded voice.
    line_id: str = ""


class Line(NamedTuple):
    """A text the next choices can show (see Game.lookahead): its line id,
    the text as the window shows it (without markers), whether it is a
    unit's "question" or its "answer", and the fewest choices from now that
    can show it (from 1)."""

    id: str
    text: str
    part: str
    depth: int


class Screen(NamedTuple):
    """What the window shows now: the character talked to, the answer shown
    (without markers) and the questions offered."""

    character: str
    answer: str
    questions: tuple[Question, ...]


@dataclass(frozen=True)
class GameEvent:
    """What a listener hears. `name` is the variable's (VARIABLE), the
    character's (HAND_OVER) or the item's (ITEM_GIVEN, ITEM_TAKEN), else None; `answer` is the ending unit's answer
    (ENDED), which no window shows, else None."""

    kind: EventKind
    name: Optional[str]
    value: int  # variable: its value (0 once removed); money: the new amount
    previous: int  # the value or amount before (0 for a new variable)
    present: bool  # variable: True while it exists, False once removed
    answer: Optional[str]
    # The name as the script holds it, for looking the variable up exactly.
    name_bytes: Optional[bytes] = None


# The calls of every step.
_choose = _native.unconverted("murmex_game_choose")
_screen = _native.unconverted("murmex_game_screen")
# Made without the named tuple's own __new__, which costs as much again.
_new_screen = tuple.__new__
# Offers a script keeps made; far more than most scripts hold in all.
_KNOWN_OFFERS = 4096
_STRIDE = _native.QUESTION_STRIDE
_PARTS = {_native.LINE_QUESTION: "question", _native.LINE_ANSWER: "answer"}


def version() -> str:
    """The library's version, such as "1.0.0"."""
    return lib.murmex_version().decode("ascii")


def _encoded(name: Name, what: str) -> bytes:
    # surrogateescape lets a name that iteration handed out (see Variables)
    # come back to the exact bytes it was read from.
    if isinstance(name, str):
        data = name.encode("utf-8", "surrogateescape")
    elif isinstance(name, (bytes, bytearray)):
        data = bytes(name)
    else:
        raise TypeError(f"a {what} is str or bytes, not {type(name).__name__}")
    if b"\0" in data:
        # The library reads up to the first zero byte; the rest would be
        # dropped without a word.
        raise ValueError(f"a {what} cannot hold a zero byte")
    return data


def _int32(value: int, what: str) -> int:
    number = operator.index(value)
    if not _native.INT32_MIN <= number <= _native.INT32_MAX:
        raise OverflowError(f"{what} {number} does not fit in 32 bits")
    return number


def _data(data: object) -> bytes:
    # memoryview refuses an int, which bytes() would take as a length.
    return memoryview(data).tobytes()  # type: ignore[arg-type]


def _text(raw: Optional[bytes]) -> str:
    return raw.decode("utf-8") if raw else ""


# The loader's code for a file it could not open or read.
_LOAD_CANNOT_OPEN = -1


def _open_failure(path: str, detail: str) -> str:
    """The system's words for why the file cannot be read, which the
    library's detail gives after the file's name."""
    marker = f": {path}: "
    return detail.split(marker, 1)[1] if marker in detail else ""


class _Closing:
    """A holder of a library handle: closed by `with`, or when collected."""

    def close(self) -> None:
        raise NotImplementedError

    def __enter__(self):
        return self

    def __exit__(self, *exception: object) -> None:
        self.close()

    def __del__(self) -> None:
        try:
            self.close()
        except Exception:
            # At interpreter exit the module's globals may be gone already.
            pass


class _ScriptHandle:
    """The library's script handle, freed once nothing holds it: the Script
    and each of its games hold it, because a game reads its lookahead's
    lines through it and the handle dies at murmex_script_free (the library
    keeps only the script's model alive for its games)."""

    __slots__ = ("handle",)

    def __init__(self, handle: ctypes.c_void_p) -> None:
        self.handle = handle

    def __del__(self) -> None:
        try:
            lib.murmex_script_free(self.handle)
        except Exception:
            # At interpreter exit the module's globals may be gone already.
            pass


class Script(_Closing):
    """A loaded script: immutable, shared by every game made from it."""

    def __init__(self, handle: ctypes.c_void_p) -> None:
        # Made by load and from_bytes only.
        self._handle: Optional[ctypes.c_void_p] = handle
        self._held: Optional[_ScriptHandle] = _ScriptHandle(handle)
        # The questions its games have offered, by where their bytes lie in
        # the script: each unit's question is its own text there, so the
        # places name the units, and with them the questions' texts and line
        # ids. The questions of one offer are then made once instead of on
        # every step, and two units asking the same words keep their ids.
        self._offers: dict[tuple[int, ...], tuple[Question, ...]] = {}

    @classmethod
    def load(cls, path: Union[str, bytes, os.PathLike], *, plain: bool = False) -> "Script":
        """Loads a script file; plain=True for a plain-text one. Options are
        keywords only. Raises LoadError when it does not load."""
        encoded = os.fsencode(path)
        if b"\0" in encoded:
            raise ValueError("a path cannot hold a zero byte")
        return cls._loaded(
            lambda out, error: lib.murmex_script_load(encoded, cls._flags(plain), out, error),
            os.fsdecode(encoded),
        )

    @classmethod
    def from_bytes(cls, data: Union[bytes, bytearray, memoryview], *,
                   plain: bool = False) -> "Script":
        """Loads a script held in memory; the bytes are read during the call
        only. Options are keywords only. Raises LoadError when it does not
        load."""
        buffer = _data(data)
        return cls._loaded(
            lambda out, error: lib.murmex_script_from_bytes(
                buffer, len(buffer), cls._flags(plain), out, error
            )
        )

    @staticmethod
    def _flags(plain: bool) -> int:
        return _native.LOAD_PLAIN if plain else 0

    @classmethod
    def _loaded(cls, load: Callable[..., int], path: Optional[str] = None) -> "Script":
        handle = ctypes.c_void_p()
        error = _native.LoadErrorRecord()
        status = load(ctypes.byref(handle), ctypes.byref(error))
        if status == _native.ERROR_LOAD:
            opened = error.code != _LOAD_CANNOT_OPEN or path is None
            detail = error.detail.decode("utf-8", "replace")
            raise LoadError(
                error.code,
                error.line,
                error.message.decode("utf-8", "replace"),
                detail,
                None if opened else path,
                "" if opened else _open_failure(str(path), detail),
            )
        if status < 0:
            raise MurmexError(_native.status_message(status), status)
        return cls(handle)

    @property
    def _live(self) -> ctypes.c_void_p:
        if self._handle is None:
            raise MurmexError("the script is closed", _native.ERROR_NULL)
        return self._handle

    def _check(self, status: int) -> None:
        if status < 0:
            raise MurmexError(_native.status_message(status), status)

    @property
    def title(self) -> str:
        """The title, the window's caption."""
        out = ctypes.c_char_p()
        self._check(lib.murmex_script_title(self._live, _native.TEXT, ctypes.byref(out)))
        return _text(out.value)

    @property
    def colors(self) -> tuple[tuple[int, int, int], tuple[int, int, int]]:
        """The window's colour and the texts' colour, each (red, green, blue)."""
        window, text = _native.Color(), _native.Color()
        self._check(lib.murmex_script_colors(self._live, ctypes.byref(window), ctypes.byref(text)))
        return (
            (window.red, window.green, window.blue),
            (text.red, text.green, text.blue),
        )

    def _names(self, form: int) -> list:
        count = ctypes.c_int32()
        self._check(lib.murmex_script_character_count(self._live, ctypes.byref(count)))
        names = []
        for index in range(count.value):
            out = ctypes.c_char_p()
            self._check(
                lib.murmex_script_character_name(self._live, index, form, ctypes.byref(out))
            )
            names.append(out.value or b"")
        return names

    @property
    def characters(self) -> list[str]:
        """The characters' names, in the script's order."""
        return [_text(name) for name in self._names(_native.TEXT)]

    @property
    def character_bytes(self) -> list[bytes]:
        """The same names as the script holds them: what Game.start compares."""
        return self._names(_native.BYTES)

    def new_game(self) -> "Game":
        """A new game over this script, with empty memory and no conversation."""
        return Game(self)

    def close(self) -> None:
        """Gives up this hold on the script; games made from it keep it alive."""
        # The handle is freed once no game holds it either.
        self._handle = None
        self._held = None



class Variables(MutableMapping):
    """A game's variables by name. Keys handed out are str; a name that is not
    valid UTF-8 comes out with surrogate escapes and finds the same variable
    when given back.

    A name is at most 19 bytes (as UTF-8 for a str): setting a longer one
    raises MurmexError with code -13 (MURMEX_ERROR_NAME_TOO_LONG), while
    reading or deleting one finds the variable of its first 19 bytes. A game
    holds at most 500 variables; setting another new one raises MurmexError
    with code -9 (MURMEX_ERROR_MEMORY_FULL)."""

    def __init__(self, game: "Game") -> None:
        self._game = game

    def __getitem__(self, name: Name) -> int:
        value = ctypes.c_int32()
        status = lib.murmex_game_variable(
            self._game._live, _encoded(name, "variable name"), ctypes.byref(value)
        )
        if status == _native.ERROR_NOT_FOUND:
            raise KeyError(name)
        self._game._check(status)
        return value.value

    def __setitem__(self, name: Name, value: int) -> None:
        encoded = _encoded(name, "variable name")
        try:
            self._game._call(
                lib.murmex_game_set_variable, encoded, _int32(value, "a variable's value")
            )
        except MurmexError as error:
            if error.code == _native.ERROR_NAME_TOO_LONG:
                raise MurmexError(
                    f"{error}: {name!r} is {len(encoded)} bytes", error.code
                ) from None
            raise

    def __delitem__(self, name: Name) -> None:
        try:
            self._game._call(lib.murmex_game_remove_variable, _encoded(name, "variable name"))
        except MurmexError as error:
            if error.code == _native.ERROR_NOT_FOUND:
                raise KeyError(name) from None
            raise

    def _walk(self) -> list[tuple[bytes, int]]:
        # The names are borrowed until the game changes, so all are copied
        # before the caller gets one and may change the game.
        found = []
        cursor = ctypes.c_int32(0)
        name = ctypes.c_char_p()
        value = ctypes.c_int32()
        while True:
            status = lib.murmex_game_next_variable(
                self._game._live, ctypes.byref(cursor), ctypes.byref(name), ctypes.byref(value)
            )
            if status == _native.END:
                return found
            self._game._check(status)
            found.append((name.value or b"", value.value))

    def __iter__(self) -> Iterator[str]:
        return iter([name.decode("utf-8", "surrogateescape") for name, _ in self._walk()])

    def __len__(self) -> int:
        return len(self._walk())

    def __repr__(self) -> str:
        return f"Variables({dict(self.items())!r})"


class Game(_Closing):
    """One game over a script. A game belongs to one thread at a time."""

    def __init__(self, script: Script) -> None:
        self._handle: Optional[ctypes.c_void_p] = None
        handle = ctypes.c_void_p()
        status = lib.murmex_game_new(script._live, ctypes.byref(handle))
        if status < 0:
            raise MurmexError(_native.status_message(status), status)
        self._handle = handle
        # The library keeps the script alive for the game; this reference
        # keeps the Python object, so script.close() cannot surprise us, and
        # the handle, which lookahead reads lines through.
        self._script = script
        self._script_handle: Optional[_ScriptHandle] = script._held
        # Line ids are written here; every id fits.
        self._line_id = ctypes.create_string_buffer(_native.LINE_ID_MAX_BYTES + 1)
        self._line_length = ctypes.c_size_t()
        self._listeners: dict[int, Listener] = {}  # token -> callback
        self._tokens: dict[int, int] = {}  # the library's listener id -> token
        self._next_token = 1
        self._pending: Optional[BaseException] = None
        # One C callback serves every listener of the game and lives as long
        # as the game: removing a listener from inside a callback then never
        # frees the code the library is running. The weak reference leaves
        # the game collectable.
        owner = weakref.ref(self)

        def trampoline(token: Optional[int], event: "ctypes._Pointer") -> None:
            game = owner()
            if game is not None:
                game._dispatch(token or 0, event.contents)

        self._trampoline = _native.LISTENER(trampoline)
        self._variables = Variables(self)
        self._known_offers = script._offers
        self._screen_record = _native.ScreenRecord()
        self._screen_room(_native.SCREEN_QUESTIONS)

    def _screen_room(self, count: int) -> None:
        """Records for `count` questions, and the screen call's arguments."""
        self._question_records = (_native.QuestionRecord * count)()
        self._screen_arguments = (
            ctypes.byref(self._screen_record), ctypes.byref(self._question_records), count
        )
        # The records' first fields, where each question's bytes lie, read
        # without making a record object for each.
        self._question_places = (
            ctypes.c_void_p * (count * _native.QUESTION_STRIDE)
        ).from_buffer(self._question_records)

    # -- calls and errors

    @property
    def _live(self) -> ctypes.c_void_p:
        if self._handle is None:
            raise MurmexError("the game is closed", _native.ERROR_NULL)
        return self._handle

    def _check(self, status: int) -> int:
        if status >= 0:
            return status
        # A game a listener closed is gone, and its words with it.
        words = "" if self._handle is None else lib.murmex_game_last_error(self._handle)
        words = words.decode("utf-8", "replace") if words else ""
        if status == _native.ERROR_RANGE:
            raise OutOfRangeError(words, status)
        if status == _native.ERROR_SAVED_GAME:
            raise SavedGameError(words, status)
        raise MurmexError(words, status)

    def _call(self, function: Callable[..., int], *arguments: object) -> int:
        """Calls the library on this game. A listener's exception cannot
        cross the C frames, so it is kept and raised here once the library
        has returned."""
        status = function(self._live, *arguments)
        if self._pending is not None:
            pending, self._pending = self._pending, None
            raise pending
        return status if status >= 0 else self._check(status)

    def _dispatch(self, token: int, record: _native.EventRecord) -> None:
        listener = self._listeners.get(token)
        if listener is None:
            return
        try:
            name = record.name
            listener(GameEvent(
                kind=_KINDS[record.kind],
                name=record.name_text.decode("utf-8") if name is not None else None,
                value=record.value,
                previous=record.previous,
                present=bool(record.present),
                answer=record.answer_text.decode("utf-8") if record.answer is not None else None,
                name_bytes=name,
            ))
        except BaseException as error:  # noqa: B036 - raised again by _call
            if self._pending is None:
                self._pending = error

    def _text(self, getter: Callable[..., int]) -> str:
        out = ctypes.c_char_p()
        self._check(getter(self._live, _native.TEXT, ctypes.byref(out)))
        return _text(out.value)

    # -- playing

    def start(self, name: Name) -> None:
        """Starts the conversation with the named character."""
        self._call(lib.murmex_game_start, _encoded(name, "character name"))

    def reset(self) -> None:
        """Back to the beginning: every state 0, no variables, no money, no
        conversation. Listeners stay."""
        self._call(lib.murmex_game_reset)

    @property
    def answer(self) -> str:
        """The answer shown, without markers; empty before any conversation."""
        return self._text(lib.murmex_game_answer)

    @property
    def answer_line_id(self) -> str:
        """The line id of the answer shown, as the translation export names
        it ("Mara/S1/2/A"): the one key for its translation and its recorded
        voice. Empty while no answer is shown."""
        return self._written(lib.murmex_game_answer_line_id, self._live)

    def _written(self, write: Callable[..., int], *arguments: object,
                 check: Optional[Callable[[int], object]] = None) -> str:
        """A line id the library writes into the game's buffer."""
        buffer = self._line_id
        status = write(*arguments, buffer, len(buffer), ctypes.byref(self._line_length))
        (check or self._check)(status)
        return buffer.value.decode("utf-8")

    @property
    def character(self) -> str:
        """The character talked to; empty before any conversation."""
        return self._text(lib.murmex_game_character)

    @property
    def questions(self) -> list[Question]:
        """The questions offered now."""
        return list(self.screen.questions)

    @property
    def screen(self) -> Screen:
        """What the window shows now, read with one call to the library: the
        character, the answer and the questions offered."""
        # Read on every step, so it is kept lean: one call, the records
        # reused, and a question made only the first time its bytes are seen.
        handle = self._handle
        if handle is None:
            handle = self._live  # raises
        out = self._screen_record
        status = _screen(handle, *self._screen_arguments)
        if status < 0:
            if status != _native.ERROR_BUFFER:
                self._check(status)
            self._screen_room(out.question_count)
            return self.screen
        # Where the questions' bytes lie, all in one read.
        offered = tuple(self._question_places[0 : out.question_count * _STRIDE : _STRIDE])
        questions = self._known_offers.get(offered)
        if questions is None:
            questions = self._made_offer(offered)
        # Never null, as the library gives them.
        return _new_screen(Screen, (out.character.decode(), out.answer.decode(), questions))

    def _made_offer(self, offered: tuple[int, ...]) -> tuple[Question, ...]:
        known = self._known_offers
        if len(known) >= _KNOWN_OFFERS:
            known.clear()
        handle = self._live
        questions = known[offered] = tuple(
            Question(
                text=_text(record.text),
                label=_text(record.label),
                mnemonic=chr(record.mnemonic) if record.mnemonic else None,
                bytes=record.bytes or b"",
                line_id=self._written(lib.murmex_game_question_line_id, handle, index),
            )
            for index, record in enumerate(self._question_records[: len(offered)])
        )
        return questions

    def choose(self, index: int) -> Step:
        """Asks offered question `index` (from 0) and carries on as the window
        does. Raises OutOfRangeError, an IndexError, when no such question is
        offered."""
        # _call written out: this is the call of every step.
        if index.__class__ is not int:
            index = operator.index(index)
        if not 0 <= index <= _native.INT32_MAX:
            raise OutOfRangeError(f"there is no question {index}", _native.ERROR_RANGE)
        handle = self._handle
        if handle is None:
            handle = self._live  # raises
        status = _choose(handle, index)
        if self._pending is not None:
            pending, self._pending = self._pending, None
            raise pending
        if status < 0:
            self._check(status)
        return _STEPS[status]

    def lookahead(self, depth: int) -> list[Line]:
        """What the next `depth` choices (1 to 3) can show from the screen
        now: the answers the offered questions lead to and the questions
        offered then, each once, nearest first. For loading the translations
        and recorded voices a game may need next, by their line ids. Changes
        nothing in the game and tells no listener. Raises OutOfRangeError
        for a depth outside 1 to 3."""
        depth = operator.index(depth)
        if not _native.INT32_MIN <= depth <= _native.INT32_MAX:
            depth = 0  # refused by the library, in its words
        handle = self._live
        count = ctypes.c_size_t()
        lines = (_native.LineRecord * 0)()
        while True:
            status = lib.murmex_game_lookahead(
                handle, depth, lines, len(lines), ctypes.byref(count)
            )
            if status != _native.ERROR_BUFFER:
                self._check(status)
                break
            lines = (_native.LineRecord * count.value)()
        script = self._script_handle.handle  # held while the game is open
        found = []
        for line in lines[: count.value]:
            place = ctypes.byref(line)
            found.append(Line(
                self._written(
                    lib.murmex_script_line_id, script, place, check=self._script._check
                ),
                self._line_text(script, place),
                _PARTS[line.part],
                line.depth,
            ))
        return found

    def _line_text(self, script: ctypes.c_void_p, line: object) -> str:
        length = ctypes.c_size_t()
        buffer = self._line_id  # big enough for most texts
        while True:
            status = lib.murmex_script_line_text(
                script, line, _native.TEXT, buffer, len(buffer), ctypes.byref(length)
            )
            if status != _native.ERROR_BUFFER:
                self._script._check(status)
                return buffer.value.decode("utf-8")
            buffer = ctypes.create_string_buffer(length.value + 1)

    # -- memory

    @property
    def variables(self) -> Variables:
        """The game's variables, a mutable mapping of names to values."""
        return self._variables

    @property
    def money(self) -> int:
        out = ctypes.c_int32()
        self._check(lib.murmex_game_money(self._live, ctypes.byref(out)))
        return out.value

    @money.setter
    def money(self, amount: int) -> None:
        self._call(lib.murmex_game_set_money, _int32(amount, "money"))

    def save(self) -> bytes:
        """The game as bytes, for restore on a game over the same script."""
        needed = ctypes.c_size_t()
        status = lib.murmex_game_save(self._live, None, 0, ctypes.byref(needed))
        if status != _native.ERROR_BUFFER:
            self._check(status)
        buffer = ctypes.create_string_buffer(needed.value)
        written = ctypes.c_size_t()
        self._check(lib.murmex_game_save(self._live, buffer, len(buffer), ctypes.byref(written)))
        return buffer.raw[: written.value]

    def restore(self, data: Union[bytes, bytearray, memoryview]) -> None:
        """Restores what save wrote: into the same script, and into an edited
        or translated one while it still holds the situation saved. Raises
        SavedGameError, changing nothing, when the library refuses the data."""
        buffer = _data(data)
        self._call(lib.murmex_game_restore, buffer, len(buffer))

    def restore_strictly(self, data: Union[bytes, bytearray, memoryview]) -> None:
        """Restores what save wrote into the very script it was saved from:
        any change of the script refuses, with SavedGameError."""
        buffer = _data(data)
        self._call(lib.murmex_game_restore_strict, buffer, len(buffer))

    # -- listening

    def on(self, kind: Union[EventKind, int, str], callback: Listener) -> int:
        """Calls `callback` with a GameEvent whenever an event of this kind
        happens; the kind is an EventKind, its number or its name
        ("item-given"). Returns the id that off() takes. A listener may read
        the game, and close it (the game goes once the call that told the
        listener returns), but not change it. An exception it raises is
        raised again by the call that caused the event."""
        number = int(EventKind(kind))
        return self._register(
            callback, lambda token, out: lib.murmex_game_listen(
                self._live, number, self._trampoline, token, out)
        )

    def observe(self, name: Name, callback: Listener) -> int:
        """Calls `callback` with the VARIABLE events of one variable only:
        `name` compared exactly, as bytes, with the name the game holds (at
        most 19 bytes). Returns the id that off() and unobserve() take."""
        encoded = _encoded(name, "variable name")
        return self._register(
            callback, lambda token, out: lib.murmex_game_observe(
                self._live, encoded, self._trampoline, token, out)
        )

    def _register(self, callback: Listener, add: Callable[[int, object], int]) -> int:
        if not callable(callback):
            raise TypeError("the callback must be callable")
        token = self._next_token
        self._next_token += 1
        listener_id = ctypes.c_uint32()
        # Registered first, so the listener is found even when an event
        # comes during the very call that adds it.
        self._listeners[token] = callback
        try:
            self._check(add(token, ctypes.byref(listener_id)))
        except BaseException:
            del self._listeners[token]
            raise
        self._tokens[listener_id.value] = token
        return listener_id.value

    def off(self, listener_id: int) -> None:
        """Removes a listener; allowed from inside a listener too."""
        number = operator.index(listener_id)
        if not 0 <= number <= _native.UINT32_MAX:
            message = _native.status_message(_native.ERROR_NOT_FOUND)
            raise MurmexError(message, _native.ERROR_NOT_FOUND)
        self._call(lib.murmex_game_unlisten, number)
        token = self._tokens.pop(number, None)
        if token is not None:
            self._listeners.pop(token, None)

    unobserve = off

    @property
    def last_error(self) -> str:
        """The last failure on this game in words; empty when nothing failed."""
        return lib.murmex_game_last_error(self._live).decode("utf-8", "replace")

    # -- lifetime

    def close(self) -> None:
        """Frees the game; closing twice does nothing. Closed by one of its
        own listeners, the game is closed at once for Python, and the library
        frees it when the call that told the listener returns; the listeners
        after that one hear nothing more."""
        handle, self._handle = self._handle, None
        if handle is not None:
            lib.murmex_game_free(handle)
            self._script_handle = None
            self._listeners.clear()
            self._tokens.clear()


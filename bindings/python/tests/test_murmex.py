"""Tests of the Python package over the built library: refused arguments and
errors, decoding, the variables mapping, listeners, saved games and the
independence of games. Run with MURMEX_LIBRARY naming the library."""

from __future__ import annotations

import gc
from pathlib import Path

import pytest

import murmex

DEMO = Path(__file__).resolve().parents[3] / "examples" / "demo.chr.txt"

# A plain script whose texts are Windows-1252, not UTF-8: "Café", "À bientôt"
# and a question "&Naïve" whose marker underlines the N.
WINDOWS_1252 = (
    b'MurmexSrcFile\r\nTITLE = "Caf\xe9"\r\n'
    b'COLOR = "1", "2", "3"\r\nTEXTCOLOR = "4", "5", "6"\r\n'
    b'"Intro" {\r\n'
    b'  { S = "0" N = "0" Q = "" A = "\xc0 bient\xf4t" ACT = "ACT_NONE" }\r\n'
    b'  { S = "0" N = "0" Q = "&Na\xefve" A = "-" ACT = "ACT_NONE" }\r\n'
    b"}\r\n"
)


@pytest.fixture(scope="module")
def script():
    return murmex.Script.load(DEMO, plain=True)


@pytest.fixture
def game(script):
    with script.new_game() as game:
        game.start("Intro")
        yield game


def choose(game, label):
    """Chooses the offered question with this label."""
    labels = [question.label for question in game.questions]
    return game.choose(labels.index(label))


def test_windows_1252_texts_come_out_decoded():
    script = murmex.Script.from_bytes(WINDOWS_1252, plain=True)
    assert script.title == "Café"
    assert script.colors == ((1, 2, 3), (4, 5, 6))
    game = script.new_game()
    game.start("Intro")
    assert game.answer == "À bientôt"
    [question] = game.questions
    assert (question.text, question.label, question.mnemonic, question.bytes) == (
        "&Naïve", "Naïve", "N", b"&Na\xefve")


@pytest.mark.parametrize("load", [
    lambda: murmex.Script.from_bytes(b'MurmexSrcFile\r\nTITLE = "x"\r\nbogus\r\n', plain=True),
    lambda: murmex.Script.load(DEMO),  # plain text read as scrambled
    lambda: murmex.Script.load("/nonexistent/script.chr"),
])
def test_a_failed_load_raises_load_error_with_its_fields(load):
    with pytest.raises(murmex.LoadError) as caught:
        load()
    error = caught.value
    assert isinstance(error, murmex.MurmexError)
    assert -5 <= error.code <= -1
    assert error.line >= 0
    assert error.message or error.detail


def test_load_error_names_the_line_and_cause():
    with pytest.raises(murmex.LoadError) as caught:
        murmex.Script.from_bytes(b'MurmexSrcFile\r\nTITLE = "x"\r\nbogus\r\n', plain=True)
    assert caught.value.line in (3, 4)
    assert "COLOR" in caught.value.message + caught.value.detail


@pytest.mark.parametrize("call, refusal", [
    (lambda game: game.choose(5), IndexError),
    (lambda game: game.choose(-1), IndexError),
    (lambda game: game.choose(2**40), IndexError),
    (lambda game: game.variables.__setitem__("x", 2**31), OverflowError),
    (lambda game: game.variables.__setitem__("a\0b", 1), ValueError),
    (lambda game: game.variables.__getitem__(3), TypeError),
    (lambda game: setattr(game, "money", -(2**31) - 1), OverflowError),
    (lambda game: game.restore(b"not a saved game"), murmex.SavedGameError),
    (lambda game: game.restore(12), TypeError),
    (lambda game: game.on(99, print), ValueError),
    (lambda game: game.off(12345), murmex.MurmexError),
])
def test_refused_arguments_raise_and_change_nothing(game, call, refusal):
    before = game.save()
    with pytest.raises(refusal):
        call(game)
    assert game.save() == before


def test_errors_carry_the_library_words(game):
    with pytest.raises(murmex.MurmexError) as caught:
        game.start("Nobody")
    assert str(caught.value) == game.last_error != ""
    with pytest.raises(murmex.SavedGameError) as caught:
        game.restore(b"junk")
    assert str(caught.value)


def test_calls_on_a_game_without_conversation_or_closed_are_refused(script):
    game = script.new_game()
    assert (game.answer, game.character, game.questions) == ("", "", [])
    with pytest.raises(murmex.MurmexError):
        game.choose(0)
    game.close()
    game.close()
    with pytest.raises(murmex.MurmexError):
        game.answer


def test_variables_behave_as_a_mutable_mapping(game):
    variables = game.variables
    assert len(variables) == 0 and list(variables) == []
    variables["trust"] = 3
    variables[b"sword"] = -1
    assert variables[b"trust"] == 3 and variables["sword"] == -1
    assert sorted(variables) == ["sword", "trust"] and len(variables) == 2
    assert "trust" in variables and "letter" not in variables
    del variables["trust"]
    assert dict(variables) == {"sword": -1}
    with pytest.raises(KeyError):
        variables["trust"]
    with pytest.raises(KeyError):
        del variables["trust"]
    choose(game, "Call on Mara in her herb garden.")
    choose(game, "Do you need a hand with anything?")
    assert variables["letter"] == 1


def test_listeners_hear_what_the_game_changes(game):
    heard = []
    for kind in murmex.Event:
        game.on(kind, heard.append)
    choose(game, "Sit down by the well and rest a while.")
    choose(game, "Pocket the coin and get up.")
    choose(game, "Visit the Smith at his forge.")
    choose(game, "Walk over to Mara's garden.")
    choose(game, "Goodbye, Mara.")
    del game.variables["rested"]
    shown = [(e.kind, e.name, e.value, e.previous, e.present, e.answer) for e in heard]
    assert shown == [
        (murmex.Event.MONEY, None, 1, 0, False, None),
        (murmex.Event.VARIABLE, "rested", 1, 0, True, None),
        (murmex.Event.HAND_OVER, "Smith", 0, 0, False, None),
        (murmex.Event.HAND_OVER, "Mara", 0, 0, False, None),
        (murmex.Event.ENDED, None, 0, 0, False, "-"),
        (murmex.Event.VARIABLE, "rested", 0, 1, False, None),
    ]


def test_a_listener_removed_inside_its_call_hears_no_more(game):
    heard = []

    def once(event):
        heard.append(event.name)
        game.off(listener)

    listener = game.on(murmex.Event.VARIABLE, once)
    others = []
    game.on(murmex.Event.VARIABLE, lambda event: others.append(event.name))
    game.variables["a"] = 1
    game.variables["b"] = 2
    del once
    gc.collect()  # the callback the library holds must outlive the Python one
    game.variables["c"] = 3
    assert heard == ["a"] and others == ["a", "b", "c"]


def test_a_listener_error_is_raised_by_the_call_that_caused_it(game):
    def change(event):
        game.money = 99  # a listener may only read the game

    game.on(murmex.Event.VARIABLE, change)
    with pytest.raises(murmex.MurmexError) as caught:
        game.variables["a"] = 1
    assert caught.value.code == -11
    assert game.money == 0 and game.variables["a"] == 1


def test_a_saved_game_restores_in_place_and_in_another_game(script, game):
    choose(game, "Call on Mara in her herb garden.")
    choose(game, "Do you need a hand with anything?")
    game.money = 7
    saved = game.save()
    situation = (game.character, game.answer, game.questions, dict(game.variables), game.money)
    choose(game, "What is in it?")
    game.reset()
    game.restore(saved)
    other = script.new_game()
    other.restore(bytearray(saved))
    for restored in (game, other):
        assert (restored.character, restored.answer, restored.questions,
                dict(restored.variables), restored.money) == situation


def test_games_over_one_script_are_independent_and_keep_it_alive():
    script = murmex.Script.load(DEMO, plain=True)
    first, second = script.new_game(), script.new_game()
    script.close()
    del script
    gc.collect()
    first.start("Intro")
    second.start("Mara")
    assert choose(first, "Visit the Smith at his forge.") == murmex.Step.SWITCHED
    first.variables["trust"] = 1
    assert (first.character, second.character) == ("Smith", "Mara")
    assert "trust" not in second.variables
    assert choose(second, "Goodbye, Mara.") == murmex.Step.ENDED
    assert second.character == "Intro" and first.character == "Smith"
    # Read through the script's handle, which the games keep.
    assert first.lookahead(1)[0].id == "Smith/S0/5/A"


# Items and a variable: Intro offers "Ask" (gives two keys and sets asked),
# then "Return" (takes them).
ITEMS = (
    b'MurmexSrcFile\r\nTITLE = "Items"\r\n'
    b'COLOR = "1", "2", "3"\r\nTEXTCOLOR = "4", "5", "6"\r\n'
    b'"Intro" {\r\n'
    b'  { S = "0" N = "0" Q = "" A = "Hello." ACT = "ACT_NONE" }\r\n'
    b'  { S = "0" N = "1" Q = "Ask" A = "Take them." ACT = "ACT_ADD_INV" PARAM = "key"'
    b' VAL = "2" }\r\n'
    b'  { S = "1" N = "2" Q = "Return" A = "Thanks." ACT = "ACT_SUB_INV" PARAM = "key" }\r\n'
    b'  { S = "2" N = "0" Q = "Again" A = "-" ACT = "ACT_ADD_MEM" PARAM = "asked" VAL = "1" }\r\n'
    b"}\r\n"
)


def test_event_kinds_go_by_the_names_every_binding_uses(game):
    names = ["variable", "money", "handover", "ended", "item-given", "item-taken",
             "restored", "reset"]
    assert [str(kind) for kind in murmex.EventKind] == names
    assert [murmex.EventKind(name) for name in names] == list(murmex.EventKind)
    assert f"{murmex.EventKind.ITEM_GIVEN}" == "item-given" and murmex.Event is murmex.EventKind
    script = murmex.Script.from_bytes(ITEMS, plain=True)
    items = script.new_game()
    heard = []
    for name in names:
        items.on(name, lambda event: heard.append((event.kind.text, event.name, event.value)))
    items.start("Intro")
    for _ in range(3):
        items.choose(0)
    items.restore(items.save())
    items.reset()
    assert heard == [("item-given", "key", 2), ("item-taken", "key", 0),
                     ("variable", "asked", 1), ("restored", None, 0), ("reset", None, 0)]
    with pytest.raises(ValueError):
        game.on("item_given", print)


def test_an_observer_hears_its_variable_only_until_removed(game):
    heard = []
    observer = game.observe("door", lambda event: heard.append((event.name, event.value)))
    game.variables["window"] = 1
    game.variables["door"] = 2
    game.unobserve(observer)
    game.variables["door"] = 3
    assert heard == [("door", 2)]
    with pytest.raises(murmex.MurmexError) as caught:
        game.observe("x" * 20, print)
    assert caught.value.code == -13


@pytest.mark.parametrize("call", [
    lambda: murmex.Script.load(DEMO, True),
    lambda: murmex.Script.load(DEMO, plain=True, scrambled=False),
    lambda: murmex.Script.from_bytes(ITEMS, True),
])
def test_load_options_are_known_keywords_only(call):
    with pytest.raises(TypeError):
        call()


@pytest.mark.parametrize("path, reason", [
    ("/nonexistent/script.chr", "No such file or directory"),
    (str(DEMO.parent), "it is a folder"),
])
def test_a_file_that_cannot_be_opened_is_named_with_the_reason(path, reason):
    with pytest.raises(murmex.LoadError) as caught:
        murmex.Script.load(path, plain=True)
    assert path in str(caught.value) and reason in str(caught.value)
    assert (caught.value.code, caught.value.path, caught.value.reason) == (-1, path, reason)


def test_library_errors_share_one_hierarchy_and_are_never_empty(game):
    with pytest.raises(murmex.OutOfRangeError) as caught:
        game.choose(9)
    assert isinstance(caught.value, IndexError) and caught.value.code == -2
    with pytest.raises(murmex.MurmexError) as caught:
        game.variables["twenty_bytes_long_xx"] = 1
    assert caught.value.code == -13 and "19 bytes" in str(caught.value)
    assert str(murmex.MurmexError("", -8)) != ""


def test_a_game_closed_by_its_own_listener_goes_when_the_call_returns(game):
    heard = []

    def closing(event):
        heard.append(event.value)
        game.close()

    game.on("money", closing)
    game.on("money", closing)
    assert choose(game, "Sit down by the well and rest a while.") == murmex.Step.CONTINUED
    assert heard == [1]
    with pytest.raises(murmex.MurmexError):
        game.answer


def test_a_strict_restore_refuses_an_edited_script():
    original = murmex.Script.from_bytes(ITEMS, plain=True).new_game()
    original.start("Intro")
    saved = original.save()
    edited = murmex.Script.from_bytes(ITEMS.replace(b"Thanks.", b"Thank you."), plain=True)
    game = edited.new_game()
    with pytest.raises(murmex.SavedGameError):
        game.restore_strictly(saved)
    game.restore(saved)
    original.restore_strictly(saved)
    assert game.answer == original.answer == "Hello."


def test_a_step_prints_as_its_name_and_compares_as_its_number(game):
    step = choose(game, "Visit the Smith at his forge.")
    assert step is murmex.Step.SWITCHED and step == 1
    assert (str(step), f"{step}") == ("switched", "switched")


def test_the_screen_is_what_the_separate_reads_give(game):
    choose(game, "Call on Mara in her herb garden.")
    screen = game.screen
    assert screen == (game.character, game.answer, tuple(game.questions))
    assert screen.character == "Mara" and screen.questions


# The same words asked in two states: two lines, two ids.
SAME_WORDS = (
    b'MurmexSrcFile\r\nTITLE = "Again"\r\n'
    b'COLOR = "1", "2", "3"\r\nTEXTCOLOR = "4", "5", "6"\r\n'
    b'"Intro" {\r\n'
    b'  { S = "0" N = "0" Q = "" A = "Hello" ACT = "ACT_NONE" }\r\n'
    b'  { S = "0" N = "1" Q = "Again" A = "One" ACT = "ACT_NONE" }\r\n'
    b'  { S = "1" N = "0" Q = "Again" A = "Two" ACT = "ACT_NONE" }\r\n'
    b"}\r\n"
)


def test_line_ids_and_lookahead(game):
    assert game.answer_line_id == "Intro/S0/1/A"
    assert game.questions[0].line_id == "Intro/S0/3/Q"
    ahead = {(line.id, line.text, line.part) for line in game.lookahead(1)}
    game.choose(0)
    shown = {(game.answer_line_id, game.answer, "answer")} | {
        (question.line_id, question.label, "question") for question in game.questions}
    assert shown <= ahead
    for depth in (0, 4):
        with pytest.raises(murmex.OutOfRangeError):
            game.lookahead(depth)

    again = murmex.Script.from_bytes(SAME_WORDS, plain=True).new_game()
    again.start("Intro")
    before = again.questions[0].line_id
    [ahead] = [line.id for line in again.lookahead(1) if line.part == "question"]
    again.choose(0)
    assert [question.line_id for question in again.questions] == [ahead] != [before]

// The JavaScript API over the compiled engine, under Node's test runner.
// MURMEX_WEB names the web build's folder (make test-web sets it).
"use strict";
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { test, before } = require("node:test");

const web = process.env.MURMEX_WEB || path.join(__dirname, "../../build/web/share/murmex/web");
const Murmex = require(path.resolve(web, "murmex.js"));
const demo = fs.readFileSync(path.join(__dirname, "../../examples/demo.chr.txt"));
const utf8 = (text) => new TextEncoder().encode(text);

let murmex;
before(async () => {
    murmex = await Murmex();
});

function demoGame() {
    const game = murmex.Script.fromBytes(demo, { plain: true }).newGame();
    game.start("Intro");
    return game;
}

test("the demo's header, characters and the window's colours", () => {
    const script = murmex.Script.fromBytes(demo, { plain: true });
    assert.equal(script.title, "Brackenford: The Smith's Favour");
    assert.deepEqual(script.characters, ["Intro", "Mara", "Smith"]);
    assert.deepEqual(script.colors.window, { red: 140, green: 190, blue: 255 });
    // 85, 150 and 200 out of 255 of the header's colours, as the window derives them.
    assert.deepEqual(script.windowColors, {
        window: "rgb(46, 63, 85)",
        line: "rgb(82, 111, 150)",
        question: "rgb(255, 236, 190)",
        hover: "rgb(140, 190, 255)",
        answer: "rgb(200, 185, 149)",
    });
});

test("a failed load throws the loader's code, line, texts and the window's message", () => {
    const cases = [
        { bytes: demo, plain: false, code: -2, line: 1 },
        { bytes: utf8("MurmexSrcFile\r\nTitle = x\r\n"), plain: true, code: -3, line: 3 },
    ];
    for (const { bytes, plain, code, line } of cases) {
        assert.throws(
            () => murmex.Script.fromBytes(bytes, { plain }),
            (error) =>
                error instanceof murmex.LoadError &&
                error.code === code &&
                error.line === line &&
                error.detail !== "" &&
                // The loader has no fixed text for these, so the message is the detail.
                error.message === error.detail &&
                error.windowText === `Err=${code}\nLine=${line}\nErrStr=`
        );
    }
});

test("load options are an object of known options; anything else throws -12", () => {
    for (const options of [true, 1, "plain", null, [], { plane: true }, { plain: true, fast: true }, { plain: 1 }]) {
        assert.throws(() => murmex.Script.fromBytes(demo, options),
            (error) => error instanceof murmex.MurmexError && error.code === -12 && error.message !== "",
            JSON.stringify(options));
    }
    assert.equal(murmex.Script.fromBytes(demo, { plain: true }).title, "Brackenford: The Smith's Favour");
});

test("a file that cannot be read is named with the system's reason", () => {
    const missing = path.join(__dirname, "no-such-script.txt");
    assert.throws(() => murmex.Script.load(missing, { plain: true }),
        (error) => error instanceof murmex.LoadError && error.code === -1 && error.line === 0 &&
            error.message.includes(missing) && /no such file or directory/.test(error.message));
    assert.throws(() => murmex.Script.load(missing, true), (error) => error.code === -12);
    const script = murmex.Script.load(path.join(__dirname, "../../examples/demo.chr.txt"), { plain: true });
    assert.deepEqual(script.characters, ["Intro", "Mara", "Smith"]);
});

test("questions come with their labels and mnemonics; keys match in the library's case", () => {
    const game = demoGame();
    const [first] = game.questions;
    assert.equal(first.text, "Visit the &Smith at his forge.");
    assert.equal(first.label, "Visit the Smith at his forge.");
    assert.equal(first.mnemonic, "S");
    assert.equal(first.mnemonicIndex, 10);
    assert.equal(murmex.foldMnemonic("s"), murmex.foldMnemonic("S"));
    assert.equal(murmex.foldMnemonic("é"), "É");
});

test("a mnemonic's place in the label, past doubled marks and in any script", () => {
    const cases = [
        ["Z&\u00fcrich", "Z\u00fcrich", "\u00dc", 1],
        ["&&a &b", "&a b", "B", 3],
        ["\u{1F600} &x", "\u{1F600} x", "X", 3],
        ["none", "none", null, -1],
        ["end&", "end", null, -1],
    ];
    const units = cases.map(([question]) => `{ S = "0" N = "0" Q = "${question}" A = "b" ACT = "ACT_NONE" }`);
    const source = ["MurmexSrcFile", 'TITLE = "t"', 'COLOR = "1", "2", "3"', 'TEXTCOLOR = "4", "5", "6"', '"Intro" {',
        '{ S = "0" N = "0" Q = "" A = "a" ACT = "ACT_NONE" }', ...units.slice(0, 5), "}", ""].join("\r\n");
    const game = murmex.Script.fromBytes(utf8(source), { plain: true }).newGame();
    game.start("Intro");
    game.questions.forEach((question, i) => {
        const [, label, mnemonic, index] = cases[i];
        assert.equal(question.label, label);
        assert.equal(question.mnemonic && murmex.foldMnemonic(question.mnemonic), mnemonic);
        assert.equal(question.mnemonicIndex, index, label);
    });
});

test("a screen reads true after the memory grew, for twin questions and a script loaded where a freed one was", () => {
    const scriptOf = (question) => utf8(["MurmexSrcFile", 'TITLE = "t"', 'COLOR = "1", "2", "3"', 'TEXTCOLOR = "4", "5", "6"',
        '"Intro" {', '{ S = "0" N = "0" Q = "" A = "a" ACT = "ACT_NONE" }',
        `{ S = "0" N = "0" Q = "${question}" A = "b" ACT = "ACT_NONE" }`,
        `{ S = "0" N = "0" Q = "${question}" A = "c" ACT = "ACT_NONE" }`, "}", ""].join("\r\n"));
    const screenOf = (game) => game.questions.map(({ label, lineId }) => [label, lineId]);
    const first = murmex.Script.fromBytes(scriptOf("&Twin"), { plain: true });
    const game = first.newGame();
    game.start("Intro");
    const twins = [["Twin", "Intro/S0/2/Q"], ["Twin", "Intro/S0/3/Q"]];
    assert.deepEqual(screenOf(game), twins);
    assert.throws(() => murmex.Script.fromBytes(new Uint8Array(32 << 20), { plain: true }), murmex.LoadError);
    assert.deepEqual(screenOf(game), twins);
    first.free();
    game.free();
    const second = murmex.Script.fromBytes(scriptOf("&Other"), { plain: true }).newGame();
    second.start("Intro");
    assert.deepEqual(second.questions.map(({ label }) => label), ["Other", "Other"]);
});

test("line ids name what is shown, and lookahead holds the next screen's lines", () => {
    const script = murmex.Script.fromBytes(demo, { plain: true });
    const game = script.newGame();
    script.free(); // the game still reads its lines' texts
    game.start("Intro");
    const ahead = game.lookahead(1);
    // Looking ahead moved nothing.
    assert.equal(game.answerLineId, "Intro/S0/1/A");
    assert.equal(game.questions[0].lineId, "Intro/S0/3/Q");
    game.choose(0);
    const shown = [{ id: game.answerLineId, text: game.answer, part: "answer", depth: 1 },
        ...game.questions.map((question) => ({ id: question.lineId, text: question.label, part: "question", depth: 1 }))];
    for (const line of shown) assert.deepEqual(ahead.find((each) => each.id === line.id), line);
    for (const depth of [0, 4]) assert.throws(() => game.lookahead(depth), (error) => error instanceof murmex.MurmexError && error.code === -2);
    game.free();
});

test("choices switch, end and restart Intro; variables and money follow", () => {
    const game = demoGame();
    const heard = [];
    game.on("variable", (event) => heard.push([event.kind, event.name, event.value, event.present]));
    const ended = game.on("ended", (event) => heard.push([event.kind, event.answer]));
    assert.equal(game.choose(1), "switched");
    assert.equal(game.character, "Mara");
    assert.equal(game.choose(0), "continued");
    assert.equal(game.variables.get("letter"), 1);
    assert.deepEqual([...game.variables], [["letter", 1]]);
    game.off(ended);
    game.variables.set("letter", 7);
    assert.equal(game.variables.delete("letter"), true);
    assert.equal(game.variables.delete("letter"), false);
    assert.equal(game.variables.get("letter"), undefined);
    game.money = 12;
    assert.equal(game.money, 12);
    assert.deepEqual(heard[0], ["variable", "letter", 1, true]);
    assert.throws(() => game.choose(9), (error) => error.code === -2);
    assert.throws(() => game.start("Nobody"), /Character not found!/);
});

test("every event kind is heard by its cross-language name; observers hear one variable", () => {
    const game = demoGame();
    assert.ok(Object.isFrozen(murmex.EventKind));
    const heard = [];
    for (const kind of Object.values(murmex.EventKind)) {
        game.on(kind, (event) => heard.push([event.kind, event.name, event.value]));
    }
    const letter = [];
    const observer = game.observe("letter", (event) => letter.push(event.value));
    game.choose(1); // to Mara
    game.choose(0); // she hands over the letter: letter = 1
    game.choose(0); // and the letter itself
    game.variables.set("other", 3);
    const saved = game.save();
    game.reset();
    game.restore(saved);
    assert.deepEqual(heard, [
        ["handover", "Mara", 0],
        ["variable", "letter", 1],
        ["item-given", "Mara's letter", 1],
        ["variable", "other", 3],
        ["reset", null, 0],
        ["restored", null, 0],
    ]);
    // Reset and restore tell only themselves, not each variable they change.
    assert.deepEqual(letter, [1]);
    game.variables.set("letter", 4);
    game.unobserve(observer);
    game.variables.set("letter", 5);
    assert.deepEqual(letter, [1, 4]);
    assert.throws(() => game.on("handed-over", () => {}), RangeError);
    for (const id of [observer, 9999]) {
        assert.throws(() => game.off(id), (error) => error instanceof murmex.MurmexError && error.code === -6);
        assert.throws(() => game.unobserve(id), (error) => error.code === -6);
    }
});

test("a name over 19 bytes is refused in words, code -13", () => {
    const game = demoGame();
    for (const call of [() => game.variables.set("x".repeat(20), 1), () => game.observe("é".repeat(10), () => {})]) {
        assert.throws(call, (error) => error.code === -13 && /19 bytes/.test(error.message));
    }
    game.variables.set("x".repeat(19), 1);
    assert.equal(game.variables.get("x".repeat(19)), 1);
});

test("a game freed by its own listener goes once the call returns, and its script with it", () => {
    const before = murmex.heapInUse();
    const script = murmex.Script.fromBytes(demo, { plain: true });
    const game = script.newGame();
    script.free();
    game.start("Intro");
    let later = 0;
    game.on("handover", () => game.free());
    game.on("handover", () => later++);
    assert.equal(game.choose(1), "switched");
    assert.equal(later, 0);
    assert.throws(() => game.answer, (error) => error instanceof murmex.MurmexError && /freed/.test(error.message));
    game.free();
    // Within the allocator's bookkeeping, which shifts by a few bytes with
    // where blocks land; the game alone holds some 70 KB, the script 9 KB.
    const left = murmex.heapInUse() - before;
    assert.ok(Math.abs(left) < 256, `${left} bytes left`);
});

test("a strict restore refuses a save from an edited script, which restore takes", () => {
    const game = demoGame();
    game.choose(1);
    const saved = game.save();
    const edited = Buffer.from(demo.toString("latin1").replace("The Smith's Favour", "The Smith's Debt"), "latin1");
    const other = murmex.Script.fromBytes(edited, { plain: true }).newGame();
    assert.throws(() => other.restoreStrictly(saved), (error) => error.code === -10 && error.message !== "");
    other.restore(saved);
    assert.equal(other.character, "Mara");
    const same = murmex.Script.fromBytes(demo, { plain: true }).newGame();
    same.restoreStrictly(saved);
    assert.equal(same.answer, game.answer);
});

test("a listener's exception reaches the caller after the step, and the game plays on", () => {
    const game = demoGame();
    game.on("variable", () => {
        throw new Error("from the listener");
    });
    game.choose(1);
    assert.throws(() => game.choose(0), /from the listener/);
    assert.equal(game.variables.get("letter"), 1);
    assert.equal(game.choose(1), "continued");
});

test("a saved game restores into a new game of the script, and foreign bytes are refused", () => {
    const game = demoGame();
    game.choose(1);
    game.choose(0);
    const saved = game.save();
    assert.ok(saved instanceof Uint8Array);
    const other = murmex.Script.fromBytes(demo, { plain: true }).newGame();
    other.restore(saved);
    assert.equal(other.answer, game.answer);
    assert.deepEqual(other.questions, game.questions);
    assert.equal(other.variables.get("letter"), 1);
    const damaged = saved.slice(0, saved.length - 1);
    assert.throws(() => other.restore(damaged), (error) => error.code === -10);
    assert.equal(other.answer, game.answer);
});

test("freed handles and bad arguments are refused in words", () => {
    const game = demoGame();
    game.free();
    assert.throws(() => game.answer, /freed/);
    assert.throws(() => demoGame().start(42), TypeError);
    assert.throws(() => demoGame().variables.set("x", 2 ** 31), RangeError);
    // Script bytes are never a string, and a listener is refused before it is kept.
    assert.throws(() => murmex.Script.fromBytes(demo.toString("latin1"), { plain: true }), TypeError);
    const other = demoGame();
    assert.throws(() => other.on("variable", "not a function"), TypeError);
    assert.equal(other.choose(1), "switched");
    // The library reads a name up to its first zero byte: one holding a zero names something else.
    assert.throws(() => other.start("Mara\0x"), RangeError);
    assert.throws(() => other.variables.set("flag\0x", 1), RangeError);
    assert.deepEqual([...other.variables], []);
});

// The module's memory section with its maximum lowered to `pages` of 64 KiB,
// written over the old maximum in as many bytes, so nothing else moves.
function withMemoryMaximum(wasm, pages) {
    const bytes = Uint8Array.from(wasm);
    let at = 8;
    const leb = () => {
        let value = 0;
        for (let shift = 0; ; shift += 7) {
            const byte = bytes[at++];
            value += (byte & 127) * 2 ** shift;
            if (byte < 128) return value;
        }
    };
    // Past the sections before the memory's (5), each its id and size first.
    for (let id = bytes[at++], size = leb(); id !== 5; id = bytes[at++], size = leb()) at += size;
    leb(); // one memory
    assert.equal(bytes[at++], 1, "the memory has a maximum");
    leb(); // its minimum
    const start = at;
    leb();
    for (let i = start; i < at; i++) bytes[i] = ((pages >> (7 * (i - start))) & 127) | (i < at - 1 ? 128 : 0);
    return bytes;
}

test("a copy the module has no room for throws -4 and leaves everything as it was", async () => {
    const wasm = fs.readFileSync(path.resolve(web, "murmex.wasm"));
    const small = await Murmex({ wasm: withMemoryMaximum(wasm, 96) });
    const script = small.Script.fromBytes(demo, { plain: true });
    const game = script.newGame();
    game.start("Intro");
    const big = new Uint8Array(8 << 20).fill(65);
    const calls = [
        () => small.Script.fromBytes(big, { plain: true }),
        () => game.restore(big),
        () => game.start(big),
        () => game.variables.set(big, 1),
    ];
    for (const call of calls) {
        assert.throws(call, (error) => error instanceof small.MurmexError && error.code === -4, String(call));
    }
    // Games too, each of which takes room of its own; freeing them gives it back.
    const held = [];
    assert.throws(() => {
        for (;;) held.push(script.newGame());
    }, (error) => error instanceof small.MurmexError && error.code === -4 && error.message !== "");
    assert.ok(held.length > 10, `${held.length} games`);
    held.forEach((each) => each.free());
    assert.equal(script.title, "Brackenford: The Smith's Favour");
    assert.equal(game.answer, demoGame().answer);
    assert.equal(game.choose(1), "switched");
    script.newGame().start("Intro");
});

#!/usr/bin/env node
// Plays a script with a list of choices and prints the transcript, the same
// bytes `murmex play --choose` prints: the title, then each situation (who
// speaks, the answer, the numbered questions) and each choice made; with
// --events, each event a choice told, one line each, after its "> N" line.
//
//   node transcript.mjs [--plain] [--events] [--start NAME] FILE CHOICES   (CHOICES like 1,3,2)
//
// Exit status as the tool's: 0 when the choices ran out, 1 when a choice was
// not an offered question's number, 3 when the script did not load, did not
// start or failed in a step. The library is MURMEX_WEB's murmex.mjs, or the
// web build's in this tree.
import path from "node:path";
import { pathToFileURL } from "node:url";

const EXIT_OK = 0;
const EXIT_REFUSED = 1;
const EXIT_USAGE = 2;
const EXIT_SCRIPT_FAILED = 3;
const START = "Intro";
// More digits than this cannot name one of the few questions offered; the
// tool refuses such an entry without converting it, and so does this.
const MAX_CHOICE_DIGITS = 9;
const USAGE = "usage: transcript.mjs [--plain] [--events] [--start NAME] FILE CHOICES  (CHOICES like 1,3,2)\n";

const library = process.env.MURMEX_WEB
    ? pathToFileURL(path.join(process.env.MURMEX_WEB, "murmex.mjs"))
    : new URL("../../build/web/share/murmex/web/murmex.mjs", import.meta.url);
const utf8 = new TextEncoder();

// The UTF-8 text with control characters written as \xNN, so that a carriage
// return or an escape in a script cannot move the terminal's cursor: C0
// controls but the tab, DEL, and the C1 controls.
function terminalText(text) {
    let shown = "";
    for (const character of text) {
        const code = character.codePointAt(0);
        const control = (code < 0x20 && character !== "\t") || (code >= 0x7f && code < 0xa0);
        shown += control ? `\\x${code.toString(16).padStart(2, "0")}` : character;
    }
    return shown;
}

const out = (text) => process.stdout.write(utf8.encode(text));
const err = (text) => process.stderr.write(utf8.encode(text));

function showSituation(game) {
    out(`${terminalText(game.character)}: ${terminalText(game.answer)}\n`);
    game.questions.forEach((question, i) => out(`  ${i + 1}. ${terminalText(question.label)}\n`));
}

function choiceHint(count) {
    return count === 1 ? "choose 1, or q to quit." : `choose 1 to ${count}, or q to quit.`;
}

// One line for each event, as the tool's --events writes it.
function eventLine(event) {
    const name = event.name === null ? "" : terminalText(event.name);
    switch (event.kind) {
        case "variable":
            return `* variable ${name} ${event.present ? event.value : "removed"}`;
        case "money":
            return `* money ${event.value}`;
        case "item-given":
            return `* item-given ${name} ${event.value}`;
        case "item-taken":
        case "handover":
            return `* ${event.kind} ${name}`;
        default:
            return `* ${event.kind}`;
    }
}

function play(murmex, { plain, events, start, file, choices }) {
    let script;
    try {
        script = murmex.Script.load(file, { plain });
    } catch (error) {
        if (!(error instanceof murmex.LoadError)) throw error;
        err(`${file}:${error.line}: ${error.detail || error.message}\n`);
        return EXIT_SCRIPT_FAILED;
    }
    out(`${terminalText(script.title)}\n\n`);
    const game = script.newGame();
    try {
        game.start(start);
    } catch (error) {
        if (!(error instanceof murmex.MurmexError)) throw error;
        err(`${terminalText(error.message)}\n`);
        return EXIT_SCRIPT_FAILED;
    }
    showSituation(game);
    // Heard from here on: only what the choices tell.
    if (events) {
        for (const kind of Object.values(murmex.EventKind)) game.on(kind, (event) => out(`${eventLine(event)}\n`));
    }

    for (const [i, raw] of choices.entries()) {
        out(`> ${terminalText(raw)}\n`);
        const entry = raw.replace(/^[ \t\r\n]+|[ \t\r\n]+$/g, "");
        if (entry === "q" || entry === "Q") break;
        const count = game.questions.length;
        const isNumber = /^[0-9]+$/.test(entry) && entry.length <= MAX_CHOICE_DIGITS;
        const number = isNumber ? Number(entry) : 0;
        if (number < 1 || number > count) {
            // Refused: the choices after it were meant for other prompts.
            if (entry === "") out(`Please ${choiceHint(count)}\n`);
            else if (isNumber) out(`There is no question ${entry}: ${choiceHint(count)}\n`);
            else out(`"${terminalText(entry)}" is not a question number: ${choiceHint(count)}\n`);
            const rest = i + 1 < choices.length ? "; the choices after it were not applied" : "";
            err(`choice ${i + 1} of ${choices.length} in --choose ("${terminalText(raw)}") was refused${rest}\n`);
            return EXIT_REFUSED;
        }
        if (game.choose(number - 1) === murmex.Step.Failed) {
            err(`${terminalText(game.lastError)}\n`);
            return EXIT_SCRIPT_FAILED;
        }
        out("\n");
        showSituation(game);
    }
    return EXIT_OK;
}

// The switches, in any order before FILE, then FILE and CHOICES.
function parse(argv) {
    const options = { plain: false, events: false, start: START };
    let rest = argv;
    for (;;) {
        if (rest[0] === "--plain" || rest[0] === "--events") {
            options[rest[0].slice(2)] = true;
            rest = rest.slice(1);
        } else if (rest[0] === "--start" && rest.length > 1) {
            options.start = rest[1];
            rest = rest.slice(2);
        } else {
            break;
        }
    }
    if (rest.length !== 2) return null;
    const [file, listed] = rest;
    // Split as the tool's option parser does: empty entries between commas
    // are dropped, while an empty list is one empty entry; commas alone are
    // no list at all.
    options.file = file;
    options.choices = listed === "" ? [""] : listed.split(",").filter((entry) => entry !== "");
    return options;
}

async function main() {
    const options = parse(process.argv.slice(2));
    if (options === null) {
        err(USAGE);
        return EXIT_USAGE;
    }
    if (options.choices.length === 0) {
        err("CHOICES names no choice\n");
        return EXIT_USAGE;
    }
    const { default: Murmex } = await import(library);
    return play(await Murmex(), options);
}

process.exitCode = await main();

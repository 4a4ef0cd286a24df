// The engine for JavaScript: the same Script and Game as in every other
// language, over the C functions compiled to WebAssembly (murmex.wasm).
// Everything a game shows (decoded texts, labels without their marks,
// mnemonics, colours, the flow from one conversation to the next) comes from
// the compiled library; this file only moves values across the boundary.
//
//   const murmex = await Murmex(); // or Murmex({ wasm: bytes })
//   using script = murmex.Script.fromBytes(bytes, { plain: true });
//   using game = script.newGame();
//   game.start("Intro");
//   console.log(game.answer, game.questions.map((q) => q.label));
//   game.choose(0);
//
// The build makes every form of the library from this one file: a classic
// script and CommonJS module (murmex.js), an ES module (murmex.mjs), and each
// of them with the WebAssembly written in (murmex.inline.js, .inline.mjs).
// Those lines it rewrites end in a comment naming what it puts there.
var Murmex = (function () {
    "use strict";

    // Where this file was loaded from, so that the module beside it is found.
    const here = typeof document === "object" && document.currentScript ? document.currentScript.src : typeof __filename === "string" ? require("url").pathToFileURL(__filename).href : null; // build: here
    // The module's bytes in base64, when this file carries them.
    const inline = null; // build: inline

    const STEPS = ["continued", "switched", "ended", "failed"];
    // Event kinds by their names in every language, in the library's numbering (from 1).
    const EVENT_NAMES = ["variable", "money", "handover", "ended", "item-given", "item-taken", "restored", "reset"];
    const EVENTS = Object.fromEntries(EVENT_NAMES.map((name, i) => [name, i + 1]));
    // Callers wrote "handOver" before the names were the same everywhere.
    EVENTS.handOver = EVENTS.handover;
    const NAMED_EVENTS = [EVENTS.variable, EVENTS.handover, EVENTS["item-given"], EVENTS["item-taken"]];
    const EventKind = Object.freeze({
        Variable: "variable", Money: "money", Handover: "handover", Ended: "ended",
        ItemGiven: "item-given", ItemTaken: "item-taken", Restored: "restored", Reset: "reset",
    });
    const Step = Object.freeze({ Continued: "continued", Switched: "switched", Ended: "ended", Failed: "failed" });
    const LOAD_OPTIONS = { plain: 1 }; // each option and its load flag
    const TEXT = 1; // the UTF-8 form of a text
    const END = 1;
    const ERROR_NULL = -1;
    const ERROR_LOAD = -3;
    const ERROR_MEMORY = -4;
    const ERROR_BUFFER = -5;
    const ERROR_NOT_FOUND = -6;
    const ERROR_FLAGS = -12;
    // murmex_load_error: code, line, message[64], detail[200].
    const LOAD_ERROR_SIZE = 272;
    const LOAD_ERROR_MESSAGE = 8;
    const LOAD_ERROR_DETAIL = 72;
    // The loader's code for a file it cannot read.
    const LOAD_NO_FILE = -1;
    // murmex_question: bytes, text, label, mnemonic.
    const QUESTION_SIZE = 16;
    // murmex_screen: character, answer, question count; then the questions.
    const SCREEN_SIZE = 12;
    // The window offers at most five questions.
    const MOST_QUESTIONS = 5;
    // Texts up to this long are read byte by byte when they are ASCII, which
    // is cheaper than a decoder's call for the short labels a screen holds.
    const SHORT_TEXT = 64;
    // murmex_line: character, unit, part, depth.
    const LINE_SIZE = 16;
    const PARTS = ["question", "answer"];
    // Room that every line id fits in.
    const LINE_ID_MAX_BYTES = 342;
    // Room for the out-values of one call: pointers and 32-bit numbers.
    const SCRATCH_SIZE = 64;
    const COLOR_NAMES = ["window", "line", "question", "hover", "answer"];
    const inNode = typeof process === "object" && process.versions != null && process.versions.node != null;

    // Every failure the library reports; `code` is a MURMEX_ERROR_ value.
    class MurmexError extends Error {
        constructor(message, code) {
            super(message || `murmex error ${code}`);
            this.name = "MurmexError";
            this.code = code;
        }
    }

    class LoadError extends MurmexError {
        constructor(code, line, message, detail, windowText) {
            super(message || detail, code);
            this.name = "LoadError";
            this.line = line;
            this.detail = detail;
            this.windowText = windowText;
        }
    }

    // The flags a load's options ask for: only an object of known options.
    function loadFlags(options) {
        if (options === undefined) return 0;
        if (typeof options !== "object" || options === null || Array.isArray(options)) {
            throw new MurmexError(`load options are an object such as { plain: true }, not ${String(options)}`, ERROR_FLAGS);
        }
        let flags = 0;
        for (const [name, value] of Object.entries(options)) {
            if (!Object.hasOwn(LOAD_OPTIONS, name)) throw new MurmexError(`no load option "${name}"`, ERROR_FLAGS);
            if (typeof value !== "boolean") throw new MurmexError(`the load option ${name} is true or false`, ERROR_FLAGS);
            if (value) flags |= LOAD_OPTIONS[name];
        }
        return flags;
    }

    function bind(core, fs) {
        const utf8 = new TextEncoder();
        const fromUtf8 = new TextDecoder();
        // Out-values first, then room for a screen and its questions (all of
        // them 32-bit words), then a buffer for texts the library writes.
        const SCREEN_ROOM = SCREEN_SIZE + MOST_QUESTIONS * QUESTION_SIZE;
        const scratch = allocate(SCRATCH_SIZE + SCREEN_ROOM + LINE_ID_MAX_BYTES);
        const screen = scratch + SCRATCH_SIZE;
        const screenQuestions = screen + SCREEN_SIZE;
        const words = screen + SCREEN_ROOM;
        const i32 = (pointer) => core.HEAP32[pointer >> 2];
        const u32 = (pointer) => core.HEAP32[pointer >> 2] >>> 0;
        const out = (slot) => scratch + slot * 4;

        function bytesAt(pointer, length) {
            return core.HEAPU8.slice(pointer, pointer + length);
        }
        function zeroEnd(heap, pointer) {
            const end = heap.indexOf(0, pointer);
            return end < 0 ? heap.length : end;
        }
        function text(pointer) {
            if (pointer === 0) return "";
            const heap = core.HEAPU8;
            const end = zeroEnd(heap, pointer);
            if (end - pointer <= SHORT_TEXT) {
                let ascii = "";
                for (let at = pointer; at < end; at++) {
                    const byte = heap[at];
                    if (byte >= 0x80) return fromUtf8.decode(heap.subarray(pointer, end));
                    ascii += String.fromCharCode(byte);
                }
                return ascii;
            }
            return fromUtf8.decode(heap.subarray(pointer, end));
        }
        function rawText(pointer) {
            return pointer === 0 ? new Uint8Array(0) : bytesAt(pointer, zeroEnd(core.HEAPU8, pointer) - pointer);
        }
        // Room in the module's memory. When it has none malloc answers 0,
        // where the module keeps data of its own, so nothing may be written there.
        function allocate(size) {
            const pointer = core.malloc(size);
            if (pointer === 0) throw new MurmexError(statusText(ERROR_MEMORY), ERROR_MEMORY);
            return pointer;
        }
        // Copies bytes, zero-terminated, into the module for the call only.
        function withBytes(value, call) {
            const data = asBytes(value);
            const pointer = allocate(data.length + 1);
            core.HEAPU8.set(data, pointer);
            core.HEAPU8[pointer + data.length] = 0;
            try {
                return call(pointer, data.length);
            } finally {
                core.free(pointer);
            }
        }
        // A name goes over as its bytes, a string as UTF-8. The library reads
        // it up to the first zero byte, so one holding a zero would name
        // something else.
        function withName(name, call) {
            if (typeof name !== "string" && !(name instanceof Uint8Array)) {
                throw new TypeError("a name is a string or a Uint8Array");
            }
            const bytes = typeof name === "string" ? utf8.encode(name) : name;
            if (bytes.includes(0)) throw new RangeError("a name cannot hold a zero byte");
            return withBytes(bytes, call);
        }
        // A text `write(...args, buffer, capacity, length)` puts in the
        // caller's buffer: the shared one, which every line id fits, or one of
        // the length a longer text asks for.
        function written(game, write, ...args) {
            const status = write(...args, words, LINE_ID_MAX_BYTES, out(0));
            if (status !== ERROR_BUFFER) return check(status, game), text(words);
            const size = u32(out(0)) + 1;
            const buffer = allocate(size);
            try {
                check(write(...args, buffer, size, out(0)), game);
                return text(buffer);
            } finally {
                core.free(buffer);
            }
        }
        function statusText(code) {
            return text(core.murmex_status_message(code));
        }

        // A script's handle is held by its Script and by each of its games,
        // which read their lines' texts through it: the last to let go frees it.
        function letGo(script) {
            if (--script.holders === 0) {
                core.murmex_script_free(script.handle);
                script.questions.clear();
            }
        }
        // What frees a game: its handle and the tokens of its listeners. The
        // registry holds this, never the game, so that a game its listeners
        // refer to can still be collected.
        function release(native) {
            native.tokens.forEach((token) => games.delete(token));
            native.tokens.clear();
            core.murmex_game_free(native.handle);
            native.handle = 0;
            letGo(native.script);
        }
        // One registry per kind of handle frees what the program forgot to.
        const scriptRegistry = new FinalizationRegistry(letGo);
        const gameRegistry = new FinalizationRegistry(release);
        // The game each listener's token belongs to, held weakly; the game
        // holds the listener itself.
        const games = new Map();
        let nextToken = 1;

        // A listener's exception must not unwind through the module, which
        // would leave the game in the middle of telling its listeners: it is
        // kept and thrown once the call that told them has returned.
        let listenerError = null;

        core.heard = (token, event) => {
            const game = games.get(token)?.deref();
            const listener = game?._listeners.get(token);
            if (listener === undefined) return;
            try {
                listener(eventOf(event));
            } catch (error) {
                if (listenerError === null) listenerError = { error };
            }
        };

        function eventOf(event) {
            const kind = i32(event);
            return {
                kind: EVENT_NAMES[kind - 1],
                name: NAMED_EVENTS.includes(kind) ? text(u32(event + 8)) : null,
                value: i32(event + 12),
                previous: i32(event + 16),
                present: i32(event + 20) !== 0,
                answer: kind === EVENTS.ended ? text(u32(event + 28)) : null,
            };
        }

        // Throws what the call refused, in the game's words when it has
        // them; a listener's exception first.
        function check(status, game) {
            if (listenerError !== null) {
                const { error } = listenerError;
                listenerError = null;
                throw error;
            }
            if (status < 0) {
                // A game its own listener freed is gone: only the code has words then.
                const handle = game !== undefined ? game._native.handle : 0;
                throw new MurmexError((handle !== 0 ? text(core.murmex_game_last_error(handle)) : "") || statusText(status), status);
            }
            return status;
        }
        function loaded(status, error) {
            if (status === ERROR_LOAD) {
                throw new LoadError(i32(error), i32(error + 4), text(error + LOAD_ERROR_MESSAGE),
                    text(error + LOAD_ERROR_DETAIL), text(core.murmex_web_load_error_text(error)));
            }
            check(status);
            return new Script(u32(out(0)));
        }

        class Script {
            constructor(handle) {
                this._handle = handle;
                // A question as a screen shows it, by where its bytes stand in
                // the script: they stay put while the script lives, and all
                // that is shown of a question follows from them.
                this._native = { handle, holders: 1, questions: new Map() };
                scriptRegistry.register(this, this._native, this);
            }

            // Loads a script held in memory; throws a LoadError when it does not load.
            static fromBytes(bytes, options) {
                const flags = loadFlags(options);
                const error = allocate(LOAD_ERROR_SIZE);
                try {
                    return loaded(withBytes(bytes, (pointer, length) =>
                        core.murmex_script_from_bytes(pointer, length, flags, out(0), error)), error);
                } finally {
                    core.free(error);
                }
            }

            // Loads a script file (Node only). A file that cannot be read
            // throws a LoadError naming it and the system's reason.
            static load(path, options) {
                loadFlags(options);
                if (fs === null) throw new MurmexError("loading a file needs Node; give the bytes to fromBytes", ERROR_NULL);
                let bytes;
                try {
                    bytes = fs.readFileSync(path);
                } catch (error) {
                    const reason = systemReason(error);
                    throw new LoadError(LOAD_NO_FILE, 0, `cannot read ${String(path)}: ${reason}`, reason, "");
                }
                return Script.fromBytes(bytes, options);
            }

            get title() {
                check(core.murmex_script_title(this._live, TEXT, out(0)));
                return text(u32(out(0)));
            }

            // The header's two colours, each {red, green, blue}.
            get colors() {
                check(core.murmex_script_colors(this._live, out(0), out(1)));
                const rgb = (pointer) => ({
                    red: core.HEAPU8[pointer], green: core.HEAPU8[pointer + 1], blue: core.HEAPU8[pointer + 2],
                });
                return { window: rgb(out(0)), text: rgb(out(1)) };
            }

            // The window's colours derived from the header's, as CSS colours.
            get windowColors() {
                check(core.murmex_web_window_colors(this._live, out(0)));
                const colors = {};
                COLOR_NAMES.forEach((name, i) => {
                    const value = u32(out(i));
                    colors[name] = `rgb(${value & 255}, ${(value >> 8) & 255}, ${(value >> 16) & 255})`;
                });
                return colors;
            }

            get characters() {
                check(core.murmex_script_character_count(this._live, out(0)));
                const names = [];
                for (let i = 0, count = i32(out(0)); i < count; i++) {
                    check(core.murmex_script_character_name(this._live, i, TEXT, out(0)));
                    names.push(text(u32(out(0))));
                }
                return names;
            }

            newGame() {
                check(core.murmex_game_new(this._live, out(0)));
                this._native.holders++;
                return new Game(u32(out(0)), this._native);
            }

            // Gives the script back at once; games made from it keep it alive.
            free() {
                if (this._handle !== 0) {
                    scriptRegistry.unregister(this);
                    letGo(this._native);
                    this._handle = 0;
                }
            }

            get _live() {
                if (this._handle === 0) throw new MurmexError("the script was freed", ERROR_NULL);
                return this._handle;
            }
        }
        if (Symbol.dispose) Script.prototype[Symbol.dispose] = Script.prototype.free;

        class Variables {
            constructor(game) {
                this._game = game;
            }
            get(name) {
                const game = this._game;
                const status = withName(name, (pointer) => core.murmex_game_variable(game._live, pointer, out(0)));
                if (status === ERROR_NOT_FOUND) return undefined;
                check(status, game);
                return i32(out(0));
            }
            has(name) {
                return this.get(name) !== undefined;
            }
            // A name is at most 19 bytes (a longer one throws, code -13),
            // and a game holds at most 500 variables.
            set(name, value) {
                const game = this._game;
                const number = int32(value);
                check(withName(name, (pointer) => core.murmex_game_set_variable(game._live, pointer, number)), game);
                return this;
            }
            // False when there was no such variable.
            delete(name) {
                const game = this._game;
                const status = withName(name, (pointer) => core.murmex_game_remove_variable(game._live, pointer));
                if (status === ERROR_NOT_FOUND) return false;
                check(status, game);
                return true;
            }
            // Every variable as [name, value], copied before the game can change.
            entries() {
                const game = this._game;
                const found = [];
                core.HEAP32[out(0) >> 2] = 0;
                while (check(core.murmex_game_next_variable(game._live, out(0), out(1), out(2)), game) !== END) {
                    found.push([text(u32(out(1))), i32(out(2))]);
                }
                return found;
            }
            keys() {
                return this.entries().map(([name]) => name);
            }
            get size() {
                return this.entries().length;
            }
            [Symbol.iterator]() {
                return this.entries()[Symbol.iterator]();
            }
        }

        function int32(value) {
            if (!Number.isInteger(value) || value < -0x80000000 || value > 0x7fffffff) {
                throw new RangeError(`${value} is not a 32-bit whole number`);
            }
            return value;
        }

        class Game {
            constructor(handle, script) {
                this._native = { handle, tokens: new Set(), script };
                // Each listener by its token, and the token of each id the library gave.
                this._listeners = new Map();
                this._tokens = new Map();
                gameRegistry.register(this, this._native, this);
            }

            start(name) {
                check(withName(name, (pointer) => core.murmex_game_start(this._live, pointer)), this);
            }
            reset() {
                check(core.murmex_game_reset(this._live), this);
            }
            get answer() {
                check(core.murmex_game_answer(this._live, TEXT, out(0)), this);
                return text(u32(out(0)));
            }
            // The answer's line id; "" while none is shown.
            get answerLineId() {
                return written(this, core.murmex_game_answer_line_id, this._live);
            }
            get character() {
                check(core.murmex_game_character(this._live, TEXT, out(0)), this);
                return text(u32(out(0)));
            }
            // Each offered question: its text (marks included), the label the
            // window shows, the marked character (or null) and where it stands
            // in the label (or -1), its bytes and its line id.
            get questions() {
                check(core.murmex_game_screen(this._live, screen, screenQuestions, MOST_QUESTIONS), this);
                const count = i32(screen + 8);
                const known = this._native.script.questions;
                const questions = new Array(count);
                for (let i = 0; i < count; i++) {
                    const record = screenQuestions + i * QUESTION_SIZE;
                    const bytes = u32(record);
                    let shown = known.get(bytes);
                    if (shown === undefined) {
                        // At most one a talk unit, so the script's size bounds them.
                        shown = this._readQuestion(i, record);
                        // A question without bytes has no place of its own to be known by.
                        if (bytes !== 0) known.set(bytes, shown);
                    }
                    questions[i] = {
                        text: shown.text,
                        label: shown.label,
                        mnemonic: shown.mnemonic,
                        mnemonicIndex: shown.mnemonicIndex,
                        bytes: shown.bytes.slice(),
                        lineId: shown.lineId,
                    };
                }
                return questions;
            }
            // Asks offered question `index` (0-based); returns where the game
            // went: "continued", "switched", "ended" or "failed".
            choose(index) {
                return STEPS[check(core.murmex_game_choose(this._live, int32(index)), this)];
            }
            // What the next `depth` choices (1 to 3) can show, nearest first:
            // each line's id, text, part and the fewest choices to it.
            lookahead(depth) {
                const game = this._live;
                const script = this._native.script.handle;
                const status = core.murmex_game_lookahead(game, int32(depth), 0, 0, out(0));
                if (status !== ERROR_BUFFER) return check(status, this), [];
                const count = u32(out(0));
                const lines = allocate(count * LINE_SIZE);
                try {
                    check(core.murmex_game_lookahead(game, depth, lines, count, out(0)), this);
                    return Array.from({ length: count }, (_, i) => {
                        const line = lines + i * LINE_SIZE;
                        return {
                            id: written(undefined, core.murmex_script_line_id, script, line),
                            text: written(undefined, core.murmex_script_line_text, script, line, TEXT),
                            part: PARTS[i32(line + 8)],
                            depth: i32(line + 12),
                        };
                    });
                } finally {
                    core.free(lines);
                }
            }
            get variables() {
                return new Variables(this);
            }
            get money() {
                check(core.murmex_game_money(this._live, out(0)), this);
                return i32(out(0));
            }
            set money(amount) {
                check(core.murmex_game_set_money(this._live, int32(amount)), this);
            }
            save() {
                const game = this._live;
                core.murmex_game_save(game, 0, 0, out(0));
                const size = u32(out(0));
                const buffer = allocate(size);
                try {
                    check(core.murmex_game_save(game, buffer, size, out(0)), this);
                    return bytesAt(buffer, u32(out(0)));
                } finally {
                    core.free(buffer);
                }
            }
            // Throws, changing nothing, when the bytes are refused.
            restore(bytes) {
                check(withBytes(bytes, (pointer, length) => core.murmex_game_restore(this._live, pointer, length)), this);
            }
            // The same, but only into the very script the game was saved from.
            restoreStrictly(bytes) {
                check(withBytes(bytes, (pointer, length) => core.murmex_game_restore_strict(this._live, pointer, length)), this);
            }
            // Calls `listener` with each event of the kind (an EventKind
            // value); returns an id for off().
            on(kind, listener) {
                if (!Object.hasOwn(EVENTS, kind)) throw new RangeError(`no event kind "${kind}"`);
                return this._listen(listener, (token) => core.murmex_web_listen(this._live, EVENTS[kind], token, out(0)));
            }
            // Calls `listener` with each change of the one variable; returns an id for unobserve().
            observe(name, listener) {
                return this._listen(listener, (token) =>
                    withName(name, (pointer) => core.murmex_web_observe(this._live, pointer, token, out(0))));
            }
            off(id) {
                if (!Number.isInteger(id)) throw new TypeError("a listener's id is the number on() or observe() gave");
                check(core.murmex_game_unlisten(this._live, id >>> 0), this);
                const token = this._tokens.get(id);
                this._tokens.delete(id);
                this._listeners.delete(token);
                this._native.tokens.delete(token);
                games.delete(token);
            }
            unobserve(id) {
                this.off(id);
            }
            get lastError() {
                return text(core.murmex_game_last_error(this._live));
            }
            // Gives the game back at once. Inside one of its own listeners the
            // library lets it go once the call telling them returns.
            free() {
                if (this._native.handle !== 0) {
                    gameRegistry.unregister(this);
                    release(this._native);
                    this._listeners.clear();
                    this._tokens.clear();
                }
            }

            // Offered question `index`, whose record the screen filled in.
            _readQuestion(index, record) {
                const mnemonic = u32(record + 12);
                const label = text(u32(record + 8));
                const offset = core.murmex_web_mnemonic_offset(u32(record + 4));
                return {
                    text: text(u32(record + 4)),
                    label,
                    mnemonic: mnemonic === 0 ? null : String.fromCodePoint(mnemonic),
                    mnemonicIndex: offset < 0 ? -1 : fromUtf8.decode(utf8.encode(label).subarray(0, offset)).length,
                    bytes: rawText(u32(record)),
                    lineId: written(this, core.murmex_game_question_line_id, this._live, index),
                };
            }
            _listen(listener, add) {
                if (typeof listener !== "function") throw new TypeError("a listener is a function");
                const token = nextToken++;
                check(add(token), this);
                const id = u32(out(0));
                this._listeners.set(token, listener);
                this._tokens.set(id, token);
                this._native.tokens.add(token);
                games.set(token, new WeakRef(this));
                return id;
            }
            get _live() {
                if (this._native.handle === 0) throw new MurmexError("the game was freed", ERROR_NULL);
                return this._native.handle;
            }
        }
        if (Symbol.dispose) Game.prototype[Symbol.dispose] = Game.prototype.free;

        return {
            Script,
            MurmexError,
            LoadError,
            EventKind,
            Step,
            version: text(core.murmex_version()),
            // The form a key's letter and a mnemonic are compared in.
            foldMnemonic: (letter) => String.fromCodePoint(core.murmex_web_fold_mnemonic(letter.codePointAt(0))),
            // Bytes of the module's memory its allocator has handed out and
            // not had back: what live scripts and games hold.
            heapInUse: () => core.murmex_web_heap_in_use(),
        };
    }

    // The system's words for a failed read: Node's message without its code and path.
    function systemReason(error) {
        const words = typeof error.message === "string" ? error.message : String(error);
        return words.replace(/^[A-Z]+: /, "").replace(/, \w+ '.*'$/, "") || words;
    }

    function asBytes(value) {
        if (value instanceof Uint8Array) return value;
        if (value instanceof ArrayBuffer) return new Uint8Array(value);
        if (ArrayBuffer.isView(value)) return new Uint8Array(value.buffer, value.byteOffset, value.byteLength);
        throw new TypeError("bytes are a Uint8Array, an ArrayBuffer or a view of one");
    }

    function fromBase64(text) {
        const binary = atob(text);
        const bytes = new Uint8Array(binary.length);
        for (let i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
        return bytes;
    }

    async function moduleBytes(wasm, fs) {
        if (wasm !== undefined) return asBytes(wasm);
        if (inline !== null) return fromBase64(inline);
        const url = new URL("murmex.wasm", here || location.href);
        if (url.protocol === "file:" && fs !== null) {
            try {
                return fs.readFileSync(url);
            } catch (error) {
                throw new MurmexError(`cannot read ${url.pathname}: ${systemReason(error)}`, ERROR_NULL);
            }
        }
        const response = await fetch(url);
        if (!response.ok) throw new MurmexError(`cannot fetch ${url}: ${response.status} ${response.statusText}`, ERROR_NULL);
        return new Uint8Array(await response.arrayBuffer());
    }

    // The module's exports, with views of its memory that follow its growth.
    async function instantiate(bytes) {
        const core = {};
        const imports = {
            env: {
                murmex_web_heard: (token, event) => core.heard(token, event),
                emscripten_notify_memory_growth: () => core.refreshViews(),
            },
            wasi_snapshot_preview1: {
                proc_exit: (status) => {
                    throw new MurmexError(`the engine stopped with status ${status}`, ERROR_MEMORY);
                },
            },
        };
        const { instance } = await WebAssembly.instantiate(bytes, imports);
        Object.assign(core, instance.exports);
        // Views are made once and again only when the memory grew: asking the
        // memory for its buffer on every read costs more than the read. The
        // module says when it grew; a view of the memory before is empty then
        // too, which catches growth from anywhere else.
        let heapU8 = null;
        let heap32 = null;
        core.refreshViews = () => {
            heapU8 = new Uint8Array(core.memory.buffer);
            heap32 = new Int32Array(core.memory.buffer);
        };
        core.refreshViews();
        Object.defineProperty(core, "HEAPU8", { get: () => (heapU8.length === 0 && core.refreshViews(), heapU8) });
        Object.defineProperty(core, "HEAP32", { get: () => (heap32.length === 0 && core.refreshViews(), heap32) });
        core._initialize();
        return core;
    }

    // Loads the engine; `options.wasm` may give the module's bytes.
    async function Murmex(options = {}) {
        // Node's file system, for Script.load and the module beside this file.
        const fs = inNode ? await import("node:fs") : null;
        return bind(await instantiate(await moduleBytes(options.wasm, fs)), fs);
    }
    return Object.assign(Murmex, { Murmex, MurmexError, LoadError, EventKind, Step });
})();

if (typeof module === "object" && module.exports) module.exports = Murmex; // build: export

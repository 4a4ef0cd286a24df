// The engine for JavaScript: the same Script and Game as in every other
// language, over the C functions compiled to WebAssembly (murmex.wasm).
// Everything a game shows (decoded texts, labels without their marks,
// mnemonics, colours, the flow from one conversation to the next) comes from
// the compiled library; this file only moves values across the boundary.
//
//   const murmex = await Murmex(); // or Murmex({ wasm: bytes })
//   const script = murmex.Script.fromBytes(bytes, { plain: true });
//   const game = script.newGame();
//   game.start("Intro");
//   console.log(game.answer, game.questions.map((q) => q.label));
//   game.choose(0);
var Murmex = (function () {
    "use strict";

    // Where the module is found unless the caller gives its bytes: beside
    // this file, read in Node and fetched in a browser.
    const beside = typeof document === "object" && document.currentScript ? document.currentScript.src : null;

    const STEPS = ["continued", "switched", "ended", "failed"];
    const EVENTS = { variable: 1, money: 2, handOver: 3, ended: 4 };
    const EVENT_NAMES = ["", "variable", "money", "handOver", "ended"];
    const TEXT = 1; // the UTF-8 form of a text
    const LOAD_PLAIN = 1;
    const END = 1;
    const ERROR_LOAD = -3;
    const ERROR_MEMORY = -4;
    const ERROR_NOT_FOUND = -6;
    // murmex_load_error: code, line, message[64], detail[200].
    const LOAD_ERROR_SIZE = 272;
    const LOAD_ERROR_MESSAGE = 8;
    const LOAD_ERROR_DETAIL = 72;
    // murmex_question: bytes, text, label, mnemonic.
    const QUESTION_SIZE = 16;
    // Room for the out-values of one call: pointers and 32-bit numbers.
    const SCRATCH_SIZE = 64;
    const COLOR_NAMES = ["window", "line", "question", "hover", "answer"];

    class MurmexError extends Error {
        constructor(message, code) {
            super(message);
            this.name = "MurmexError";
            this.code = code;
        }
    }

    class LoadError extends MurmexError {
        constructor(code, line, message, detail, windowText) {
            super(message, code);
            this.name = "LoadError";
            this.line = line;
            this.detail = detail;
            this.windowText = windowText;
        }
    }

    function bind(core) {
        const utf8 = new TextEncoder();
        const fromUtf8 = new TextDecoder();
        const scratch = allocate(SCRATCH_SIZE);
        const i32 = (pointer) => core.HEAP32[pointer >> 2];
        const u32 = (pointer) => core.HEAP32[pointer >> 2] >>> 0;
        const out = (slot) => scratch + slot * 4;

        function bytesAt(pointer, length) {
            return core.HEAPU8.slice(pointer, pointer + length);
        }
        function zeroEnd(pointer) {
            let end = pointer;
            while (core.HEAPU8[end] !== 0) end++;
            return end;
        }
        function text(pointer) {
            return pointer === 0 ? "" : fromUtf8.decode(core.HEAPU8.subarray(pointer, zeroEnd(pointer)));
        }
        function rawText(pointer) {
            return pointer === 0 ? new Uint8Array(0) : bytesAt(pointer, zeroEnd(pointer) - pointer);
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
        function statusText(code) {
            return text(core.murmex_status_message(code));
        }

        // One registry per kind of handle frees what the program forgot to.
        const scripts = new FinalizationRegistry((handle) => core.murmex_script_free(handle));
        const games = new FinalizationRegistry((handle) => core.murmex_game_free(handle));
        // Listeners by the token the library hands back with each event.
        const listeners = new Map();
        let nextToken = 1;

        // A listener's exception must not unwind through the module, which
        // would leave the game in the middle of telling its listeners: it is
        // kept and thrown once the call that told them has returned.
        let listenerError = null;

        core.heard = (token, event) => {
            const listener = listeners.get(token);
            if (listener === undefined) return;
            try {
                tell(listener, event);
            } catch (error) {
                if (listenerError === null) listenerError = { error };
            }
        };

        function tell(listener, event) {
            const kind = i32(event);
            listener.callback({
                kind: EVENT_NAMES[kind],
                name: kind === EVENTS.variable || kind === EVENTS.handOver ? text(u32(event + 8)) : null,
                value: i32(event + 12),
                previous: i32(event + 16),
                present: i32(event + 20) !== 0,
                answer: kind === EVENTS.ended ? text(u32(event + 28)) : null,
            });
        }

        class Script {
            constructor(handle) {
                this._handle = handle;
                scripts.register(this, handle, this);
            }

            // Loads a script held in memory; throws a LoadError when it does not load.
            static fromBytes(bytes, { plain = false } = {}) {
                const error = allocate(LOAD_ERROR_SIZE);
                try {
                    const status = withBytes(bytes, (pointer, length) =>
                        core.murmex_script_from_bytes(pointer, length, plain ? LOAD_PLAIN : 0, out(0), error));
                    if (status === ERROR_LOAD) {
                        throw new LoadError(i32(error), i32(error + 4), text(error + LOAD_ERROR_MESSAGE),
                            text(error + LOAD_ERROR_DETAIL), text(core.murmex_web_load_error_text(error)));
                    }
                    check(status);
                    return new Script(u32(out(0)));
                } finally {
                    core.free(error);
                }
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
                return new Game(u32(out(0)));
            }

            // Gives the script back at once; games made from it keep it alive.
            free() {
                if (this._handle !== 0) {
                    scripts.unregister(this);
                    core.murmex_script_free(this._handle);
                    this._handle = 0;
                }
            }

            get _live() {
                if (this._handle === 0) throw new MurmexError("the script was freed", -1);
                return this._handle;
            }
        }

        function check(status, game) {
            if (listenerError !== null) {
                const { error } = listenerError;
                listenerError = null;
                throw error;
            }
            if (status < 0) {
                const words = game !== undefined ? text(core.murmex_game_last_error(game)) : "";
                throw new MurmexError(words || statusText(status), status);
            }
            return status;
        }

        class Variables {
            constructor(game) {
                this._game = game;
            }
            get(name) {
                const game = this._game._live;
                const status = withName(name, (pointer) => core.murmex_game_variable(game, pointer, out(0)));
                if (status === ERROR_NOT_FOUND) return undefined;
                check(status, game);
                return i32(out(0));
            }
            has(name) {
                return this.get(name) !== undefined;
            }
            set(name, value) {
                const game = this._game._live;
                check(withName(name, (pointer) => core.murmex_game_set_variable(game, pointer, int32(value))), game);
                return this;
            }
            // False when there was no such variable.
            delete(name) {
                const game = this._game._live;
                const status = withName(name, (pointer) => core.murmex_game_remove_variable(game, pointer));
                if (status === ERROR_NOT_FOUND) return false;
                check(status, game);
                return true;
            }
            // Every variable as [name, value], copied before the game can change.
            entries() {
                const game = this._game._live;
                const found = [];
                core.HEAP32[out(0) >> 2] = 0;
                while (check(core.murmex_game_next_variable(game, out(0), out(1), out(2)), game) !== END) {
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
            constructor(handle) {
                this._handle = handle;
                this._tokens = new Map();
                games.register(this, handle, this);
            }

            start(name) {
                const game = this._live;
                check(withName(name, (pointer) => core.murmex_game_start(game, pointer)), game);
            }
            reset() {
                check(core.murmex_game_reset(this._live), this._handle);
            }
            get answer() {
                check(core.murmex_game_answer(this._live, TEXT, out(0)), this._handle);
                return text(u32(out(0)));
            }
            get character() {
                check(core.murmex_game_character(this._live, TEXT, out(0)), this._handle);
                return text(u32(out(0)));
            }
            // Each offered question: its text (marks included), the label the
            // window shows, the marked character (or null) and where it stands
            // in the label (or -1), and its bytes.
            get questions() {
                const game = this._live;
                check(core.murmex_game_question_count(game, out(0)), game);
                const count = i32(out(0));
                const record = allocate(QUESTION_SIZE);
                try {
                    const questions = [];
                    for (let i = 0; i < count; i++) {
                        check(core.murmex_game_question(game, i, record), game);
                        const mnemonic = u32(record + 12);
                        const label = text(u32(record + 8));
                        const offset = core.murmex_web_mnemonic_offset(u32(record + 4));
                        questions.push({
                            text: text(u32(record + 4)),
                            label,
                            mnemonic: mnemonic === 0 ? null : String.fromCodePoint(mnemonic),
                            mnemonicIndex: offset < 0 ? -1 : fromUtf8.decode(utf8.encode(label).subarray(0, offset)).length,
                            bytes: rawText(u32(record)),
                        });
                    }
                    return questions;
                } finally {
                    core.free(record);
                }
            }
            // Asks offered question `index` (0-based); returns where the game
            // went: "continued", "switched", "ended" or "failed".
            choose(index) {
                const game = this._live;
                return STEPS[check(core.murmex_game_choose(game, int32(index)), game)];
            }
            get variables() {
                return new Variables(this);
            }
            get money() {
                check(core.murmex_game_money(this._live, out(0)), this._handle);
                return i32(out(0));
            }
            set money(amount) {
                check(core.murmex_game_set_money(this._live, int32(amount)), this._handle);
            }
            save() {
                const game = this._live;
                core.murmex_game_save(game, 0, 0, out(0));
                const size = u32(out(0));
                const buffer = allocate(size);
                try {
                    check(core.murmex_game_save(game, buffer, size, out(0)), game);
                    return bytesAt(buffer, u32(out(0)));
                } finally {
                    core.free(buffer);
                }
            }
            // Throws, changing nothing, when the bytes are refused.
            restore(bytes) {
                const game = this._live;
                check(withBytes(bytes, (pointer, length) => core.murmex_game_restore(game, pointer, length)), game);
            }
            // Calls `listener` with each event of the kind ("variable",
            // "money", "handOver" or "ended"); returns an id for off().
            on(kind, listener) {
                const game = this._live;
                if (!(kind in EVENTS)) throw new RangeError(`no event kind "${kind}"`);
                if (typeof listener !== "function") throw new TypeError("a listener is a function");
                const token = nextToken++;
                check(core.murmex_web_listen(game, EVENTS[kind], token, out(0)), game);
                const id = u32(out(0));
                listeners.set(token, { callback: listener });
                this._tokens.set(id, token);
                return id;
            }
            off(id) {
                check(core.murmex_game_unlisten(this._live, id), this._handle);
                listeners.delete(this._tokens.get(id));
                this._tokens.delete(id);
            }
            get lastError() {
                return text(core.murmex_game_last_error(this._live));
            }
            free() {
                if (this._handle !== 0) {
                    games.unregister(this);
                    core.murmex_game_free(this._handle);
                    this._tokens.forEach((token) => listeners.delete(token));
                    this._handle = 0;
                }
            }

            get _live() {
                if (this._handle === 0) throw new MurmexError("the game was freed", -1);
                return this._handle;
            }
        }

        return {
            Script,
            MurmexError,
            LoadError,
            version: text(core.murmex_version()),
            // The form a key's letter and a mnemonic are compared in.
            foldMnemonic: (letter) => String.fromCodePoint(core.murmex_web_fold_mnemonic(letter.codePointAt(0))),
        };
    }

    function asBytes(value) {
        if (value instanceof Uint8Array) return value;
        if (value instanceof ArrayBuffer) return new Uint8Array(value);
        if (ArrayBuffer.isView(value)) return new Uint8Array(value.buffer, value.byteOffset, value.byteLength);
        throw new TypeError("bytes are a Uint8Array, an ArrayBuffer or a view of one");
    }

    async function moduleBytes(wasm) {
        if (wasm !== undefined) return asBytes(wasm);
        if (beside === null && typeof require === "function") {
            return require("fs").readFileSync(require("path").join(__dirname, "murmex.wasm"));
        }
        const response = await fetch(new URL("murmex.wasm", beside || location.href));
        return new Uint8Array(await response.arrayBuffer());
    }

    // The module's exports, with views of its memory that follow its growth.
    async function instantiate(wasm) {
        const core = {};
        const imports = {
            env: {
                murmex_web_heard: (token, event) => core.heard(token, event),
                emscripten_notify_memory_growth: () => {},
            },
            wasi_snapshot_preview1: {
                proc_exit: (status) => {
                    throw new Error(`the engine stopped with status ${status}`);
                },
            },
        };
        const { instance } = await WebAssembly.instantiate(await moduleBytes(wasm), imports);
        Object.assign(core, instance.exports);
        let buffer = null;
        let views = null;
        const view = (name) => {
            if (buffer !== core.memory.buffer) {
                buffer = core.memory.buffer;
                views = { HEAPU8: new Uint8Array(buffer), HEAP32: new Int32Array(buffer) };
            }
            return views[name];
        };
        Object.defineProperty(core, "HEAPU8", { get: () => view("HEAPU8") });
        Object.defineProperty(core, "HEAP32", { get: () => view("HEAP32") });
        core._initialize();
        return core;
    }

    // Loads the engine; `options.wasm` may give the module's bytes.
    return async function Murmex(options = {}) {
        return bind(await instantiate(options.wasm));
    };
})();

if (typeof module === "object" && module.exports) {
    module.exports = Murmex;
    module.exports.Murmex = Murmex;
}

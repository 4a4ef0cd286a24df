// The engine for JavaScript, in every form the web build writes: murmex.js
// (a classic script and CommonJS) and murmex.mjs (an ES module) with
// murmex.wasm beside them, and murmex.inline.js and .mjs carrying it.
// Scripts and games are disposable (`using`), whatever lib a project targets.
/// <reference lib="esnext.disposable" />

/**
 * Loads the engine. Without `wasm` it reads murmex.wasm beside the library
 * (Node) or fetches it (a browser); the inline forms carry their own.
 */
declare function Murmex(options?: { wasm?: Uint8Array | ArrayBuffer }): Promise<Murmex.Engine>;

declare namespace Murmex {
    /** Where a choice took the game. */
    type Step = "continued" | "switched" | "ended" | "failed";
    /** What a listener hears, by the names every language uses. */
    type EventKind =
        | "variable"
        | "money"
        | "handover"
        | "ended"
        | "item-given"
        | "item-taken"
        | "restored"
        | "reset";
    /** Only these keys; any other, or options that are not an object, throw a MurmexError (code -12). */
    interface LoadOptions {
        /** The script is plain text, not scrambled. */
        plain?: boolean;
    }
    const EventKind: Readonly<{
        Variable: "variable";
        Money: "money";
        Handover: "handover";
        Ended: "ended";
        ItemGiven: "item-given";
        ItemTaken: "item-taken";
        Restored: "restored";
        Reset: "reset";
    }>;
    const Step: Readonly<{ Continued: "continued"; Switched: "switched"; Ended: "ended"; Failed: "failed" }>;
    /** A name as the script holds it: a string is given as UTF-8. A zero byte in it throws a RangeError. */
    type Name = string | Uint8Array;

    interface Engine {
        readonly Script: typeof Script;
        readonly MurmexError: typeof MurmexError;
        readonly LoadError: typeof LoadError;
        readonly EventKind: typeof EventKind;
        readonly Step: typeof Step;
        /** The library's version, such as "1.0.0". */
        readonly version: string;
        /** The form in which a key's letter matches a question's mnemonic. */
        foldMnemonic(letter: string): string;
        /** Bytes of the module's memory held by live scripts and games (the memory itself never shrinks). */
        heapInUse(): number;
    }

    /**
     * A call the library refused, or a game that failed, in its words (never
     * empty); `code` is the library's negative MURMEX_ERROR_ code, -4 when the
     * module's memory has run out.
     */
    class MurmexError extends Error {
        readonly code: number;
    }

    /** A script that did not load, or a file that could not be read (line 0, code -1). */
    class LoadError extends MurmexError {
        /** The 1-based line the loader had reached. */
        readonly line: number;
        /** The cause in plain words (for a file, the system's); may be empty. `message` is the loader's fixed text, or this when that is empty. */
        readonly detail: string;
        /** The message the window's box shows: "Err=…\nLine=…\nErrStr=…". */
        readonly windowText: string;
    }

    interface Rgb {
        red: number;
        green: number;
        blue: number;
    }

    /** The window's colours as CSS colours. */
    interface WindowColors {
        window: string;
        line: string;
        question: string;
        hover: string;
        answer: string;
    }

    /** A loaded script: immutable, shared by every game made from it. */
    class Script {
        /** Throws a LoadError when the bytes do not load. */
        static fromBytes(bytes: Uint8Array | ArrayBuffer | ArrayBufferView, options?: LoadOptions): Script;
        /** Node only: reads and loads a file; one that cannot be read throws a LoadError naming it and why. */
        static load(path: string | URL, options?: LoadOptions): Script;
        readonly title: string;
        /** The header's two colours. */
        readonly colors: { window: Rgb; text: Rgb };
        /** The window's five colours, derived from the header's two. */
        readonly windowColors: WindowColors;
        readonly characters: string[];
        newGame(): Game;
        /** Gives the script back at once; games made from it keep it alive. A script never freed goes when collected. */
        free(): void;
        [Symbol.dispose](): void;
    }

    interface Question {
        /** UTF-8, marks included. */
        text: string;
        /** What the window shows: without the '&' marks. */
        label: string;
        /** The marked character, or null. */
        mnemonic: string | null;
        /** Where the marked character stands in `label` (UTF-16 units), or -1. */
        mnemonicIndex: number;
        /** As the script holds it. */
        bytes: Uint8Array;
        /** Its line id (see Game.answerLineId). */
        lineId: string;
    }

    /** A text the next choices can show. */
    interface Line {
        /** Its line id (see Game.answerLineId). */
        id: string;
        /** UTF-8 as the window shows it, without the '&' marks. */
        text: string;
        /** A unit's question or its answer. */
        part: "question" | "answer";
        /** The fewest choices from now that can show it, from 1. */
        depth: number;
    }

    interface GameEvent {
        kind: EventKind;
        /** variable: its name; handover: the character's; item-given, item-taken: the item's; else null. */
        name: string | null;
        /** variable: its value (0 once removed); money: the new amount; item-given: the count. */
        value: number;
        previous: number;
        /** variable: true while it exists. */
        present: boolean;
        /** ended: the ending unit's answer, which no window shows; else null. */
        answer: string | null;
    }

    /**
     * A game's variables by name; names that are not UTF-8 come out with U+FFFD
     * in them. A name is at most 19 bytes: setting a longer one throws a
     * MurmexError (code -13), reading one finds the variable of its first 19.
     * A game holds at most 500 variables (code -9 past that).
     */
    interface Variables extends Iterable<[string, number]> {
        get(name: Name): number | undefined;
        has(name: Name): boolean;
        set(name: Name, value: number): Variables;
        /** False when there was no such variable. */
        delete(name: Name): boolean;
        entries(): [string, number][];
        keys(): string[];
        readonly size: number;
    }

    /** One playthrough over a script. */
    class Game {
        /** Throws when there is no such character or it has nothing to say. */
        start(name: Name): void;
        /** Every state 0, no variables, no money, no conversation. */
        reset(): void;
        readonly answer: string;
        /**
         * The id of the answer shown, "" while none is: the key the translation
         * export gives the text, such as "Mara/S1/2/Q", so that a line's
         * translation and its recorded voice are found by the same key.
         */
        readonly answerLineId: string;
        readonly character: string;
        readonly questions: Question[];
        /** Asks offered question `index` (0-based) and carries on as the window does. */
        choose(index: number): Step;
        /**
         * The lines the next `depth` choices (1 to 3) can show from the screen
         * now, each once, nearest first: the answers the offered questions lead
         * to and the questions offered then, say to fetch their voices ahead.
         * Changes nothing and tells no listener; another depth throws a
         * MurmexError (code -2).
         */
        lookahead(depth: number): Line[];
        readonly variables: Variables;
        money: number;
        save(): Uint8Array;
        /** Throws, changing nothing, when the bytes are refused; an edited script still takes a save whose situation it holds. */
        restore(bytes: Uint8Array | ArrayBuffer | ArrayBufferView): void;
        /** The same, but only into the very script the game was saved from. */
        restoreStrictly(bytes: Uint8Array | ArrayBuffer | ArrayBufferView): void;
        /**
         * Hears each event of the kind after the step is complete; returns an id
         * for off(). A listener may only read the game (a change throws, code -11),
         * or free it: the game then goes once the call telling its listeners returns.
         * The game holds its listeners, so one referring to its game does not keep it alive.
         */
        on(kind: EventKind, listener: (event: GameEvent) => void): number;
        /** Hears the changes of the one variable `name` only; returns an id for unobserve(). */
        observe(name: Name, listener: (event: GameEvent) => void): number;
        /** Throws a MurmexError (code -6) for an id this game did not give. */
        off(id: number): void;
        unobserve(id: number): void;
        /** The last failure in words; empty when nothing failed. */
        readonly lastError: string;
        /** Gives the game back at once. A game never freed goes when collected. */
        free(): void;
        [Symbol.dispose](): void;
    }
}

export = Murmex;

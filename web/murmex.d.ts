// The engine for JavaScript (murmex.js with murmex.wasm beside it).

/** Loads the engine; in a browser without `wasm` it fetches murmex.wasm beside murmex.js. */
declare function Murmex(options?: { wasm?: Uint8Array | ArrayBuffer }): Promise<Murmex.Engine>;

declare namespace Murmex {
    /** Where a choice took the game. */
    type Step = "continued" | "switched" | "ended" | "failed";
    type EventKind = "variable" | "money" | "handOver" | "ended";
    /** A name as the script holds it: a string is given as UTF-8. A zero byte in it throws a RangeError. */
    type Name = string | Uint8Array;

    interface Engine {
        readonly Script: typeof Script;
        readonly MurmexError: typeof MurmexError;
        readonly LoadError: typeof LoadError;
        /** The library's version, such as "1.0.0". */
        readonly version: string;
        /** The form in which a key's letter matches a question's mnemonic. */
        foldMnemonic(letter: string): string;
    }

    /**
     * A call the library refused, or a game that failed, in its words; code -4
     * when the module's memory has no room for a copy.
     */
    class MurmexError extends Error {
        readonly code: number;
    }

    /** A script that did not load. */
    class LoadError extends MurmexError {
        /** The 1-based line the loader had reached. */
        readonly line: number;
        /** The cause in plain words; may be empty. `message` is the loader's fixed text. */
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
        static fromBytes(bytes: Uint8Array | ArrayBuffer | ArrayBufferView, options?: { plain?: boolean }): Script;
        readonly title: string;
        /** The header's two colours. */
        readonly colors: { window: Rgb; text: Rgb };
        /** The window's five colours, derived from the header's two. */
        readonly windowColors: WindowColors;
        readonly characters: string[];
        newGame(): Game;
        /** Gives the script back at once; games made from it keep it alive. */
        free(): void;
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
    }

    interface GameEvent {
        kind: EventKind;
        /** variable: its name; handOver: the character's; else null. */
        name: string | null;
        /** variable: its value (0 once removed); money: the new amount. */
        value: number;
        previous: number;
        /** variable: true while it exists. */
        present: boolean;
        /** ended: the ending unit's answer, which no window shows; else null. */
        answer: string | null;
    }

    /** A game's variables by name; names that are not UTF-8 come out with U+FFFD in them. */
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
        readonly character: string;
        readonly questions: Question[];
        /** Asks offered question `index` (0-based) and carries on as the window does. */
        choose(index: number): Step;
        readonly variables: Variables;
        money: number;
        save(): Uint8Array;
        /** Throws, changing nothing, when the bytes are refused. */
        restore(bytes: Uint8Array | ArrayBuffer | ArrayBufferView): void;
        /** Hears each event of the kind after the step is complete; returns an id for off(). */
        on(kind: EventKind, listener: (event: GameEvent) => void): number;
        off(id: number): void;
        /** The last failure in words; empty when nothing failed. */
        readonly lastError: string;
        free(): void;
    }
}

export = Murmex;

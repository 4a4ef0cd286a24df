// What the side-by-side benchmark does with each runtime, the same under Node
// and in a browser: load a script, show the first screen, take steps, and
// time each by medians of several runs. A screen is the answer shown and the
// labels of the offered questions, in order.
//
// Ours is the engine's JavaScript API (a Script and its Games); the peer keeps
// its story and its state in one object, so a new game there is ResetState()
// on the loaded story, and a step's answer is the text Continue gives after
// the choice.

// The sizes measured, characters × units.
export const SIZES = [
    [10, 30],
    [30, 100],
    [100, 150],
];

export const baseName = ([characters, units]) => `conversation_${characters}x${units}`;

// A small seeded generator (mulberry32), so that both runtimes take the same choices.
export function random(seed) {
    let a = seed >>> 0;
    return () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return (t ^ (t >>> 14)) >>> 0;
    };
}

const withoutNewline = (text) => (text.endsWith("\n") ? text.slice(0, -1) : text);

// Each runtime the same way round: load(input) gives a loaded script, begin()
// a started game on it, screen() what it shows, choose() a step, and
// steps() the loop the benchmark times, which reads every screen it reaches.
export function runtimes(murmex, Story) {
    const ours = {
        name: "ours",
        load: (bytes) => murmex.Script.fromBytes(bytes, { plain: true }),
        unload: (script) => script.free(),
        begin(script) {
            const game = script.newGame();
            game.start("Intro");
            return game;
        },
        end: (game) => game.free(),
        screen: (game) => ({ answer: game.answer, questions: game.questions.map((q) => q.label) }),
        choose(game, index) {
            game.choose(index);
        },
        // New game, start, read the screen: what the first screen costs.
        first(script) {
            const game = script.newGame();
            game.start("Intro");
            let length = game.answer.length;
            for (const question of game.questions) {
                length += question.label.length;
            }
            game.free();
            return length;
        },
        steps(game, next, count) {
            let length = 0;
            let offered = game.questions.length;
            for (let i = 0; i < count; ++i) {
                game.choose(next() % offered);
                length += game.answer.length;
                const questions = game.questions;
                offered = questions.length;
                for (const question of questions) {
                    length += question.label.length;
                }
            }
            return length;
        },
    };
    const peer = {
        name: "peer",
        load: (json) => new Story(json),
        unload() {},
        begin(story) {
            story.ResetState();
            return { story, answer: withoutNewline(story.ContinueMaximally()) };
        },
        end() {},
        screen: ({ story, answer }) => ({ answer, questions: story.currentChoices.map((c) => c.text) }),
        choose(session, index) {
            session.story.ChooseChoiceIndex(index);
            session.answer = withoutNewline(session.story.ContinueMaximally());
        },
        first(story) {
            story.ResetState();
            let length = story.ContinueMaximally().length;
            for (const choice of story.currentChoices) {
                length += choice.text.length;
            }
            return length;
        },
        steps({ story }, next, count) {
            let length = 0;
            let offered = story.currentChoices.length;
            for (let i = 0; i < count; ++i) {
                story.ChooseChoiceIndex(next() % offered);
                length += story.ContinueMaximally().length;
                const choices = story.currentChoices;
                offered = choices.length;
                for (const choice of choices) {
                    length += choice.text.length;
                }
            }
            return length;
        },
    };
    return { ours, peer };
}

// Plays both for `steps` choices taken by the seeded generator; returns null
// when every screen matched, else the step (0: the first screen) and both screens.
export function compare(runtimeA, inputA, runtimeB, inputB, steps, seed) {
    const a = runtimeA.begin(runtimeA.load(inputA));
    const b = runtimeB.begin(runtimeB.load(inputB));
    const next = random(seed);
    for (let step = 0; ; ++step) {
        const screenA = runtimeA.screen(a);
        const screenB = runtimeB.screen(b);
        if (JSON.stringify(screenA) !== JSON.stringify(screenB)) {
            return { step, [runtimeA.name]: screenA, [runtimeB.name]: screenB };
        }
        if (step === steps) {
            return null;
        }
        if (screenA.questions.length === 0) {
            return { step, reason: "no questions offered", [runtimeA.name]: screenA };
        }
        const index = next() % screenA.questions.length;
        runtimeA.choose(a, index);
        runtimeB.choose(b, index);
    }
}

const median = (values) => values.slice().sort((x, y) => x - y)[Math.floor(values.length / 2)];

// Times `work(n)` (n repetitions) over `runs` runs of at least `minimumMs`
// each, after one calibrating run; the median time per repetition in µs.
export function timePerRepetition(now, work, runs, minimumMs) {
    let n = 1;
    for (;;) {
        const started = now();
        work(n);
        const elapsed = now() - started;
        if (elapsed >= minimumMs) {
            break;
        }
        n = elapsed <= 0 ? n * 10 : Math.min(n * 10, Math.ceil((n * minimumMs * 1.2) / elapsed));
    }
    const times = [];
    for (let run = 0; run < runs; ++run) {
        const started = now();
        work(n);
        times.push(((now() - started) * 1000) / n);
    }
    return median(times);
}

// Load, first screen and one step of one runtime on one script, in µs.
// `sink` keeps the results alive so that no work is optimised away.
export function measure(runtime, input, { now, runs = 5, minimumMs = 200 }) {
    const sink = [];
    const load = timePerRepetition(
        now,
        (n) => {
            for (let i = 0; i < n; ++i) {
                const loaded = runtime.load(input);
                sink[0] = loaded;
                if (loaded !== undefined) {
                    runtime.unload(loaded);
                }
            }
        },
        runs,
        minimumMs,
    );
    const loaded = runtime.load(input);
    let total = 0;
    const first = timePerRepetition(
        now,
        (n) => {
            for (let i = 0; i < n; ++i) {
                total += runtime.first(loaded);
            }
        },
        runs,
        minimumMs,
    );
    const session = runtime.begin(loaded);
    const next = random(7);
    const step = timePerRepetition(
        now,
        (n) => {
            total += runtime.steps(session, next, n);
        },
        runs,
        minimumMs,
    );
    runtime.end(session);
    runtime.unload(loaded);
    sink.push(total);
    return { load, first, step };
}

// Prints rows of [measure, ours, peer] as a table with the ratio ours / peer.
export function table(rows) {
    const lines = ["| measure | ours | peer | ours / peer |", "|---|---:|---:|---:|"];
    for (const [what, ours, peer, unit] of rows) {
        const format = (value) => (unit === "bytes" ? `${Math.round(value)} B` : `${value.toPrecision(3)} ${unit}`);
        lines.push(`| ${what} | ${format(ours)} | ${format(peer)} | ${(ours / peer).toFixed(2)} |`);
    }
    return lines.join("\n");
}

// The cost of one step through the JavaScript binding under Node: the step
// murmex_bench's gameStep takes in C++ (ask the first question of
// binding_step.chr.txt, read the answer and every label), timed over many
// repetitions. Prints nanoseconds per step, of real time and of CPU time,
// each the median of five runs.
//
//     node bench/binding_steps.mjs build-bench/web/share/murmex/web
import { pathToFileURL, fileURLToPath } from "node:url";
import path from "node:path";

const STEPS = 50000;
const RUNS = 5;

const web = path.resolve(process.argv[2] ?? "build/web/share/murmex/web");
const { default: Murmex } = await import(pathToFileURL(path.join(web, "murmex.mjs")).href);
const murmex = await Murmex();
const here = path.dirname(fileURLToPath(import.meta.url));
const script = murmex.Script.load(path.join(here, "binding_step.chr.txt"), { plain: true });
const game = script.newGame();
game.start("Intro");

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const real = [];
const cpu = [];
for (let run = 0; run < RUNS; ++run) {
    const started = process.hrtime.bigint();
    const startedCpu = process.cpuUsage();
    for (let step = 0; step < STEPS; ++step) {
        game.choose(0);
        void game.answer;
        for (const question of game.questions) {
            void question.label;
        }
    }
    const used = process.cpuUsage(startedCpu);
    cpu.push(((used.user + used.system) * 1000) / STEPS);
    real.push(Number(process.hrtime.bigint() - started) / STEPS);
}
console.log(`js step: ${median(real).toFixed(0)} ns real, ${median(cpu).toFixed(0)} ns cpu`);

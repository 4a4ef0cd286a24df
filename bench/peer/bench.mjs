// Ours against the peer runtime under Node, on each prepared conversation:
// load (the script's bytes, or the story's JSON text, to something playable),
// the first screen (a new game, started, its screen read), one step (a seeded
// choice, then the answer and every label read), the memory a loaded script
// and a started game hold, and the bytes a page ships. Times are medians of
// five runs of at least 200 ms each; the start-up of each runtime (importing
// it, and for ours instantiating the WebAssembly module) is timed apart, in
// fresh processes. Run with --expose-gc.
//
//     node --expose-gc bench/peer/bench.mjs --web DIR --work DIR [--quick]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { parseArgs } from "node:util";
import { pathToFileURL } from "node:url";
import zlib from "node:zlib";
import { SIZES, baseName, measure, runtimes, table } from "./measure.mjs";

const { values } = parseArgs({
    options: {
        web: { type: "string", default: "build/web/share/murmex/web" },
        work: { type: "string", default: "build/bench-peer" },
        quick: { type: "boolean", default: false },
    },
});
if (typeof globalThis.gc !== "function") {
    console.error("bench.mjs: run node with --expose-gc");
    process.exit(2);
}
const web = path.resolve(values.web);
const work = path.resolve(values.work);
const oursModule = path.join(web, "murmex.mjs");
const peerModule = path.join(work, "node_modules/inkjs/dist/ink.mjs");
const options = values.quick ? { now: () => performance.now(), runs: 3, minimumMs: 50 } : { now: () => performance.now() };
const median = (list) => list.slice().sort((a, b) => a - b)[Math.floor(list.length / 2)];
const loadBefore = os.loadavg();

// Start-up, in a fresh process each time: import, and for ours the module's instantiation.
function startup(module, instantiate) {
    const code = `const t0 = performance.now();
const m = await import(${JSON.stringify(pathToFileURL(module).href)});
${instantiate ? "await m.default();" : ""}
console.log(performance.now() - t0);`;
    const times = [];
    for (let i = 0; i < (values.quick ? 3 : 7); ++i) {
        times.push(Number(execFileSync(process.execPath, ["--input-type=module", "-e", code], { encoding: "utf8" })));
    }
    return median(times);
}
const startupRow = ["start-up: import (+ instantiate)", startup(oursModule, true), startup(peerModule, false), "ms"];

const { default: Murmex } = await import(pathToFileURL(oursModule).href);
const { Story } = await import(pathToFileURL(peerModule).href);
const murmex = await Murmex();
const { ours, peer } = runtimes(murmex, Story);

// Heap held by a loaded script and a started game, the input excluded: V8's
// heap after a full collection, and for ours the module memory its scripts
// and games hold (heapInUse). Each sample runs in a call of its own, so that
// no register of the caller still holds the previous sample's story when the
// next one takes its baseline. The median of five.
function memorySample(runtime, input, wasm) {
    globalThis.gc();
    const heap = process.memoryUsage().heapUsed;
    const module = wasm ? murmex.heapInUse() : 0;
    const loaded = runtime.load(input);
    const session = runtime.begin(loaded);
    kept = [loaded, session, runtime.screen(session)];
    globalThis.gc();
    const held = process.memoryUsage().heapUsed - heap + (wasm ? murmex.heapInUse() - module : 0);
    kept = null;
    runtime.end(session);
    runtime.unload(loaded);
    return held;
}
let kept = null;

function memory(runtime, input, wasm) {
    const samples = [];
    for (let i = 0; i < 5; ++i) {
        samples.push(memorySample(runtime, input, wasm));
    }
    return median(samples) / 1024;
}

const gzipped = (data) => zlib.gzipSync(data, { level: 9 }).length;
const { minify } = await import(pathToFileURL(path.join(work, "node_modules/terser/main.js")).href);
async function minified(file) {
    const result = await minify(fs.readFileSync(file, "utf8"), { compress: true, mangle: true, module: false });
    return Buffer.from(result.code);
}

const rows = [startupRow];
const oursJs = await minified(path.join(web, "murmex.js"));
const wasm = fs.readFileSync(path.join(web, "murmex.wasm"));
const peerJs = await minified(path.join(work, "node_modules/inkjs/dist/ink.js"));
rows.push(["runtime shipped, minified", oursJs.length + wasm.length, peerJs.length, "bytes"]);
rows.push(["runtime shipped, minified and gzipped", gzipped(oursJs) + gzipped(wasm), gzipped(peerJs), "bytes"]);

for (const size of SIZES) {
    const base = path.join(work, "scripts", baseName(size));
    const bytes = fs.readFileSync(`${base}.chr.txt`);
    const json = fs.readFileSync(`${base}.json`, "utf8");
    const label = `${size[0]} × ${size[1]}`;
    const a = measure(ours, bytes, options);
    const b = measure(peer, json, options);
    rows.push([`${label}: load`, a.load, b.load, "µs"]);
    rows.push([`${label}: first screen`, a.first, b.first, "µs"]);
    rows.push([`${label}: step`, a.step, b.step, "µs"]);
    rows.push([`${label}: memory held`, memory(ours, bytes, true), memory(peer, json, false), "KiB"]);
    rows.push([`${label}: script gzipped`, gzipped(bytes), gzipped(Buffer.from(json)), "bytes"]);
}

console.log(`Node ${process.version}; ours: ${web}; peer: inkjs ${JSON.parse(fs.readFileSync(path.join(work, "node_modules/inkjs/package.json"), "utf8")).version}`);
console.log(table(rows));
const format = (load) => load.map((x) => x.toFixed(2)).join(" ");
console.log(`load average before: ${format(loadBefore)}; after: ${format(os.loadavg())} (${os.cpus().length} cores)`);

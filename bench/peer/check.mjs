// Plays every prepared conversation in both runtimes with the same seeded
// choices and stops at the first screen that differs, printing the step and
// both screens, with exit status 1.
//
//     node bench/peer/check.mjs --web DIR --work DIR [--steps 10000] [--seed 1] [--sizes 10x30,...]
import fs from "node:fs";
import path from "node:path";
import { parseArgs } from "node:util";
import { pathToFileURL } from "node:url";
import { SIZES, baseName, compare, runtimes } from "./measure.mjs";

const { values } = parseArgs({
    options: {
        web: { type: "string", default: "build/web/share/murmex/web" },
        work: { type: "string", default: "build/bench-peer" },
        steps: { type: "string", default: "10000" },
        seed: { type: "string", default: "1" },
        sizes: { type: "string" },
    },
});
const work = path.resolve(values.work);
const { default: Murmex } = await import(pathToFileURL(path.resolve(values.web, "murmex.mjs")).href);
const { Story } = await import(pathToFileURL(path.join(work, "node_modules/inkjs/dist/ink.mjs")).href);
const { ours, peer } = runtimes(await Murmex(), Story);
const steps = Number(values.steps);
const sizes = values.sizes === undefined ? SIZES : values.sizes.split(",").map((s) => s.split("x").map(Number));

let failed = false;
for (const size of sizes) {
    const base = path.join(work, "scripts", baseName(size));
    const difference = compare(
        ours,
        fs.readFileSync(`${base}.chr.txt`),
        peer,
        fs.readFileSync(`${base}.json`, "utf8"),
        steps,
        Number(values.seed),
    );
    if (difference === null) {
        console.log(`${baseName(size)}: the same ${steps + 1} screens`);
    } else {
        console.log(`${baseName(size)}: differs at step ${difference.step}`);
        console.log(JSON.stringify(difference, null, 2));
        failed = true;
    }
}
process.exit(failed ? 1 : 0);

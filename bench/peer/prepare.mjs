// Writes the measured conversations into the work folder, each as a plain
// Murmex script and as the peer's source, and compiles the peer's source to
// the JSON its runtime loads (with the compiler the peer ships). A story whose
// source has not changed since it was compiled is kept.
//
//     node bench/peer/prepare.mjs WORK   (WORK holds node_modules/inkjs)
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { SIZES, baseName } from "./measure.mjs";

const work = path.resolve(process.argv[2] ?? "build/bench-peer");
const here = path.dirname(fileURLToPath(import.meta.url));
const full = pathToFileURL(path.join(work, "node_modules/inkjs/dist/ink-full.mjs")).href;
const { Compiler } = await import(full);
const scripts = path.join(work, "scripts");
fs.mkdirSync(scripts, { recursive: true });

for (const size of SIZES) {
    const base = path.join(scripts, baseName(size));
    const made = spawnSync("python3", [path.join(here, "make_conversation.py"), String(size[0]), String(size[1]), base], {
        stdio: "inherit",
    });
    if (made.status !== 0) {
        process.exit(1);
    }
    const json = `${base}.json`;
    if (fs.existsSync(json) && fs.statSync(json).mtimeMs >= fs.statSync(`${base}.ink`).mtimeMs) {
        continue;
    }
    const started = performance.now();
    const compiler = new Compiler(fs.readFileSync(`${base}.ink`, "utf8"));
    const story = compiler.Compile();
    if (compiler.errors.length > 0 || story === null) {
        console.error(`${base}.ink:\n${compiler.errors.join("\n")}`);
        process.exit(1);
    }
    fs.writeFileSync(`${json}.tmp`, story.ToJson());
    fs.renameSync(`${json}.tmp`, json);
    const seconds = ((performance.now() - started) / 1000).toFixed(1);
    console.log(`compiled ${path.basename(json)} in ${seconds} s (${compiler.warnings.length} warnings)`);
}

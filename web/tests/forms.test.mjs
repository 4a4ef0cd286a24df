// Each form of the library the web build writes, each alone in a folder (the
// inline ones without the module beside them), and games collected with
// their listeners. MURMEX_WEB names the web build's folder.
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath, pathToFileURL } from "node:url";
import { test } from "node:test";
import v8 from "node:v8";
import vm from "node:vm";

const here = path.dirname(fileURLToPath(import.meta.url));
const web = path.resolve(process.env.MURMEX_WEB || path.join(here, "../../build/web/share/murmex/web"));
const demo = fs.readFileSync(path.join(here, "../../examples/demo.chr.txt"));

// The form, copied alone (with the module when it loads it from beside itself) into a new folder.
async function loadAlone(name, withModule) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "murmex-form-"));
    fs.copyFileSync(path.join(web, name), path.join(folder, name));
    if (withModule) fs.copyFileSync(path.join(web, "murmex.wasm"), path.join(folder, "murmex.wasm"));
    const file = path.join(folder, name);
    return name.endsWith(".mjs") ? import(pathToFileURL(file)) : { default: createRequire(file)(file) };
}

test("every form plays alone; the module beside the library is named when missing", async () => {
    const forms = [
        ["murmex.js", true],
        ["murmex.mjs", true],
        ["murmex.inline.js", false],
        ["murmex.inline.mjs", false],
    ];
    for (const [name, withModule] of forms) {
        const library = await loadAlone(name, withModule);
        const Murmex = library.default;
        assert.equal(library.MurmexError ?? Murmex.MurmexError, Murmex.MurmexError, name);
        const murmex = await Murmex();
        const script = murmex.Script.fromBytes(demo, { plain: true });
        const game = script.newGame();
        game.start("Intro");
        assert.equal(game.choose(1), murmex.Step.Switched, name);
        game[Symbol.dispose]();
        script[Symbol.dispose]();
        assert.throws(() => game.answer, (error) => error instanceof Murmex.MurmexError, name);
        assert.throws(() => script.title, /freed/, name);
    }
    for (const name of ["murmex.js", "murmex.mjs"]) {
        const { default: Murmex } = await loadAlone(name, false);
        await assert.rejects(Murmex(), (error) => error instanceof Murmex.MurmexError &&
            /murmex\.wasm: no such file or directory/.test(error.message), name);
    }
});

// Node's collector, with or without --expose-gc.
function collector() {
    if (typeof globalThis.gc === "function") return globalThis.gc;
    v8.setFlagsFromString("--expose-gc");
    return vm.runInNewContext("gc");
}

test("games never freed go with their listeners once collected", async () => {
    const gc = collector();
    const collect = async () => {
        gc();
        await new Promise((resolve) => setTimeout(resolve, 0));
    };
    const { default: Murmex } = await import(pathToFileURL(path.join(web, "murmex.mjs")));
    const murmex = await Murmex();
    const script = murmex.Script.fromBytes(demo, { plain: true });
    const before = murmex.heapInUse();
    let peak = before;
    // In batches, collected in between, so that the module's memory stays small.
    for (let batch = 0; batch < 10; batch++) {
        for (let i = 0; i < 1000; i++) {
            const game = script.newGame();
            game.on("variable", () => game.money);
            game.observe("letter", () => game.answer);
        }
        peak = Math.max(peak, murmex.heapInUse());
        await collect();
    }
    for (let tries = 0; tries < 20 && murmex.heapInUse() > before; tries++) await collect();
    const after = murmex.heapInUse();
    if (process.env.MURMEX_MEMORY_REPORT) console.log(`heap in use: before ${before}, peak ${peak}, after ${after}`);
    assert.ok(peak > before + 1000 * 1024, `peak ${peak}`);
    assert.equal(after, before);
});

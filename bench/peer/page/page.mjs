// The browser side of the Chromium benchmark: the measures of bench.mjs that
// a page can take (start-up, load, first screen, step), left in
// window.benchResult for the driver. "?startup" times the start-up only.
import { SIZES, baseName, measure, runtimes } from "./measure.mjs";

async function run() {
    const started = performance.now();
    const { default: Murmex } = await import("./ours/murmex.mjs");
    const murmex = await Murmex();
    const oursStartup = performance.now() - started;
    const peerStarted = performance.now();
    const { Story } = await import("./peer/ink.mjs");
    const peerStartup = performance.now() - peerStarted;
    const result = { startup: { ours: oursStartup, peer: peerStartup }, sizes: [] };
    if (new URLSearchParams(location.search).has("startup")) {
        return result;
    }
    const { ours, peer } = runtimes(murmex, Story);
    const quick = new URLSearchParams(location.search).has("quick");
    const options = quick ? { now: () => performance.now(), runs: 3, minimumMs: 50 } : { now: () => performance.now() };
    for (const size of SIZES) {
        const base = `./scripts/${baseName(size)}`;
        const bytes = new Uint8Array(await (await fetch(`${base}.chr.txt`)).arrayBuffer());
        const json = await (await fetch(`${base}.json`)).text();
        result.sizes.push({ size, ours: measure(ours, bytes, options), peer: measure(peer, json, options) });
    }
    return result;
}

run().then(
    (result) => {
        window.benchResult = result;
        document.getElementById("state").textContent = "done";
    },
    (error) => {
        window.benchResult = { error: String(error.stack ?? error) };
    },
);

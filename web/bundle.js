// Writes one form of the library from murmex.js: as a classic script and
// CommonJS module ("script") or as an ES module ("module"), finding the
// module beside itself or, given the module, carrying it in base64.
// Usage: node bundle.js script|module INPUT OUTPUT [WASM]
"use strict";
const fs = require("node:fs");

const [form, input, output, wasm] = process.argv.slice(2);
if (!["script", "module"].includes(form) || output === undefined) {
    console.error("usage: node bundle.js script|module INPUT OUTPUT [WASM]");
    process.exit(2);
}

// Each rewritten line ends in its mark; a mark found other than once means
// murmex.js has changed under this script, so nothing is written.
const lines = {
    here: form === "module" ? "const here = import.meta.url;" : null,
    inline: wasm !== undefined ? `const inline = "${fs.readFileSync(wasm).toString("base64")}";` : null,
    export: form === "module" ? "export default Murmex;\nexport const { MurmexError, LoadError, EventKind, Step } = Murmex;" : null,
};
let text = fs.readFileSync(input, "utf8");
for (const [mark, line] of Object.entries(lines)) {
    const pattern = new RegExp(`^.*// build: ${mark}$`, "gm");
    const found = text.match(pattern) || [];
    if (found.length !== 1) {
        console.error(`${input}: the line marked "build: ${mark}" is there ${found.length} times, not once`);
        process.exit(1);
    }
    if (line !== null) text = text.replace(pattern, () => line);
}
fs.writeFileSync(output, text);

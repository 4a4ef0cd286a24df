// The installed package through require: both entries load the engine and
// show the demo's first answer, which must be play.mjs's.
const assert = require("node:assert/strict");
const [file, expected] = process.argv.slice(2);

(async () => {
    for (const entry of ["murmex", "murmex/inline"]) {
        const murmex = await require(entry)();
        const game = murmex.Script.load(file, { plain: true }).newGame();
        game.start("Intro");
        assert.equal(game.answer, JSON.parse(expected)[1], entry);
    }
})().catch((error) => {
    console.error(error);
    process.exitCode = 1;
});

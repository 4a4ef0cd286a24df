// The installed package as an ES module: the plain entry and the inline one
// play the demo's first two questions; prints what was shown, as JSON, for
// the page to be checked against.
import Murmex, { Step } from "murmex";
import MurmexInline from "murmex/inline";
import { createRequire } from "node:module";
import assert from "node:assert/strict";

const [file] = process.argv.slice(2);
const { version } = createRequire(import.meta.url)("murmex/package.json");

function play(murmex) {
    assert.equal(murmex.version, version);
    const script = murmex.Script.load(file, { plain: true });
    const game = script.newGame();
    game.start("Intro");
    const shown = [script.title, game.answer];
    for (let i = 0; i < 2; i++) {
        assert.notEqual(game.choose(0), Step.Failed);
        shown.push(game.answer);
    }
    return shown;
}

const shown = play(await Murmex());
assert.deepEqual(play(await MurmexInline()), shown);
console.log(JSON.stringify(shown));

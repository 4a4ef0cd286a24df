// Type-checked against the installed package's types, not run: what a game
// written in TypeScript calls.
import Murmex from "murmex";
import MurmexInline from "murmex/inline";

async function firstAnswer(bytes: Uint8Array): Promise<string> {
    const murmex: Murmex.Engine = await Murmex();
    const inline: Murmex.Engine = await MurmexInline({ wasm: bytes });
    console.log(murmex.version === inline.version);
    const game: Murmex.Game = murmex.Script.fromBytes(bytes, { plain: true }).newGame();
    game.start("Intro");
    const step: Murmex.Step = game.choose(0);
    game.on("variable", (event) => console.log(event.name, event.value));
    return step === murmex.Step.Failed ? "" : game.questions.map((q) => q.label).join() + game.answer;
}
export { firstAnswer };

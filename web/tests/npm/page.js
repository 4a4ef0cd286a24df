// A page bundled with the installed package's inline entry and the demo
// script, so that it runs from a file without fetching: the title, the
// answer and the questions as buttons.
import Murmex from "murmex/inline";
import demo from "./demo.chr.txt";

(async () => {
    const murmex = await Murmex();
    const script = murmex.Script.fromBytes(demo, { plain: true });
    const game = script.newGame();
    game.start("Intro");
    document.querySelector("h1").textContent = script.title;
    const show = () => {
        document.querySelector("#answer").textContent = game.answer;
        document.querySelector("#questions").replaceChildren(
            ...game.questions.map((question, index) => {
                const button = document.createElement("button");
                button.textContent = question.label;
                button.onclick = () => (game.choose(index), show());
                return button;
            }),
        );
    };
    show();
})().catch((error) => (document.querySelector("#answer").textContent = `failed: ${error}`));

// The published page: plays the embedded script as the window does, with
// buttons for the questions, keys, an announced answer, and a game that
// survives a reload. Every text from the script is set as text, never as markup.
(function () {
    "use strict";
    const root = document.getElementById("game");
    const answer = document.getElementById("answer");
    const list = document.getElementById("questions");
    const failure = document.getElementById("failure");
    const fileInput = document.getElementById("file");
    const storageKey = "murmex:" + root.dataset.id;
    const autosave = root.dataset.autosave === "1";
    const digits = /^[1-5]$/;
    // The page's own words, beside those of the script and the engine, in
    // the page's language: by id, as publish wrote them. They go in as text.
    const LABELS = JSON.parse(document.getElementById("labels").textContent);
    let murmex = null;
    let script = null;
    let game = null;
    let shownOnce = false;
    // The game failed, as the window would end: only Restart goes on.
    let over = false;

    function embedded(id) {
        const raw = atob(document.getElementById(id).textContent.trim());
        const bytes = new Uint8Array(raw.length);
        for (let i = 0; i < raw.length; i++) bytes[i] = raw.charCodeAt(i);
        return bytes;
    }

    function toBase64(bytes) {
        let raw = "";
        bytes.forEach((byte) => (raw += String.fromCharCode(byte)));
        return btoa(raw);
    }

    function buttons() {
        return Array.from(list.querySelectorAll("button"));
    }

    // Where the window would show a box and quit: the message, and Restart.
    function fail(text) {
        over = true;
        failure.textContent = text;
        failure.hidden = false;
        list.replaceChildren();
        document.getElementById("restart").focus();
    }

    function notice(text) {
        failure.textContent = text;
        failure.hidden = text === "";
    }

    // The label with its marked character underlined, as the window shows it.
    function showLabel(button, question) {
        const at = question.mnemonicIndex;
        if (at < 0) {
            button.textContent = question.label;
            return;
        }
        const marked = document.createElement("u");
        marked.textContent = String.fromCodePoint(question.label.codePointAt(at));
        const after = question.label.slice(at + marked.textContent.length);
        button.append(question.label.slice(0, at), marked, after);
    }

    // Shows the answer and the offered questions; focus goes to the question
    // at `focusAt`, else the first.
    function show(focusAt) {
        notice("");
        answer.textContent = game.answer;
        if (!shownOnce) {
            shownOnce = true;
            performance.mark("murmex-first-answer");
        }
        list.replaceChildren(
            ...game.questions.map((question, i) => {
                const item = document.createElement("li");
                const button = document.createElement("button");
                button.type = "button";
                showLabel(button, question);
                if (question.mnemonic !== null) button.setAttribute("aria-keyshortcuts", question.mnemonic);
                button.addEventListener("click", () => choose(i));
                item.append(button);
                return item;
            })
        );
        if (focusAt !== undefined) {
            const offered = buttons();
            if (offered.length > 0) (offered[focusAt] || offered[0]).focus();
        }
    }

    function store() {
        if (!autosave) return;
        try {
            localStorage.setItem(storageKey, toBase64(game.save()));
        } catch (error) {
            // Storage may be full or turned off; the game goes on unsaved.
        }
    }

    function choose(index) {
        if (game.choose(index) === "failed") {
            fail(game.lastError);
            return;
        }
        store();
        show(index);
    }

    function begin() {
        over = false;
        game.reset();
        try {
            game.start("Intro");
        } catch (error) {
            fail(error.message);
            return;
        }
        store();
        show(0);
    }

    function restoreSaved(bytes) {
        try {
            game.restore(bytes);
        } catch (error) {
            return false;
        }
        return true;
    }

    function savedBytes() {
        try {
            const saved = localStorage.getItem(storageKey);
            if (saved === null) return null;
            const raw = atob(saved);
            return Uint8Array.from(raw, (c) => c.charCodeAt(0));
        } catch (error) {
            return null;
        }
    }

    function moveFocus(step) {
        const offered = buttons();
        if (offered.length === 0) return;
        const at = offered.indexOf(document.activeElement);
        const next = at < 0 ? 0 : Math.min(Math.max(at + step, 0), offered.length - 1);
        offered[next].focus();
    }

    function mnemonicChoice(key) {
        if (Array.from(key).length !== 1 || key === " ") return -1;
        const folded = murmex.foldMnemonic(key);
        return game.questions.findIndex(
            (question) => question.mnemonic !== null && murmex.foldMnemonic(question.mnemonic) === folded
        );
    }

    function onKey(event) {
        if (game === null || over || event.ctrlKey || event.metaKey) return;
        const active = document.activeElement;
        const inGame = root.contains(active) && active !== fileInput;
        if (!inGame && active !== document.body) return;
        let index = -1;
        if (digits.test(event.key)) {
            index = Number(event.key) - 1;
        } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
            event.preventDefault();
            moveFocus(event.key === "ArrowDown" ? 1 : -1);
            return;
        } else if (inGame) {
            index = mnemonicChoice(event.key);
        }
        if (index >= 0 && index < buttons().length) {
            event.preventDefault();
            choose(index);
        }
    }

    function download(bytes, name) {
        const link = document.createElement("a");
        link.href = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
        link.download = name;
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 0);
    }

    function saveToFile() {
        download(game.save(), (root.dataset.id || "game") + ".save");
    }

    function pageButton(label, action) {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = label;
        button.addEventListener("click", action);
        return button;
    }

    // A stored game this version of the page cannot continue (the script
    // changed under it): the player is told why and may keep the old save
    // before a new game replaces it in storage.
    function strand(bytes, reason) {
        console.warn("murmex: the stored game was not continued: " + reason);
        over = true;
        const words = document.createElement("p");
        words.textContent = LABELS.storedGameRefused + " " + reason + ".";
        const keep = pageButton(LABELS.downloadOldSave, () =>
            download(bytes, (root.dataset.id || "game") + "-old.save")
        );
        failure.replaceChildren(words, keep, pageButton(LABELS.startAfresh, begin));
        failure.hidden = false;
        list.replaceChildren();
        keep.focus();
    }

    async function loadFromFile() {
        const file = fileInput.files[0];
        fileInput.value = "";
        if (file === undefined) return;
        if (!restoreSaved(new Uint8Array(await file.arrayBuffer()))) {
            notice(game.lastError || LABELS.notThisGame);
            return;
        }
        over = false;
        store();
        show(0);
    }

    function label() {
        for (const element of document.querySelectorAll("[data-label]")) {
            element.textContent = LABELS[element.dataset.label];
        }
        for (const element of document.querySelectorAll("[data-label-name]")) {
            element.setAttribute("aria-label", LABELS[element.dataset.labelName]);
        }
    }

    function wire() {
        document.addEventListener("keydown", onKey);
        document.getElementById("restart").addEventListener("click", () => {
            if (game !== null) begin();
        });
        document.getElementById("save").addEventListener("click", () => game !== null && saveToFile());
        document.getElementById("load").addEventListener("click", () => game !== null && fileInput.click());
        fileInput.addEventListener("change", loadFromFile);
    }

    function applyColors() {
        const colors = script.windowColors;
        const style = document.documentElement.style;
        for (const name of Object.keys(colors)) style.setProperty("--" + name, colors[name]);
    }

    async function main() {
        label();
        wire();
        try {
            murmex = await Murmex({ wasm: embedded("engine") });
            script = murmex.Script.fromBytes(embedded("script"), { plain: root.dataset.plain === "1" });
        } catch (error) {
            fail(error.windowText || error.message);
            return;
        }
        applyColors();
        game = script.newGame();
        const saved = autosave ? savedBytes() : null;
        if (saved === null) {
            begin();
        } else if (restoreSaved(saved)) {
            show(0);
        } else {
            strand(saved, game.lastError || LABELS.notThisGame);
        }
    }

    main();
})();

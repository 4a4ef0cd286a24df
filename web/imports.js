// The functions murmex.wasm imports from the JavaScript that instantiates it
// (murmex.js supplies them). Declared here so that the link knows them; the
// bodies are never used, since the module comes without Emscripten's runtime.
mergeInto(LibraryManager.library, {
    murmex_web_heard: function (token, event) {},
});

// `murmex publish`: checks the script as the player loads it, then fills the
// web build's page with the engine, the script's bytes and the settings.
#include "tools/cli/publish_command.h"

#include "murmex/load_result.h"
#include "text/display_text.h"
#include "tools/authoring/page_labels.h"
#include "tools/authoring/web_page.h"
#include "tools/platform/file_output.h"
#include "tools/script_io/script_input.h"
#include "tools/script_io/script_loading.h"
#include "tools/script_io/script_reading.h"
#include "window/dialog_templates.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iterator>
#include <memory>
#include <system_error>

namespace murmex::tool {

namespace {

// The web build's files, by the part of the page each fills.
constexpr const char* PAGE_FILES[] = {"page.html", "page.css", "murmex.js", "page.js",
                                      "murmex.wasm"};
// No part of the web build comes near this.
constexpr size_t WEB_FILE_LIMIT = size_t{16} << 20;
// A few texts.
constexpr size_t LABELS_FILE_LIMIT = size_t{1} << 20;
// The first lines of the About box: the player's name and version and what it
// is. Its further lines tell how the window is started, which a page is not.
constexpr int32_t ABOUT_LINES = 2;

std::filesystem::path runningProgram() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

bool holdsWebBuild(const std::filesystem::path& folder) {
    std::error_code error;
    for (const char* name : PAGE_FILES) {
        if (!std::filesystem::is_regular_file(folder / name, error)) {
            return false;
        }
    }
    return true;
}

bool readParts(const std::filesystem::path& folder, WebPageParts& parts, std::string& error) {
    std::string* targets[] = {&parts.html, &parts.style, &parts.api, &parts.code, &parts.engine};
    for (size_t i = 0; i < std::size(PAGE_FILES); ++i) {
        const std::string path = (folder / PAGE_FILES[i]).string();
        if (!readWholeFile(path, WEB_FILE_LIMIT, *targets[i], error)) {
            error = path + ": " + error;
            return false;
        }
    }
    if (!fitsInScriptElement(parts.api) || !fitsInScriptElement(parts.code)) {
        error = folder.string() + ": the page's code closes its own <script> element";
        return false;
    }
    return true;
}

std::string aboutText() {
    const kestrine::DialogTemplate& about = kestrine::aboutDialogTemplate();
    std::string text;
    int32_t lines = 0;
    for (int32_t i = 0; i < about.controlCount && lines < ABOUT_LINES; ++i) {
        const kestrine::ControlTemplate& control = about.controls[i];
        if (control.kind == kestrine::ControlKind::StaticText) {
            text += (lines++ > 0 ? " · " : "") + std::string(control.text);
        }
    }
    return text;
}

// The bytes the load read, so that the page plays the script just checked:
// standard input is not there to be read again, and a file named "-" is not it.
bool readLoadedBytes(const PublishOptions& options, const LoadedScript& loaded, std::string& bytes,
                     std::string& error) {
    if (loaded.code != LOAD_CANNOT_OPEN &&
        readWholeSource(loaded.input->source(), STANDARD_INPUT_LIMIT, bytes, error)) {
        return true;
    }
    error = options.file + ": " + (error.empty() ? loaded.input->problem() : error);
    return false;
}

// The language's labels, with the labels file's over them.
bool chooseLabels(const PublishOptions& options, PageLabels& labels, std::ostream& err) {
    bool known = false;
    labels = pageLabels(options.language, known);
    if (!known) {
        err << "murmex publish: no labels in the language " << options.language
            << ": the page's own texts are in English where --labels gives none\n";
    }
    std::string text;
    std::string error;
    if (!options.labelsFile.empty() &&
        (!readWholeFile(options.labelsFile, LABELS_FILE_LIMIT, text, error) ||
         !overridePageLabels(text, labels, error))) {
        err << "murmex publish: " << options.labelsFile << ": " << error << '\n';
        return false;
    }
    return true;
}

int reportMissingWebBuild(const std::vector<std::filesystem::path>& folders, std::ostream& err) {
    err << "murmex publish: the web engine is not built. Build it with `make web` in the source "
           "tree (and `make install` to install it beside the tool). Looked in:\n";
    for (const std::filesystem::path& folder : folders) {
        err << "  " << folder.string() << '\n';
    }
    return EXIT_FAILED;
}

} // namespace

std::vector<std::filesystem::path> webBuildFolders() {
    const std::filesystem::path folder = runningProgram().parent_path();
    return {(folder / ".." / "share" / "murmex" / "web").lexically_normal(),
            (folder / MURMEX_WEB_BUILD_FROM_TOOL).lexically_normal()};
}

int runPublish(const PublishOptions& options, std::ostream& out, std::ostream& err) {
    // The file standard input reads is an input too, whatever the script's name.
    const std::string input = sameFile(options.file, options.output) ? "the script " + options.file
                              : isStandardInput(options.output) ? "the file standard input reads"
                                                                : "";
    if (!input.empty()) {
        err << "murmex publish: the page " << options.output << " would replace " << input << '\n';
        return EXIT_FAILED;
    }
    WebPageSettings settings;
    if (!chooseLabels(options, settings.labels, err)) {
        return EXIT_USAGE;
    }
    const LoadedScript loaded = loadScript(options.file, options.plain);
    if (!loaded.ok() && !options.allowBroken) {
        err << loadErrorLine(options.file, options.plain, loaded) << '\n';
        return EXIT_FAILED;
    }
    const std::vector<std::filesystem::path> folders =
        options.webFolders.empty() ? webBuildFolders() : options.webFolders;
    const auto found = std::find_if(folders.begin(), folders.end(), holdsWebBuild);
    if (found == folders.end()) {
        return reportMissingWebBuild(folders, err);
    }
    WebPageParts parts;
    std::string scriptBytes;
    std::string error;
    if (!readParts(*found, parts, error) || !readLoadedBytes(options, loaded, scriptBytes, error)) {
        err << "murmex publish: " << error << '\n';
        return EXIT_FAILED;
    }
    settings.title = displayText(loaded.engine->title);
    settings.about = aboutText();
    settings.id = options.id.empty() ? settings.title : options.id;
    settings.language = options.language;
    settings.plain = options.plain;
    settings.autosave = options.autosave;
    if (!writeFileWhole(options.output, webPage(parts, settings, scriptBytes), true, error)) {
        err << "murmex publish: " << error << '\n';
        return EXIT_FAILED;
    }
    out << options.output << ": " << (loaded.ok() ? "plays " : "shows the load error of ")
        << options.file << '\n';
    return EXIT_OK;
}

void addPublishOptions(CLI::App& command, const ScriptArguments& shared, ChosenCommand& chosen) {
    auto options = std::make_shared<PublishOptions>();
    command.add_option("SCRIPT", options->file, "Script file to publish")->required();
    command.add_option("-o,--output", options->output, "The HTML file to write")->required();
    command.add_option("--id", options->id,
                       "Name the browser keeps the game under between visits (default: the title)");
    command
        .add_option("--language", options->language,
                    "The page's language, which picks its own texts too, such as fr or de-AT")
        ->capture_default_str()
        ->check(CLI::Validator(
            [](const std::string& value) {
                const bool tag = !value.empty() &&
                                 value.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                         "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-") ==
                                     std::string::npos;
                return tag ? std::string() : "a language tag has letters, digits and '-' only";
            },
            "LL"));
    command.add_option("--labels", options->labelsFile,
                       "A JSON object of the page's own texts by id, over the language's");
    command.add_flag("!--no-autosave", options->autosave,
                     "Keep nothing in the browser: a reload starts the game afresh");
    command.add_flag("--allow-broken", options->allowBroken,
                     "Publish a script that does not load; the page shows the window's message");
    command.callback([options, &shared, &chosen] {
        options->plain = readsPlain(options->file, shared.plain, shared.scrambled);
        chosen.run = [options](std::ostream& out, std::ostream& err) {
            return runPublish(*options, out, err);
        };
    });
}

} // namespace murmex::tool

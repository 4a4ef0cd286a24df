// Words a failed load for a terminal, an editor's error list and JSON.
#include "tools/script_io/load_failure_report.h"

#include "tools/script_io/script_errors.h"
#include "tools/script_io/source_context.h"

namespace murmex::tool {

namespace {

// The lines around an error. A file that reads the other way round would
// show only noise, and its error line already says so.
std::string errorContext(bool plain, const LoadedScript& loaded, const ScriptErrors& found,
                         const ScriptError& error) {
    if (error.code == LOAD_CANNOT_OPEN || !loaded.input) {
        return "";
    }
    if (error.code == LOAD_BAD_MAGIC && firstLineReadsTheOtherWay(plain, loaded)) {
        return "";
    }
    const int32_t line = faultLine(error);
    if (!found.text.empty()) {
        return sourceContext(found.text, false, line);
    }
    return sourceContext(loaded.input->source(), !plain, line);
}

} // namespace

void reportLoadFailure(const std::string& path, bool plain, const LoadedScript& loaded,
                       std::ostream& err) {
    const ScriptErrors& found = findScriptErrors(plain, loaded);
    for (const ScriptError& error : found.errors) {
        const std::string where = path + ':' + std::to_string(error.line) + ": ";
        err << where << "error " << error.code << ": " << error.message
            << (error.further ? FURTHER_ERROR_MARK : "") << '\n';
        // The error line is the loader's, as the player reports it; the
        // note stands where the fault is.
        if (!error.explanation.empty()) {
            err << path << ':' << faultLine(error) << ": note: " << error.explanation << '\n';
        }
        err << errorContext(plain, loaded, found, error);
    }
    if (found.errors.size() > 1) {
        err << path << ": " << found.errors.size() << " errors"
            << (found.cut ? " and more not shown" : "") << "; the player stops at the first\n";
    }
}

nlohmann::ordered_json loadErrorsJson(bool plain, const LoadedScript& loaded) {
    nlohmann::ordered_json errors = nlohmann::ordered_json::array();
    for (const ScriptError& error : findScriptErrors(plain, loaded).errors) {
        errors.push_back({{"line", error.line},
                          {"code", error.code},
                          {"message", error.message},
                          {"explanation", error.explanation},
                          {"further", error.further}});
    }
    return errors;
}

} // namespace murmex::tool

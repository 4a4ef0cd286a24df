// The checks a new name passes before the server hands out the edit.
#include "tools/lsp/rename_check.h"

#include "murmex/load_result.h"
#include "murmex/memory_store.h"
#include "murmex/script_syntax.h"
#include "tools/script_io/script_loading.h"

namespace murmex::lsp {

namespace {

// The loader keeps the last byte of its name buffer for the zero and takes a
// name that reaches it as too long.
constexpr size_t LONGEST_CHARACTER_NAME = static_cast<size_t>(NAME_LIMIT) - 2;

bool hasUnquotable(const std::string& name) {
    for (const char c : name) {
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) {
            return true;
        }
    }
    return false;
}

// A script that loaded must still load: the loader knows how long each
// value may be.
std::string loadProblem(const std::string& before, const std::string& after) {
    if (!tool::loadScriptText(before, true).ok()) {
        return "";
    }
    const tool::LoadedScript loaded = tool::loadScriptText(after, true);
    if (loaded.ok()) {
        return "";
    }
    char detail[LOAD_DETAIL_TEXT_SIZE];
    describeLoadDetail(loaded.detail, detail, sizeof detail);
    return "the script would no longer load: line " + std::to_string(loaded.engine->line) + ": " +
           loaded.engine->errorMessage + (detail[0] != 0 ? std::string(" (") + detail + ")" : "");
}

} // namespace

std::string renameProblem(const OpenDocument& document, const NameOccurrence& at,
                          const std::string& newName, const std::string& renamed) {
    const char* kind = at.kind == NameKind::Character ? "character" : "variable";
    if (newName.empty()) {
        return std::string("a ") + kind + " needs a name";
    }
    if (hasUnquotable(newName)) {
        return "a name can't hold a quote or a control character";
    }
    if (at.kind == NameKind::Variable && newName.size() > static_cast<size_t>(MAX_NAME_LENGTH)) {
        return "a variable name keeps only its first " + std::to_string(MAX_NAME_LENGTH) +
               " bytes; this one has " + std::to_string(newName.size());
    }
    // Checked here too, as the load below checks only a script that loads.
    if (at.kind == NameKind::Character && newName.size() > LONGEST_CHARACTER_NAME) {
        return "a character name may have at most " + std::to_string(LONGEST_CHARACTER_NAME) +
               " bytes; this one has " + std::to_string(newName.size());
    }
    if (newName != at.name && !occurrencesOf(document.names(), at.kind, newName).empty()) {
        return std::string("the ") + kind + " name \"" + newName + "\" is taken";
    }
    return loadProblem(document.text, renamed);
}

} // namespace murmex::lsp

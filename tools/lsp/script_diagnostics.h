// What is wrong with a document: every error the recovering check finds
// when it does not load, every lint warning when it does, each placed on
// the field it concerns where that can be told, else on its line.
#pragma once

#include "murmex/conversation_engine.h"
#include "tools/analysis/finding.h"
#include "tools/lsp/script_index.h"
#include "tools/lsp/text_positions.h"
#include "tools/script_io/script_errors.h"
#include "tools/script_io/script_places.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace murmex::lsp {

enum class Severity { Error = 1, Warning = 2 };

struct ScriptDiagnostic {
    Span span;
    Severity severity = Severity::Error;
    // The load's result code for an error, the rule's stable name for a warning.
    std::string code;
    std::string message;
    // The cause in the author's words; empty when the message says it all.
    std::string explanation;
};

// What the loader and lint say about a document, kept so that after an edit
// inside one character block only that block is loaded and linted again;
// the checks that weigh characters against each other run again whole.
// The document is read as a plain script.
class ScriptCheck {
  public:
    ScriptCheck();
    ~ScriptCheck();
    ScriptCheck(const ScriptCheck&) = delete;
    ScriptCheck& operator=(const ScriptCheck&) = delete;

    // Loads and lints the whole text.
    void readAll(const std::string& text);

    // True when the whole text loaded, so that one block can be read again.
    bool loads() const { return errors.empty(); }
    size_t characterCount() const {
        return engine ? static_cast<size_t>(engine->characterCount) : 0;
    }

    // After an edit inside characters[c]: loads text [begin, end), which
    // holds that character's block, after the header text[0, headerEnd) as a
    // script of its own, and lints it. The part's lines after the header
    // stand `shift` lines further down in the whole text; the edit added
    // `addedLines` lines (fewer than 0: removed). False, with nothing
    // changed, when the part does not load as exactly one character.
    bool readCharacter(const std::string& text, size_t headerEnd, size_t begin, size_t end,
                       int32_t c, int32_t shift, int32_t addedLines);

    // While the text does not load, after an edit inside a block that read
    // cleanly as a script of its own before the edit and reads so after it:
    // the loader meets the same errors as before, and none in the block. The
    // block stood on lines [firstLine, endLine) (0-based) and ended at byte
    // `oldEnd` before the edit, which moved the text after it by `moved`
    // bytes and `addedLines` lines. False, with nothing changed, when an
    // error stood in the block, or when lines moved under an error after
    // it, whose words may name its line.
    bool keepErrors(int32_t firstLine, int32_t endLine, size_t oldEnd, ptrdiff_t moved,
                    int32_t addedLines);

    // The first `limit` diagnostics, placed by the index on the text, and
    // how many there are in all.
    std::vector<ScriptDiagnostic> diagnostics(const std::string& text,
                                              const TextPositions& positions,
                                              const ScriptIndex& index, size_t limit,
                                              size_t& total) const;

  private:
    void lintCharacter(int32_t c);
    // After lines were added or removed above characters[c]: its findings
    // move with them, or are made again when their words name a line.
    void moveFindings(int32_t c, int32_t addedLines);
    void lintAcross();

    // The script as loaded: the characters of the whole load, or of the
    // load of their block alone since; those keep their engine in `kept`,
    // whose pool holds their texts.
    std::unique_ptr<ConversationEngine> engine;
    std::unique_ptr<tool::ScriptPlaces> lines;
    std::vector<std::unique_ptr<ConversationEngine>> kept;
    // Lint's findings about each character alone, each list in order, and
    // those that weigh the characters against each other, in order.
    std::vector<std::vector<tool::Finding>> characterFindings;
    std::vector<tool::Finding> acrossFindings;
    // The errors when the text does not load; empty when it does.
    std::vector<tool::ScriptError> errors;
};

} // namespace murmex::lsp

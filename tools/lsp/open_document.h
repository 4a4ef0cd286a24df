// A document the editor has open: its text and what is read off it, kept
// up to date edit by edit so that each request finds it ready. An edit
// inside one character block reads that block again; any other edit reads
// the whole text again. While the script does not load, so does an edit of
// a block that does not read cleanly by itself before the edit and after
// it: the errors elsewhere stay as they were.
#pragma once

#include "tools/lsp/script_diagnostics.h"
#include "tools/lsp/script_index.h"
#include "tools/lsp/script_names.h"
#include "tools/lsp/text_positions.h"

#include <cstddef>
#include <string>
#include <vector>

namespace murmex::lsp {

class OpenDocument {
  public:
    OpenDocument(std::string uri, std::string text);
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;

    // Replaces text [begin, end) by `inserted`; begin <= end <= the text's
    // size. What is read off the text is ready again after settle().
    void edit(size_t begin, size_t end, const std::string& inserted);
    // Replaces the whole text.
    void replace(std::string whole);
    // Reads the whole text again if an edit since the last call needs it.
    void settle();

    // The names of the index, read when first asked for after a change.
    const std::vector<NameOccurrence>& names() const;
    // The first `limit` diagnostics, and how many there are in all.
    std::vector<ScriptDiagnostic> diagnostics(size_t limit, size_t& total) const {
        return check.diagnostics(content, positionsOf, indexOf, limit, total);
    }

    const std::string uri;
    const std::string& text = content;
    const TextPositions& positions = positionsOf;
    const ScriptIndex& index = indexOf;

  private:
    void readAll();
    // The block whose part holds text [begin, end) whole; -1 when none does.
    int32_t partOf(size_t begin, size_t end) const;
    // Where the part of block `c` stood before an edit, and whether it read
    // cleanly by itself then.
    struct PartBefore {
        int32_t firstLine = 0;
        int32_t endLine = 0;
        size_t end = 0;
        bool clean = false;
    };
    size_t partEnd(size_t c) const;
    PartBefore partBefore(int32_t c);
    // Reads again the part of the block `c` after an edit inside it that
    // moved the text after it by `moved` bytes and `addedLines` lines.
    bool readPart(int32_t c, ptrdiff_t moved, int32_t addedLines, const PartBefore& before);

    std::string content;
    TextPositions positionsOf{content};
    ScriptIndex indexOf;
    ScriptCheck check;
    // Where each character block's part begins: the start of the line of
    // its name. A part runs to the next one's start, the last one to the
    // end of the text; the header stands before the first. Empty when the
    // text can't be read in parts: a block ends on the line where the next
    // begins, or the loaded script has blocks the index does not.
    std::vector<size_t> partStarts;
    // Each part is known to read cleanly by itself; only asked for while the
    // script does not load.
    std::vector<bool> partsClean;
    // An edit was made that the parts could not take.
    bool stale = false;
    mutable std::vector<NameOccurrence> namesOf;
    mutable bool namesRead = false;
};

} // namespace murmex::lsp

// Keeping an open document's text, index and diagnostics up to date.
#include "tools/lsp/open_document.h"

#include <algorithm>

namespace murmex::lsp {

namespace {

int32_t lineFeedsIn(const std::string& text, size_t begin, size_t end) {
    return static_cast<int32_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(begin),
                                           text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

} // namespace

OpenDocument::OpenDocument(std::string uri, std::string text)
    : uri(std::move(uri)), content(std::move(text)) {
    readAll();
}

const std::vector<NameOccurrence>& OpenDocument::names() const {
    if (!namesRead) {
        namesOf = nameOccurrences(indexOf);
        namesRead = true;
    }
    return namesOf;
}

void OpenDocument::readAll() {
    indexOf = indexScript(content);
    check.readAll(content);
    stale = false;
    namesRead = false;
    partStarts.clear();
    if (check.loads() && indexOf.characters.size() != check.characterCount()) {
        return;
    }
    for (const CharacterEntry& character : indexOf.characters) {
        const size_t start = positionsOf.lineStart(positionsOf.lineOf(character.span.begin));
        if (start == 0 || (!partStarts.empty() && start < (&character - 1)->span.end)) {
            partStarts.clear();
            return;
        }
        partStarts.push_back(start);
    }
    partsClean.assign(partStarts.size(), false);
}

size_t OpenDocument::partEnd(size_t c) const {
    return c + 1 < partStarts.size() ? partStarts[c + 1] : content.size();
}

OpenDocument::PartBefore OpenDocument::partBefore(int32_t c) {
    PartBefore before;
    if (c < 0 || check.loads()) {
        return before;
    }
    const auto at = static_cast<size_t>(c);
    before.end = partEnd(at);
    before.firstLine = positionsOf.lineOf(partStarts[at]);
    before.endLine = at + 1 < partStarts.size() ? positionsOf.lineOf(partStarts[at + 1])
                                                : positionsOf.lineOf(content.size()) + 1;
    std::vector<CharacterEntry> part;
    before.clean = partsClean[at] ||
                   (indexPart(content, partStarts.front(), partStarts[at], before.end, part) &&
                    part.size() == 1);
    return before;
}

int32_t OpenDocument::partOf(size_t begin, size_t end) const {
    if (stale || partStarts.empty() || begin < partStarts.front()) {
        return -1;
    }
    const auto after = std::upper_bound(partStarts.begin(), partStarts.end(), begin);
    const auto c = static_cast<int32_t>(after - partStarts.begin()) - 1;
    // An edit that reaches the next part's first byte could join its first
    // line to this part's last.
    if (after != partStarts.end() && end >= *after) {
        return -1;
    }
    return c;
}

void OpenDocument::edit(size_t begin, size_t end, const std::string& inserted) {
    const int32_t c = partOf(begin, end);
    const PartBefore before = partBefore(c);
    const int32_t addedLines =
        lineFeedsIn(inserted, 0, inserted.size()) - lineFeedsIn(content, begin, end);
    content.replace(begin, end - begin, inserted);
    positionsOf.replaced(begin, end - begin, inserted.size());
    namesRead = false;
    if (c < 0 ||
        !readPart(c, static_cast<ptrdiff_t>(inserted.size()) - static_cast<ptrdiff_t>(end - begin),
                  addedLines, before)) {
        stale = true;
    }
}

bool OpenDocument::readPart(int32_t c, ptrdiff_t moved, int32_t addedLines,
                            const PartBefore& before) {
    const auto at = static_cast<size_t>(c);
    for (size_t later = at + 1; later < partStarts.size(); ++later) {
        partStarts[later] = static_cast<size_t>(static_cast<ptrdiff_t>(partStarts[later]) + moved);
        moveCharacter(indexOf.characters[later], moved);
    }
    const size_t begin = partStarts[at];
    const size_t end = partEnd(at);
    std::vector<CharacterEntry> part;
    if (!indexPart(content, partStarts.front(), begin, end, part) || part.size() != 1) {
        return false;
    }
    const bool read =
        check.loads()
            ? check.readCharacter(
                  content, partStarts.front(), begin, end, c,
                  positionsOf.lineOf(begin) - positionsOf.lineOf(partStarts.front()), addedLines)
            : before.clean &&
                  check.keepErrors(before.firstLine, before.endLine, before.end, moved, addedLines);
    if (!read) {
        return false;
    }
    indexOf.characters[at] = std::move(part.front());
    partsClean[at] = true;
    return true;
}

void OpenDocument::replace(std::string whole) {
    const size_t removed = content.size();
    content = std::move(whole);
    positionsOf.replaced(0, removed, content.size());
    stale = true;
}

void OpenDocument::settle() {
    if (stale) {
        readAll();
    }
}

} // namespace murmex::lsp

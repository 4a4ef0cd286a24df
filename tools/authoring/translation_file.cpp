// Writing and reading the translation files of `murmex strings`.
#include "tools/authoring/translation_file.h"

#include "murmex/script_text.h"
#include "text/display_text.h"

#include <algorithm>
#include <cctype>

namespace murmex::tool {

namespace {

// A string as a PO file quotes it, with C escapes; control characters other
// than the usual ones as octal, which every PO reader understands.
std::string poQuoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            out += '\\';
            out += static_cast<char>('0' + (byte >> 6));
            out += static_cast<char>('0' + ((byte >> 3) & 7));
            out += static_cast<char>('0' + (byte & 7));
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A comment line's text must not break the line.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

// The CSV columns an update fills, and the statuses it writes there.
constexpr const char* CSV_STATUS_COLUMN = "status";
constexpr const char* CSV_PREVIOUS_COLUMN = "previous";
constexpr const char* CSV_FUZZY = "fuzzy";
constexpr const char* CSV_OBSOLETE = "obsolete";

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string lineError(int32_t line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// Takes the quoted string at the start of `text` (after blanks) and appends
// its unescaped content to `out`; false when it is not one whole string.
bool takePoString(const std::string& text, std::string& out) {
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos || text[at] != '"') {
        return false;
    }
    for (++at; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            return text.find_first_not_of(" \t\r", at + 1) == std::string::npos;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++at == text.size()) {
            return false;
        }
        const char e = text[at];
        static const std::string simple = "ntr\\\"abfv";
        static const std::string meaning = "\n\t\r\\\"\a\b\f\v";
        if (const size_t s = simple.find(e); s != std::string::npos) {
            out += meaning[s];
        } else if (e >= '0' && e <= '7') {
            int value = 0;
            for (int digits = 0;
                 digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7';
                 ++digits, ++at) {
                value = value * 8 + (text[at] - '0');
            }
            --at;
            out += static_cast<char>(value);
        } else {
            return false;
        }
    }
    return false;
}

// Takes a previous source line ("#| msgid \"...\"" or its continuation
// "#| \"...\"") into `previous`; other "#|" lines (the previous context)
// are not kept.
void takePreviousSource(const std::string& line, bool& inMsgid, std::string& previous) {
    std::string rest = line.substr(2);
    const size_t first = rest.find_first_not_of(" \t");
    rest.erase(0, first == std::string::npos ? rest.size() : first);
    if (rest.rfind("msgid", 0) == 0) {
        inMsgid = true;
        previous.clear();
        rest.erase(0, 5);
    } else if (rest.empty() || rest[0] != '"') {
        inMsgid = false;
        return;
    }
    std::string text;
    if (inMsgid && takePoString(rest, text)) {
        previous += text;
    }
}

bool readPo(const std::string& bytes, TranslationDocument& document, std::string& error) {
    enum class Field { None, Context, Id, Text };
    TranslationEntry entry;
    bool hasId = false;
    bool hasText = false;
    bool nextFuzzy = false;
    // The comment lines and previous source read since the last entry: they
    // belong to the next one.
    std::vector<std::string> comments;
    std::string previous;
    bool inPreviousMsgid = false;
    // The last mark line, which an obsolete entry keeps as written.
    std::string marks;
    Field field = Field::None;
    int32_t lineNumber = 0;
    const auto finish = [&]() {
        if (hasId && hasText) {
            if (!(entry.id.empty() && entry.source.empty())) {
                entry.comments = std::move(comments);
                entry.previousSource = std::move(previous);
                document.entries.push_back(entry);
            } else if (document.entries.empty()) {
                document.header = entry.translation;
                document.headerComments = std::move(comments);
            }
            comments.clear();
            previous.clear();
            marks.clear();
        }
        entry = {};
        hasId = hasText = false;
        field = Field::None;
    };
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) {
            std::vector<std::string>& obsolete = document.obsoleteLines;
            if (!obsolete.empty() && !obsolete.back().empty()) {
                obsolete.emplace_back();
            }
            continue;
        }
        line.erase(0, first);
        if (line[0] == '#') {
            // A comment ends the entry before it and belongs to the next.
            if (hasText) {
                finish();
            }
            if (line.rfind("#,", 0) == 0) {
                nextFuzzy = nextFuzzy || line.find("fuzzy") != std::string::npos;
                marks = line;
            } else if (line.rfind("#~", 0) == 0) {
                // Obsolete entries are no translations; an update keeps their
                // lines as written, with the comments above them.
                for (std::string& comment : comments) {
                    document.obsoleteLines.push_back(std::move(comment));
                }
                comments.clear();
                if (!marks.empty()) {
                    document.obsoleteLines.push_back(std::move(marks));
                    marks.clear();
                }
                document.obsoleteLines.push_back(line);
                nextFuzzy = false;
            } else if (line.rfind("#|", 0) == 0) {
                takePreviousSource(line, inPreviousMsgid, previous);
            } else if (line.size() == 1 || line[1] == ' ' || line[1] == '\t') {
                comments.push_back(line);
            }
            // Notes (#.) and references (#:) are the export's own, made anew.
            continue;
        }
        const auto startsWith = [&](const char* keyword) {
            const size_t length = std::char_traits<char>::length(keyword);
            return line.rfind(keyword, 0) == 0 && line.size() > length &&
                   (line[length] == ' ' || line[length] == '\t' || line[length] == '"');
        };
        std::string* target = nullptr;
        std::string rest;
        if (line[0] == '"') {
            target = field == Field::Context ? &entry.id
                     : field == Field::Id    ? &entry.source
                     : field == Field::Text  ? &entry.translation
                                             : nullptr;
            if (target == nullptr) {
                error = lineError(lineNumber, "a string that belongs to no keyword");
                return false;
            }
            rest = line;
        } else if (startsWith("msgid_plural") || line.rfind("msgstr[", 0) == 0) {
            error = lineError(lineNumber, "plural forms: a script's texts have none");
            return false;
        } else if (startsWith("msgctxt")) {
            finish();
            entry.line = lineNumber;
            field = Field::Context;
            target = &entry.id;
            rest = line.substr(7);
        } else if (startsWith("msgid")) {
            if (hasId) {
                finish();
            }
            if (field != Field::Context) {
                entry.line = lineNumber;
            }
            hasId = true;
            field = Field::Id;
            target = &entry.source;
            rest = line.substr(5);
        } else if (startsWith("msgstr")) {
            if (!hasId || hasText) {
                error = lineError(lineNumber, "msgstr without its msgid");
                return false;
            }
            hasText = true;
            entry.fuzzy = nextFuzzy;
            nextFuzzy = false;
            field = Field::Text;
            target = &entry.translation;
            rest = line.substr(6);
        } else {
            error = lineError(lineNumber, "not a PO keyword, string or comment");
            return false;
        }
        if (!takePoString(rest, *target)) {
            error = lineError(lineNumber, "a string that is not closed or has an unknown escape");
            return false;
        }
    }
    if (hasId && !hasText) {
        error = lineError(lineNumber, "the last msgid has no msgstr");
        return false;
    }
    finish();
    while (!document.obsoleteLines.empty() && document.obsoleteLines.back().empty()) {
        document.obsoleteLines.pop_back();
    }
    return true;
}

bool readCsv(const std::string& bytes, TranslationDocument& document, std::string& error) {
    std::vector<std::vector<std::string>> rows;
    std::vector<int32_t> rowLines;
    std::vector<std::string> row;
    std::string field;
    bool inQuotes = false;
    bool fieldStarted = false;
    int32_t line = 1;
    int32_t rowLine = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                line += c == '\n' ? 1 : 0;
                field += c;
            }
        } else if (c == '"' && !fieldStarted) {
            inQuotes = fieldStarted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
            fieldStarted = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            row.push_back(field);
            rows.push_back(row);
            rowLines.push_back(rowLine);
            row.clear();
            field.clear();
            fieldStarted = false;
            rowLine = ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (inQuotes) {
        error = lineError(rowLine, "a quoted field is not closed");
        return false;
    }
    if (fieldStarted || !row.empty()) {
        row.push_back(field);
        rows.push_back(row);
        rowLines.push_back(rowLine);
    }
    if (rows.empty()) {
        error = "no header row";
        return false;
    }
    // A spreadsheet may move columns around: they are found by name.
    const std::vector<std::string>& header = rows[0];
    const auto column = [&](const char* name) {
        return std::find(header.begin(), header.end(), name) - header.begin();
    };
    const size_t id = static_cast<size_t>(column("id"));
    const size_t source = static_cast<size_t>(column("source"));
    const size_t translation = static_cast<size_t>(column("translation"));
    // Columns an older export did not write, and a spreadsheet may leave out.
    const size_t status = static_cast<size_t>(column(CSV_STATUS_COLUMN));
    const size_t previous = static_cast<size_t>(column(CSV_PREVIOUS_COLUMN));
    if (id == header.size() || source == header.size() || translation == header.size()) {
        error = "line 1: the header row must name the columns id, source and translation";
        return false;
    }
    const auto cellOf = [](const std::vector<std::string>& cells, size_t at) {
        return at < cells.size() ? cells[at] : std::string();
    };
    for (size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r];
        if (cells.size() == 1 && cells[0].empty()) {
            continue; // a blank line
        }
        if (cells.size() <= std::max({id, source, translation})) {
            error = lineError(rowLines[r], "fewer columns than the header names");
            return false;
        }
        const std::string rowStatus = cellOf(cells, status);
        TranslationEntry entry;
        entry.id = cells[id];
        entry.source = cells[source];
        entry.translation = cells[translation];
        entry.fuzzy = rowStatus == CSV_FUZZY;
        entry.line = rowLines[r];
        entry.previousSource = cellOf(cells, previous);
        (rowStatus == CSV_OBSOLETE ? document.obsoleteEntries : document.entries)
            .push_back(std::move(entry));
    }
    return true;
}

} // namespace

namespace {

// The header's text as quoted lines, one "Field: value\n" to a line.
std::string poHeaderLines(const std::string& header) {
    std::string out;
    size_t at = 0;
    while (at < header.size()) {
        size_t end = header.find('\n', at);
        end = end == std::string::npos ? header.size() : end + 1;
        out += poQuoted(header.substr(at, end - at)) + "\n";
        at = end;
    }
    return out;
}

std::string freshPoHeader(const std::string& scriptName, const std::string& title,
                          const std::string& language) {
    // One header line: the field's value, with its line end.
    const auto field = [](const std::string& name, const std::string& value) {
        return name + ": " + oneLine(value) + "\n";
    };
    std::string out = "# Translation of " + oneLine(title) + " (" + oneLine(scriptName) + ").\n";
    out += "# Each msgctxt names a text: TITLE, or CHARACTER/S<state>/<place among the\n"
           "# character's units of that state>/Q or A.\n";
    out += "msgid \"\"\nmsgstr \"\"\n";
    std::string header = field("Project-Id-Version", title);
    // The translator's tools fill in the date, the translator and the team.
    header += field("PO-Revision-Date", "") + field("Last-Translator", "") +
              field("Language-Team", "") + field("Language", language);
    header += field("MIME-Version", "1.0") + field("Content-Type", "text/plain; charset=UTF-8") +
              field("Content-Transfer-Encoding", "8bit");
    return out + poHeaderLines(header);
}

std::string poCommentLines(const std::vector<std::string>& comments) {
    std::string out;
    for (const std::string& comment : comments) {
        out += comment + "\n";
    }
    return out;
}

// An entry's marks and strings, each line after `prefix` ("#~ " when obsolete).
std::string poEntryLines(const TranslationEntry& entry, const std::string& prefix) {
    std::string out;
    if (entry.fuzzy) {
        out += "#, fuzzy\n";
        if (!entry.previousSource.empty()) {
            out += (prefix.empty() ? "#| msgid " : "#~| msgid ") + poQuoted(entry.previousSource) +
                   "\n";
        }
    }
    out += prefix + "msgctxt " + poQuoted(entry.id) + "\n";
    out += prefix + "msgid " + poQuoted(entry.source) + "\n";
    out += prefix + "msgstr " + poQuoted(entry.translation) + "\n";
    return out;
}

} // namespace

std::string writePo(const std::vector<ScriptText>& texts, const std::string& scriptName,
                    const std::string& title, const std::string& language,
                    const CarriedTranslations* carried) {
    const TranslationDocument* previous = carried == nullptr ? nullptr : carried->previous;
    std::string out = previous == nullptr
                          ? freshPoHeader(scriptName, title, language)
                          : poCommentLines(previous->headerComments) + "msgid \"\"\nmsgstr \"\"\n" +
                                poHeaderLines(previous->header);
    for (size_t i = 0; i < texts.size(); ++i) {
        const ScriptText& text = texts[i];
        TranslationEntry entry = carried == nullptr ? TranslationEntry{} : carried->forTexts[i];
        entry.id = text.id;
        entry.source = text.text;
        out += "\n" + poCommentLines(entry.comments);
        out += "#. " + oneLine(text.note) + "\n";
        out += "#: " + oneLine(scriptName) + ":" + std::to_string(text.line) + "\n";
        out += poEntryLines(entry, "");
    }
    if (carried != nullptr) {
        for (const TranslationEntry& entry : carried->gone) {
            out += "\n" + poCommentLines(entry.comments) + poEntryLines(entry, "#~ ");
        }
        if (previous != nullptr && !previous->obsoleteLines.empty()) {
            out += "\n" + poCommentLines(previous->obsoleteLines);
        }
    }
    return out;
}

// A text as the window shows it: without the '&' markers.
std::string withoutMarkers(const std::string& text) {
    std::string shown(text.size() + 1, '\0');
    shown.resize(removeMnemonicMarks(text.data(), text.size(), shown.data(), shown.size()));
    return shown;
}

std::string writeVoiceScript(const std::vector<ScriptText>& texts, const ScriptModel& script,
                             const std::string& scriptName) {
    std::string out = "id,character,text,question,notes\r\n";
    for (const ScriptText& text : texts) {
        if (text.kind == TextKind::Title) {
            continue;
        }
        std::string question;
        if (text.kind == TextKind::Answer) {
            const TalkUnit& unit = *script.characters[text.characterIndex]->units[text.unitIndex];
            question = withoutMarkers(displayText(unit.question));
        }
        out += csvField(text.id) + "," + csvField(text.character) + "," +
               csvField(withoutMarkers(text.text)) + "," + csvField(question) + "," +
               csvField(text.note + " [" + scriptName + ":" + std::to_string(text.line) + "]") +
               "\r\n";
    }
    return out;
}

std::string writeCsv(const std::vector<ScriptText>& texts, const std::string& scriptName,
                     const CarriedTranslations* carried) {
    std::string out = "id,character,kind,source,translation,notes," +
                      std::string(CSV_STATUS_COLUMN) + "," + CSV_PREVIOUS_COLUMN + "\r\n";
    const auto statusCells = [](const TranslationEntry& entry, const char* status) {
        return "," + std::string(status) + "," + csvField(entry.previousSource) + "\r\n";
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        const ScriptText& text = texts[i];
        const TranslationEntry entry =
            carried == nullptr ? TranslationEntry{} : carried->forTexts[i];
        out += csvField(text.id) + "," + csvField(text.character) + "," + textKindName(text.kind) +
               "," + csvField(text.text) + "," + csvField(entry.translation) + "," +
               csvField(text.note + " [" + scriptName + ":" + std::to_string(text.line) + "]") +
               statusCells(entry, entry.fuzzy ? CSV_FUZZY : "");
    }
    if (carried != nullptr) {
        std::vector<TranslationEntry> gone = carried->gone;
        if (carried->previous != nullptr) {
            const std::vector<TranslationEntry>& already = carried->previous->obsoleteEntries;
            gone.insert(gone.end(), already.begin(), already.end());
        }
        for (const TranslationEntry& entry : gone) {
            out += csvField(entry.id) + ",,," + csvField(entry.source) + "," +
                   csvField(entry.translation) + "," + statusCells(entry, CSV_OBSOLETE);
        }
    }
    return out;
}

bool readTranslationDocument(const std::string& bytes, TranslationFormat format,
                             TranslationDocument& document, std::string& error) {
    document = {};
    if (!isUtf8(bytes)) {
        error = "the file is not UTF-8";
        return false;
    }
    std::string text = bytes;
    // A spreadsheet may start its UTF-8 with a byte order mark.
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        text.erase(0, 3);
    }
    return format == TranslationFormat::Po ? readPo(text, document, error)
                                           : readCsv(text, document, error);
}

bool readTranslation(const std::string& bytes, TranslationFormat format,
                     std::vector<TranslationEntry>& entries, std::string& error) {
    TranslationDocument document;
    const bool read = readTranslationDocument(bytes, format, document, error);
    entries = std::move(document.entries);
    return read;
}

TranslationFormat formatOfName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".csv") == 0
               ? TranslationFormat::Csv
               : TranslationFormat::Po;
}

} // namespace murmex::tool

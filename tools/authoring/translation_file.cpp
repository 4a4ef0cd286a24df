// Writing and reading the translation files of `murmex strings`.
#include "tools/authoring/translation_file.h"

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

bool readPo(const std::string& bytes, std::vector<TranslationEntry>& entries, std::string& error) {
    enum class Field { None, Context, Id, Text };
    TranslationEntry entry;
    bool hasId = false;
    bool hasText = false;
    bool nextFuzzy = false;
    Field field = Field::None;
    int32_t lineNumber = 0;
    const auto finish = [&]() {
        if (hasId && hasText && !(entry.id.empty() && entry.source.empty())) {
            entries.push_back(entry);
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
            continue;
        }
        line.erase(0, first);
        if (line[0] == '#') {
            if (line.rfind("#,", 0) == 0) {
                if (hasText) {
                    finish();
                }
                nextFuzzy = nextFuzzy || line.find("fuzzy") != std::string::npos;
            }
            // Obsolete entries (#~), previous strings (#|) and notes are not
            // translations.
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
    return true;
}

bool readCsv(const std::string& bytes, std::vector<TranslationEntry>& entries, std::string& error) {
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
    if (id == header.size() || source == header.size() || translation == header.size()) {
        error = "line 1: the header row must name the columns id, source and translation";
        return false;
    }
    for (size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r];
        if (cells.size() == 1 && cells[0].empty()) {
            continue; // a blank line
        }
        if (cells.size() <= std::max({id, source, translation})) {
            error = lineError(rowLines[r], "fewer columns than the header names");
            return false;
        }
        entries.push_back({cells[id], cells[source], cells[translation], false, rowLines[r]});
    }
    return true;
}

} // namespace

std::string writePo(const std::vector<ScriptText>& texts, const std::string& scriptName,
                    const std::string& title, const std::string& language) {
    // One header line: the field's value quoted, with its line end escaped.
    const auto field = [](const std::string& name, const std::string& value) {
        const std::string quoted = poQuoted(oneLine(value));
        return "\"" + name + ": " + quoted.substr(1, quoted.size() - 2) + "\\n\"\n";
    };
    std::string out = "# Translation of " + oneLine(title) + " (" + oneLine(scriptName) + ").\n";
    out += "# Each msgctxt names a text: TITLE, or CHARACTER/S<state>/<place among the\n"
           "# character's units of that state>/Q or A.\n";
    out += "msgid \"\"\nmsgstr \"\"\n";
    out += field("Project-Id-Version", title);
    // The translator's tools fill in the date, the translator and the team.
    out += field("PO-Revision-Date", "") + field("Last-Translator", "") +
           field("Language-Team", "") + field("Language", language);
    out += field("MIME-Version", "1.0") + field("Content-Type", "text/plain; charset=UTF-8") +
           field("Content-Transfer-Encoding", "8bit");
    for (const ScriptText& text : texts) {
        out += "\n#. " + oneLine(text.note) + "\n";
        out += "#: " + oneLine(scriptName) + ":" + std::to_string(text.line) + "\n";
        out += "msgctxt " + poQuoted(text.id) + "\n";
        out += "msgid " + poQuoted(text.text) + "\n";
        out += "msgstr \"\"\n";
    }
    return out;
}

std::string writeCsv(const std::vector<ScriptText>& texts, const std::string& scriptName) {
    std::string out = "id,character,kind,source,translation,notes\r\n";
    for (const ScriptText& text : texts) {
        out += csvField(text.id) + "," + csvField(text.character) + "," + textKindName(text.kind) +
               "," + csvField(text.text) + ",," +
               csvField(text.note + " [" + scriptName + ":" + std::to_string(text.line) + "]") +
               "\r\n";
    }
    return out;
}

bool readTranslation(const std::string& bytes, TranslationFormat format,
                     std::vector<TranslationEntry>& entries, std::string& error) {
    entries.clear();
    if (!isUtf8(bytes)) {
        error = "the file is not UTF-8";
        return false;
    }
    std::string text = bytes;
    // A spreadsheet may start its UTF-8 with a byte order mark.
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        text.erase(0, 3);
    }
    return format == TranslationFormat::Po ? readPo(text, entries, error)
                                           : readCsv(text, entries, error);
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

// The script reader: descrambling by offset, comments, line counting and the
// two scanning steps, including the limits of a quoted value.
#include "load_case.h"
#include "loader/scramble_key.h"
#include "loader/script_fields.h"
#include "loader/script_reader.h"
#include "murmex/load_messages.h"
#include "murmex/scrambling.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace murmex {
namespace {

using testing::QUOTE_EXPECTED;
using testing::scrambled;
using testing::ScratchFolder;

// Marks errorMessage so that a test can see whether the reader touched it.
constexpr const char* UNTOUCHED = "untouched";

class ScriptReaderTest : public ::testing::Test {
  protected:
    // Opens a reader over the text, written scrambled or plain.
    ScriptReader& open(const std::string& text, bool scramble = false) {
        state = LoadState();
        state.message = UNTOUCHED;
        reader.reset();
        path = folder.write("script.chr", scramble ? scrambled(text) : text);
        source = std::make_unique<FileSource>(path.c_str());
        reader = std::make_unique<ScriptReader>(state, *source, chunk.get(), capacity, scramble);
        EXPECT_TRUE(reader->open());
        return *reader;
    }

    // Everything readChar hands out up to the end of the file.
    std::string readAll(int32_t inQuotes = 0) {
        std::string seen;
        char c = 0;
        while (reader->readChar(c, inQuotes) == READ_OK) {
            seen += c;
        }
        return seen;
    }

    ScratchFolder folder;
    std::string path;
    // Bytes the reader fetches at once; a few make every field cross a fetch.
    size_t capacity = READ_CHUNK_SIZE;
    LoadState state;
    std::unique_ptr<uint8_t[]> chunk = std::make_unique<uint8_t[]>(READ_CHUNK_SIZE);
    std::unique_ptr<FileSource> source;
    std::unique_ptr<ScriptReader> reader;
};

TEST_F(ScriptReaderTest, KeyBytesArePinned) {
    // Scripts already scrambled depend on these bytes; a changed table breaks them.
    EXPECT_EQ(scrambleKey[0], 0xA0);
    EXPECT_EQ(scrambleKeyAt(1), 0x23);
    EXPECT_EQ(scrambleKey[4], 0x23);
    EXPECT_EQ(scrambleKeyAt(2), 0x6C);
    EXPECT_EQ(scrambleKeyAt(3), 0xA1);
    EXPECT_EQ(scrambleKeyAt(128), 0xD1);
    EXPECT_EQ(scrambleKeyAt(255), 0x02);
    EXPECT_EQ(scrambleKeyAt(256), scrambleKeyAt(0));
}

TEST_F(ScriptReaderTest, WholeKeyMatchesItsDigest) {
    // Scrambling 256 zero bytes yields the key itself; its FNV-1a 64, written
    // out here, catches a change of any one of the 256 bytes.
    uint8_t key[256] = {};
    scrambleBytes(key, sizeof key);
    uint64_t digest = 0xCBF29CE484222325ull;
    for (const uint8_t byte : key) {
        digest = (digest ^ byte) * 0x100000001B3ull;
    }
    EXPECT_EQ(digest, 0xAEDE9ABDBF44376Dull);
}

TEST_F(ScriptReaderTest, ScrambledTextReadsBackPlainThroughCommentsAndStrings) {
    // The quoted value spans offset 256 (key byte 0 again) after a long
    // comment: every skipped or quoted byte must still count for the key.
    const std::string value = std::string(60, 'q') + "#in";
    const std::string text =
        "MurmexSrcFile\r\n# " + std::string(200, 'c') + "\r\n" + "\"" + value + "\" tail\n";
    for (bool scramble : {true, false}) {
        open(text, scramble);
        std::string magic;
        char c = 0;
        while (magic.size() < 15 && reader->readChar(c, 0) == READ_OK) {
            magic += c;
        }
        EXPECT_EQ(magic, "MurmexSrcFile\r\n");
        char buffer[100];
        ASSERT_EQ(reader->readQuoted(buffer, 100), READ_OK);
        EXPECT_EQ(buffer, value);
        EXPECT_EQ(readAll(), " tail\n");
        EXPECT_EQ(reader->position(), text.size());
        EXPECT_EQ(state.line, 4);
    }
}

TEST_F(ScriptReaderTest, LargeFileReadsAcrossFetchedBlocks) {
    // Comments and values that straddle the reader's block boundaries.
    std::string text;
    std::string visible;
    for (int i = 0; text.size() < 3 * READ_CHUNK_SIZE; ++i) {
        const std::string piece = "\"v" + std::to_string(i) + "\" ";
        text += piece + "# note " + std::to_string(i) + "\n";
        visible += piece;
    }
    open(text, true);
    EXPECT_EQ(readAll(), visible);
    EXPECT_EQ(reader->position(), text.size());
}

struct CharCase {
    const char* text;
    const char* seen; // what readChar hands out with comments on
    int32_t line;     // line after the end of the file
};

void PrintTo(const CharCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.text);
}

class CommentTest : public ScriptReaderTest, public ::testing::WithParamInterface<CharCase> {};

TEST_P(CommentTest, HandsOutTextWithoutComments) {
    open(GetParam().text);
    EXPECT_EQ(readAll(), GetParam().seen);
    EXPECT_EQ(state.line, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Comments, CommentTest,
    ::testing::Values(CharCase{"a#note\nb", "ab", 2}, CharCase{"a\r\nb", "a\r\nb", 2},
                      CharCase{"#one\r\n#two\r\nz", "z", 3}, // consecutive comments vanish
                      CharCase{"#one\n\nz", "\nz", 3},       // a line feed after one counts
                      CharCase{"x # last line", "x ", 1},    // end of file inside a comment
                      CharCase{"x #\n", "x ", 2}, CharCase{"\"#\"", "\"", 1}));

TEST_F(ScriptReaderTest, HashIsOrdinaryInQuotes) {
    open("a#b\n");
    EXPECT_EQ(readAll(1), "a#b\n");
}

struct SeekCase {
    const char* text;
    char wanted;
    int32_t result;
    const char* message;
    char next; // the character read after a successful seek
};

void PrintTo(const SeekCase& c, std::ostream* out) {
    *out << "seek " << c.wanted << " in " << ::testing::PrintToString(c.text);
}

class SeekTest : public ScriptReaderTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(SeekTest, SkipsToTheWantedCharacter) {
    const SeekCase& c = GetParam();
    open(c.text);
    EXPECT_EQ(reader->seekChar(c.wanted), c.result);
    EXPECT_STREQ(state.message, c.message);
    if (c.result == READ_OK) {
        char next = 0;
        ASSERT_EQ(reader->readChar(next, 0), READ_OK);
        EXPECT_EQ(next, c.next);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Seek, SeekTest,
    ::testing::Values(SeekCase{"ITLE \t\r\n= x", '=', READ_OK, UNTOUCHED, ' '},
                      SeekCase{"tTx", 'T', READ_OK, UNTOUCHED, 'x'}, // case matters
                      SeekCase{"ab{x", '{', READ_OK, UNTOUCHED, 'x'},
                      SeekCase{"ITLE { =", '=', LOAD_SYNTAX, "Syntax error: { unexpected", 0},
                      SeekCase{"a}=", '=', LOAD_SYNTAX, "Syntax error: } unexpected", 0},
                      SeekCase{"a\"=", '=', LOAD_SYNTAX, "Syntax error: \" unexpected", 0},
                      SeekCase{"no quote here", '"', READ_END, UNTOUCHED, 0},
                      SeekCase{"# = in a comment\n=z", '=', READ_OK, UNTOUCHED, 'z'}));

struct QuotedCase {
    std::string text;
    int32_t result;
    const char* message;
    std::string value; // the buffer's text on success
    int32_t line = 1;
};

void PrintTo(const QuotedCase& c, std::ostream* out) {
    *out << c.result << " " << c.message << " after " << c.text.size() << " bytes";
}

class QuotedTest : public ScriptReaderTest, public ::testing::WithParamInterface<QuotedCase> {};

TEST_P(QuotedTest, ReadsAValueWithinItsLimit) {
    const QuotedCase& c = GetParam();
    open(c.text);
    char buffer[100];
    std::fill(std::begin(buffer), std::end(buffer), '@');
    EXPECT_EQ(reader->readQuoted(buffer, 100), c.result);
    EXPECT_STREQ(state.message, c.message);
    EXPECT_EQ(state.line, c.line);
    if (c.result == READ_OK) {
        EXPECT_EQ(std::string(buffer), c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Limit100, QuotedTest,
    ::testing::Values(
        QuotedCase{" = \"" + std::string(98, 'n') + "\"", READ_OK, UNTOUCHED, std::string(98, 'n')},
        QuotedCase{"\"" + std::string(99, 'n') + "\"", LOAD_LIMIT, UNTOUCHED, ""},
        QuotedCase{"\"" + std::string(100, 'n') + "\"", LOAD_LIMIT, QUOTE_EXPECTED, ""},
        QuotedCase{"\"" + std::string(99, 'n') + "\n", LOAD_LIMIT, QUOTE_EXPECTED, "", 2},
        QuotedCase{"\"" + std::string(99, 'n'), LOAD_LIMIT, QUOTE_EXPECTED, ""},
        QuotedCase{"\"" + std::string(98, 'n'), LOAD_SYNTAX, QUOTE_EXPECTED, ""},
        QuotedCase{"\"open\r\n\"", LOAD_SYNTAX, QUOTE_EXPECTED, "", 2},
        QuotedCase{"\"\"", READ_OK, UNTOUCHED, ""},
        QuotedCase{"\"a\rb{}#c\"", READ_OK, UNTOUCHED, "a\rb{}#c"},
        QuotedCase{"x { \"a\"", LOAD_SYNTAX, "Syntax error: { unexpected", ""},
        QuotedCase{"no value", READ_END, UNTOUCHED, ""}));

// What reading one field left behind.
struct FieldOutcome {
    int32_t result;
    std::string message;
    int32_t line;
    std::string value;
    uint32_t position;
    bool operator==(const FieldOutcome&) const = default;
};

void PrintTo(const FieldOutcome& o, std::ostream* out) {
    *out << o.result << " \"" << o.message << "\" line " << o.line << " value "
         << ::testing::PrintToString(o.value) << " at " << o.position;
}

class FieldTest : public ScriptReaderTest, public ::testing::WithParamInterface<std::string> {
  protected:
    // Reads a field with S as its letter and a limit of 20: whole, whole
    // while marking where its parts stand, or by the separate steps
    // readField takes when the field is not plain.
    enum class Way { Whole, Marking, Steps };
    FieldOutcome readS(const std::string& text, Way way) {
        open(text, true);
        char buffer[20] = {};
        int32_t result = READ_OK;
        const ScriptFieldInfo field{ScriptField::State, "S", 'S', 20, "S missing", nullptr};
        FieldPlaces places;
        if (way != Way::Steps) {
            result = readField(*reader, field, buffer, ValueUse::Copied,
                               way == Way::Marking ? &places : nullptr);
        } else {
            result = expectChar(*reader, 'S', "S missing");
            if (result == READ_OK) {
                result = expectChar(*reader, '=', messages::EQUALS_EXPECTED);
            }
            if (result == READ_OK) {
                result = readValue(*reader, buffer, 20);
            }
        }
        return {result, state.message, state.line, result == READ_OK ? buffer : "",
                reader->position()};
    }
};

TEST_P(FieldTest, WholeFieldReadsAsItsSteps) {
    // Every field at every place relative to the fetched blocks and the
    // reader's look-ahead.
    for (const size_t blockSize : {size_t{7}, size_t{24}, READ_CHUNK_SIZE}) {
        capacity = blockSize;
        for (size_t pad = 0; pad < 24; ++pad) {
            const std::string text = std::string(pad, ' ') + GetParam() + " N = \"1\"";
            const FieldOutcome steps = readS(text, Way::Steps);
            EXPECT_EQ(readS(text, Way::Whole), steps) << blockSize << " " << pad;
            EXPECT_EQ(readS(text, Way::Marking), steps) << blockSize << " " << pad;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, FieldTest,
                         ::testing::Values("S = \"12\"", "SX=\"\"", "STATE   =   \"a b\"",
                                           "S = # note\n\"x\"", "S\r\n= \"x\"", "S { = \"x\"",
                                           "S } = \"x\"", "S = \"open\r\n",
                                           "S = \"" + std::string(18, 'n') + "\"",
                                           "S = \"" + std::string(19, 'n') + "\"", "\"S\" = \"x\"",
                                           "S = x\"v\"", std::string("S = \"a\0b\"", 10),
                                           "S = ", "S", "N = \"1\" S = \"2\""));

} // namespace
} // namespace murmex

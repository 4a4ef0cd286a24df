// Loading from any byte source: a script in memory loads exactly as the same
// file does, at any size; and a failed load names its cause in plain words.
#include "load_case.h"
#include "loader/mill_header.h"
#include "murmex/load_script.h"
#include "murmex/magic_line.h"
#include "murmex/scrambling.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace murmex {
namespace {

using testing::HEADER;
using testing::ScratchFolder;

// Every character, unit and text of two loaded engines is the same.
void expectSameModel(const ConversationEngine& a, const ConversationEngine& b) {
    ASSERT_EQ(a.characterCount, b.characterCount);
    ASSERT_EQ(a.used, b.used);
    EXPECT_EQ(std::memcmp(a.block.get(), b.block.get(), static_cast<size_t>(a.used)), 0);
    EXPECT_STREQ(a.title, b.title);
    for (int32_t c = 0; c < a.characterCount; ++c) {
        ASSERT_EQ(a.characters[c]->unitCount, b.characters[c]->unitCount);
        for (int32_t u = 0; u < a.characters[c]->unitCount; ++u) {
            const TalkUnit& x = *a.characters[c]->units[u];
            const TalkUnit& y = *b.characters[c]->units[u];
            EXPECT_EQ(x.question - a.block.get(), y.question - b.block.get());
            EXPECT_EQ(x.action, y.action);
            EXPECT_EQ(x.conditionCount, y.conditionCount);
        }
    }
}

const std::string INTRO_FOR_RELOAD =
    HEADER +
    "\"Intro\" {\r\n  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ACT = \"ACT_NONE\" }\r\n}\r\n";

// Far more than one read chunk (64 KiB), in both forms.
std::string largeScript() {
    std::string script = HEADER + "\"Intro\" {\r\n";
    script += "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }\r\n";
    for (int i = 0; i < 140; ++i) {
        script += "  # unit " + std::to_string(i) + "\r\n  { S = \"0\" N = \"0\" Q = \"Q" +
                  std::to_string(i) + " " + std::string(1200, 'q') + "\" A = \"" +
                  std::string(1400, 'a') + "\" ACT = \"ACT_ADD_MEM\" PARAM = \"v" +
                  std::to_string(i) + "\" VAL = \"1\" { ID = \"v\" OP = \"not\" } }\r\n";
    }
    return script + "}\r\n";
}

TEST(LoadFromMemory, LoadsExactlyAsTheFileAtEverySizeAndForm) {
    const std::string script = largeScript();
    ASSERT_GT(script.size(), 3u * 64 * 1024);
    for (const bool scramble : {false, true}) {
        SCOPED_TRACE(scramble ? "scrambled" : "plain");
        ScratchFolder folder;
        ConversationEngine fromFile;
        ConversationEngine fromMemory;
        if (!scramble) {
            fromFile.disableDescramble();
            fromMemory.disableDescramble();
        }
        const std::string bytes = scramble ? testing::scrambled(script) : script;
        ASSERT_EQ(fromFile.load(folder.write("script.chr", bytes).c_str()), LOAD_OK);
        ASSERT_EQ(fromMemory.loadFromMemory(bytes.data(), bytes.size()), LOAD_OK);
        EXPECT_EQ(fromMemory.characters[0]->unitCount, 141);
        EXPECT_EQ(fromMemory.line, fromFile.line);
        expectSameModel(fromFile, fromMemory);
    }
}

TEST(LoadFromMemory, NoBytesIsAnEmptyScript) {
    ConversationEngine engine;
    EXPECT_EQ(engine.loadFromMemory(nullptr, 12), LOAD_OK);
    EXPECT_EQ(engine.characterCount, 0);
}

// A game's source that claims to have read more than it was asked for.
class OverclaimingSource final : public ScriptSource {
  public:
    explicit OverclaimingSource(const std::string& bytes) : inner(bytes.data(), bytes.size()) {}
    bool startPass() noexcept override { return inner.startPass(); }
    size_t read(uint8_t* into, size_t capacity) noexcept override {
        const size_t got = inner.read(into, capacity);
        return got == 0 ? 0 : got + capacity;
    }

  private:
    MemorySource inner;
};

TEST(LoadFromSource, NothingPastTheChunkIsTouchedWhatEverASourceClaims) {
    // The chunk ends its allocation: under the sanitizers a read past it
    // would stop the run. What loads from such a source is its own affair.
    const std::string script = largeScript();
    ConversationEngine engine;
    engine.disableDescramble();
    OverclaimingSource source(script);
    const LoadResult result = loadScriptFrom(engine, source);
    EXPECT_LE(result.code, LOAD_OK);
}

TEST(LoadFromSource, AFileWhoseReadFailsDoesNotLoadAsAnEmptyScript) {
    // Reading this file fails at once; taken for its end, it would load as a
    // script without characters.
    ConversationEngine engine;
    EXPECT_EQ(engine.load("/proc/self/mem"), LOAD_CANNOT_OPEN);
}

TEST(LoadFromSource, AnEngineLoadsOneScriptAndKeepsItsPool) {
    const std::string script = INTRO_FOR_RELOAD;
    ConversationEngine engine;
    engine.disableDescramble();
    ASSERT_EQ(engine.loadFromMemory(script.data(), script.size()), LOAD_OK);
    const char* pool = engine.block.get();
    MemorySource again(script.data(), script.size());
    const LoadResult result = loadScriptFrom(engine, again);
    EXPECT_EQ(result.code, LOAD_MEMORY);
    EXPECT_EQ(result.detail.cause, LoadCause::AlreadyLoaded);
    EXPECT_FALSE(engine.reservePool(16));
    EXPECT_EQ(engine.block.get(), pool);
    EXPECT_EQ(engine.characterCount, 1);
}

// A game's source whose two passes may differ: each pass has its own bytes,
// hands them out in pieces of its own size, and may end in a failed read.
class TwoPassSource final : public ScriptSource {
  public:
    struct Pass {
        std::string bytes;
        size_t piece;
        bool failsAtEnd = false;
    };
    TwoPassSource(Pass first, Pass second) : passes{std::move(first), std::move(second)} {}

    bool startPass() noexcept override {
        current = &passes[started++ == 0 ? 0 : 1];
        offset = 0;
        return true;
    }
    size_t read(uint8_t* into, size_t capacity) noexcept override {
        const size_t count = std::min({capacity, current->piece, current->bytes.size() - offset});
        std::memcpy(into, current->bytes.data() + offset, count);
        offset += count;
        broken = count == 0 && current->failsAtEnd;
        return count;
    }
    bool failed() const noexcept override { return broken; }

  private:
    Pass passes[2];
    Pass* current = nullptr;
    int started = 0;
    size_t offset = 0;
    bool broken = false;
};

TEST(LoadFromSource, TheFillingPassMustReadTheMeasuredBytes) {
    const std::string script = largeScript();
    std::string changedText = script;
    changedText[script.size() / 2] ^= 1; // inside a text: still a valid script
    const std::string twoCharacters = script + "\"Other\" { }\r\n";
    const std::string broken = script.substr(0, script.size() / 2);
    struct Case {
        const char* name;
        TwoPassSource::Pass first, second;
        int32_t code;
        LoadCause cause;
    };
    const Case cases[] = {
        {"same bytes, read in other pieces",
         {script, 7},
         {script, 64 * 1024},
         LOAD_OK,
         LoadCause::None},
        {"a changed byte",
         {script, 4096},
         {changedText, 4096},
         LOAD_MEMORY,
         LoadCause::FileChanged},
        {"grown", {script, 4096}, {twoCharacters, 4096}, LOAD_MEMORY, LoadCause::FileChanged},
        {"shrunk", {twoCharacters, 4096}, {script, 4096}, LOAD_MEMORY, LoadCause::FileChanged},
        {"broken off", {script, 4096}, {broken, 4096}, LOAD_MEMORY, LoadCause::FileChanged},
        {"read fails while measuring",
         {broken, 4096, true},
         {script, 4096},
         LOAD_CANNOT_OPEN,
         LoadCause::ReadFailed},
        {"read fails while filling",
         {script, 4096},
         {broken, 4096, true},
         LOAD_CANNOT_OPEN,
         LoadCause::ReadFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConversationEngine engine;
        engine.disableDescramble();
        TwoPassSource source(c.first, c.second);
        const LoadResult result = loadScriptFrom(engine, source);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.detail.cause, c.cause);
        EXPECT_STREQ(engine.errorMessage,
                     c.cause == LoadCause::FileChanged ? "Script file changed while loading!" : "");
    }
}

struct CauseCase {
    const char* label;
    std::string script;
    int32_t code;
    int32_t line;
    const char* detail;
};

std::string unit(const std::string& fields) {
    return "  { " + fields + " }\r\n";
}

class LoadCauseTest : public ::testing::TestWithParam<CauseCase> {};

TEST_P(LoadCauseTest, NamesTheCause) {
    const CauseCase& c = GetParam();
    ConversationEngine engine;
    engine.disableDescramble();
    MemorySource source(c.script.data(), c.script.size());
    const LoadResult result = loadScriptFrom(engine, source);
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(result.line, c.line);
    EXPECT_EQ(result.line, engine.line);
    EXPECT_STREQ(result.message, engine.errorMessage);
    char text[LOAD_DETAIL_TEXT_SIZE];
    EXPECT_STREQ(describeLoadDetail(result.detail, text, sizeof(text)), c.detail);
}

const std::string INTRO = HEADER + "\"Intro\" {\r\n";
const std::string OPENING = "S = \"0\" N = \"0\" Q = \"\" A = \"Hi\" ";

// Cases the files under tests/scripts cannot hold: an end of file inside a
// text, and values at their length limits.
INSTANTIATE_TEST_SUITE_P(
    Causes, LoadCauseTest,
    ::testing::Values(CauseCase{"TextOpenAtEndOfFile",
                                INTRO + unit(OPENING + "ACT = \"ACT_NONE\"") +
                                    "  { S = \"0\" N = \"0\" Q = \"Hey",
                                LOAD_SYNTAX, 7, "the file ends inside a text opened on line 7"},
                      CauseCase{"NameTooLong", HEADER + "\"" + std::string(99, 'n') + "\" {",
                                LOAD_LIMIT, 5, "a character name longer than 98 bytes"},
                      CauseCase{"TextTooLong",
                                INTRO + unit(OPENING + "ACT = \"" + std::string(1499, 'a') + "\""),
                                LOAD_SYNTAX, 6, "a text longer than 1498 bytes"},
                      CauseCase{"TitleTooLong",
                                "MurmexSrcFile\r\nTITLE = \"" + std::string(51, 't') + "\"",
                                LOAD_MEMORY, 2, "a title longer than 50 bytes"}),
    [](const ::testing::TestParamInfo<CauseCase>& info) { return info.param.label; });

TEST(MagicLine, IsRecognisedAsTheLoaderReadsIt) {
    std::string plain = "# a comment first\nMurmexSrcFile\r\nTITLE";
    EXPECT_TRUE(startsWithMagicLine(plain.data(), plain.size(), false));
    EXPECT_FALSE(startsWithMagicLine(plain.data(), plain.size(), true));
    scrambleBytes(plain.data(), plain.size());
    EXPECT_TRUE(startsWithMagicLine(plain.data(), plain.size(), true));
    const std::string lineFeed = "MurmexSrcFile\nTITLE";
    EXPECT_FALSE(startsWithMagicLine(lineFeed.data(), lineFeed.size(), false));
}

} // namespace
} // namespace murmex

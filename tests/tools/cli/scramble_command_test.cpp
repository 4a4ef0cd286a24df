// murmex scramble / unscramble: the transform, the refusals, and that a
// refused or failed run leaves the input untouched and no output behind.
#include "tools/cli/scramble_command.h"

#include "loader/scramble_key.h"
#include "murmex/magic_line.h"
#include "murmex/scrambling.h"
#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include <sys/stat.h>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::readBytes;
using murmex::testing::scrambled;
using murmex::testing::ScratchFolder;
using murmex::testing::smallScript;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;
using murmex::tool::runScramble;
using murmex::tool::ScrambleDirection;
using murmex::tool::ScrambleOptions;

// The command writes only to its error stream.
CommandRun scramble(ScrambleDirection direction, const std::string& in, const std::string& out,
                    bool force = false, bool crlf = false) {
    return murmex::testing::runCommand([&](std::ostream&, std::ostream& err) {
        return runScramble(direction, ScrambleOptions{in, out, force, crlf}, err);
    });
}

// Longer than the key's period, so that the wrap-around is exercised.
std::string longScript() {
    return murmex::testing::smallScriptOfSize(700);
}

TEST(Scramble, CombinesEachByteWithTheKeyOfItsOffset) {
    ScratchFolder folder;
    const std::string plain = longScript();
    const std::string in = folder.write("in.txt", plain);
    const CommandRun run = scramble(ScrambleDirection::Scramble, in, folder.path("out.chr"));
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    const std::string written = readBytes(folder.path("out.chr"));
    ASSERT_EQ(written.size(), plain.size());
    for (size_t offset : {size_t{0}, size_t{13}, size_t{255}, size_t{256}, size_t{600}}) {
        EXPECT_EQ(static_cast<uint8_t>(written[offset]),
                  static_cast<uint8_t>(plain[offset]) ^
                      murmex::scrambleKeyAt(static_cast<uint32_t>(offset)))
            << "offset " << offset;
    }
    EXPECT_EQ(readBytes(in), plain);
}

// Line feeds alone get their carriage return; a line end that has one keeps
// it, also where a block of the stream ends between the two.
TEST(Scramble, CrlfConvertsLineEndsWhileScrambling) {
    ScratchFolder folder;
    std::string lineFeeds;
    for (const char c : longScript()) {
        if (c != '\r') {
            lineFeeds += c;
        }
    }
    constexpr size_t BLOCK = 64 * 1024;
    lineFeeds += std::string(BLOCK - lineFeeds.size() - 1, '#') + "\r\n# x\n";
    std::string expected;
    for (size_t at = 0; at < lineFeeds.size(); ++at) {
        if (lineFeeds[at] == '\n' && lineFeeds[at - 1] != '\r') {
            expected += '\r';
        }
        expected += lineFeeds[at];
    }
    const CommandRun run = scramble(ScrambleDirection::Scramble, folder.write("lf.txt", lineFeeds),
                                    folder.path("out.chr"), false, true);
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    std::string written = readBytes(folder.path("out.chr"));
    murmex::scrambleBytes(written.data(), written.size());
    EXPECT_TRUE(written == expected);
}

TEST(Scramble, UnscrambleRestoresThePlainBytes) {
    ScratchFolder folder;
    const std::string plain = longScript();
    const std::string in = folder.write("in.txt", plain);
    ASSERT_EQ(scramble(ScrambleDirection::Scramble, in, folder.path("data.chr")).status, EXIT_OK);
    const CommandRun run =
        scramble(ScrambleDirection::Unscramble, folder.path("data.chr"), folder.path("back.txt"));
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    EXPECT_EQ(readBytes(folder.path("back.txt")), plain);
    // A text saved with line feeds alone comes back too, for check to say
    // how to mend it.
    const std::string lineFeeds = "MurmexSrcFile\nTITLE = \"T\"\n";
    const std::string data = folder.write("lf.chr", scrambled(lineFeeds));
    ASSERT_EQ(scramble(ScrambleDirection::Unscramble, data, folder.path("lf.txt")).status, EXIT_OK);
    EXPECT_EQ(readBytes(folder.path("lf.txt")), lineFeeds);
}

// First lines the loader takes, so scramble must take them too; the long
// comment spans several blocks of the stream and of the first-line test.
struct AcceptedCase {
    const char* label;
    std::string plain;
};

void PrintTo(const AcceptedCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class ScrambleAccepts : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(ScrambleAccepts, WhatTheLoaderAccepts) {
    const std::string& plain = GetParam().plain;
    ASSERT_TRUE(murmex::startsWithMagicLine(plain.data(), plain.size(), false));
    ScratchFolder folder;
    const std::string in = folder.write("in.txt", plain);
    const CommandRun run = scramble(ScrambleDirection::Scramble, in, folder.path("out.chr"));
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    EXPECT_EQ(readBytes(folder.path("out.chr")), scrambled(plain));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrambleAccepts,
    ::testing::Values(AcceptedCase{"CommentLinesBeforeTheMagic", "# note\r\n" + smallScript()},
                      // The loader compares the first line up to a zero byte.
                      AcceptedCase{"ZeroByteInTheFirstLine",
                                   std::string("MurmexSrcFile\0junk\r\n", 20) +
                                       smallScript().substr(15)},
                      AcceptedCase{"CommentOfSeveralBlocksInTheFirstLine",
                                   "Murmex#" + std::string(150 * 1024, 'x') + "\nSrcFile\r\n" +
                                       smallScript().substr(15)}),
    [](const ::testing::TestParamInfo<AcceptedCase>& info) { return info.param.label; });

// Each case runs in a folder holding in.txt (a plain script) and data.chr
// (its scrambled form), beside a taken output, a file where a folder is
// expected, and a script whose lines end in a line feed alone.
struct RefusalCase {
    const char* label;
    ScrambleDirection direction;
    const char* in;
    const char* out;
    bool force;
    const char* expectedMessage;
};

// Test names in CTest carry the label instead of the raw bytes.
void PrintTo(const RefusalCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class ScrambleRefusal : public ::testing::TestWithParam<RefusalCase> {};

#ifdef _WIN32
// Names that only a POSIX system gives: devices, /proc, a FIFO and symbolic
// links (which need a privilege on Windows).
bool needsPosixNames(const RefusalCase& refusal) {
    for (const std::string_view name :
         {"/dev/zero", "/proc/self/mem", "pipe", "dangling.chr", "looping.chr"}) {
        if (refusal.in == name || refusal.out == name) {
            return true;
        }
    }
    return false;
}
#endif

TEST_P(ScrambleRefusal, FailsWithMessageAndWritesNothing) {
    const RefusalCase& refusal = GetParam();
#ifdef _WIN32
    if (needsPosixNames(refusal)) {
        GTEST_SKIP() << "Windows has no such device, FIFO or symbolic link";
    }
#endif
    ScratchFolder folder;
    const std::string plain = smallScript();
    folder.write("in.txt", plain);
    const std::string data = scrambled(plain);
    folder.write("data.chr", data);
    folder.write("taken.chr", "keep me");
    folder.write("notafolder", "a file");
    folder.write("lf.txt", "MurmexSrcFile\nTITLE = \"T\"\n");
#ifndef _WIN32
    std::filesystem::create_symlink("nowhere", folder.path("dangling.chr"));
    std::filesystem::create_symlink("looping.chr", folder.path("looping.chr"));
    ASSERT_EQ(::mkfifo(folder.path("pipe").c_str(), 0644), 0);
#endif
    const std::vector<std::string> before = folder.entries();

    const CommandRun run = scramble(refusal.direction, folder.path(refusal.in),
                                    folder.path(refusal.out), refusal.force);

    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_NE(run.err.find(refusal.expectedMessage), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_EQ(folder.entries(), before);
    EXPECT_EQ(readBytes(folder.path("in.txt")), plain);
    EXPECT_EQ(readBytes(folder.path("data.chr")), data);
    EXPECT_EQ(readBytes(folder.path("taken.chr")), "keep me");
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::read_symlink(folder.path("dangling.chr")), "nowhere");
    EXPECT_EQ(std::filesystem::read_symlink(folder.path("looping.chr")), "looping.chr");
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrambleRefusal,
    ::testing::Values(
        RefusalCase{"ExistingOutput", ScrambleDirection::Scramble, "in.txt", "taken.chr", false,
                    "already exists (use --force"},
        RefusalCase{"SameFile", ScrambleDirection::Scramble, "in.txt", "in.txt", true,
                    "IN and OUT are the same file"},
        RefusalCase{"SameFileByAnotherPath", ScrambleDirection::Scramble, "in.txt", "./in.txt",
                    true, "IN and OUT are the same file"},
        RefusalCase{"MissingInput", ScrambleDirection::Scramble, "nothing.txt", "out.chr", false,
                    "cannot read"},
        RefusalCase{"InputIsFolder", ScrambleDirection::Scramble, ".", "out.chr", false,
                    "is a folder"},
        // Endless or blocking inputs are refused before a byte is read.
        RefusalCase{"InputIsDevice", ScrambleDirection::Scramble, "/dev/zero", "out.chr", true,
                    "it is a device"},
        RefusalCase{"InputIsFifo", ScrambleDirection::Scramble, "pipe", "out.chr", true,
                    "it is a FIFO"},
        // A regular-looking file whose first read fails: the test of the
        // first line, or with --force the stream into OUT.
        RefusalCase{"ReadErrorAtTheStart", ScrambleDirection::Scramble, "/proc/self/mem", "out.chr",
                    false, "Input/output error"},
        RefusalCase{"ReadErrorWhileStreaming", ScrambleDirection::Scramble, "/proc/self/mem",
                    "out.chr", true, "Input/output error"},
        RefusalCase{"DanglingLinkAtOutput", ScrambleDirection::Scramble, "in.txt", "dangling.chr",
                    false, "already exists (use --force"},
        RefusalCase{"LoopingLinkAtOutput", ScrambleDirection::Scramble, "in.txt", "looping.chr",
                    false, "already exists (use --force"},
        RefusalCase{"MissingFolder", ScrambleDirection::Scramble, "in.txt", "nowhere/out.chr", true,
                    "does not exist"},
        // Works as root too: no permission bit keeps root out, but a file is no folder.
        RefusalCase{"ParentIsAFile", ScrambleDirection::Scramble, "in.txt", "notafolder/out.chr",
                    true, "is not a folder"},
        RefusalCase{"OutputIsFolder", ScrambleDirection::Scramble, "in.txt", ".", true,
                    "is a folder"},
        RefusalCase{"LineFeedOnlyFirstLine", ScrambleDirection::Scramble, "lf.txt", "out.chr",
                    false, "use --crlf"},
        RefusalCase{"AlreadyScrambled", ScrambleDirection::Scramble, "data.chr", "out.chr", false,
                    "is scrambled already: its first line descrambles to MurmexSrcFile"},
        RefusalCase{"AlreadyPlain", ScrambleDirection::Unscramble, "in.txt", "out.txt", false,
                    "is plain already: its first line is MurmexSrcFile"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.label; });

TEST(Scramble, ForceReplacesAnExistingOutputWhole) {
    ScratchFolder folder;
    const std::string in = folder.write("in.txt", smallScript());
    const std::string out = folder.write("out.chr", std::string(5000, 'x'));
    ASSERT_EQ(scramble(ScrambleDirection::Scramble, in, out, true).status, EXIT_OK);
    EXPECT_EQ(readBytes(out), scrambled(smallScript()));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.txt", "out.chr"}));
}

TEST(Scramble, ForceScramblesAnInputWithoutTheMagic) {
    ScratchFolder folder;
    const std::string in = folder.write("in.txt", "not a script");
    EXPECT_EQ(scramble(ScrambleDirection::Scramble, in, folder.path("out.chr"), true).status,
              EXIT_OK);
}

} // namespace

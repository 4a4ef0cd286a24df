// murmex scramble / unscramble: the transform, the refusals, and that a
// refused or failed run leaves the input untouched and no output behind.
#include "tools/cli/scramble_command.h"

#include "loader/scramble_key.h"
#include "support/command_run.h"
#include "support/sample_scripts.h"
#include "support/scrambled.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <ostream>

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
                    bool force = false) {
    return murmex::testing::runCommand([&](std::ostream&, std::ostream& err) {
        return runScramble(direction, ScrambleOptions{in, out, force}, err);
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

TEST(Scramble, UnscrambleRestoresThePlainBytes) {
    ScratchFolder folder;
    const std::string plain = longScript();
    const std::string in = folder.write("in.txt", plain);
    ASSERT_EQ(scramble(ScrambleDirection::Scramble, in, folder.path("data.chr")).status, EXIT_OK);
    const CommandRun run =
        scramble(ScrambleDirection::Unscramble, folder.path("data.chr"), folder.path("back.txt"));
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    EXPECT_EQ(readBytes(folder.path("back.txt")), plain);
}

TEST(Scramble, AcceptsCommentLinesBeforeTheMagic) {
    ScratchFolder folder;
    const std::string in = folder.write("in.txt", "# note\r\n" + smallScript());
    EXPECT_EQ(scramble(ScrambleDirection::Scramble, in, folder.path("out.chr")).status, EXIT_OK);
}

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

TEST_P(ScrambleRefusal, FailsWithMessageAndWritesNothing) {
    const RefusalCase& refusal = GetParam();
    ScratchFolder folder;
    const std::string plain = smallScript();
    folder.write("in.txt", plain);
    const std::string data = scrambled(plain);
    folder.write("data.chr", data);
    folder.write("taken.chr", "keep me");
    folder.write("notafolder", "a file");
    folder.write("lf.txt", "MurmexSrcFile\nTITLE = \"T\"\n");
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
        RefusalCase{"MissingFolder", ScrambleDirection::Scramble, "in.txt", "nowhere/out.chr", true,
                    "does not exist"},
        // Works as root too: no permission bit keeps root out, but a file is no folder.
        RefusalCase{"ParentIsAFile", ScrambleDirection::Scramble, "in.txt", "notafolder/out.chr",
                    true, "is not a folder"},
        RefusalCase{"OutputIsFolder", ScrambleDirection::Scramble, "in.txt", ".", true,
                    "is a folder"},
        RefusalCase{"LineFeedOnlyFirstLine", ScrambleDirection::Scramble, "lf.txt", "out.chr",
                    false, "already scrambled?"},
        RefusalCase{"AlreadyScrambled", ScrambleDirection::Scramble, "data.chr", "out.chr", false,
                    "already scrambled?"},
        RefusalCase{"AlreadyPlain", ScrambleDirection::Unscramble, "in.txt", "out.txt", false,
                    "does not descramble to a first line MurmexSrcFile"}),
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

// murmex new, run as an author would: the folder it makes passes check, lint,
// test and explore at once and keeps CR LF, and a title or folder it cannot
// use is refused before anything is written.
#include "tools/cli/tool_process.h"

#include "support/small_disk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::readBytes;
using murmex::testing::ScratchFolder;

CommandRun murmex(const ScratchFolder& folder, const std::string& arguments) {
    return murmex::testing::runTool(folder, arguments);
}

bool everyLineFeedAfterCarriageReturn(const std::string& bytes) {
    for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
        if (at == 0 || bytes[at - 1] != '\r') {
            return false;
        }
    }
    return true;
}

TEST(NewGame, PassesEveryCheckAsMade) {
    ScratchFolder folder;
    const std::string game = folder.path("my game");
    const CommandRun made = murmex(folder, "new '" + game + "' --title 'Tam & the Road'");
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string script = "'" + game + "/game.chr.txt'";
    for (const std::string& command : {"check " + script, "lint " + script, "explore " + script,
                                       "test " + script + " '" + game + "/plans/first.plan'"}) {
        const CommandRun run = murmex(folder, command);
        EXPECT_EQ(run.status, 0) << command << '\n' << run.out << run.err;
    }
    const std::string bytes = readBytes(game + "/game.chr.txt");
    EXPECT_EQ(bytes.rfind("MurmexSrcFile\r\n", 0), 0u);
    EXPECT_NE(bytes.find("TITLE = \"Tam & the Road\"\r\n"), std::string::npos);
    EXPECT_TRUE(everyLineFeedAfterCarriageReturn(bytes));
    EXPECT_EQ(readBytes(game + "/.gitattributes"), "*.chr.txt eol=crlf\n*.chr binary\n");
}

TEST(NewGame, TakesTheFolderNameAsTitle) {
    ScratchFolder folder;
    ASSERT_EQ(murmex(folder, "new '" + folder.path("Ferry Crossing") + "/'").status, 0);
    EXPECT_NE(readBytes(folder.path("Ferry Crossing/game.chr.txt"))
                  .find("TITLE = \"Ferry Crossing\"\r\n"),
              std::string::npos);
}

struct Refusal {
    const char* label;
    // A name in the scratch folder, which holds the file "taken" and the
    // folder "full" with a file in it.
    const char* folder;
    std::string title;
    int status;
};

class NewGameRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(NewGameRefuses, WritesNothing) {
    ScratchFolder folder;
    folder.write("taken", "");
    std::filesystem::create_directory(folder.path("full"));
    folder.write("full/notes.txt", "");
    const CommandRun run =
        murmex(folder, "new '" + folder.path(GetParam().folder) + "' " + GetParam().title);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_NE(run.err, "");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"full", "stderr", "stdout", "taken"}));
    EXPECT_EQ(folder.entries("full"), std::vector<std::string>{"notes.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewGameRefuses,
    ::testing::Values(Refusal{"EmptyTitle", "game", "--title ''", 2},
                      Refusal{"TitleOverFiftyBytes", "game", "--title " + std::string(51, 'x'), 2},
                      Refusal{"TitleWithQuote", "game", "--title 'say \"hi\"'", 2},
                      Refusal{"TitleWithLineBreak", "game", "--title \"$(printf 'a\\nb')\"", 2},
                      Refusal{"TitleWithCarriageReturn", "game", "--title \"$(printf 'a\\rb')\"",
                              2},
                      Refusal{"FolderNotEmpty", "full", "", 1},
                      Refusal{"FolderNotEmptyBehindDotDot", "full/nothere/..", "", 1},
                      Refusal{"FileInTheWay", "taken", "", 1}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.label; });

// A disk that fills up part-way, or where none can be mounted a file size
// limit that stops the first file, leaves nothing behind for a retry to refuse.
TEST(NewGame, AFailedWriteTakesAwayWhatItMade) {
    ScratchFolder folder;
    const murmex::testing::SmallDisk disk(folder.path("disk"));
    const std::string arguments = "new '" + disk.path + "/parent/game'";
    const CommandRun run =
        disk.mounted ? murmex(folder, arguments)
                     : murmex::testing::runTool(folder, arguments, "ulimit -f 1; trap '' XFSZ; ");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_TRUE(folder.entries("disk").empty()) << run.out;
}

} // namespace

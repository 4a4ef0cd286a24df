// murmex scramble where the output can't be written: a folder the user may
// not write in, a disk that fills up, a file size limit, an output that is
// the input under another name or not a file at all. Each fails with a clear
// message and status 1, leaves the input as it was and no output behind.
#include "tools/cli/tool_process.h"

#include "support/sample_scripts.h"
#include "support/small_disk.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using murmex::testing::CommandRun;
using murmex::testing::readBytes;
using murmex::testing::runTool;
using murmex::testing::ScratchFolder;
using murmex::testing::SmallDisk;
using murmex::testing::smallScript;

// A valid script of about 64 KiB, larger than the small disks and limits below.
std::string largeScript() {
    return murmex::testing::smallScriptOfSize(64 * 1024);
}

void expectRefused(const CommandRun& run, const std::string& message) {
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
}

TEST(ScrambleFault, FolderWithoutWritePermission) {
    ScratchFolder folder;
    const std::string plain = largeScript();
    const std::string in = folder.write("in.txt", plain);
    fs::create_directory(folder.path("locked"));
    fs::permissions(folder.path("locked"), fs::perms::owner_read | fs::perms::owner_exec |
                                               fs::perms::group_read | fs::perms::group_exec |
                                               fs::perms::others_read | fs::perms::others_exec);
    // Permission bits don't stop root, so root runs the tool as nobody.
    const std::string asUser =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const CommandRun run =
        runTool(folder, "scramble '" + in + "' '" + folder.path("locked/out.chr") + "'", asUser);
    expectRefused(run, "cannot write in");
    EXPECT_EQ(readBytes(in), plain);
    EXPECT_TRUE(folder.entries("locked").empty());
}

TEST(ScrambleFault, FileSizeLimitStopsTheWrite) {
    ScratchFolder folder;
    const std::string plain = largeScript();
    const std::string in = folder.write("in.txt", plain);
    // A limit of 16 blocks (8 or 16 KiB, as the shell counts them) fails the
    // write part-way, as a full disk does; the signal it raises is ignored so
    // that the write reports the error instead.
    const CommandRun run = runTool(folder, "scramble '" + in + "' '" + folder.path("out.chr") + "'",
                                   "ulimit -f 16; trap '' XFSZ; ");
    expectRefused(run, "cannot write");
    EXPECT_EQ(readBytes(in), plain);
    EXPECT_EQ(folder.entries().size(), 3u) << "in.txt, stdout and stderr only";
    EXPECT_FALSE(fs::exists(folder.path("out.chr")));
}

TEST(ScrambleFault, FullDisk) {
    ScratchFolder folder;
    const std::string plain = largeScript();
    const std::string in = folder.write("in.txt", plain);
    const SmallDisk disk(folder.path("disk"));
    if (!disk.mounted) {
        GTEST_SKIP() << "no permission to mount a small disk; the file size limit stands in";
    }
    const CommandRun run = runTool(folder, "scramble '" + in + "' '" + disk.path + "/out.chr'");
    expectRefused(run, "No space left on device");
    EXPECT_EQ(readBytes(in), plain);
    EXPECT_TRUE(folder.entries("disk").empty());
}

struct ForcedCase {
    const char* label;
    const char* out;
    const char* message;
};

void PrintTo(const ForcedCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class ScrambleForcedOntoTheWrongThing : public ::testing::TestWithParam<ForcedCase> {};

// Even --force, which replaces an existing output, must refuse these.
TEST_P(ScrambleForcedOntoTheWrongThing, RefusesAndChangesNothing) {
    ScratchFolder folder;
    const std::string plain = smallScript();
    const std::string in = folder.write("in.txt", plain);
    fs::create_symlink("in.txt", folder.path("link.chr"));
    ASSERT_EQ(::mkfifo(folder.path("pipe").c_str(), 0644), 0);
    const CommandRun run =
        runTool(folder, "scramble --force '" + in + "' '" + folder.path(GetParam().out) + "'");
    expectRefused(run, GetParam().message);
    EXPECT_EQ(readBytes(in), plain);
    EXPECT_TRUE(fs::is_symlink(folder.path("link.chr")));
    EXPECT_TRUE(fs::is_fifo(folder.path("pipe")));
    EXPECT_EQ(folder.entries().size(), 5u) << "nothing but the files made above";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrambleForcedOntoTheWrongThing,
    ::testing::Values(ForcedCase{"InputItself", "in.txt", "IN and OUT are the same file"},
                      ForcedCase{"LinkToTheInput", "link.chr", "IN and OUT are the same file"},
                      ForcedCase{"Pipe", "pipe", "is not a regular file"}),
    [](const ::testing::TestParamInfo<ForcedCase>& info) { return info.param.label; });

} // namespace

// An output published in one step: what appears at the target while it is
// written is kept unless replacing was asked for, and a signal that ends the
// process takes the temporary file with it.
#include "tools/platform/file_output.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using murmex::testing::readBytes;
using murmex::testing::ScratchFolder;
using murmex::tool::FileOutput;

struct AppearingCase {
    const char* label;
    // Puts something at `path` between the start of the output and its publishing.
    void (*appear)(const ScratchFolder& folder, const std::string& path);
    bool replace;
};

void PrintTo(const AppearingCase& testCase, std::ostream* out) {
    *out << testCase.label;
}

class FileOutputPublish : public ::testing::TestWithParam<AppearingCase> {};

TEST_P(FileOutputPublish, KeepsWhatAppearedUnlessReplacing) {
    ScratchFolder folder;
    const std::string path = folder.path("out.chr");
    FileOutput output;
    std::string error;
    ASSERT_TRUE(output.begin(path, GetParam().replace, error)) << error;
    ASSERT_TRUE(output.write("ours", 4, error)) << error;
    GetParam().appear(folder, path);
    const fs::file_status before = fs::symlink_status(path);

    const bool published = output.publish(error);

    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.chr"}) << "no temporary file left";
    if (GetParam().replace) {
        EXPECT_TRUE(published) << error;
        EXPECT_EQ(readBytes(path), "ours");
    } else {
        EXPECT_FALSE(published);
        EXPECT_NE(error.find("already exists"), std::string::npos) << error;
        EXPECT_EQ(fs::symlink_status(path).type(), before.type());
        EXPECT_NE(readBytes(path), "ours");
    }
}

void theirFile(const ScratchFolder& folder, const std::string&) {
    folder.write("out.chr", "theirs");
}
#ifndef _WIN32
void danglingLink(const ScratchFolder&, const std::string& path) {
    fs::create_symlink("nowhere", path);
}
void loopingLink(const ScratchFolder&, const std::string& path) {
    fs::create_symlink("out.chr", path);
}

#endif

std::string caseLabel(const ::testing::TestParamInfo<AppearingCase>& info) {
    return info.param.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, FileOutputPublish,
                         ::testing::Values(AppearingCase{"File", theirFile, false},
                                           AppearingCase{"FileReplaced", theirFile, true}),
                         caseLabel);
// Symbolic links need a privilege on Windows, and signals that end a process
// from outside do not exist there: these cases are POSIX only.
#ifndef _WIN32
INSTANTIATE_TEST_SUITE_P(Links, FileOutputPublish,
                         ::testing::Values(AppearingCase{"DanglingLink", danglingLink, false},
                                           AppearingCase{"LoopingLink", loopingLink, false}),
                         caseLabel);

class FileOutputSignal : public ::testing::TestWithParam<int> {};

TEST_P(FileOutputSignal, RemovesTheTemporaryFileAndEndsTheProcess) {
    const int signalNumber = GetParam();
    ScratchFolder folder;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A shell may start the tests with SIGINT ignored; a user's terminal doesn't.
        std::signal(signalNumber, SIG_DFL);
        FileOutput output;
        std::string error;
        if (!output.begin(folder.path("out.chr"), false, error) ||
            !output.write("part", 4, error) || !fs::exists(output.temporaryPath())) {
            ::_exit(2);
        }
        ::raise(signalNumber);
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signalNumber);
    EXPECT_TRUE(folder.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, FileOutputSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP));
#endif

} // namespace

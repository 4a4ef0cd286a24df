// murmex dump: the JSON shape of a loaded script, the decoding of its texts,
// and that a scrambled file dumps exactly as its plain source.
#include "tools/cli/dump_command.h"

#include "support/command_run.h"
#include "support/scratch_folder.h"
#include "support/script_text.h"
#include "tools/cli/scramble_command.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::runCommand;
using murmex::testing::ScratchFolder;
using murmex::testing::scriptWithHeader;
using murmex::tool::EXIT_FAILED;
using murmex::tool::EXIT_OK;
using Json = nlohmann::ordered_json;

CommandRun dump(const std::string& file, bool plain) {
    return runCommand(murmex::tool::runDump, {file, plain});
}

// Two characters with every kind of operand: no PARAM, PARAM alone, PARAM and
// VAL, a condition with and one without a value, and a Windows-1252 answer.
const std::string TWO_CHARACTERS = scriptWithHeader(
    {
        "\"Intro\" {",
        "  { S = \"0\" N = \"0\" Q = \"\" A = \"Caf\xE9 open.\" ACT = \"ACT_NONE\" }",
        "  { S = \"0\" N = \"1\" Q = \"Who are you?\" A = \"The miller.\" ACT = \"ACT_ADD_MEM\" "
        "PARAM = \"met\" VAL = \"1\" }",
        "  { S = \"1\" N = \"0\" Q = \"See the &smith.\" A = \"-\" ACT = \"ACT_COMM\" PARAM = "
        "\"Smith\" "
        "{ ID = \"met\" OP = \"==\" VAL = \"1\" } { ID = \"gone\" OP = \"not\" } }",
        "}",
        "\"Smith\" {",
        "  { S = \"0\" N = \"-1\" Q = \"\" A = \"Hot.\" ACT = \"ACT_SUB_MEM\" PARAM = \"met\" }",
        "}",
    },
    {.title = "The Old Mill", .color = {0, 0, 96}, .textColor = {255, 255, 200}});

TEST(Dump, GivesTheModelAsJson) {
    ScratchFolder folder;
    const CommandRun run = dump(folder.write("mill.txt", TWO_CHARACTERS), true);
    ASSERT_EQ(run.status, EXIT_OK) << run.err;
    const Json expected = Json::parse(R"({
        "title": "The Old Mill", "color": [0, 0, 96], "textColor": [255, 255, 200],
        "poolBytes": 96,
        "characters": [
            {"name": "Intro", "units": [
                {"state": 0, "nextState": 0, "question": "", "answer": "Café open.",
                 "action": "ACT_NONE", "conditions": []},
                {"state": 0, "nextState": 1, "question": "Who are you?", "answer": "The miller.",
                 "action": "ACT_ADD_MEM", "param": "met", "value": 1, "conditions": []},
                {"state": 1, "nextState": 0, "question": "See the &smith.", "answer": "-",
                 "action": "ACT_COMM", "param": "Smith", "conditions": [
                    {"variable": "met", "op": "==", "value": 1},
                    {"variable": "gone", "op": "not"}]}]},
            {"name": "Smith", "units": [
                {"state": 0, "nextState": -1, "question": "", "answer": "Hot.",
                 "action": "ACT_SUB_MEM", "param": "met", "conditions": []}]}]
    })");
    // Compared as text, so the order of the keys counts too.
    EXPECT_EQ(run.out, expected.dump(2) + "\n");
}

TEST(Dump, ScrambledFileDumpsAsItsPlainSource) {
    ScratchFolder folder;
    const std::string plain = folder.write("demo.txt", TWO_CHARACTERS);
    std::ostringstream scrambleErrors;
    ASSERT_EQ(murmex::tool::runScramble(murmex::tool::ScrambleDirection::Scramble,
                                        {plain, folder.path("data.chr"), false}, scrambleErrors),
              EXIT_OK)
        << scrambleErrors.str();
    const CommandRun fromPlain = dump(plain, true);
    const CommandRun fromScrambled = dump(folder.path("data.chr"), false);
    ASSERT_EQ(fromPlain.status, EXIT_OK);
    ASSERT_EQ(fromScrambled.status, EXIT_OK) << fromScrambled.err;
    EXPECT_EQ(fromScrambled.out, fromPlain.out);
}

TEST(Dump, FailedLoadPrintsTheCheckLine) {
    ScratchFolder folder;
    const std::string path = folder.write("mill.txt", TWO_CHARACTERS);
    const CommandRun run = dump(path, false);
    EXPECT_EQ(run.status, EXIT_FAILED);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              path +
                  ":1: error -2: [first line is not MurmexSrcFile] (looks plain: try --plain)\n");
}

} // namespace

// murmex compat: on the demo, a translation and a harmless edit break no
// saved game, removing a state, renaming a character or closing a state's
// questions break the saves made there with their reasons and shortest
// paths, an inserted unit of the same shape is caught as showing another
// unit, a unit inserted before a saved one is named by its text with the way
// to keep such saves, the saved games of a folder are each said to resume or
// be refused, and a cut-off search can't tell.
#include "tools/cli/compat_command.h"

#include "murmex/game.h"
#include "support/command_run.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using murmex::testing::CommandRun;
using murmex::testing::ScratchFolder;
using murmex::tool::CompatOptions;

std::string demo() {
    std::ifstream in(MURMEX_DEMO_SCRIPT, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The demo with `from` replaced by `to`, once.
std::string edited(const std::string& from, const std::string& to) {
    std::string text = demo();
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

class Compat : public ::testing::Test {
  protected:
    CommandRun compat(const std::string& newScript, uint64_t maxSituations = 2'000'000) {
        options.oldFile = MURMEX_DEMO_SCRIPT;
        options.newFile = folder.write("new.chr.txt", newScript);
        options.plain = true;
        options.limits.maxSituations = maxSituations;
        return murmex::testing::runCommand(murmex::tool::runCompat, options);
    }
    ScratchFolder folder;
    CompatOptions options;
};

TEST_F(Compat, ATranslationAndAHarmlessEditBreakNoSave) {
    // Binary, so that Windows keeps the carriage returns the first line needs.
    std::ifstream in(std::string(MURMEX_DEMO_SCRIPT)
                         .replace(std::string(MURMEX_DEMO_SCRIPT).rfind("demo.chr.txt"), 12,
                                  "translations/demo.de.chr.txt"),
                     std::ios::binary);
    std::ostringstream german;
    german << in.rdbuf();
    for (const std::string& script :
         {german.str(), edited("Mind where you step.", "Mind your step."), demo()}) {
        const CommandRun run = compat(script);
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("no saved game would break"), std::string::npos) << run.out;
    }
    EXPECT_NE(compat(demo()).out.find("version 1 saved games restore"), std::string::npos);
}

TEST_F(Compat, RemovedStateAndRenamedCharacterBreakTheirSaves) {
    // Mara's state 1, where she offers the letter, moved to state 5.
    std::string noState = demo();
    for (size_t at = 0; (at = noState.find("S = \"1\"", at)) != std::string::npos; ++at) {
        if (noState.rfind("\"Mara\" {", at) != std::string::npos &&
            noState.find("\"Smith\" {", at) != std::string::npos) {
            noState.replace(at, 7, "S = \"5\"");
        }
    }
    const CommandRun state = compat(noState);
    EXPECT_EQ(state.status, 1);
    EXPECT_NE(state.out.find("\"Mara\" in state 1, which has no talk units"), std::string::npos)
        << state.out;
    EXPECT_NE(state.out.find("[save-state-gone]"), std::string::npos);
    EXPECT_NE(state.out.find("every version 1 saved game would break"), std::string::npos);

    const CommandRun renamed = compat(edited("\"Smith\" {", "\"Brom\" {"));
    EXPECT_EQ(renamed.status, 1);
    EXPECT_NE(renamed.out.find("talks to \"Smith\", who is not in the loaded script"),
              std::string::npos)
        << renamed.out;
    EXPECT_NE(renamed.out.find("note: reached by 1 question"), std::string::npos) << renamed.out;
}

TEST_F(Compat, AStateWhoseQuestionsNoLongerHoldBreaksItsSaves) {
    // Mara's questions of state 1 get a condition that never holds.
    std::string closed = demo();
    for (size_t at = closed.find("\"Mara\" {");
         (at = closed.find("S = \"1\"", at)) < closed.find("\"Smith\" {"); ++at) {
        closed.insert(closed.rfind('}', closed.find('\n', at)),
                      "{ ID = \"never\" OP = \"==\" VAL = \"1\" } ");
    }
    const CommandRun run = compat(closed);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"Mara\" in state 1, where no question"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("[save-no-questions]"), std::string::npos);
}

TEST_F(Compat, AnInsertedUnitOfTheSameShapeShowsAnotherUnit) {
    const std::string pocket = "  { S = \"1\" N = \"0\" Q = \"Pocket the coin";
    const CommandRun run =
        compat(edited(pocket, "  { S = \"1\" N = \"0\" Q = \"Leave it\" A = \"Fine.\" ACT = "
                              "\"ACT_ADD_MEM\" PARAM = \"rested\" VAL = \"1\" }\r\n" +
                                  pocket));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("[save-shows-another-unit]"), std::string::npos) << run.out;
}

// The demo played by `choices` from Intro, as saved-game bytes.
std::string savedDemo(std::initializer_list<int32_t> choices) {
    murmex::LoadResult result;
    const auto script = murmex::Script::load(MURMEX_DEMO_SCRIPT, result, true);
    const auto game = murmex::Game::create(script);
    EXPECT_TRUE(game->start("Intro"));
    for (const int32_t choice : choices) {
        game->choose(choice);
    }
    std::string bytes(murmex::GAME_STATE_V2_MAX_BYTES, '\0');
    size_t written = 0;
    EXPECT_EQ(game->save(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), written), 0);
    return bytes.substr(0, written);
}

TEST_F(Compat, AUnitInsertedBeforeASavedOneIsNamedWithTheWayToKeepTheSaves) {
    const std::string well = "  { S = \"0\" N = \"1\" Q = \"Sit down by the well";
    options.savesFolder = folder.path("saves");
    std::filesystem::create_directory(options.savesFolder);
    folder.write("saves/at_mara.sav", savedDemo({1}));
    folder.write("saves/at_the_well.sav", savedDemo({2}));
    const CommandRun run =
        compat(edited(well, "  { S = \"0\" N = \"0\" Q = \"Ask about the weather.\" "
                            "A = \"Rain.\" ACT = \"ACT_NONE\" }\r\n" +
                                well));
    EXPECT_EQ(run.status, 1);
    for (const char* words :
         {"refused: it shows the answer to \"Sit down by the well and rest a while.\" (unit 5 "
          "of \"Intro\" in state 0), which is unit 6 of its state in the new script; insert new "
          "units after the last unit of state 0 of \"Intro\" to keep these saves",
          "at_mara.sav: resumes with \"Mara\", who says \"Mara looks up",
          "at_the_well.sav: refused: the saved game shows the answer of talk unit 5"}) {
        EXPECT_NE(run.out.find(words), std::string::npos) << words << "\n" << run.out;
    }
}

TEST_F(Compat, ACutOffSearchCannotTell) {
    const CommandRun run = compat(demo(), 1);
    EXPECT_EQ(run.status, murmex::tool::EXIT_COMPAT_UNDECIDED) << run.out;
}

} // namespace

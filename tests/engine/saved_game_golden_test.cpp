// Saved games as fixed bytes: games of the demo saved in both versions and
// committed under saved_games/, and the bounds games size their buffers by,
// written out as numbers. A change of the layout, the checksum, the script
// digest or the descrambling fails here, whatever the code's own constants
// say; such a change needs a new version that still reads these files.
#include "engine/game_state_parts.h"
#include "engine/saved_game_format.h"
#include "murmex/game.h"
#include "support/script_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace murmex {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes savedGameFile(const std::string& name) {
    std::ifstream in(std::string(MURMEX_SAVED_GAMES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A new game over the demo as the player loads it: the committed data.chr,
// descrambled.
std::unique_ptr<Game> demoGame() {
    LoadResult result;
    auto script = Script::load(MURMEX_EXAMPLES "/data.chr", result);
    EXPECT_TRUE(result.ok()) << result.message;
    return Game::create(std::move(script));
}

Bytes saved(const Game& game) {
    Bytes bytes(GAME_STATE_V2_MAX_BYTES);
    size_t written = 0;
    EXPECT_EQ(game.save(bytes.data(), bytes.size(), written), GAME_STATE_OK);
    bytes.resize(written);
    return bytes;
}

TEST(SavedGameGoldenTest, DemoGamesRestoreAndSaveBackTheCommittedBytes) {
    const Bytes version2 = savedGameFile("demo.v2.sav");
    // Mara's letter taken to the smith and his answer brought back: Mara
    // pays five coins, "trust" is set and "letter" is 2.
    auto played = demoGame();
    ASSERT_NE(played, nullptr);
    ASSERT_TRUE(played->start("Intro"));
    for (const int32_t position : {1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0}) {
        ASSERT_NE(played->choose(position).kind, StepKind::Failed) << played->answer();
    }
    EXPECT_EQ(saved(*played), version2);
    // Version 1 is read but no longer written: it restores to the same game,
    // which then saves as version 2.
    for (const auto& [file, version] : {std::pair("demo.v1.sav", 1), std::pair("demo.v2.sav", 2)}) {
        const Bytes bytes = savedGameFile(file);
        ASSERT_GT(bytes.size(), saved_game::VERSION_OFFSET) << file;
        EXPECT_EQ(bytes[saved_game::VERSION_OFFSET], version) << file;
        auto restored = demoGame();
        ASSERT_NE(restored, nullptr);
        ASSERT_EQ(restored->restore(bytes.data(), bytes.size()), GAME_STATE_OK)
            << file << ": " << restored->refusal();
        EXPECT_STREQ(restored->answer(), played->answer()) << file;
        EXPECT_EQ(saved(*restored), version2) << file;
    }
}

// The numbers here are literals on purpose: the saved-game tests elsewhere
// derive theirs from the same constants as the code.
TEST(SavedGameGoldenTest, BoundsAreFixedNumbers) {
    EXPECT_EQ(GAME_STATE_MAX_BYTES, 13472u);
    EXPECT_EQ(GAME_STATE_V2_MAX_BYTES, 23359u);
    EXPECT_EQ(saved_game::VERSION_1, 1u);
    EXPECT_EQ(saved_game::VERSION_2, 2u);
    EXPECT_EQ(saved_game::VERSION, 2u);
    // The fewest bytes: no characters, nothing shown, no variables; each
    // restores again.
    ConversationEngine engine;
    engine.disableDescramble();
    const std::string empty = testing::scriptHeader();
    ASSERT_EQ(engine.loadFromMemory(empty.data(), empty.size()), LOAD_OK);
    ConversationView view;
    GameState state;
    ASSERT_EQ(captureGameState(engine, view, state), GAME_STATE_OK);
    Bytes version1(GAME_STATE_MAX_BYTES);
    Bytes version2(GAME_STATE_V2_MAX_BYTES);
    size_t written1 = 0;
    size_t written2 = 0;
    ASSERT_EQ(game_state::encodeVersion1(state, scriptDigest(engine), version1.data(),
                                         version1.size(), written1),
              GAME_STATE_OK);
    ASSERT_EQ(saveGameState(engine, view, version2.data(), version2.size(), written2),
              GAME_STATE_OK);
    EXPECT_EQ(written1, 52u);
    EXPECT_EQ(written2, 45u);
    EXPECT_EQ(restoreGameState(engine, view, version1.data(), written1), GAME_STATE_OK);
    EXPECT_EQ(restoreGameState(engine, view, version2.data(), written2), GAME_STATE_OK);
}

} // namespace
} // namespace murmex

// Fuzzes restoring a saved game. The input is restored once as it stands and
// once as the payload of a saved game of each version framed for the loaded
// script (header, digest, length and checksum all right), so that the
// payload's decoding is reached past the checksum. A refusal must leave the
// engine and the view as they were. A version 1 game that is taken must save
// back to exactly its bytes in that layout; a version 2 one names its
// situation, so what it saves must restore strictly and save back the same.
#include "engine/game_state_parts.h"
#include "engine/saved_game_format.h"
#include "model_checks.h"
#include "murmex/conversation_engine.h"
#include "murmex/conversation_flow.h"
#include "murmex/game_state.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using murmex::fuzz::fail;
using Bytes = std::vector<uint8_t>;

// Two characters, a hand-over, variables and money: every part of a saved game.
constexpr char SCRIPT[] =
    "MurmexSrcFile\r\nTITLE = \"Saved\"\r\nCOLOR = \"1\", \"2\", \"3\"\r\n"
    "TEXTCOLOR = \"4\", \"5\", \"6\"\r\n"
    "\"Intro\" {\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"1\" Q = \"Set ab\" A = \"Set.\" ACT = \"ACT_ADD_MEM\" PARAM = \"ab\" "
    "VAL = \"1\" }\r\n"
    "  { S = \"1\" N = \"0\" Q = \"Pay\" A = \"Paid.\" ACT = \"ACT_ADD_MONEY\" PARAM = \"c\" "
    "VAL = \"5\" { ID = \"ab\" OP = \"==\" VAL = \"1\" } }\r\n"
    "  { S = \"0\" N = \"0\" Q = \"Go\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Bob\" }\r\n"
    "}\r\n"
    "\"Bob\" {\r\n"
    "  { S = \"0\" N = \"0\" Q = \"\" A = \"Bob here.\" ACT = \"ACT_NONE\" }\r\n"
    "  { S = \"0\" N = \"-1\" Q = \"Bye\" A = \"Bye.\" ACT = \"ACT_NONE\" }\r\n"
    "}\r\n";

struct Game {
    Game() {
        engine.disableDescramble();
        if (engine.loadFromMemory(SCRIPT, sizeof(SCRIPT) - 1) != murmex::LOAD_OK ||
            engine.startCharacter(engine.findCharacter(murmex::START_CHARACTER), view) != 0 ||
            murmex::captureGameState(engine, view, start) != murmex::GAME_STATE_OK) {
            fail("the fuzzer's own script does not play");
        }
    }

    Bytes save() const {
        Bytes bytes(murmex::GAME_STATE_V2_MAX_BYTES);
        size_t written = 0;
        if (murmex::saveGameState(engine, view, bytes.data(), bytes.size(), written) !=
            murmex::GAME_STATE_OK) {
            fail("a game in play does not save");
        }
        bytes.resize(written);
        return bytes;
    }

    Bytes saveVersion1() const {
        murmex::GameState state;
        Bytes bytes(murmex::GAME_STATE_MAX_BYTES);
        size_t written = 0;
        if (murmex::captureGameState(engine, view, state) != murmex::GAME_STATE_OK ||
            murmex::game_state::encodeVersion1(state, murmex::scriptDigest(engine), bytes.data(),
                                               bytes.size(), written) != murmex::GAME_STATE_OK) {
            fail("a game in play does not save in version 1's layout");
        }
        bytes.resize(written);
        return bytes;
    }

    murmex::ConversationEngine engine;
    murmex::ConversationView view;
    murmex::GameState start;
};

// The input as the payload between a right header of `version` and a right checksum.
Bytes framed(const Game& game, uint32_t version, const uint8_t* data, size_t size) {
    using namespace murmex::saved_game;
    const Bytes saved = game.save();
    Bytes bytes(saved.begin(), saved.begin() + PAYLOAD_OFFSET);
    putLittleEndian(bytes.data() + VERSION_OFFSET, version, 4);
    bytes.insert(bytes.end(), data, data + size);
    bytes.resize(bytes.size() + CHECKSUM_BYTES);
    seal(bytes.data(), bytes.size());
    return bytes;
}

void restore(Game& game, const Bytes& bytes) {
    if (murmex::applyGameState(game.start, game.engine, game.view) != murmex::GAME_STATE_OK) {
        fail("the start of the game does not apply");
    }
    const Bytes before = game.save();
    const int32_t result =
        murmex::restoreGameState(game.engine, game.view, bytes.data(), bytes.size());
    if (result != murmex::GAME_STATE_OK) {
        if (game.save() != before) {
            fail("a refused saved game changed the game");
        }
        return;
    }
    using namespace murmex::saved_game;
    if (getLittleEndian(bytes.data() + VERSION_OFFSET, 4) == VERSION_1) {
        if (game.saveVersion1() != bytes) {
            fail("a restored version 1 game saves to other bytes");
        }
        return;
    }
    const Bytes again = game.save();
    if (murmex::restoreGameStateStrictly(game.engine, game.view, again.data(), again.size()) !=
            murmex::GAME_STATE_OK ||
        game.save() != again) {
        fail("a restored version 2 game does not restore again as it saves");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Game game;
    restore(game, Bytes(data, data + size));
    restore(game, framed(game, murmex::saved_game::VERSION_1, data, size));
    restore(game, framed(game, murmex::saved_game::VERSION_2, data, size));
    return 0;
}

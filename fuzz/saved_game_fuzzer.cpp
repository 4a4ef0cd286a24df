// Fuzzes restoring a saved game. The input is restored once as it stands and
// once as the payload of a saved game framed for the loaded script (header,
// digest, length and checksum all right), so that the payload's decoding is
// reached past the checksum. A refusal must leave the engine and the view as
// they were; a game that is taken must save back to exactly its bytes.
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
        Bytes bytes(murmex::GAME_STATE_MAX_BYTES);
        size_t written = 0;
        if (murmex::saveGameState(engine, view, bytes.data(), bytes.size(), written) !=
            murmex::GAME_STATE_OK) {
            fail("a game in play does not save");
        }
        bytes.resize(written);
        return bytes;
    }

    murmex::ConversationEngine engine;
    murmex::ConversationView view;
    murmex::GameState start;
};

// The input as the payload between a right header and a right checksum.
Bytes framed(const Game& game, const uint8_t* data, size_t size) {
    using namespace murmex::saved_game;
    const Bytes saved = game.save();
    Bytes bytes(saved.begin(), saved.begin() + PAYLOAD_OFFSET);
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
    if (result == murmex::GAME_STATE_OK && game.save() != bytes) {
        fail("a restored game saves to other bytes");
    }
    if (result != murmex::GAME_STATE_OK && game.save() != before) {
        fail("a refused saved game changed the game");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Game game;
    restore(game, Bytes(data, data + size));
    restore(game, framed(game, data, size));
    return 0;
}

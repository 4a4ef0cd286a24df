// Saving the game state as bytes and restoring it from them. The reader is
// fed whatever a game hands it: it checks the frame (magic, version, length,
// checksum), decodes into values of its own and applies them only when
// everything fits, so a refusal changes nothing. Version 1 binds a saved game
// to its script by the digest; version 2 names its situation, so that it
// also restores into an edited or translated script.
#include "murmex/game_state.h"

#include "engine/byte_fields.h"
#include "engine/game_state_parts.h"
#include "engine/saved_places.h"

#include <cstring>

namespace murmex {

namespace {

using namespace saved_game;
using saved_places::SavedPlaces;
using saved_places::ShownText;

int32_t occupiedSlots(const MemoryStore& memory) {
    int32_t count = 0;
    for (const auto& name : memory.names) {
        count += name[0] != 0 ? 1 : 0;
    }
    return count;
}

void writeFrame(uint32_t version, uint64_t digest, ByteWriter& writer) {
    for (uint8_t byte : MAGIC) {
        writer.putByte(byte);
    }
    writer.putUint(version, 4);
    writer.putUint(0, 4); // the length, which seal() fills in
    writer.putUint(digest, 8);
}

void writeMemory(const MemoryStore& memory, ByteWriter& writer) {
    writer.putInt32(memory.money);
    writer.putInt32(occupiedSlots(memory));
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        if (memory.names[slot][0] != 0) {
            writer.putUint(static_cast<uint32_t>(slot), 2);
            writer.putName(memory.names[slot], MAX_NAME_LENGTH);
            writer.putInt32(memory.values[slot]);
        }
    }
}

void writeVersion1(const GameState& state, uint64_t digest, ByteWriter& writer) {
    writeFrame(VERSION_1, digest, writer);
    writer.putInt32(state.characterCount);
    for (int32_t c = 0; c < state.characterCount; ++c) {
        writer.putInt32(state.states[c]);
    }
    writer.putInt32(state.characterIndex);
    writer.putInt32(state.answerOffset);
    writer.putInt32(state.questionCount);
    for (int32_t k = 0; k < state.questionCount; ++k) {
        writer.putInt32(state.questionUnits[k]);
    }
    writeMemory(state.memory, writer);
    writer.putUint(0, CHECKSUM_BYTES);
}

void writeVersion2(const SavedPlaces& places, const MemoryStore& memory, uint64_t digest,
                   ByteWriter& writer) {
    writeFrame(VERSION_2, digest, writer);
    writer.putInt32(places.characterCount);
    for (int32_t c = 0; c < places.characterCount; ++c) {
        writer.putName(places.characters[c].name, MAX_CHARACTER_NAME);
        writer.putInt32(places.characters[c].state);
    }
    writer.putInt32(places.talkedTo);
    const saved_places::ShownUnit& shown = places.shown;
    writer.putByte(static_cast<uint8_t>(shown.text));
    if (shown.text != ShownText::None) {
        writer.putInt32(shown.state);
        writer.putUint(static_cast<uint32_t>(shown.place), 2);
        writer.putUint(shown.shape, 8);
    }
    writeMemory(memory, writer);
    writer.putUint(0, CHECKSUM_BYTES);
}

// Measures with `write`, then writes and seals when the buffer is large enough.
template <typename Write>
int32_t writeSealed(Write write, uint8_t* out, size_t capacity, size_t& written) {
    written = 0;
    ByteWriter measure(nullptr);
    write(measure);
    if (out == nullptr || capacity < measure.size()) {
        written = measure.size();
        return GAME_STATE_BUFFER_TOO_SMALL;
    }
    ByteWriter writer(out);
    write(writer);
    seal(out, writer.size());
    written = writer.size();
    return GAME_STATE_OK;
}

bool knownVersion(uint64_t version) {
    return version == VERSION_1 || version == VERSION_2;
}

// Magic, version, length and checksum. Every prefix of a saved game is
// reported as cut short, however short.
int32_t checkFrame(const uint8_t* bytes, size_t size) {
    const size_t magicBytes = size < sizeof(MAGIC) ? size : sizeof(MAGIC);
    if (magicBytes > 0 && std::memcmp(bytes, MAGIC, magicBytes) != 0) {
        return GAME_STATE_CORRUPT;
    }
    if (size < LENGTH_OFFSET) {
        return GAME_STATE_TRUNCATED;
    }
    if (!knownVersion(getLittleEndian(bytes + VERSION_OFFSET, 4))) {
        return GAME_STATE_OTHER_VERSION;
    }
    if (size < PAYLOAD_OFFSET) {
        return GAME_STATE_TRUNCATED;
    }
    const uint64_t length = getLittleEndian(bytes + LENGTH_OFFSET, 4);
    if (length < PAYLOAD_OFFSET + CHECKSUM_BYTES) {
        return GAME_STATE_CORRUPT;
    }
    if (length > size) {
        return GAME_STATE_TRUNCATED;
    }
    const size_t checked = size - CHECKSUM_BYTES;
    if (length < size ||
        getLittleEndian(bytes + checked, CHECKSUM_BYTES) != checksumOf(bytes, checked)) {
        return GAME_STATE_CORRUPT;
    }
    return GAME_STATE_OK;
}

int32_t readMemory(ByteReader& reader, MemoryStore& memory) {
    memory.money = reader.int32();
    const uint32_t count = reader.uint32();
    if (count > MEMORY_SLOTS) {
        return GAME_STATE_UNFIT;
    }
    int64_t lastSlot = -1;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t slot = static_cast<uint32_t>(reader.uint(2));
        char name[NAME_SIZE];
        const bool terminated = reader.name(name);
        const int32_t value = reader.int32();
        if (!reader.ok()) {
            return GAME_STATE_CORRUPT;
        }
        // Ascending slots, each holding a name: what the writer writes, and
        // what leaves no doubt which variable a slot holds.
        if (!terminated || name[0] == 0 || slot >= MEMORY_SLOTS || slot <= lastSlot) {
            return GAME_STATE_UNFIT;
        }
        memory.restoreSlot(static_cast<int32_t>(slot), name, value);
        lastSlot = slot;
    }
    return reader.ok() && reader.atEnd() ? GAME_STATE_OK : GAME_STATE_CORRUPT;
}

// Decodes a version 1 payload into `state`; the indices are checked when it
// is applied.
int32_t readVersion1(ByteReader& reader, GameState& state) {
    const uint32_t characterCount = reader.uint32();
    if (characterCount > MAX_CHARACTERS) {
        return GAME_STATE_UNFIT;
    }
    state.characterCount = static_cast<int32_t>(characterCount);
    for (uint32_t c = 0; c < characterCount; ++c) {
        state.states[c] = reader.int32();
    }
    state.characterIndex = reader.int32();
    state.answerOffset = reader.int32();
    const uint32_t questionCount = reader.uint32();
    if (questionCount > MAX_QUESTIONS) {
        return GAME_STATE_UNFIT;
    }
    state.questionCount = static_cast<int32_t>(questionCount);
    for (uint32_t k = 0; k < questionCount; ++k) {
        state.questionUnits[k] = reader.int32();
    }
    return readMemory(reader, state.memory);
}

int32_t readShown(ByteReader& reader, saved_places::ShownUnit& shown) {
    const uint8_t text = reader.byte();
    if (text > static_cast<uint8_t>(ShownText::Param)) {
        return GAME_STATE_UNFIT;
    }
    shown.text = static_cast<ShownText>(text);
    if (shown.text != ShownText::None) {
        shown.state = reader.int32();
        shown.place = static_cast<int32_t>(reader.uint(2));
        shown.shape = reader.uint(8);
    }
    return GAME_STATE_OK;
}

// Decodes a version 2 payload: the places, and the memory into `memory`.
int32_t readVersion2(ByteReader& reader, SavedPlaces& places, MemoryStore& memory) {
    const uint32_t characterCount = reader.uint32();
    if (characterCount > MAX_CHARACTERS) {
        return GAME_STATE_UNFIT;
    }
    places.characterCount = static_cast<int32_t>(characterCount);
    for (uint32_t c = 0; c < characterCount; ++c) {
        if (!reader.name(places.characters[c].name)) {
            return reader.ok() ? GAME_STATE_UNFIT : GAME_STATE_CORRUPT;
        }
        places.characters[c].state = reader.int32();
    }
    places.talkedTo = reader.int32();
    if (places.talkedTo < -1 || places.talkedTo >= places.characterCount) {
        return reader.ok() ? GAME_STATE_UNFIT : GAME_STATE_CORRUPT;
    }
    const int32_t shown = readShown(reader, places.shown);
    return shown != GAME_STATE_OK ? shown : readMemory(reader, memory);
}

} // namespace

namespace game_state {

int32_t encode(const GameState& state, const ScriptModel& script, uint64_t digest, uint8_t* out,
               size_t capacity, size_t& written) {
    written = 0;
    SavedPlaces places;
    const int32_t taken = saved_places::take(state, script, places);
    if (taken != GAME_STATE_OK) {
        return taken;
    }
    return writeSealed(
        [&](ByteWriter& writer) { writeVersion2(places, state.memory, digest, writer); }, out,
        capacity, written);
}

int32_t encodeVersion1(const GameState& state, uint64_t digest, uint8_t* out, size_t capacity,
                       size_t& written) {
    return writeSealed([&](ByteWriter& writer) { writeVersion1(state, digest, writer); }, out,
                       capacity, written);
}

int32_t decode(const uint8_t* bytes, size_t size, const ScriptModel& script, uint64_t digest,
               ScriptMatch match, GameState& out, GameStateRefusal& refusal) {
    refusal = GameStateRefusal{};
    const int32_t framed = checkFrame(bytes, bytes == nullptr ? 0 : size);
    if (framed != GAME_STATE_OK) {
        return refusal.code = framed;
    }
    const bool version1 = getLittleEndian(bytes + VERSION_OFFSET, 4) == VERSION_1;
    const bool sameScript = getLittleEndian(bytes + DIGEST_OFFSET, 8) == digest;
    if (!sameScript && (version1 || match == ScriptMatch::Strict)) {
        return refusal.code = GAME_STATE_OTHER_SCRIPT;
    }
    ByteReader reader(bytes + PAYLOAD_OFFSET, size - PAYLOAD_OFFSET - CHECKSUM_BYTES);
    if (version1) {
        return refusal.code = readVersion1(reader, out);
    }
    SavedPlaces places;
    const int32_t read = readVersion2(reader, places, out.memory);
    if (read != GAME_STATE_OK) {
        return refusal.code = read;
    }
    return refusal.code = saved_places::resolve(places, script, out, refusal);
}

} // namespace game_state

int32_t saveGameState(const ConversationEngine& engine, const ConversationView& view, uint8_t* out,
                      size_t capacity, size_t& written) {
    written = 0;
    GameState state;
    const int32_t captured = captureGameState(engine, view, state);
    if (captured != GAME_STATE_OK) {
        return captured;
    }
    return game_state::encode(state, engine, scriptDigest(engine), out, capacity, written);
}

namespace {

int32_t restoreInto(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                    size_t size, game_state::ScriptMatch match, GameStateRefusal& refusal) {
    GameState state;
    const int32_t decoded =
        game_state::decode(bytes, size, engine, scriptDigest(engine), match, state, refusal);
    if (decoded != GAME_STATE_OK) {
        return decoded;
    }
    return refusal.code = applyGameState(state, engine, view);
}

} // namespace

int32_t restoreGameState(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                         size_t size, GameStateRefusal& refusal) {
    return restoreInto(engine, view, bytes, size, game_state::ScriptMatch::Migrate, refusal);
}

int32_t restoreGameState(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                         size_t size) {
    GameStateRefusal refusal;
    return restoreGameState(engine, view, bytes, size, refusal);
}

int32_t restoreGameStateStrictly(ConversationEngine& engine, ConversationView& view,
                                 const uint8_t* bytes, size_t size) {
    GameStateRefusal refusal;
    return restoreInto(engine, view, bytes, size, game_state::ScriptMatch::Strict, refusal);
}

} // namespace murmex

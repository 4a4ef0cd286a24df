// Saving the game state as bytes and restoring it from them. The reader is
// fed whatever a game hands it: it checks the frame (magic, version, length,
// checksum, script digest), decodes into a value of its own and applies that
// only when everything fits, so a refusal changes nothing.
#include "murmex/game_state.h"

#include "engine/game_state_parts.h"
#include "engine/saved_game_format.h"

#include <cstring>

namespace murmex {

namespace {

using namespace saved_game;

// Writes little-endian fields; without an output it only counts them, so that
// measuring and writing are the same code.
class ByteWriter {
  public:
    explicit ByteWriter(uint8_t* out) : output(out) {}
    void putUint(uint64_t number, size_t bytes) {
        if (output != nullptr) {
            putLittleEndian(output + at, number, bytes);
        }
        at += bytes;
    }
    void putByte(uint8_t byte) { putUint(byte, 1); }
    void putInt32(int32_t number) { putUint(static_cast<uint32_t>(number), 4); }
    // The name's bytes up to the store's limit, then its zero.
    void putName(const char* name) {
        for (int32_t i = 0; i < MAX_NAME_LENGTH && name[i] != 0; ++i) {
            putByte(static_cast<uint8_t>(name[i]));
        }
        putByte(0);
    }
    size_t size() const { return at; }

  private:
    uint8_t* output;
    size_t at = 0;
};

// Reads little-endian fields from a range. Reading past its end gives zeros and
// marks the reader failed for good, so a caller checks once at the end.
class ByteReader {
  public:
    ByteReader(const uint8_t* bytes, size_t size) : data(bytes), end(size) {}
    uint64_t uint(size_t bytes) {
        if (failed || end - at < bytes) {
            failed = true;
            return 0;
        }
        at += bytes;
        return getLittleEndian(data + at - bytes, bytes);
    }
    uint8_t byte() { return static_cast<uint8_t>(uint(1)); }
    uint32_t uint32() { return static_cast<uint32_t>(uint(4)); }
    int32_t int32() { return static_cast<int32_t>(uint32()); }
    // A name and its zero into `out`; false when no zero comes within NAME_SIZE bytes.
    bool name(char (&out)[NAME_SIZE]) {
        for (char& c : out) {
            c = static_cast<char>(byte());
            if (c == 0) {
                return true;
            }
        }
        return false;
    }
    bool ok() const { return !failed; }
    bool atEnd() const { return at == end; }

  private:
    const uint8_t* data;
    size_t end;
    size_t at = 0;
    bool failed = false;
};

int32_t occupiedSlots(const MemoryStore& memory) {
    int32_t count = 0;
    for (const auto& name : memory.names) {
        count += name[0] != 0 ? 1 : 0;
    }
    return count;
}

// Everything but the length and the checksum, which seal() fills in.
void writeSavedGame(const GameState& state, uint64_t digest, ByteWriter& writer) {
    for (uint8_t byte : MAGIC) {
        writer.putByte(byte);
    }
    writer.putUint(VERSION, 4);
    writer.putUint(0, 4);
    writer.putUint(digest, 8);
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
    const MemoryStore& memory = state.memory;
    writer.putInt32(memory.money);
    writer.putInt32(occupiedSlots(memory));
    for (int32_t slot = 0; slot < MEMORY_SLOTS; ++slot) {
        if (memory.names[slot][0] != 0) {
            writer.putUint(static_cast<uint32_t>(slot), 2);
            writer.putName(memory.names[slot]);
            writer.putInt32(memory.values[slot]);
        }
    }
    writer.putUint(0, CHECKSUM_BYTES);
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
    if (getLittleEndian(bytes + VERSION_OFFSET, 4) != VERSION) {
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

int32_t readVariables(ByteReader& reader, MemoryStore& memory) {
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
    return GAME_STATE_OK;
}

// Decodes the payload into `state`; the indices are checked when it is applied.
int32_t readPayload(ByteReader& reader, GameState& state) {
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
    state.memory.money = reader.int32();
    const int32_t result = readVariables(reader, state.memory);
    if (result != GAME_STATE_OK) {
        return result;
    }
    return reader.ok() && reader.atEnd() ? GAME_STATE_OK : GAME_STATE_CORRUPT;
}

} // namespace

namespace game_state {

int32_t encode(const GameState& state, uint64_t digest, uint8_t* out, size_t capacity,
               size_t& written) {
    written = 0;
    ByteWriter measure(nullptr);
    writeSavedGame(state, digest, measure);
    if (out == nullptr || capacity < measure.size()) {
        written = measure.size();
        return GAME_STATE_BUFFER_TOO_SMALL;
    }
    ByteWriter writer(out);
    writeSavedGame(state, digest, writer);
    seal(out, writer.size());
    written = writer.size();
    return GAME_STATE_OK;
}

int32_t decode(const uint8_t* bytes, size_t size, uint64_t digest, GameState& out) {
    const int32_t framed = checkFrame(bytes, bytes == nullptr ? 0 : size);
    if (framed != GAME_STATE_OK) {
        return framed;
    }
    if (getLittleEndian(bytes + DIGEST_OFFSET, 8) != digest) {
        return GAME_STATE_OTHER_SCRIPT;
    }
    ByteReader reader(bytes + PAYLOAD_OFFSET, size - PAYLOAD_OFFSET - CHECKSUM_BYTES);
    return readPayload(reader, out);
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
    return game_state::encode(state, scriptDigest(engine), out, capacity, written);
}

int32_t restoreGameState(ConversationEngine& engine, ConversationView& view, const uint8_t* bytes,
                         size_t size) {
    GameState state;
    const int32_t decoded = game_state::decode(bytes, size, scriptDigest(engine), state);
    if (decoded != GAME_STATE_OK) {
        return decoded;
    }
    return applyGameState(state, engine, view);
}

} // namespace murmex

// The host API, for games that embed the engine.
// A loaded script as a game holds it: immutable once loaded, shared by any
// number of games (each with its own memory and character states), and safe
// to read from several threads at once. It holds the script model alone;
// ConversationEngine, the same model with a memory store and the states of
// one playthrough, stays the engine of the player and the tools.
#pragma once

// Not needed here, but code written against this header has long found the
// engine through it.
#include "murmex/engine/conversation_engine.h"
#include "murmex/load_result.h"
#include "murmex/script_model.h"
#include "murmex/script_source.h"
#include "murmex/unit_identity.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace murmex {

/// Bytes of a decoded title, with room for the terminating zero.
constexpr size_t TITLE_TEXT_SIZE = static_cast<size_t>(MAX_TITLE) * 3 + 1;
/// Bytes of a decoded character name, with room for the terminating zero.
constexpr size_t NAME_TEXT_SIZE = static_cast<size_t>(MAX_CHARACTER_NAME) * 3 + 1;

class Script {
  public:
    /// Loads a script file, descrambled unless `plain`. Null on failure, with
    /// the whole reason in `result`. A name that leads to a folder, a FIFO, a
    /// socket or a device fails at once with LOAD_CANNOT_OPEN.
    static std::shared_ptr<const Script> load(const char* path, LoadResult& result,
                                              bool plain = false);
    /// The same for bytes the caller holds; they are read during the call only.
    static std::shared_ptr<const Script> fromMemory(const void* data, size_t size,
                                                    LoadResult& result, bool plain = false);
    /// The same for any source of bytes.
    static std::shared_ptr<const Script> fromSource(ScriptSource& source, LoadResult& result,
                                                    bool plain = false);

    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;
    ~Script();

    /// The title as the script holds it, and as UTF-8.
    const char* title() const { return contents.title; }
    const char* titleText() const { return decodedTitle; }
    /// The window's colour and the texts' colour.
    Rgb color() const { return contents.color; }
    Rgb textColor() const { return contents.textColor; }

    int32_t characterCount() const { return contents.characterCount; }
    /// Character `index`'s name as the script holds it and as UTF-8; null for
    /// an index out of range.
    const char* characterName(int32_t index) const;
    const char* characterNameText(int32_t index) const;
    /// Index of the first character with exactly this name, or -1.
    int32_t findCharacter(const char* name) const { return contents.indexOfCharacter(name); }
    /// Character `character`'s talk units, read-only; null out of range.
    int32_t unitCount(int32_t character) const;
    const TalkUnit* unit(int32_t character, int32_t index) const;

    /// The line id of character `character`'s unit `unit`, its question or
    /// its answer (unit_identity.h), written into `out`, zero-terminated and
    /// cut to `capacity`. Returns the whole id's length; 0 and "" for an
    /// index out of range.
    size_t lineId(int32_t character, int32_t unit, LinePart part, char* out, size_t capacity) const;

    /// Digest of the script, which binds a saved game to it.
    uint64_t digest() const { return scriptDigest; }

    /// The whole loaded model, read-only: what a game plays its steps over
    /// and what saved games are checked against.
    const ScriptModel& model() const { return contents; }

  private:
    Script() = default;
    /// Finishes a load that has filled `script`: the decoded texts and the
    /// digest. Null, with `result` telling why, when the load or this failed.
    static std::shared_ptr<const Script> loaded(Script* script, LoadResult& result);

    ScriptModel contents;
    uint64_t scriptDigest = 0;
    char decodedTitle[TITLE_TEXT_SIZE] = {};
    /// Names are decoded once at load, so reading them needs no buffer.
    /// Name c starts at c * NAME_TEXT_SIZE.
    std::unique_ptr<char[]> decodedNames;
    /// Each character's "~N" in its line ids, found once at load.
    int32_t idSuffixes[MAX_CHARACTERS] = {};
};

} // namespace murmex

// The host API, for games that embed the engine.
// What a load tells its caller: the result code, the line reached, the fixed
// message the player shows, and a detail that says the cause in plain words
// for tools and logs. The message is the file format's contract and never
// changes; the detail may say more than it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace murmex {

/// Load results: 0 or more is success. A successful load returns LOAD_OK.
constexpr int32_t LOAD_OK = 1;
/// The source can't be opened, or a read from it failed.
constexpr int32_t LOAD_CANNOT_OPEN = -1;
constexpr int32_t LOAD_BAD_MAGIC = -2;
constexpr int32_t LOAD_SYNTAX = -3;
/// Out of memory; also a source whose bytes changed between the two passes.
constexpr int32_t LOAD_MEMORY = -4;
constexpr int32_t LOAD_LIMIT = -5;

/// Why a load failed, as far as the loader can tell.
enum class LoadCause : uint8_t {
    None,
    CannotOpen,
    NotAScript,
    FirstLineEndsWithLineFeed, ///< the magic is there, but line 1 lacks its carriage return
    EndOfFile,                 ///< the file ends before the script is complete
    TextNotClosedAtEndOfFile,  ///< detail line: where the text was opened
    TextNotClosedAtEndOfLine,  ///< detail line: where the text was opened
    NameTooLong,               ///< detail number: the longest name allowed
    TextTooLong,               ///< detail number: the longest text allowed
    ShortValueTooLong,         ///< detail number: the longest such value allowed
    TitleTooLong,              ///< detail number: the longest title allowed
    UnexpectedCharacter,       ///< detail number: the character found
    UnknownAction,
    UnknownOperator,
    NotANumber,
    TooManyCharacters, ///< detail number: the limit
    TooManyUnits,      ///< detail number: the limit
    TooManyConditions, ///< detail number: the limit
    OutOfMemory,
    PoolTooLarge,
    FileChanged,
    AlreadyLoaded, ///< the engine holds a script: one engine loads one script
    ReadFailed,    ///< reading the source failed before its end
};

struct LoadDetail {
    LoadCause cause = LoadCause::None;
    /// A line the cause refers to besides the line reached, or 0.
    int32_t line = 0;
    /// A number the cause refers to (a limit, a character), or 0.
    int32_t number = 0;
    /// Byte offset in the source where the failing pass stopped: just past the
    /// byte that failed it. Tools point at the fault with it; 0 when the
    /// failure has no place in the source.
    uint32_t offset = 0;
};

struct LoadResult {
    /// LOAD_OK or a negative LOAD_ code.
    int32_t code = LOAD_OK;
    /// 1-based line the loader had reached.
    int32_t line = 1;
    /// The fixed message the player shows; may be empty. Never freed.
    const char* message = "";
    LoadDetail detail;

    bool ok() const { return code >= 0; }
};

/// Writes the detail in plain words into `out` (at most capacity bytes with
/// the terminating zero, cut if longer) and returns out. Empty for no cause.
const char* describeLoadDetail(const LoadDetail& detail, char* out, size_t capacity);

/// Room that describeLoadDetail needs for any detail.
constexpr size_t LOAD_DETAIL_TEXT_SIZE = 200;

} // namespace murmex

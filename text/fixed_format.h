// Texts made from a format and a few values without the C library's
// formatted output, which would bring its whole printf machinery into every
// program that embeds the engine (a page's WebAssembly module the most).
// The formats are the system's own, so four conversions are enough.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace murmex {

// One value for a conversion: a text for %s, a number for %d, %i and %c.
class FormatValue {
  public:
    FormatValue(const char* text) : asText(text) {}
    FormatValue(int32_t number) : asNumber(number) {}

    const char* text() const { return asText != nullptr ? asText : ""; }
    int32_t number() const { return asNumber; }

  private:
    const char* asText = nullptr;
    int32_t asNumber = 0;
};

// Writes `format` into `out` (at most `capacity` bytes with the terminating
// zero, cut if longer), with each %s, %d, %i and %c filled from `values` in
// order, as snprintf fills them; any other '%' stands as it is. Returns the
// length of the whole text, as snprintf does. `out` may be null when
// `capacity` is 0, to measure.
size_t formatText(char* out, size_t capacity, const char* format,
                  std::initializer_list<FormatValue> values);

} // namespace murmex

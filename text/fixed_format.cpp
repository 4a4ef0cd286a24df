// A format filled with texts and numbers into a bounded buffer.
#include "text/fixed_format.h"

namespace murmex {

namespace {

// Appends to a bounded buffer and counts what would not fit too.
class BoundedText {
  public:
    BoundedText(char* into, size_t room) : out(into), capacity(room) {}
    void put(char byte) {
        if (out != nullptr && length + 1 < capacity) {
            out[length] = byte;
        }
        ++length;
    }
    void put(const char* text) {
        for (; *text != 0; ++text) {
            put(*text);
        }
    }
    void putNumber(int32_t number) {
        // Widened, so that the most negative number has a magnitude.
        int64_t magnitude = number;
        if (magnitude < 0) {
            put('-');
            magnitude = -magnitude;
        }
        char digits[12];
        size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude > 0);
        while (count > 0) {
            put(digits[--count]);
        }
    }
    size_t finish() {
        if (out != nullptr && capacity > 0) {
            out[length < capacity ? length : capacity - 1] = 0;
        }
        return length;
    }

  private:
    char* out;
    size_t capacity;
    size_t length = 0;
};

} // namespace

size_t formatText(char* out, size_t capacity, const char* format,
                  std::initializer_list<FormatValue> values) {
    BoundedText text(out, capacity);
    const FormatValue* next = values.begin();
    for (const char* at = format; *at != 0; ++at) {
        const char conversion = at[0] == '%' ? at[1] : 0;
        const bool known =
            conversion == 's' || conversion == 'd' || conversion == 'i' || conversion == 'c';
        if (!known || next == values.end()) {
            text.put(*at);
            continue;
        }
        if (conversion == 's') {
            text.put(next->text());
        } else if (conversion == 'c') {
            text.put(static_cast<char>(next->number()));
        } else {
            text.putNumber(next->number());
        }
        ++next;
        ++at;
    }
    return text.finish();
}

} // namespace murmex

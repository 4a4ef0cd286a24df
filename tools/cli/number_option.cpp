// The check of whole-number options.
#include "tools/cli/number_option.h"

#include <string>

namespace murmex::tool {

namespace {

// The number the digits make, or false when they are not all digits or make
// more than `most`.
bool readNumber(const std::string& text, uint64_t most, uint64_t& number) {
    if (text.empty()) {
        return false;
    }
    number = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') {
            return false;
        }
        const auto value = static_cast<uint64_t>(digit - '0');
        if (value > most || number > (most - value) / 10) {
            return false;
        }
        number = number * 10 + value;
    }
    return true;
}

} // namespace

CLI::Validator wholeNumberIn(uint64_t least, uint64_t most) {
    const std::string bounds = std::to_string(least) + " to " + std::to_string(most);
    CLI::Validator validator(bounds);
    validator.operation([least, most, bounds](std::string& text) -> std::string {
        uint64_t number = 0;
        if (!readNumber(text, most, number) || number < least) {
            return text + " is not a whole number from " + bounds;
        }
        // The parser converts with C's base prefixes; plain digits stay decimal.
        text = std::to_string(number);
        return "";
    });
    return validator;
}

} // namespace murmex::tool

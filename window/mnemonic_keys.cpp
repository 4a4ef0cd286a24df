// The code points a mnemonic key can stand for.
#include "window/mnemonic_keys.h"

namespace kestrine {

bool canBeMnemonic(char32_t point) {
    if (point < 0x80) {
        return (point >= '0' && point <= '9') || (point >= 'A' && point <= 'Z') ||
               (point >= 'a' && point <= 'z');
    }
    if (point < 0xC0) {
        // Latin-1's letters and numbers below the accented letters.
        return point == 0xAA || point == 0xB2 || point == 0xB3 || point == 0xB5 || point == 0xB9 ||
               point == 0xBA || (point >= 0xBC && point <= 0xBE);
    }
    if (point < 0x100) {
        return point != 0xD7 && point != 0xF7;
    }
    // Punctuation, currency, arrows, mathematical and technical signs, box
    // drawing, shapes and dingbats; other code points are taken as letters.
    return !((point >= 0x2000 && point <= 0x206F) || (point >= 0x20A0 && point <= 0x20CF) ||
             (point >= 0x2190 && point <= 0x23FF) || (point >= 0x2500 && point <= 0x27BF) ||
             (point >= 0x3000 && point <= 0x303F));
}

} // namespace kestrine

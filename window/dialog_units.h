// Conversion of dialog units to pixels with the base units of the classic
// 8-point dialog font at 96 DPI: 6 pixels across and 13 down. A horizontal
// dialog unit is a quarter of the base width, a vertical one an eighth of the
// base height.
#pragma once

#include <cstdint>

namespace kestrine {

constexpr int32_t BASE_UNIT_X = 6;
constexpr int32_t BASE_UNIT_Y = 13;

// Rounds to the nearest pixel, as the platform's MulDiv does for positive values.
constexpr int32_t dialogUnitsToPixelsX(int32_t units) {
    return (units * BASE_UNIT_X + 2) / 4;
}
constexpr int32_t dialogUnitsToPixelsY(int32_t units) {
    return (units * BASE_UNIT_Y + 4) / 8;
}

} // namespace kestrine

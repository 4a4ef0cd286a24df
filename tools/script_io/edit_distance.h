// How far apart two words are, for "did you mean" notes: the fewest letters
// put in, taken out or changed to turn one into the other, letter case aside.
#pragma once

#include <cstddef>
#include <string>

namespace murmex::tool {

size_t editDistance(const std::string& a, const std::string& b);

} // namespace murmex::tool

// The header the loader's test scripts start with.
#pragma once

#include <string>

namespace murmex::testing {

// A complete header; what follows it starts on line 5.
inline const std::string HEADER = "MurmexSrcFile\r\n"
                                  "TITLE = \"The Old Mill\"\r\n"
                                  "COLOR = \"0\", \"0\", \"96\"\r\n"
                                  "T = \"255\", \"255\", \"200\"\r\n";

} // namespace murmex::testing

// Script generation for the benchmarks.
#include "bench/script_generator.h"

#include "murmex/scrambling.h"

#include <cstdio>

namespace murmex::bench {

namespace {
// States the units of one character are spread over.
constexpr int32_t STATES = 30;

// The shortest question or answer of a varied script.
constexpr int32_t SHORTEST_TEXT = 10;

// A fixed sequence of numbers, the same on every machine.
class Draws {
  public:
    // A number from low to high, both included.
    int32_t between(int32_t low, int32_t high) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const uint32_t drawn = static_cast<uint32_t>(state >> 33);
        return low + static_cast<int32_t>(drawn % static_cast<uint32_t>(high - low + 1));
    }

  private:
    uint64_t state = 15;
};

std::string text(int32_t length, char seed) {
    std::string result;
    result.reserve(length);
    const char* words[] = {"the ", "mill ", "river ", "smith ", "forge ", "bread ", "coin "};
    int32_t word = seed;
    while (static_cast<int32_t>(result.size()) < length) {
        result += words[word++ % 7];
    }
    result.resize(length);
    return result;
}
} // namespace

std::string generateScript(const ScriptShape& shape) {
    std::string script = "MurmexSrcFile\r\n# generated for the benchmarks\r\n"
                         "TITLE = \"Benchmark\"\r\nCOLOR = \"10\", \"20\", \"30\"\r\n"
                         "TEXTCOLOR = \"200\", \"200\", \"200\"\r\n";
    Draws draws;
    for (int32_t c = 0; c < shape.characters; ++c) {
        script += "\"Character" + std::to_string(c) + "\" {\r\n";
        script += "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }\r\n";
        for (int32_t u = 1; u < shape.unitsPerCharacter; ++u) {
            const int32_t state = u % STATES;
            const auto length = [&](int32_t longest) {
                return shape.varied ? draws.between(SHORTEST_TEXT, longest) : longest;
            };
            const std::string question = text(length(shape.questionLength), 1);
            const std::string answer = text(length(shape.answerLength), 3);
            const int32_t conditions =
                shape.varied ? draws.between(0, shape.conditionsPerUnit) : shape.conditionsPerUnit;
            script += "  { S = \"" + std::to_string(state) + "\" N = \"" +
                      std::to_string((state + 1) % STATES) + "\" Q = \"" + question + "\" A = \"" +
                      answer + "\" ACT = \"ACT_ADD_MEM\" PARAM = \"v" + std::to_string(u) +
                      "\" VAL = \"1\"";
            for (int32_t k = 0; k < conditions; ++k) {
                script +=
                    " { ID = \"v" + std::to_string((u + k) % 400) + "\" OP = \"!=\" VAL = \"7\" }";
            }
            script += " }\r\n";
        }
        script += "}\r\n";
    }
    return script;
}

std::string scramble(const std::string& plain) {
    std::string scrambled = plain;
    murmex::scrambleBytes(scrambled.data(), scrambled.size());
    return scrambled;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string collidingName(int32_t index) {
    // "w" + three digits + one filler byte that brings the byte sum to 1000,
    // which hashes to slot 0.
    char digits[12];
    std::snprintf(digits, sizeof(digits), "%03d", static_cast<int>(index % 1000));
    std::string name = std::string("w") + digits;
    int32_t sum = 0;
    for (char c : name) {
        sum += c;
    }
    // The digits sum to at most 3 * 57; the filler lies between 33 and 126.
    int32_t filler = 1000 - sum;
    while (filler > 126) {
        name += '~';
        filler -= 126;
    }
    name += static_cast<char>(filler);
    return name;
}

} // namespace murmex::bench

// Loads each benchmark script once, for counting the load's instructions
// under callgrind (bench/load_instructions.sh): a count, unlike a time, is
// the same on every run, so a change of a few per cent shows.
#include "bench/script_generator.h"
#include "murmex/conversation_engine.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using murmex::bench::generateScript;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: load_instructions DEMO_SCRIPT FOLDER\n");
        return 2;
    }
    std::ifstream demoFile(argv[1], std::ios::binary);
    std::ostringstream demo;
    demo << demoFile.rdbuf();
    const std::pair<const char*, std::string> scripts[] = {
        {"small", demo.str()},
        {"medium", generateScript({10, 50, 3, 60, 200})},
        {"large", generateScript({100, 150, 3, 1498, 1498})},
        {"realistic", generateScript({20, 60, 3, 100, 300, true})},
    };
    for (const auto& [name, plain] : scripts) {
        const std::string path = std::string(argv[2]) + "/" + name + ".chr";
        if (!murmex::bench::writeFile(path, murmex::bench::scramble(plain))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        murmex::ConversationEngine engine;
        if (engine.load(path.c_str()) != murmex::LOAD_OK) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), engine.errorMessage);
            return 1;
        }
    }
    return 0;
}

// Benchmarks of the engine and the loader: loading scripts of three sizes and
// one shaped like real writing against the floor of reading the file,
// conversation steps in a typical and a worst case, and the allocations both
// make.
#include "bench/allocation_counter.h"
#include "bench/script_generator.h"

#include "loader/scramble_key.h"
#include "loader/script_reader.h"
#include "murmex/conversation_engine.h"
#include "murmex/game.h"
#include "murmex/murmex.h"
#include "murmex/script_syntax.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace murmex::bench {
namespace {

// Block size of the floor's reads.
constexpr size_t FLOOR_BLOCK = 64 * 1024;
// Steps whose allocations are counted.
constexpr long COUNTED_STEPS = 1000000;

struct ScriptFile {
    std::string path;
    size_t bytes = 0;
    // Size of the string pool a load of it allocates.
    size_t poolBytes = 0;
};
std::map<std::string, ScriptFile> scripts;

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

void prepareScripts(const std::filesystem::path& folder) {
    const std::string demo = readWhole(MURMEX_DEMO_SCRIPT);
    const std::string medium = generateScript({10, 50, 3, 60, 200});
    const std::string large = generateScript({100, 150, 3, 1498, 1498});
    const std::string realistic = generateScript({20, 60, 3, 100, 300, true});
    for (const auto& [name, plain] : {std::pair<std::string, const std::string&>{"small", demo},
                                      {"medium", medium},
                                      {"large", large},
                                      {"realistic", realistic}}) {
        const std::string path = (folder / (name + ".chr")).string();
        if (!writeFile(path, scramble(plain))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
        ConversationEngine engine;
        if (engine.load(path.c_str()) != LOAD_OK) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), engine.errorMessage);
            std::exit(1);
        }
        scripts[name] = ScriptFile{path, plain.size(), engine.blockSize()};
    }
}

void loadScript(benchmark::State& state, const std::string& name) {
    const ScriptFile& file = scripts.at(name);
    for (auto _ : state) {
        ConversationEngine engine;
        const int32_t result = engine.load(file.path.c_str());
        if (result != LOAD_OK) {
            state.SkipWithError(engine.errorMessage);
            break;
        }
        benchmark::DoNotOptimize(engine.characterCount);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
}

// What no loader can beat: both passes' reads of the file in large blocks,
// every byte descrambled into a checksum.
void readFloor(benchmark::State& state, const std::string& name) {
    const ScriptFile& file = scripts.at(name);
    std::vector<uint8_t> block(FLOOR_BLOCK);
    // The key laid out contiguously, so the inner loop is as fast as the
    // compiler can make it: a floor, not a straw man.
    uint8_t key[256];
    for (uint32_t i = 0; i < 256; ++i) {
        key[i] = scrambleKeyAt(i);
    }
    for (auto _ : state) {
        uint32_t checksum = 0;
        for (int pass = 0; pass < 2; ++pass) {
            std::FILE* in = std::fopen(file.path.c_str(), "rb");
            size_t got;
            // Blocks are multiples of 256 bytes, so each starts at key byte 0.
            while ((got = std::fread(block.data(), 1, block.size(), in)) > 0) {
                for (size_t start = 0; start < got; start += 256) {
                    const size_t run = got - start < 256 ? got - start : 256;
                    for (size_t i = 0; i < run; ++i) {
                        checksum += block[start + i] ^ key[i];
                    }
                }
            }
            std::fclose(in);
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
}

// What the pool alone costs a load: a fresh block of its size, every byte
// written once and freed. For a large script the operating system's work of
// handing out fresh memory is a good part of a load.
void freshPool(benchmark::State& state, const std::string& name) {
    const ScriptFile& file = scripts.at(name);
    for (auto _ : state) {
        std::unique_ptr<char[]> pool(new (std::nothrow) char[file.poolBytes]);
        if (pool == nullptr) {
            state.SkipWithError("no memory for the pool");
            break;
        }
        std::memset(pool.get(), 1, file.poolBytes);
        benchmark::DoNotOptimize(pool.get());
    }
}

// The kind of names authors give their variables, 400 of them.
std::string authorVariable(int32_t index) {
    static const char* const verbs[] = {"met",  "has",   "seen",  "told", "gave",
                                        "owes", "knows", "found", "lost", "trust"};
    static const char* const things[] = {
        "miller", "smith", "mara",   "key",    "letter", "sword", "coin",   "bread",
        "river",  "forge", "guard",  "priest", "map",    "ring",  "horse",  "boat",
        "cellar", "tower", "garden", "well",   "mill",   "inn",   "bridge", "wolf",
        "crow",   "lamp",  "book",   "cart",   "gate",   "bell",  "stone",  "herb",
        "cloak",  "boot",  "seal",   "mask",   "rope",   "axe",   "bow",    "drum"};
    return std::string(verbs[index % 10]) + "_" + things[index / 10 % 40];
}

// A character of 150 units with three conditions each, ready to step.
struct StepScene {
    ConversationEngine engine;
    ConversationView view;
    bool ready = false;
};

std::string stepCharacter(bool worst) {
    std::string script = "MurmexSrcFile\r\nTITLE = \"Steps\"\r\nCOLOR = \"1\", \"2\", \"3\"\r\n"
                         "T = \"4\", \"5\", \"6\"\r\n\"Intro\" {\r\n"
                         "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello.\" ACT = \"ACT_NONE\" }\r\n";
    for (int32_t u = 1; u < MAX_UNITS; ++u) {
        std::string unit;
        if (worst) {
            // All units share state 0; the last two conditions of all but the
            // last five fail only at the third test, after two far lookups.
            const bool offered = u >= MAX_UNITS - MAX_QUESTIONS;
            unit = "{ S = \"0\" N = \"0\" Q = \"Question " + std::to_string(u) +
                   "\" A = \"Answer.\" ACT = \"ACT_NONE\"";
            for (int32_t k = 0; k < MAX_CONDITIONS; ++k) {
                const std::string variable = collidingName(50 + (u * 3 + k) % 450);
                const bool fails = k == 2 && !offered;
                unit += " { ID = \"" + variable + "\" OP = \"==\" VAL = \"" + (fails ? "2" : "1") +
                        "\" }";
            }
        } else {
            // Units spread over 30 states; a step stays in its state, sets a
            // counter and tests three variables per unit of that state.
            const int32_t state = u % 30;
            unit = "{ S = \"" + std::to_string(state) + "\" N = \"" + std::to_string(state) +
                   "\" Q = \"Question " + std::to_string(u) +
                   "\" A = \"Answer.\" ACT = \"ACT_ADD_MEM\" PARAM = \"counter\" VAL = \"1\"";
            for (int32_t k = 0; k < MAX_CONDITIONS; ++k) {
                unit += " { ID = \"" + authorVariable((u * 3 + k) % 400) +
                        "\" OP = \"!=\" VAL = \"-1\" }";
            }
        }
        script += "  " + unit + " }\r\n";
    }
    return script + "}\r\n";
}

StepScene& stepScene(bool worst) {
    static StepScene scenes[2];
    StepScene& scene = scenes[worst ? 1 : 0];
    if (scene.ready) {
        return scene;
    }
    const std::string path = (std::filesystem::path(scripts.at("small").path).parent_path() /
                              (worst ? "step-worst.chr" : "step-typical.chr"))
                                 .string();
    writeFile(path, stepCharacter(worst));
    scene.engine.disableDescramble();
    if (scene.engine.load(path.c_str()) != LOAD_OK) {
        std::fprintf(stderr, "step script: %s\n", scene.engine.errorMessage);
        std::exit(1);
    }
    if (worst) {
        for (int32_t i = 0; i < MEMORY_SLOTS; ++i) {
            scene.engine.memory.set(collidingName(i).c_str(), 1);
        }
    } else {
        for (int32_t i = 0; i < 400; ++i) {
            scene.engine.memory.set(authorVariable(i).c_str(), 1);
        }
    }
    if (scene.engine.startCharacter(0, scene.view) != 0) {
        std::fprintf(stderr, "step script: %s\n", scene.engine.errorMessage);
        std::exit(1);
    }
    scene.ready = true;
    return scene;
}

void conversationStep(benchmark::State& state, bool worst) {
    StepScene& scene = stepScene(worst);
    for (auto _ : state) {
        const int32_t result = scene.engine.applyQuestion(0, scene.view);
        benchmark::DoNotOptimize(result);
    }
}

// The same step as each binding takes it (bench/binding_steps.sh): ask the
// first question, then read the answer and every question's label.
std::shared_ptr<const Script> bindingStepScript() {
    LoadResult result;
    auto script = Script::load(MURMEX_BINDING_STEP_SCRIPT, result, true);
    if (script == nullptr) {
        std::fprintf(stderr, "binding step script: %s\n", result.message);
        std::exit(1);
    }
    return script;
}

void gameStep(benchmark::State& state) {
    auto game = Game::create(bindingStepScript());
    game->start("Intro");
    for (auto _ : state) {
        game->choose(0);
        benchmark::DoNotOptimize(game->answerText());
        for (int32_t k = 0; k < game->questionCount(); ++k) {
            benchmark::DoNotOptimize(game->question(k).label);
        }
    }
}

void cFunctionStep(benchmark::State& state) {
    murmex_script* script = nullptr;
    murmex_game* game = nullptr;
    if (murmex_script_load(MURMEX_BINDING_STEP_SCRIPT, MURMEX_LOAD_PLAIN, &script, nullptr) !=
            MURMEX_OK ||
        murmex_game_new(script, &game) != MURMEX_OK ||
        murmex_game_start(game, "Intro") != MURMEX_OK) {
        std::fprintf(stderr, "binding step script did not start\n");
        std::exit(1);
    }
    for (auto _ : state) {
        murmex_game_choose(game, 0);
        const char* answer = nullptr;
        murmex_game_answer(game, MURMEX_TEXT, &answer);
        benchmark::DoNotOptimize(answer);
        int32_t count = 0;
        murmex_game_question_count(game, &count);
        for (int32_t k = 0; k < count; ++k) {
            murmex_question question;
            murmex_game_question(game, k, &question);
            benchmark::DoNotOptimize(question.label);
        }
    }
    murmex_game_free(game);
    murmex_script_free(script);
}

// What a game preloading voices asks before each step: the lines the next
// `depth` choices can show from the binding step script's first screen.
void lookahead(benchmark::State& state, int32_t depth) {
    auto game = Game::create(bindingStepScript());
    game->start("Intro");
    ShownLine lines[64];
    for (auto _ : state) {
        benchmark::DoNotOptimize(game->lookahead(depth, lines, 64));
    }
}

BENCHMARK_CAPTURE(loadScript, small, std::string("small"));
BENCHMARK_CAPTURE(readFloor, small, std::string("small"));
BENCHMARK_CAPTURE(loadScript, medium, std::string("medium"));
BENCHMARK_CAPTURE(readFloor, medium, std::string("medium"));
BENCHMARK_CAPTURE(loadScript, large, std::string("large"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readFloor, large, std::string("large"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadScript, realistic, std::string("realistic"));
BENCHMARK_CAPTURE(readFloor, realistic, std::string("realistic"));
BENCHMARK_CAPTURE(freshPool, large, std::string("large"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(conversationStep, typical, false);
BENCHMARK_CAPTURE(conversationStep, worst, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(gameStep);
BENCHMARK(cFunctionStep);
BENCHMARK_CAPTURE(lookahead, depth1, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookahead, depth3, 3)->Unit(benchmark::kMicrosecond);

// Keeps the median of each benchmark for the ratios printed at the end.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name == "median") {
                const double unit = timeUnitSeconds(run.time_unit);
                medians[run.run_name.str()] = {run.GetAdjustedRealTime() * unit,
                                               run.GetAdjustedCPUTime() * unit};
            }
        }
    }
    struct Times {
        double real;
        double cpu;
    };
    std::map<std::string, Times> medians;

  private:
    static double timeUnitSeconds(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-9;
        case benchmark::kMicrosecond:
            return 1e-6;
        case benchmark::kMillisecond:
            return 1e-3;
        default:
            return 1.0;
        }
    }
};

void reportAllocations() {
    StepScene& scene = stepScene(false);
    const AllocationTally beforeSteps = allocationTally();
    for (long i = 0; i < COUNTED_STEPS; ++i) {
        benchmark::DoNotOptimize(scene.engine.applyQuestion(0, scene.view));
    }
    const AllocationTally afterSteps = allocationTally();
    std::printf("allocations during %ld steps: %ld\n", COUNTED_STEPS,
                afterSteps.count - beforeSteps.count);

    auto engine = std::make_unique<ConversationEngine>();
    const AllocationTally beforeLoad = allocationTally();
    engine->load(scripts.at("large").path.c_str());
    const AllocationTally afterLoad = allocationTally();
    long units = 0;
    for (int32_t i = 0; i < engine->characterCount; ++i) {
        units += engine->characters[i]->unitCount;
    }
    // The load's read chunk and value buffer are one allocation, freed when
    // the load returns.
    const size_t buffers = READ_CHUNK_SIZE + TEXT_LIMIT;
    const size_t expectedBytes = buffers + engine->blockSize() +
                                 engine->characterCount * sizeof(Character) +
                                 units * sizeof(TalkUnit);
    std::printf("large load: %ld allocations, %zu bytes; buffers + pool + records: %ld "
                "allocations, %zu bytes (pool %u)\n",
                afterLoad.count - beforeLoad.count, afterLoad.bytes - beforeLoad.bytes,
                2 + engine->characterCount + units, expectedBytes, engine->blockSize());
}

} // namespace
} // namespace murmex::bench

int main(int argc, char** argv) {
    using namespace murmex::bench;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("murmex-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    prepareScripts(folder);
    for (const auto& [name, file] : scripts) {
        std::printf("%s script: %zu bytes\n", name.c_str(), file.bytes);
    }

    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* size : {"small", "medium", "large", "realistic"}) {
        const auto load = reporter.medians.find(std::string("loadScript/") + size);
        const auto floor = reporter.medians.find(std::string("readFloor/") + size);
        if (load != reporter.medians.end() && floor != reporter.medians.end()) {
            std::printf("load / floor, %s: %.2f (CPU time: %.2f)\n", size,
                        load->second.real / floor->second.real,
                        load->second.cpu / floor->second.cpu);
        }
    }
    const auto load = reporter.medians.find("loadScript/large");
    const auto floor = reporter.medians.find("readFloor/large");
    const auto pool = reporter.medians.find("freshPool/large");
    if (load != reporter.medians.end() && floor != reporter.medians.end() &&
        pool != reporter.medians.end()) {
        std::printf("load / (floor + fresh pool), large: %.2f\n",
                    load->second.real / (floor->second.real + pool->second.real));
    }
    reportAllocations();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}

// `murmex dump`: the loaded model as JSON, for authors and for tests that
// compare two ways of loading the same script.
#include "tools/cli/dump_command.h"

#include "murmex/script_keywords.h"
#include "text/display_text.h"
#include "tools/cli/finding_json.h"
#include "tools/script_io/script_loading.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace murmex::tool {

namespace {

using Json = nlohmann::ordered_json;

Json colorToJson(const Rgb& color) {
    return Json::array({color.red, color.green, color.blue});
}

// A keyword, or the number itself for a value outside the table.
Json keyword(const char* word, int32_t value) {
    if (word != nullptr) {
        return word;
    }
    return value;
}

Json conditionToJson(const Condition& condition) {
    Json json;
    json["variable"] = displayText(condition.variable);
    json["op"] = keyword(operatorKeyword(condition.op), condition.op);
    if (condition.op != OP_NOT) {
        json["value"] = condition.value;
    }
    return json;
}

Json unitToJson(const TalkUnit& unit) {
    Json json;
    json["state"] = unit.state;
    json["nextState"] = unit.nextState;
    json["question"] = displayText(unit.question);
    json["answer"] = displayText(unit.answer);
    const ActionKeyword* action = actionKeyword(unit.action);
    json["action"] = keyword(action != nullptr ? action->keyword : nullptr, unit.action);
    if (action != nullptr && action->takesParam) {
        json["param"] = displayText(unit.param);
    }
    if (action != nullptr && action->takesValue) {
        json["value"] = unit.value;
    }
    Json conditions = Json::array();
    for (int32_t i = 0; i < unit.conditionCount && i < MAX_CONDITIONS; ++i) {
        conditions.push_back(conditionToJson(unit.conditions[i]));
    }
    json["conditions"] = std::move(conditions);
    return json;
}

Json characterToJson(const Character& character) {
    Json json;
    json["name"] = displayText(character.name);
    Json units = Json::array();
    for (int32_t i = 0; i < character.unitCount; ++i) {
        if (character.units[i]) {
            units.push_back(unitToJson(*character.units[i]));
        }
    }
    json["units"] = std::move(units);
    return json;
}

} // namespace

nlohmann::ordered_json scriptToJson(const ScriptModel& engine) {
    Json json;
    json["title"] = displayText(engine.title);
    json["color"] = colorToJson(engine.color);
    json["textColor"] = colorToJson(engine.textColor);
    json["poolBytes"] = engine.blockSize();
    Json characters = Json::array();
    for (int32_t i = 0; i < engine.characterCount; ++i) {
        if (engine.characters[i]) {
            characters.push_back(characterToJson(*engine.characters[i]));
        }
    }
    json["characters"] = std::move(characters);
    return json;
}

namespace {

int dumpLoaded(const LoadedScript& loaded, const ScriptPlaces&, std::ostream& out, std::ostream&) {
    printJson(out, scriptToJson(*loaded.engine));
    return EXIT_OK;
}

} // namespace

int runDump(const DumpOptions& options, std::ostream& out, std::ostream& err) {
    return runOnScript({options.file, options.plain}, DUMP_SCRIPT_USE, out, err, dumpLoaded);
}

void addDumpOptions(CLI::App& command, const ScriptArguments&, ChosenCommand& chosen) {
    command.callback([&chosen] { chosen.work = dumpLoaded; });
}

} // namespace murmex::tool

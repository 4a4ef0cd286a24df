// Findings as JSON, and JSON documents printed.
#include "tools/cli/finding_json.h"

namespace murmex::tool {

nlohmann::ordered_json findingToJson(const Finding& finding) {
    nlohmann::ordered_json json;
    json["line"] = finding.line;
    json["name"] = finding.name;
    json["text"] = finding.text;
    if (finding.hasPath) {
        json["path"] = finding.path;
    }
    return json;
}

void printJson(std::ostream& out, const nlohmann::ordered_json& json) {
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

} // namespace murmex::tool

// Findings as JSON.
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

} // namespace murmex::tool

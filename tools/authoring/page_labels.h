// The published page's own texts, beside those of the script and the engine:
// its buttons, the name of its list of questions and what it says about a
// saved game it can't take, each by an id, in the languages the tool brings.
// English is the default, and stands in for a text a language lacks.
#pragma once

#include <map>
#include <string>

namespace murmex::tool {

// Text by id.
using PageLabels = std::map<std::string, std::string>;

// The labels for a language tag such as "de-AT", chosen by its primary
// subtag in any letter case. `known` tells whether the tool has that
// language; when it doesn't, the labels are English.
PageLabels pageLabels(const std::string& language, bool& known);

// Puts the texts of a JSON object {id: text} over the labels. False, with
// the reason in `error` and the labels unchanged, for text that is no JSON
// object, an id the page has no label of, or a value that is no string.
bool overridePageLabels(const std::string& json, PageLabels& labels, std::string& error);

} // namespace murmex::tool

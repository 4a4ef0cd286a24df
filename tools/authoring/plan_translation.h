// Playing a plan written for a script on the script's translation. The
// translated script keeps every unit and every text's id; only the texts
// differ. So each text the plan expects or chooses is read through the
// translation entry of the text the game shows in its place, found by its
// id; where the game shows something else, through the translation the
// file gives that text, when it gives only one.
#pragma once

#include "tools/authoring/play_session.h"
#include "tools/authoring/script_texts.h"
#include "tools/authoring/transcript_plan.h"
#include "tools/authoring/translation_file.h"

#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace murmex::tool {

class PlanTranslation {
  public:
    // Reads the translated script's texts and the translation file `name`
    // (.po or .csv). False with the reason in `error`; the script is read
    // whole only up to `limit` bytes.
    bool read(const std::string& script, bool plain, const std::string& name, size_t limit,
              std::string& error);

    // The plan with its texts as the translated script should show them,
    // found by playing it on a fresh load of that script. The steps and
    // their lines stay as they are.
    TranscriptPlan translate(const TranscriptPlan& plan) const;

    // The text as the translation gives it, by the text's id: the entry's
    // source and translation as the window shows them. Null where the text
    // has no id or no entry.
    struct Shown {
        std::string source;
        std::string translation;
    };
    const Shown* byUnit(int32_t character, int32_t unit, TextKind kind) const;
    // The one translation of a source text, or the text itself where the
    // file gives none or several.
    std::string byText(const std::string& source) const;

  private:
    std::string scriptPath;
    bool plainScript = false;
    std::map<std::tuple<int32_t, int32_t, TextKind>, Shown> units;
    std::map<std::string, std::vector<std::string>> sources;
};

} // namespace murmex::tool

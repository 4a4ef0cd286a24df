// A plan's texts read through a translation. The plan is played on the
// translated script first, to learn which text (by its id) stands in the
// place of each expected or chosen one; the plan so translated is then
// checked as any other.
#include "tools/authoring/plan_translation.h"

#include "murmex/engine/shown_unit.h"
#include "tools/analysis/shown_text.h"
#include "tools/authoring/plan_walk.h"
#include "tools/authoring/translation_import.h"

#include <algorithm>

namespace murmex::tool {

namespace {

// The unit whose answer the game shows, or -1.
int32_t answerUnit(const PlaySession& session) {
    return answeringUnit(*session.script().engine, session.shownView());
}

// Rewrites the texts of a copy of the plan while the game walks it.
class PlanTranslator : public PlanWalker {
  public:
    PlanTranslator(const PlanTranslation& translation, TranscriptPlan& translated)
        : translation(translation), translated(translated) {}

    bool expectation(size_t index, const PlanStep& step, const PlaySession& session,
                     PlanHalt&) override {
        if (session.failed()) {
            return true;
        }
        const ConversationView& view = session.shownView();
        PlanStep& target = translated.steps[index];
        if (step.kind == PlanStepKind::ExpectAnswer) {
            readThrough(step.text, view.characterIndex, answerUnit(session), TextKind::Answer,
                        target.text);
        } else if (step.kind == PlanStepKind::ExpectQuestions) {
            const size_t offered = static_cast<size_t>(view.questionCount);
            for (size_t i = 0; i < step.texts.size() && i < offered; ++i) {
                readThrough(step.texts[i], view.characterIndex, view.unitIndices[i],
                            TextKind::Question, target.texts[i]);
            }
        }
        return true;
    }

    // The offered question whose entry translates the plan's text; the copy
    // of the choice then names its translation.
    QuestionMatch question(size_t index, const PlanStep& step,
                           const PlaySession& session) override {
        const ConversationView& view = session.shownView();
        QuestionMatch match;
        for (int32_t position = 0; position < view.questionCount; ++position) {
            const PlanTranslation::Shown* shown = translation.byUnit(
                view.characterIndex, view.unitIndices[position], TextKind::Question);
            if (shown != nullptr && shown->source == step.text) {
                match.position = position;
                ++match.matches;
                translated.steps[index].text = shown->translation;
            }
        }
        if (match.matches > 1) {
            match.position.reset();
        }
        return match.matches > 0 ? match : session.findQuestion(translated.steps[index].text);
    }

  private:
    // Where the text the game shows is the translation of the plan's
    // `text`, the plan expects that translation.
    void readThrough(const std::string& text, int32_t character, int32_t unit, TextKind kind,
                     std::string& target) const {
        const PlanTranslation::Shown* shown = translation.byUnit(character, unit, kind);
        if (shown != nullptr && shown->source == text) {
            target = shown->translation;
        }
    }

    const PlanTranslation& translation;
    TranscriptPlan& translated;
};

} // namespace

bool PlanTranslation::read(const std::string& script, bool plain, const std::string& name,
                           size_t limit, std::string& error) {
    scriptPath = script;
    plainScript = plain;
    ScriptWithTexts translated;
    translated.loaded = loadScript(script, plain);
    if (!translated.loaded.ok()) {
        error = loadErrorLine(script, plain, translated.loaded);
        return false;
    }
    std::vector<TranslationEntry> entries;
    if (!readScriptTexts(plain, limit, translated, error)) {
        error = script + ": " + error;
        return false;
    }
    if (!readTranslationFile(name, entries, error)) {
        error = name + ": " + error;
        return false;
    }
    // The window shows texts without their mnemonic marks; so do plans.
    std::map<std::string, Shown> byId;
    for (const TranslationEntry& entry : entries) {
        const std::string source = withoutMnemonics(entry.source);
        // An entry left untranslated left the text as it was.
        const std::string shown =
            withoutMnemonics(entry.translation.empty() ? entry.source : entry.translation);
        byId.emplace(entry.id, Shown{source, shown});
        std::vector<std::string>& translations = sources[source];
        if (std::find(translations.begin(), translations.end(), shown) == translations.end()) {
            translations.push_back(shown);
        }
    }
    for (const ScriptText& text : translated.texts) {
        const auto entry = byId.find(text.id);
        if (entry != byId.end()) {
            units.emplace(std::tuple(text.characterIndex, text.unitIndex, text.kind),
                          entry->second);
        }
    }
    return true;
}

TranscriptPlan PlanTranslation::translate(const TranscriptPlan& plan) const {
    // Read by text first: what the walk cannot place (after the game has
    // gone elsewhere) still says what the translation makes of it.
    TranscriptPlan translated = plan;
    for (PlanStep& step : translated.steps) {
        if (step.kind == PlanStepKind::ExpectAnswer || step.kind == PlanStepKind::ChooseText) {
            step.text = byText(step.text);
        }
        for (std::string& text : step.texts) {
            text = byText(text);
        }
    }
    PlaySession session;
    if (session.open(scriptPath, plainScript)) {
        PlanTranslator translator(*this, translated);
        PlanHalt halt;
        walkPlan(plan, session, translator, halt);
    }
    return translated;
}

const PlanTranslation::Shown* PlanTranslation::byUnit(int32_t character, int32_t unit,
                                                      TextKind kind) const {
    const auto found = units.find(std::tuple(character, unit, kind));
    return found == units.end() ? nullptr : &found->second;
}

std::string PlanTranslation::byText(const std::string& source) const {
    const auto found = sources.find(source);
    return found != sources.end() && found->second.size() == 1 ? found->second.front() : source;
}

} // namespace murmex::tool

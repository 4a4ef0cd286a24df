// Fuzzes the loader and the runtime behind it. The input is a script file,
// loaded once descrambled and once as plain text; whenever a load succeeds,
// the input's last bytes choose the questions of a walk through the
// conversation, carried on the way the player carries it (ConversationFlow).
// The plain text is also scanned the way tools read it, past its errors.
#include "model_checks.h"
#include "murmex/conversation_engine.h"
#include "murmex/conversation_flow.h"
#include "murmex/script_syntax.h"

#include <cstddef>
#include <cstdint>

namespace {

using murmex::ConversationEngine;
using murmex::ConversationView;
using murmex::fuzz::fail;
using murmex::fuzz::pooled;

// Steps of one walk: enough to go round a small script many times, few
// enough that every input stays fast.
constexpr int32_t MAX_STEPS = 256;
// How many of the input's last bytes choose the walk's questions.
constexpr size_t CHOICE_BYTES = 64;

// Hands out the input's last bytes, last first, over and over.
class Choices {
  public:
    Choices(const uint8_t* data, size_t size)
        : tail(data + size - (size < CHOICE_BYTES ? size : CHOICE_BYTES)),
          count(size < CHOICE_BYTES ? size : CHOICE_BYTES) {}
    uint8_t next() {
        if (count == 0) {
            return 0;
        }
        const uint8_t byte = tail[count - 1 - taken % count];
        ++taken;
        return byte;
    }

  private:
    const uint8_t* tail;
    size_t count;
    size_t taken = 0;
};

void checkView(const ConversationEngine& engine, const ConversationView& view) {
    if (view.characterIndex < 0 || view.characterIndex >= engine.characterCount) {
        fail("view names no character");
    }
    if (!pooled(engine, view.answer)) {
        fail("answer outside the pool");
    }
    if (view.questionCount < 1 || view.questionCount > murmex::MAX_QUESTIONS) {
        fail("question count out of range");
    }
    const murmex::Character& character = *engine.characters[view.characterIndex];
    for (int32_t k = 0; k < view.questionCount; ++k) {
        if (!pooled(engine, view.questions[k]) || view.questions[k][0] == 0) {
            fail("offered question empty or outside the pool");
        }
        if (view.unitIndices[k] < 0 || view.unitIndices[k] >= character.unitCount) {
            fail("offered question names no unit");
        }
    }
}

// Starts "Intro", or, in a script without a playable Intro, the character the
// next choice names, so that every script's runtime is exercised.
bool startSomewhere(ConversationEngine& engine, ConversationView& view,
                    murmex::ConversationFlow& flow, Choices& choices) {
    if (flow.start(murmex::START_CHARACTER)) {
        return true;
    }
    if (engine.characterCount == 0) {
        return false;
    }
    return engine.startCharacter(choices.next() % engine.characterCount, view) == 0;
}

void walk(ConversationEngine& engine, const uint8_t* data, size_t size) {
    Choices choices(data, size);
    ConversationView view;
    murmex::ConversationFlow flow(engine, view);
    if (!startSomewhere(engine, view, flow, choices)) {
        return;
    }
    for (int32_t step = 0; step < MAX_STEPS; ++step) {
        checkView(engine, view);
        // One position past the offered ones now and then: the engine must
        // refuse it rather than read beyond the view.
        const int32_t offered = view.questionCount;
        const int32_t position = choices.next() % (offered + 1);
        const murmex::StepOutcome outcome = flow.choose(position);
        if (position == offered && outcome.result != murmex::RESULT_FAILED) {
            fail("a position beyond the offered questions was applied");
        }
        if (outcome.kind == murmex::StepKind::Failed) {
            // The player would stop here; start again to keep walking.
            if (!startSomewhere(engine, view, flow, choices)) {
                return;
            }
        }
    }
}

void loadAndWalk(bool descramble, const uint8_t* data, size_t size) {
    ConversationEngine engine;
    if (!descramble) {
        engine.disableDescramble();
    }
    const int32_t result = engine.loadFromMemory(data, size);
    murmex::fuzz::checkLoadedModel(engine, result);
    if (result < 0) {
        // A failed load leaves what it made; looking it up must still be safe.
        ConversationView view;
        engine.findCharacter(murmex::START_CHARACTER);
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            engine.startCharacter(c, view);
        }
        return;
    }
    walk(engine, data, size);
}

// Every span the scan tells lies within the input, and it counts the errors
// it tells.
class SpanChecks final : public murmex::SyntaxListener {
  public:
    explicit SpanChecks(size_t inputSize) : size(inputSize) {}
    void field(const murmex::SyntaxFieldEvent& event) override {
        check(event.keyword);
        check(event.value);
    }
    void open(murmex::ScriptBlock, const murmex::SyntaxSpan& at) override { check(at); }
    void close(murmex::ScriptBlock, const murmex::SyntaxSpan& at) override { check(at); }
    void error(const murmex::SyntaxError& error) override {
        ++errors;
        if (error.code >= 0 || error.line < 1 || error.detail.offset > size) {
            fail("scan error out of range");
        }
    }
    int32_t errors = 0;

  private:
    void check(const murmex::SyntaxSpan& span) const {
        if (span.begin > span.end || span.end > size || (span.end > 0 && span.line < 1)) {
            fail("scan span outside the input");
        }
    }
    size_t size;
};

// The scan reads any input to its end; a script that loads has no errors.
void scan(const uint8_t* data, size_t size) {
    ConversationEngine engine;
    engine.disableDescramble();
    const bool loads = engine.loadFromMemory(data, size) >= 0;
    SpanChecks checks(size);
    const int32_t errors = murmex::scanScript(reinterpret_cast<const char*>(data), size, checks);
    if (errors != checks.errors || (loads && errors != 0)) {
        fail("scan errors disagree with the load");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    loadAndWalk(true, data, size);
    loadAndWalk(false, data, size);
    scan(data, size);
    return 0;
}

// Fills a ScriptLines table from what the loader tells, and passes every
// event on to the caller's own listener, if any.
#pragma once

#include "murmex/script_lines.h"
#include "murmex/script_syntax.h"

#include <cstdint>

namespace murmex {

class ScriptLineNotes final : public SyntaxListener {
  public:
    // Either may be null.
    ScriptLineNotes(ScriptLines* table, SyntaxListener* next) : lines(table), also(next) {}

    void field(const SyntaxFieldEvent& event) override;
    void open(ScriptBlock block, const SyntaxSpan& at) override;
    void close(ScriptBlock block, const SyntaxSpan& at) override;
    void error(const SyntaxError& error) override {
        if (also != nullptr) {
            also->error(error);
        }
    }

  private:
    ScriptLines* lines;
    SyntaxListener* also;
    // A line is noted when its part has been read whole, as a load keeps
    // only the records it completed.
    int32_t nameLine = 0;
    int32_t unitLine = 0;
    // The character last opened and the units it completed.
    int32_t character = -1;
    int32_t unit = 0;
};

} // namespace murmex

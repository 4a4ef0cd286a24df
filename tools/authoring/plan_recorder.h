// A game played in the terminal, written down as a transcript plan that
// `murmex test` passes at once: each choice, then what it showed (the
// character after a hand-over or an end, the answer and the offered
// questions), or the error where the step failed.
#pragma once

#include "tools/authoring/play_session.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace murmex::tool {

class PlanRecorder {
  public:
    // `command` and `script` are named in the plan's first comment.
    PlanRecorder(const std::string& command, const std::string& script);

    // After the session tried to start the character `name`.
    void started(const PlaySession& session, const std::string& name);
    // Before the question at `position` is applied: how the plan names it.
    void choosing(const PlaySession& session, int32_t position);
    // After the choice was applied.
    void chose(const PlaySession& session);
    // The last choice was taken back: the plan is as it was before it.
    void tookBack();

    // True once a game started (or failed to): there is a path to keep.
    bool recorded() const { return begun; }
    // The plan so far, LF-ended lines.
    const std::string& text() const { return plan; }

  private:
    void recordShown(const PlaySession& session);
    void line(const std::string& text);

    std::string plan;
    std::string character;
    // The plan's length and the character talked to before each choice not
    // taken back.
    std::vector<std::pair<size_t, std::string>> beforeChoices;
    bool begun = false;
};

} // namespace murmex::tool

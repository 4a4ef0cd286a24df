// The tools' API, for authoring tools that read script files as the loader
// reads them; a game needs none of it.
// Another source read through the scramble transform, as the loader reads a
// scrambled script: a scrambled file gives its plain text, a plain text its
// scrambled form. Tools read a script's text through this and never apply
// the transform themselves, so there is one place that knows the key.
#pragma once

#include "murmex/script_source.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

class ScramblingSource final : public ScriptSource {
  public:
    // The inner source must outlive this one.
    explicit ScramblingSource(ScriptSource& source) : inner(source) {}

    bool startPass() noexcept override;
    size_t read(uint8_t* into, size_t capacity) noexcept override;
    bool failed() const noexcept override { return inner.failed(); }
    void endPass() noexcept override { inner.endPass(); }

  private:
    ScriptSource& inner;
    // Where the next byte read lies in the file: the key depends on it.
    uint32_t offset = 0;
};

} // namespace murmex

// A source that keeps the bytes of the loader's first pass, so that a tool
// which reports a failed load, or works on the script's text, never reads the
// file again: the bytes it shows are the very bytes the load read.
#pragma once

#include "murmex/script_source.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace murmex::tool {

class KeptSource final : public ScriptSource {
  public:
    // Keeps at most `limit` bytes; a larger source is read as usual, but
    // nothing of it is kept.
    KeptSource(ScriptSource& source, size_t most) : inner(source), limit(most) {}

    bool startPass() noexcept override;
    size_t read(uint8_t* into, size_t capacity) noexcept override;
    bool failed() const noexcept override { return inner.failed(); }
    // The first pass reads on to the end before it ends: a load that fails
    // at line 3 still leaves the whole script behind it.
    void endPass() noexcept override;

    // True when every byte of the source was kept.
    bool whole() const { return complete; }
    // The source's bytes as it holds them (scrambled or not); empty unless whole.
    std::string take();

  private:
    void keep(const uint8_t* bytes, size_t count) noexcept;

    ScriptSource& inner;
    size_t limit;
    std::string bytes;
    int32_t passes = 0;
    bool keeping = true;
    // The first pass read to the source's end.
    bool sawEnd = false;
    bool complete = false;
};

} // namespace murmex::tool

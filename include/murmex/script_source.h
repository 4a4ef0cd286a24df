// The host API, for games that embed the engine.
// Where a script's bytes come from. The loader reads a script twice (once to
// measure, once to fill), so a source must be able to start over at its first
// byte. A game that keeps its scripts in an archive or an asset pack hands the
// loader a MemorySource; the player and the tools use a FileSource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace murmex {

class ScriptSource {
  public:
    virtual ~ScriptSource() = default;

    // The loader is built without exceptions: a source reports trouble
    // through its results and never throws.

    // Starts a pass at the first byte. False when the bytes can't be reached
    // (a file that can't be opened); the load then fails with LOAD_CANNOT_OPEN.
    virtual bool startPass() noexcept = 0;
    // Copies at most `capacity` of the next bytes into `into` and returns how
    // many; 0 at the end. Both passes must see the same bytes.
    virtual size_t read(uint8_t* into, size_t capacity) noexcept = 0;
    // True when the last read gave nothing because it failed, not because the
    // source came to its end. The load then fails with LOAD_CANNOT_OPEN
    // rather than take a script cut short for the whole of it.
    virtual bool failed() const noexcept { return false; }
    // Ends the pass and gives back what startPass took.
    virtual void endPass() noexcept {}
};

// A script file, opened afresh in binary mode for each pass.
class FileSource final : public ScriptSource {
  public:
    // The name is not copied: it must outlive the load.
    explicit FileSource(const char* name) : fileName(name) {}
    ~FileSource() override { endPass(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool startPass() noexcept override;
    size_t read(uint8_t* into, size_t capacity) noexcept override;
    bool failed() const noexcept override;
    void endPass() noexcept override;

  private:
    const char* fileName;
    std::FILE* file = nullptr;
};

// Bytes the caller owns and keeps unchanged until the load returns.
class MemorySource final : public ScriptSource {
  public:
    MemorySource(const void* bytes, size_t count)
        : data(static_cast<const uint8_t*>(bytes)), size(bytes == nullptr ? 0 : count) {}

    bool startPass() noexcept override {
        offset = 0;
        return true;
    }
    size_t read(uint8_t* into, size_t capacity) noexcept override;

  private:
    const uint8_t* data;
    size_t size;
    size_t offset = 0;
};

} // namespace murmex

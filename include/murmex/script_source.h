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

    // Starts a pass at the first byte. False when the bytes can't be reached
    // (a file that can't be opened); the load then fails with LOAD_CANNOT_OPEN.
    virtual bool startPass() = 0;
    // Copies up to `capacity` of the next bytes into `into` and returns how
    // many; 0 at the end.
    virtual size_t read(uint8_t* into, size_t capacity) = 0;
    // Ends the pass and gives back what startPass took.
    virtual void endPass() {}
};

// A script file, opened afresh in binary mode for each pass.
class FileSource final : public ScriptSource {
  public:
    // The name is not copied: it must outlive the load.
    explicit FileSource(const char* name) : fileName(name) {}
    ~FileSource() override { endPass(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool startPass() override;
    size_t read(uint8_t* into, size_t capacity) override;
    void endPass() override;

  private:
    const char* fileName;
    std::FILE* file = nullptr;
};

// Bytes the caller owns and keeps unchanged until the load returns.
class MemorySource final : public ScriptSource {
  public:
    MemorySource(const void* bytes, size_t count)
        : data(static_cast<const uint8_t*>(bytes)), size(bytes == nullptr ? 0 : count) {}

    bool startPass() override {
        offset = 0;
        return true;
    }
    size_t read(uint8_t* into, size_t capacity) override;

  private:
    const uint8_t* data;
    size_t size;
    size_t offset = 0;
};

} // namespace murmex

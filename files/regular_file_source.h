// A script file as the player and the tools open it: once, for both of the
// loader's passes, and only when the name leads to a regular file. A FIFO, a
// device or a socket has no fixed bytes to read twice, and opening a FIFO
// without a writer would wait for ever, so such names are refused at once,
// with the reason. A read error is reported as one, never as the end.
#pragma once

#include "murmex/script_source.h"

#include <cstddef>
#include <cstdint>

namespace murmex {

class RegularFileSource final : public ScriptSource {
  public:
    // What kind of name was refused, for callers that suggest a way round
    // (a pipe's bytes can be given on standard input instead).
    enum class Refused { Nothing, SystemError, Folder, Fifo, Socket, Device, Other };

    // The name is not copied: it must outlive the source.
    explicit RegularFileSource(const char* name) : fileName(name) {}
    ~RegularFileSource() override;
    RegularFileSource(const RegularFileSource&) = delete;
    RegularFileSource& operator=(const RegularFileSource&) = delete;

    // Opens the file unless it is open already. False when it can't be
    // opened or is not a regular file; problem() then says why.
    bool open() noexcept;
    // Why opening or reading failed, in a few words ("No such file or
    // directory", "it is a FIFO"); empty while nothing failed.
    const char* problem() const { return why; }
    Refused refused() const { return refusal; }

    // Each pass starts again at the first byte of the one open file.
    bool startPass() noexcept override;
    size_t read(uint8_t* into, size_t capacity) noexcept override;
    bool failed() const noexcept override { return readFailed; }

  private:
    void refuse(Refused kind, const char* text) noexcept;
    void noteSystemError(int errorNumber) noexcept;

    const char* fileName;
    int descriptor = -1;
    bool readFailed = false;
    Refused refusal = Refused::Nothing;
    char why[96] = {};
};

} // namespace murmex

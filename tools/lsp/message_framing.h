// The protocol's framing on a byte stream: a header block with the body's
// Content-Length, a blank line, then exactly that many bytes of JSON.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>

namespace murmex::lsp {

// The largest body taken in; a longer one is skipped and refused, so that a
// wrong length can't make the server hold gigabytes.
constexpr size_t MESSAGE_LIMIT = size_t{512} << 20;

struct FramedMessage {
    enum class Status {
        Message, // `body` holds the bytes the header announced
        Refused, // the header was unusable or the body too large; `problem` says why
        End,     // the stream ended
    };
    Status status = Status::End;
    std::string body;
    std::string problem;
    // Bytes other than blanks came before this message's header and were
    // skipped (the rest of a body whose length was given too short, say).
    bool skippedBytes = false;
};

// Reads the next message. Bytes before a Content-Length header are skipped,
// so that the stream finds its footing again after a wrong length.
FramedMessage readMessage(std::istream& in);

// Writes the message with its header and flushes. Text that isn't UTF-8
// is sent with replacement characters rather than not at all.
void writeMessage(std::ostream& out, const nlohmann::json& message);
// The same for a message already written as JSON text.
void writeBody(std::ostream& out, const std::string& body);

} // namespace murmex::lsp

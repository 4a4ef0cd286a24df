// Reading and writing framed protocol messages.
#include "tools/lsp/message_framing.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace murmex::lsp {

namespace {

constexpr std::string_view LENGTH_HEADER = "Content-Length:";

// Skips to just past the next "Content-Length:"; false at the end of the
// stream. `skipped` tells whether anything but blanks came before it.
bool findLengthHeader(std::istream& in, bool& skipped) {
    size_t matched = 0;
    int c = 0;
    while ((c = in.get()) != std::char_traits<char>::eof()) {
        if (static_cast<char>(c) == LENGTH_HEADER[matched]) {
            if (++matched == LENGTH_HEADER.size()) {
                return true;
            }
            continue;
        }
        skipped = skipped || matched > 0 || std::isspace(c) == 0;
        matched = static_cast<char>(c) == LENGTH_HEADER[0] ? 1 : 0;
    }
    return false;
}

// The rest of a header line, without its line end; false at the end of the stream.
bool readHeaderLine(std::istream& in, std::string& line) {
    line.clear();
    int c = 0;
    while ((c = in.get()) != std::char_traits<char>::eof()) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return true;
        }
        if (line.size() < 1024) {
            line += static_cast<char>(c);
        }
    }
    return false;
}

bool parseLength(std::string_view text, size_t& length) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Reads a body of `length` bytes block by block, so that memory grows with
// the bytes that come, never with the length a header claims. False when the
// stream ends first.
bool readBody(std::istream& in, size_t length, std::string& body) {
    char block[64 * 1024];
    while (body.size() < length) {
        const size_t wanted = std::min(sizeof block, length - body.size());
        in.read(block, static_cast<std::streamsize>(wanted));
        const auto got = static_cast<size_t>(in.gcount());
        body.append(block, got);
        if (got != wanted) {
            return false;
        }
    }
    return true;
}

void skipBytes(std::istream& in, size_t count) {
    in.ignore(static_cast<std::streamsize>(count));
}

FramedMessage refused(std::string problem) {
    FramedMessage message;
    message.status = FramedMessage::Status::Refused;
    message.problem = std::move(problem);
    return message;
}

} // namespace

FramedMessage readMessage(std::istream& in) {
    bool skipped = false;
    if (!findLengthHeader(in, skipped)) {
        FramedMessage end;
        end.skippedBytes = skipped;
        return end;
    }
    std::string line;
    size_t length = 0;
    const bool lengthRead = readHeaderLine(in, line) && parseLength(line, length);
    if (!lengthRead) {
        FramedMessage message = refused("Content-Length is not a number");
        message.skippedBytes = skipped;
        return message;
    }
    // Further headers (Content-Type) up to the blank line.
    while (readHeaderLine(in, line) && !line.empty()) {
    }
    if (length > MESSAGE_LIMIT) {
        skipBytes(in, length);
        FramedMessage message =
            refused("message larger than " + std::to_string(MESSAGE_LIMIT) + " bytes");
        message.skippedBytes = skipped;
        return message;
    }
    FramedMessage message;
    message.skippedBytes = skipped;
    if (!readBody(in, length, message.body)) {
        FramedMessage end;
        end.skippedBytes = skipped;
        return end;
    }
    message.status = FramedMessage::Status::Message;
    return message;
}

void writeMessage(std::ostream& out, const nlohmann::json& message) {
    writeBody(out, message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void writeBody(std::ostream& out, const std::string& body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out.flush();
}

} // namespace murmex::lsp

// Talking to the language server in the tests: requests and notifications
// framed as an editor frames them, a whole conversation served in-process,
// and the messages that came back.
#pragma once

#include "tools/lsp/language_server.h"
#include "tools/lsp/message_framing.h"

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace murmex::testing {

using nlohmann::json;

inline std::string framed(const std::string& body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

inline std::string request(int id, const std::string& method, const json& params = json::object()) {
    return framed(
        json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump());
}

inline std::string notification(const std::string& method, const json& params = json::object()) {
    return framed(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump());
}

inline std::string initialize() {
    return request(0, "initialize", {{"capabilities", json::object()}}) +
           notification("initialized");
}

inline std::string openDocument(const std::string& text, const std::string& uri = "file:///s.txt") {
    return notification(
        "textDocument/didOpen",
        {{"textDocument",
          {{"uri", uri}, {"languageId", "murmex"}, {"version", 1}, {"text", text}}}});
}

// Parameters of a request at a place of the document.
inline json at(int line, int character, const std::string& uri = "file:///s.txt") {
    return {{"textDocument", {{"uri", uri}}},
            {"position", {{"line", line}, {"character", character}}}};
}

struct Served {
    int status = 0;
    std::vector<json> messages;

    // The reply to the request with this id; null when there is none.
    json replyTo(int id) const {
        for (const json& message : messages) {
            if (message.contains("id") && message["id"] == id) {
                return message;
            }
        }
        return nullptr;
    }
    // The last diagnostics published.
    json diagnostics() const {
        json last = json::array();
        for (const json& message : messages) {
            if (message.value("method", "") == "textDocument/publishDiagnostics") {
                last = message["params"]["diagnostics"];
            }
        }
        return last;
    }
};

inline Served serve(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    Served served;
    served.status = lsp::LanguageServer(out).serve(in);
    std::istringstream replies(out.str());
    for (;;) {
        const lsp::FramedMessage message = lsp::readMessage(replies);
        if (message.status != lsp::FramedMessage::Status::Message) {
            break;
        }
        served.messages.push_back(json::parse(message.body));
    }
    return served;
}

} // namespace murmex::testing

// Dispatching the protocol's messages and the server's life cycle.
#include "tools/lsp/language_server.h"

#include "tools/lsp/feature_replies.h"
#include "tools/lsp/json_nesting.h"
#include "tools/lsp/message_framing.h"
#include "tools/lsp/script_diagnostics.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace murmex::lsp {

namespace {

using nlohmann::json;

// Error codes of JSON-RPC and of the protocol.
constexpr int PARSE_ERROR = -32700;
constexpr int INVALID_REQUEST = -32600;
constexpr int METHOD_NOT_FOUND = -32601;
constexpr int INVALID_PARAMS = -32602;
constexpr int INTERNAL_ERROR = -32603;
constexpr int SERVER_NOT_INITIALIZED = -32002;
constexpr int REQUEST_FAILED = -32803;

constexpr int INCREMENTAL_SYNC = 2;
const json NO_ID = nullptr;
constexpr int SEVERITY_INFORMATION = 3;
constexpr int LOG_ERROR = 1;

// A request the handler can't answer, with the reply's error.
struct RequestError {
    int code;
    std::string message;
};

// A position's line or character: any integer, a huge one taken as the
// largest a line or column can be.
int32_t coordinate(const json& number) {
    if (!number.is_number_integer()) {
        throw RequestError{INVALID_PARAMS, "a position needs whole numbers"};
    }
    if (number.is_number_unsigned()) {
        return static_cast<int32_t>(
            std::min<uint64_t>(number.get<uint64_t>(), std::numeric_limits<int32_t>::max()));
    }
    return static_cast<int32_t>(std::clamp<int64_t>(number.get<int64_t>(),
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

Position positionOf(const json& position) {
    return {coordinate(position.at("line")), coordinate(position.at("character"))};
}

size_t offsetAt(const OpenDocument& document, const json& position) {
    return document.positions.offsetOf(positionOf(position));
}

size_t offsetIn(const OpenDocument& document, const json& params) {
    return offsetAt(document, params.at("position"));
}

// Throws, as a bad request, unless the change is one the document can take:
// a text, and a range of two positions in order or none. Positions compare
// as the editor wrote them, before any is fitted to the text.
void checkChange(const json& change) {
    (void)change.at("text").get_ref<const std::string&>();
    if (change.contains("range")) {
        const json& range = change.at("range");
        const Position start = positionOf(range.at("start"));
        const Position end = positionOf(range.at("end"));
        if (end.line < start.line || (end.line == start.line && end.character < start.character)) {
            throw RequestError{INVALID_PARAMS, "a change's range starts after its end"};
        }
    }
}

// Makes one change: the whole text, or a range replaced in it.
void makeChange(OpenDocument& document, const json& change) {
    const std::string& text = change.at("text").get_ref<const std::string&>();
    if (!change.contains("range")) {
        document.replace(text);
        return;
    }
    const json& range = change.at("range");
    // Two positions in order may still fall on one offset, past a line's end.
    const size_t begin = offsetAt(document, range.at("start"));
    const size_t end = std::max(begin, offsetAt(document, range.at("end")));
    document.edit(begin, end, text);
}

std::string jsonText(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// A string as JSON text. Most are ASCII, with at most quotes and
// backslashes to escape; the others go through the JSON library, which
// also replaces what is no UTF-8.
std::string jsonText(const std::string& text) {
    std::string quoted = "\"";
    quoted.reserve(text.size() + 8);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x80) {
            return jsonText(json(text));
        }
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

std::string positionText(const OpenDocument& document, size_t offset) {
    const Position position = document.positions.at(offset);
    return "{\"line\":" + std::to_string(position.line) +
           ",\"character\":" + std::to_string(position.character) + "}";
}

// A diagnostic as JSON text, written directly rather than built as a JSON
// value: an edit may publish a thousand of them.
void appendDiagnostic(std::string& body, const OpenDocument& document,
                      const ScriptDiagnostic& diagnostic, bool related) {
    const std::string range = "{\"start\":" + positionText(document, diagnostic.span.begin) +
                              ",\"end\":" + positionText(document, diagnostic.span.end) + "}";
    const bool explained = !diagnostic.explanation.empty();
    body += "{\"range\":" + range +
            ",\"severity\":" + std::to_string(static_cast<int>(diagnostic.severity)) +
            ",\"code\":" + jsonText(diagnostic.code) + ",\"source\":\"murmex\",\"message\":" +
            jsonText(explained && !related ? diagnostic.message + "\n" + diagnostic.explanation
                                           : diagnostic.message);
    if (explained && related) {
        body += ",\"relatedInformation\":[{\"location\":{\"uri\":" + jsonText(document.uri) +
                ",\"range\":" + range + "},\"message\":" + jsonText(diagnostic.explanation) + "}]";
    }
    body += "}";
}

// The last diagnostic of a document that has more than the editor is sent.
json leftOutJson(const OpenDocument& document, const ScriptDiagnostic& first, size_t count) {
    return {{"range", rangeOf(document, first.span)},
            {"severity", SEVERITY_INFORMATION},
            {"source", "murmex"},
            {"message", std::to_string(count) + " more diagnostics left out; the first " +
                            std::to_string(DIAGNOSTICS_LIMIT) + " are shown"}};
}

// The document named by a request's or notification's textDocument.
std::string uriOf(const json& params) {
    return params.at("textDocument").at("uri").get<std::string>();
}

bool isValidId(const json& id) {
    return id.is_number_integer() || id.is_string();
}

// The id an error reply carries: the request's own, or null when it has
// none that a reply can carry.
json replyIdOf(const json& message) {
    return message.is_object() && message.contains("id") && isValidId(message["id"]) ? message["id"]
                                                                                     : NO_ID;
}

} // namespace

int LanguageServer::serve(std::istream& in) {
    while (!exited) {
        const FramedMessage message = readMessage(in);
        if (message.skippedBytes) {
            replyError(nullptr, PARSE_ERROR, "bytes outside any message were skipped");
        }
        if (message.status == FramedMessage::Status::End) {
            break;
        }
        if (message.status == FramedMessage::Status::Refused) {
            replyError(nullptr, PARSE_ERROR, message.problem);
            continue;
        }
        handle(message.body);
    }
    return exited && shutDown ? 0 : 1;
}

void LanguageServer::handle(const std::string& body) {
    if (nestsDeeperThan(body, MESSAGE_NESTING_LIMIT)) {
        // The id stands at the top level, so the request is answered by it.
        const json id = scalarMember(body, "id");
        replyError(isValidId(id) ? id : NO_ID, INVALID_REQUEST,
                   "message nests deeper than " + std::to_string(MESSAGE_NESTING_LIMIT) +
                       " levels");
        return;
    }
    json message;
    try {
        message = json::parse(body);
    } catch (const json::exception& error) {
        replyError(nullptr, PARSE_ERROR, error.what());
        return;
    }
    try {
        dispatch(message);
    } catch (const RequestError& error) {
        refuse(message, error.code, error.message);
    } catch (const json::exception& error) {
        refuse(message, INVALID_PARAMS, error.what());
    } catch (const std::exception& error) {
        // Out of memory on a huge document, say: that message fails, the
        // server goes on.
        refuse(message, INTERNAL_ERROR, error.what());
    }
}

// A notification has no reply, so its refusal goes to the editor's log:
// a change dropped unseen would leave the editor's text and ours apart.
void LanguageServer::refuse(const json& message, int code, const std::string& why) {
    if (message.is_object() && message.contains("id")) {
        replyError(replyIdOf(message), code, why);
        return;
    }
    const bool named =
        message.is_object() && message.contains("method") && message["method"].is_string();
    const std::string method = named ? message["method"].get<std::string>() : "a notification";
    writeMessage(out,
                 {{"jsonrpc", "2.0"},
                  {"method", "window/logMessage"},
                  {"params",
                   {{"type", LOG_ERROR},
                    {"message", method + " refused (" + std::to_string(code) + "): " + why}}}});
}

void LanguageServer::dispatch(const json& message) {
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
        // A reply to a request of ours (we make none) needs no answer.
        if (message.is_object() && message.contains("id") &&
            (message.contains("result") || message.contains("error"))) {
            return;
        }
        replyError(replyIdOf(message), INVALID_REQUEST, "not a JSON-RPC request or notification");
        return;
    }
    const std::string method = message["method"].get<std::string>();
    static const json NO_PARAMS = json::object();
    const json& params = message.contains("params") ? message["params"] : NO_PARAMS;
    if (!message.contains("id")) {
        notice(method, params);
        return;
    }
    const json& id = message["id"];
    if (!isValidId(id)) {
        throw RequestError{INVALID_REQUEST, "a request's id is a number or a string"};
    }
    reply(id, answer(method, params));
}

json LanguageServer::answer(const std::string& method, const json& params) {
    if (method == "initialize") {
        if (initialized) {
            throw RequestError{INVALID_REQUEST, "initialize was already received"};
        }
        return initialize(params);
    }
    if (!initialized) {
        throw RequestError{SERVER_NOT_INITIALIZED, "the first request must be initialize"};
    }
    if (shutDown) {
        throw RequestError{INVALID_REQUEST, "the server is shutting down"};
    }
    if (method == "shutdown") {
        shutDown = true;
        return nullptr;
    }
    return documentRequest(method, params);
}

json LanguageServer::initialize(const json& params) {
    const json::json_pointer related(
        "/capabilities/textDocument/publishDiagnostics/relatedInformation");
    relatedInformation =
        params.is_object() && params.contains(related) && params.at(related) == true;
    initialized = true;
    return {{"capabilities",
             {{"textDocumentSync", {{"openClose", true}, {"change", INCREMENTAL_SYNC}}},
              {"documentSymbolProvider", true},
              {"definitionProvider", true},
              {"referencesProvider", true},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", {"\""}}}},
              {"renameProvider", true}}},
            {"serverInfo", {{"name", "murmex"}}}};
}

json LanguageServer::documentRequest(const std::string& method, const json& params) {
    static const char* const METHODS[] = {"textDocument/documentSymbol", "textDocument/definition",
                                          "textDocument/references",     "textDocument/hover",
                                          "textDocument/completion",     "textDocument/rename"};
    if (std::find(std::begin(METHODS), std::end(METHODS), method) == std::end(METHODS)) {
        throw RequestError{METHOD_NOT_FOUND, "unknown method " + method};
    }
    const std::string uri = uriOf(params);
    const auto found = documents.find(uri);
    if (found == documents.end()) {
        throw RequestError{INVALID_PARAMS, "the document is not open: " + uri};
    }
    const OpenDocument& document = *found->second;
    if (method == "textDocument/documentSymbol") {
        return documentSymbols(document);
    }
    const size_t offset = offsetIn(document, params);
    if (method == "textDocument/definition") {
        return definitionAt(document, offset);
    }
    if (method == "textDocument/references") {
        const json& context = params.value("context", json::object());
        return referencesAt(document, offset, context.value("includeDeclaration", true));
    }
    if (method == "textDocument/hover") {
        return hoverReply(document, offset);
    }
    if (method == "textDocument/completion") {
        return completionAt(document, offset);
    }
    RefusedRename refused;
    json edit = renameAt(document, offset, params.at("newName").get<std::string>(), refused);
    if (!refused.what.empty()) {
        throw RequestError{REQUEST_FAILED, refused.what};
    }
    return edit;
}

void LanguageServer::notice(const std::string& method, const json& params) {
    if (method == "exit") {
        exited = true;
        return;
    }
    // Notifications before initialize and after shutdown are dropped.
    if (!initialized || shutDown) {
        return;
    }
    if (method == "textDocument/didOpen") {
        open(params);
    } else if (method == "textDocument/didChange") {
        change(params);
    } else if (method == "textDocument/didClose") {
        const std::string uri = uriOf(params);
        documents.erase(uri);
        writeMessage(out, {{"jsonrpc", "2.0"},
                           {"method", "textDocument/publishDiagnostics"},
                           {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
    }
}

// The document is made whole before it takes its place, so a bad or
// unbuildable one leaves what was open as it was.
void LanguageServer::open(const json& params) {
    const json& item = params.at("textDocument");
    const std::string uri = uriOf(params);
    auto document = std::make_unique<OpenDocument>(uri, item.at("text").get<std::string>());
    const json& version = item.value("version", json());
    auto& place = documents[uri];
    place = std::move(document);
    publishDiagnostics(*place, version);
}

void LanguageServer::change(const json& params) {
    const json& item = params.at("textDocument");
    const std::string uri = uriOf(params);
    const auto found = documents.find(uri);
    if (found == documents.end()) {
        return;
    }
    // All are checked before any is made, so a bad change leaves the
    // document as it was.
    const json& changes = params.at("contentChanges");
    for (const json& change : changes) {
        checkChange(change);
    }
    const json& version = item.value("version", json());
    OpenDocument& document = *found->second;
    for (const json& change : changes) {
        makeChange(document, change);
    }
    document.settle();
    publishDiagnostics(document, version);
}

void LanguageServer::publishDiagnostics(const OpenDocument& document, const json& version) {
    size_t total = 0;
    const std::vector<ScriptDiagnostic> found = document.diagnostics(DIAGNOSTICS_LIMIT + 1, total);
    std::string body =
        "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/publishDiagnostics\",\"params\":{\"uri\":" +
        jsonText(document.uri);
    if (version.is_number_integer()) {
        body += ",\"version\":" + jsonText(version);
    }
    body += ",\"diagnostics\":[";
    for (size_t i = 0; i < found.size() && i < DIAGNOSTICS_LIMIT; ++i) {
        if (i > 0) {
            body += ',';
        }
        appendDiagnostic(body, document, found[i], relatedInformation);
    }
    if (total > DIAGNOSTICS_LIMIT) {
        body += "," + jsonText(leftOutJson(document, found[DIAGNOSTICS_LIMIT],
                                           total - DIAGNOSTICS_LIMIT));
    }
    body += "]}}";
    writeBody(out, body);
}

void LanguageServer::reply(const json& id, const json& result) {
    writeMessage(out, {{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void LanguageServer::replyError(const json& id, int code, const std::string& message) {
    writeMessage(
        out, {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

} // namespace murmex::lsp

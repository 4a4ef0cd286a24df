// The language server: reads framed JSON-RPC messages, keeps the open
// documents, answers requests and publishes diagnostics, until the editor
// says exit. No input stops it early: each bad message gets the protocol's
// error reply and the server reads on.
#pragma once

#include "tools/lsp/open_document.h"

#include <nlohmann/json.hpp>

#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace murmex::lsp {

// Diagnostics sent for one document at most; one more then says how many
// were left out. A thousand are more than anyone reads, and a script broken
// on every line would otherwise send megabytes at each keystroke.
constexpr size_t DIAGNOSTICS_LIMIT = 1000;

class LanguageServer {
  public:
    explicit LanguageServer(std::ostream& out) : out(out) {}

    // Serves messages from `in` until exit or the end of the stream; the
    // process status: 0 after shutdown then exit, 1 otherwise.
    int serve(std::istream& in);

  private:
    void handle(const std::string& body);
    void dispatch(const nlohmann::json& message);
    nlohmann::json answer(const std::string& method, const nlohmann::json& params);
    void notice(const std::string& method, const nlohmann::json& params);
    nlohmann::json initialize(const nlohmann::json& params);
    nlohmann::json documentRequest(const std::string& method, const nlohmann::json& params);

    void open(const nlohmann::json& params);
    void change(const nlohmann::json& params);
    void publishDiagnostics(const OpenDocument& document, const nlohmann::json& version);

    void reply(const nlohmann::json& id, const nlohmann::json& result);
    void replyError(const nlohmann::json& id, int code, const std::string& message);
    // Answers a request that failed with its error; logs a notification's.
    void refuse(const nlohmann::json& message, int code, const std::string& why);

    std::ostream& out;
    bool initialized = false;
    bool shutDown = false;
    bool exited = false;
    // The client shows related information; otherwise explanations go
    // into the message.
    bool relatedInformation = false;
    std::map<std::string, std::unique_ptr<OpenDocument>> documents;
};

} // namespace murmex::lsp

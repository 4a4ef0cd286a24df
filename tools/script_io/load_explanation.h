// Why a script did not load, in the words of the author who wrote it: the
// loader's fixed messages say what it expected, which is often far from the
// mistake that made it expect it. The explanation names the mistake, where
// the text shows it, and the fix.
#pragma once

#include "murmex/load_result.h"
#include "murmex/script_syntax.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murmex::tool {

// What the loader had read when it met an error, as its listener told it.
struct ErrorSurroundings {
    // False when no listener saw the error: only the load's detail is known.
    bool known = false;
    SyntaxError error;
    // The fields read in the header, character block or talk unit (with its
    // conditions) that the error stands in, in the order they were read.
    std::vector<SyntaxFieldEvent> fields;
    // Offset just past the last value or brace read before the error: the
    // loader skipped what stands from here to the error.
    uint32_t readUpTo = 0;
};

// Collects the surroundings of every error a load or a scan reports.
class ErrorSurroundingsRecorder : public SyntaxListener {
  public:
    void field(const SyntaxFieldEvent& event) override;
    void open(ScriptBlock block, const SyntaxSpan& at) override;
    void close(ScriptBlock block, const SyntaxSpan& at) override;
    void error(const SyntaxError& error) override;

    // In the order the errors were met.
    std::vector<ErrorSurroundings> errors;

  private:
    std::vector<SyntaxFieldEvent> fields;
    uint32_t readUpTo = 0;
};

// `text` is the script as the loader read it (descrambled), or empty when it
// can't be had; `message` and `detail` are the failed load's, and `at` what
// its listener saw of the error. Empty when the message says all there is.
std::string explainLoadError(const std::string& text, const std::string& message,
                             const LoadDetail& detail, const ErrorSurroundings& at);

} // namespace murmex::tool

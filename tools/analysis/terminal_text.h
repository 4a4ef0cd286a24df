// Text that is about to be shown on a terminal, made safe to show. Script
// texts and names may carry any byte; an escape, a carriage return or a bell
// sent to a terminal would move the cursor, recolour or overwrite what the
// tool printed before (a carriage return in a question could hide a result
// line). Such characters are written out visibly instead.
#pragma once

#include <string>
#include <string_view>

namespace murmex::tool {

// The text with every control character written as "\x" and two lower-case
// hex digits: the C0 controls except the tab (so "\r" becomes "\x0d" and a
// line feed "\x0a"), DEL, and the C1 controls U+0080 to U+009F as UTF-8
// encodes them, which some terminals obey as well. Everything else is kept
// byte for byte. Meant for UTF-8 text as displayText gives it; JSON output
// needs none of this, its escaping already covers control characters.
std::string terminalText(std::string_view text);

} // namespace murmex::tool

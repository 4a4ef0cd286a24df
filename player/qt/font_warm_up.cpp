// The font configuration read ahead on a thread of its own.
#include "player/qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace kestrine::qt {

FontWarmUp::FontWarmUp() {
    try {
        // The library keeps one configuration for the process and builds it
        // safely from any thread: Qt's own first call then finds it built.
        reader = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: Qt reads the configuration itself, as it
        // always could.
    }
}

void FontWarmUp::finish() {
    if (reader.joinable()) {
        reader.join();
    }
}

} // namespace kestrine::qt

// Reads the system's font configuration on a second thread while the
// application and the window are being built. The first text the window
// draws needs it, and reading it is most of what the player's start costs
// beyond a bare window; begun at once, it is done or nearly so by the first
// paint. What the window shows does not change: the text still asks for its
// fonts as before and finds the configuration already read.
#pragma once

#include <thread>

namespace kestrine::qt {

class FontWarmUp {
  public:
    // Starts the reading. Construct it before the application, so that the
    // two overlap.
    FontWarmUp();
    // Waits for the reading to end. Call it before the window draws its
    // first text: Qt would otherwise start reading the configuration a second
    // time alongside, rather than wait for it.
    void finish();
    ~FontWarmUp() { finish(); }
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

  private:
    std::thread reader;
};

} // namespace kestrine::qt

// What a game tells its host during `murmex play --events`: the same steps
// played alongside the terminal's session by a Game, the host API, whose
// listeners print each event as a line. Every binding's transcript program
// prints these lines the same way, so that their event sequences can be
// compared.
#pragma once

#include "murmex/game.h"

#include <memory>
#include <ostream>
#include <string>

namespace murmex::tool {

class EventEcho {
  public:
    explicit EventEcho(std::ostream& out) : out(out) {}

    // Loads the script from the bytes the session read (descrambled unless
    // `plain`) and listens to every kind of event. False when that fails.
    bool open(const std::string& bytes, bool plain);
    // The same start or saved game the session begins with; what it tells
    // (a restore tells Restored) is not printed.
    bool start(const std::string& name);
    bool resume(const std::string& saved);
    // The same choice the session makes; prints what it told.
    void choose(int32_t index);

  private:
    static void print(void* echo, const GameEvent& event);

    std::ostream& out;
    std::unique_ptr<Game> game;
    bool printing = false;
};

} // namespace murmex::tool

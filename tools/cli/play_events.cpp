// Event lines for `murmex play --events`.
#include "tools/cli/play_events.h"

#include "tools/analysis/terminal_text.h"

namespace murmex::tool {

namespace {

constexpr GameEventKind EVERY_KIND[] = {
    GameEventKind::VariableChanged, GameEventKind::MoneyChanged, GameEventKind::HandedOver,
    GameEventKind::Ended,           GameEventKind::ItemGiven,    GameEventKind::ItemTaken,
    GameEventKind::Restored,        GameEventKind::Reset,
};

std::string nameOf(const GameEvent& event) {
    return terminalText(event.nameText != nullptr ? event.nameText : "");
}

} // namespace

bool EventEcho::open(const std::string& bytes, bool plain) {
    LoadResult result;
    std::shared_ptr<const Script> script =
        Script::fromMemory(bytes.data(), bytes.size(), result, plain);
    game = Game::create(std::move(script));
    if (game == nullptr) {
        return false;
    }
    for (const GameEventKind kind : EVERY_KIND) {
        if (game->listen(kind, &EventEcho::print, this) == 0) {
            return false;
        }
    }
    return true;
}

bool EventEcho::start(const std::string& name) {
    return game->start(name.c_str());
}

bool EventEcho::resume(const std::string& saved) {
    return game->restore(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()) ==
           GAME_STATE_OK;
}

void EventEcho::choose(int32_t index) {
    printing = true;
    game->choose(index);
    printing = false;
}

void EventEcho::print(void* echo, const GameEvent& event) {
    auto& self = *static_cast<EventEcho*>(echo);
    if (!self.printing) {
        return;
    }
    std::ostream& out = self.out;
    switch (event.kind) {
    case GameEventKind::VariableChanged:
        out << "* variable " << nameOf(event) << ' ';
        if (event.present) {
            out << event.value << '\n';
        } else {
            out << "removed\n";
        }
        break;
    case GameEventKind::MoneyChanged:
        out << "* money " << event.value << '\n';
        break;
    case GameEventKind::HandedOver:
        out << "* handover " << nameOf(event) << '\n';
        break;
    case GameEventKind::Ended:
        out << "* ended\n";
        break;
    case GameEventKind::ItemGiven:
        out << "* item-given " << nameOf(event) << ' ' << event.value << '\n';
        break;
    case GameEventKind::ItemTaken:
        out << "* item-taken " << nameOf(event) << '\n';
        break;
    case GameEventKind::Restored:
        out << "* restored\n";
        break;
    case GameEventKind::Reset:
        out << "* reset\n";
        break;
    }
}

} // namespace murmex::tool

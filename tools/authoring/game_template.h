// The files of a new game folder: a small plain script that loads and plays,
// a plan that passes on it, the settings that keep a script's bytes as the
// loader needs them (CR LF line ends, scrambled files untouched), and a README
// with the commands an author runs on it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace murmex::tool {

// The script's file name in the folder, also named by the README.
inline constexpr std::string_view GAME_SCRIPT_NAME = "game.chr.txt";

struct TemplateFile {
    // Relative to the game folder, with '/' between folders.
    std::string path;
    std::string bytes;
};

// Why `title` cannot stand in the script's TITLE line, or empty when it can:
// the loader takes at most MAX_TITLE bytes, and the value is quoted and one
// line long.
std::string gameTitleProblem(std::string_view title);

// The files of a game with this title, which must have no problem.
std::vector<TemplateFile> gameTemplate(const std::string& title);

} // namespace murmex::tool

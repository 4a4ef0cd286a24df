// The command table against what users read: every command and each of its
// options and arguments says what it is for, and the man page has a section
// for every command.
#include "tools/cli/command_table.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

namespace murmex::tool {
namespace {

// The man page as roff, or "" where the build makes none.
std::string manPage() {
    std::string page;
#if defined(MURMEX_MAN_PAGE) && !defined(_WIN32)
    FILE* pipe = ::popen("gzip -dc '" MURMEX_MAN_PAGE "'", "r");
    EXPECT_NE(pipe, nullptr);
    char chunk[4096];
    for (size_t got; pipe != nullptr && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        page.append(chunk, got);
    }
    if (pipe != nullptr) {
        EXPECT_EQ(::pclose(pipe), 0);
    }
    EXPECT_FALSE(page.empty());
#endif
    return page;
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

TEST(CommandTable, EveryCommandExplainsItsOptionsAndHasItsManSection) {
    CLI::App app;
    ChosenCommand chosen;
    ScriptArguments shared;
    const std::string page = manPage();
    for (const CommandRow& row : commandTable()) {
        const CLI::App* command = addCommand(app, row, shared, chosen);
        SCOPED_TRACE(command->get_name());
        EXPECT_FALSE(command->get_description().empty());
        const std::string help = command->help();
        for (const CLI::Option* option : command->get_options()) {
            EXPECT_FALSE(option->get_description().empty()) << option->get_name();
            EXPECT_NE(help.find(option->get_name()), std::string::npos) << option->get_name();
        }
        if (!page.empty()) {
            EXPECT_NE(page.find("COMMAND: " + upper(command->get_name())), std::string::npos);
        }
    }
}

} // namespace
} // namespace murmex::tool

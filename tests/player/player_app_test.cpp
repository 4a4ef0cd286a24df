// The command-line tail and the switch for plain script files.
#include "player/player_app.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrine {
namespace {

std::string tailOf(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "kestrine");
    return commandLineTail(static_cast<int>(arguments.size()), arguments.data());
}

TEST(PlayerAppTest, TailJoinsArgumentsAndDropsLeadingBlanks) {
    EXPECT_EQ(tailOf({}), "");
    EXPECT_EQ(tailOf({"-nd"}), "-nd");
    EXPECT_EQ(tailOf({"-nd", "x"}), "-nd x");
    EXPECT_EQ(tailOf({" \t-nd "}), "-nd ");
    EXPECT_EQ(tailOf({"", "nd"}), "nd");
}

TEST(PlayerAppTest, OnlyTheThreeSwitchesStandingAloneSelectPlainScripts) {
    struct Case {
        std::vector<const char*> arguments;
        bool plain;
    };
    const Case cases[] = {
        {{"/nd"}, true},
        {{"-nd"}, true},
        {{"nd"}, true},
        {{"/ND"}, true},
        {{"-Nd"}, true},
        {{"nD"}, true},
        {{" -nd"}, true},
        {{}, false},
        {{"-nd "}, false},
        {{"-nd", "x"}, false},
        {{"-nd", "-nd"}, false},
        {{"--nd"}, false},
        {{"-n"}, false},
        {{"\"-nd\""}, false},
        {{"/nd/"}, false},
        {{"\xCE\xBD"
          "d"},
         false},
    };
    for (const Case& c : cases) {
        const std::string tail = tailOf(c.arguments);
        EXPECT_EQ(selectsPlainScripts(tail), c.plain) << "[" << tail << "]";
    }
}

} // namespace
} // namespace kestrine

// The table of the murmex tool's commands. A new command joins by its row.
#include "tools/cli/command_table.h"

#include "tools/cli/check_command.h"
#include "tools/cli/compat_command.h"
#include "tools/cli/dump_command.h"
#include "tools/cli/explore_command.h"
#include "tools/cli/graph_command.h"
#include "tools/cli/lint_command.h"
#include "tools/cli/lsp_command.h"
#include "tools/cli/new_command.h"
#include "tools/cli/play_command.h"
#include "tools/cli/preview_command.h"
#include "tools/cli/publish_command.h"
#include "tools/cli/scramble_command.h"
#include "tools/cli/stats_command.h"
#include "tools/cli/strings_command.h"
#include "tools/cli/test_command.h"

namespace murmex::tool {

namespace {

constexpr CommandRow COMMANDS[] = {
    // check takes several scripts and reports each; play and test word a
    // failed load as the window does; scramble works on raw bytes.
    {addCheckCommand, ScriptUse::None},    {addDumpCommand, DUMP_SCRIPT_USE},
    {addScrambleCommand, ScriptUse::None}, {addUnscrambleCommand, ScriptUse::None},
    {addPlayCommand, ScriptUse::None},     {addTestCommand, ScriptUse::None},
    {addStatsCommand, STATS_SCRIPT_USE},   {addGraphCommand, GRAPH_SCRIPT_USE},
    {addLintCommand, LINT_SCRIPT_USE},     {addExploreCommand, EXPLORE_SCRIPT_USE},
    {addStringsCommand, ScriptUse::None},  {addPreviewCommand, ScriptUse::None},
    {addLspCommand, ScriptUse::None},      {addPublishCommand, ScriptUse::None},
    {addCompatCommand, ScriptUse::None},   {addNewCommand, ScriptUse::None},
};

} // namespace

std::span<const CommandRow> commandTable() {
    return COMMANDS;
}

} // namespace murmex::tool

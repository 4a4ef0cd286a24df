#!/usr/bin/python3
"""The folders depend on each other only downwards, as their #include lines
show: the core, the window's rules and the player include nothing of the
tools, the core and the window's rules nothing of the player, no tool but
the preview (which shows the player's own window) includes the player, and
each folder of the tools includes only folders of the tools on a lower
floor (so the preview takes nothing of the command line, in its includes or
in what its CMakeLists.txt links), and no tool but the scramble commands
applies the scramble transform itself. Every offending file is named with the
include.

Usage: include_graph_test.py SOURCE_ROOT
"""
import os
import re
import sys

CORE = ("engine", "loader", "text", "files", "include/murmex")
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp", ".inl", ".mm")
HOST_API = {
    "game.h", "game_state.h", "load_messages.h", "load_result.h", "murmex.h",
    "runtime_messages.h", "script.h", "script_model.h", "script_source.h", "script_text.h",
    "unit_identity.h", "version.h",
}
ENGINE_HEADERS = ("murmex/engine/conversation_engine.h", "murmex/conversation_engine.h")
# The transform itself: the tools read a script's text through
# murmex/authoring/scrambling_source.h, so the key is applied in one place.
# The scramble commands, whose whole job is turning a file over, are the one
# user of it.
TRANSFORM_HEADERS = ("murmex/authoring/scrambling.h", "murmex/scrambling.h")
TRANSFORM_USERS = ("tools/cli/scramble_command.cpp",)
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.DOTALL)

# The tools' floors, lowest first: a folder builds only on those below it.
TOOL_FLOORS = {
    "tools/platform": 0, "tools/script_io": 0,
    "tools/analysis": 1,
    "tools/authoring": 2, "tools/lsp": 2, "tools/preview": 2,
    "tools/cli": 3,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)

def under(path, folder):
    return path == folder or path.startswith(folder + "/")


def source_files(root, folder):
    for directory, subfolders, files in os.walk(os.path.join(root, folder)):
        subfolders.sort()
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")


def resolve(root, path, included):
    """The included file's path from the root: beside the includer when it
    is there, otherwise from the root, as the build's include path has it."""
    beside = os.path.normpath(os.path.join(os.path.dirname(path), included)).replace(os.sep, "/")
    if not beside.startswith("../") and os.path.isfile(os.path.join(root, beside)):
        return beside
    return os.path.normpath(included).replace(os.sep, "/")


def tool_folder(path):
    return next((folder for folder in TOOL_FLOORS if under(path, folder)), None)


def floor_fault(path, target):
    """Why the tool at path may not include target, or None."""
    own, theirs = tool_folder(path), tool_folder(target)
    if own is None or theirs is None or own == theirs or TOOL_FLOORS[theirs] < TOOL_FLOORS[own]:
        return None
    return f"{own} builds only on the tools' folders below it, not on {theirs}"


def includes(root, path):
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
        text = source.read()
    for match in INCLUDE.finditer(text):
        line = text.count("\n", 0, match.start()) + 1
        yield line, match.group(1), resolve(root, path, match.group(1))


def include_faults(root):
    faults = []
    for folder in CORE + ("window", "player", "tools"):
        for path in source_files(root, folder):
            for line, written, target in includes(root, path):
                where = f"{path}:{line}: includes \"{written}\""
                if not under(path, "tools") and under(target, "tools"):
                    faults.append(f"{where}: the core and the player use no tool")
                elif floor_fault(path, target):
                    faults.append(f"{where}: {floor_fault(path, target)}")
                elif not under(path, "player") and not under(path, "tools") and under(
                        target, "player"):
                    faults.append(f"{where}: the core and the window's rules use no player")
                elif (under(path, "tools") and not under(path, "tools/preview")
                      and under(target, "player")):
                    faults.append(f"{where}: only the preview uses the player")
    return faults


def is_forwarding(text):
    """Only comments, #pragma once and one #include."""
    lines = [line.strip() for line in COMMENT.sub("", text).splitlines() if line.strip()]
    return (len(lines) == 2 and lines[0] == "#pragma once"
            and INCLUDE.match(lines[1]) is not None)


def public_header_faults(root):
    faults = []
    folder = os.path.join(root, "include/murmex")
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if not os.path.isfile(path) or name in HOST_API:
            continue
        with open(path, encoding="utf-8", errors="replace") as header:
            if not is_forwarding(header.read()):
                faults.append(f"include/murmex/{name}: the folder holds the host API and "
                              "forwarding headers; the engine's go to engine/, the tools' to "
                              "authoring/")
    return faults


def engine_use_faults(root):
    faults = []
    for path in source_files(root, "tools"):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
            text = source.read()
        for line, written, target in includes(root, path):
            if target in ENGINE_HEADERS and "ConversationEngine" not in COMMENT.sub("", text):
                faults.append(f"{path}:{line}: includes \"{written}\" but uses no engine: "
                              "murmex/script_model.h holds the script")
    return faults


def transform_faults(root):
    return [f"{path}:{line}: includes \"{written}\": read the script's text through "
            "murmex/authoring/scrambling_source.h (scriptText, scrambleText)"
            for path in source_files(root, "tools") if path not in TRANSFORM_USERS
            for line, written, target in includes(root, path) if target in TRANSFORM_HEADERS]


def cli_targets(root):
    with open(os.path.join(root, "tools/cli/CMakeLists.txt"), encoding="utf-8") as lists:
        return set(re.findall(r"add_(?:library|executable)\(\s*(\w+)", lists.read()))


def preview_link_faults(root):
    path = "tools/preview/CMakeLists.txt"
    with open(os.path.join(root, path), encoding="utf-8") as lists:
        text = lists.read()
    faults = []
    targets = cli_targets(root)
    for call in re.finditer(r"target_link_libraries\(([^)]*)\)", text):
        line = text.count("\n", 0, call.start()) + 1
        for word in call.group(1).split():
            if word in targets:
                faults.append(f"{path}:{line}: links {word}: "
                              "the preview takes nothing of the command line")
    return faults


def main():
    root = sys.argv[1]
    faults = (include_faults(root) + preview_link_faults(root) + public_header_faults(root)
              + engine_use_faults(root) + transform_faults(root))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

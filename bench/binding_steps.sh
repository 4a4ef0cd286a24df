#!/usr/bin/env bash
# Times one step through the Python and the C# binding, over the shared
# library of the given build; murmex_bench's gameStep and cFunctionStep time
# the same step in C++ and through the C functions.
# Usage: bench/binding_steps.sh BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
library="$build/bindings/c"
MURMEX_LIBRARY="$library/libmurmex.so.1" PYTHONPATH="$root/bindings/python" \
    PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$root/bench/binding_steps.py"
mcs -langversion:7 -nologo -optimize+ -out:"$build/bench/StepBench.exe" \
    "$root"/bindings/csharp/Runtime/*.cs "$root/bench/StepBench.cs"
LD_LIBRARY_PATH="$library" mono "$build/bench/StepBench.exe" "$root/bench/binding_step.chr.txt"

#!/usr/bin/env bash
# Times one step in C++, through the C functions, and through the Python, the
# C# and (when the build holds the web build) the JavaScript binding, over the
# shared library of the given build, and prints them as one table with each
# one's cost against C++'s. murmex_bench's gameStep
# and cFunctionStep time the first two.
# Usage: bench/binding_steps.sh BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
library="$build/bindings/c"
steps=$(mktemp)
trap 'rm -f "$steps"' EXIT

# Medians, of real time and of CPU time: on a loaded machine only the CPU
# time stays comparable between runs.
"$build/bench/murmex_bench" --benchmark_filter='^(gameStep|cFunctionStep)$' \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
    sed 's/\x1b\[[0-9;]*m//g' |
    awk 'BEGIN { scale["ns"] = 1; scale["us"] = 1e3; scale["ms"] = 1e6 }
         $1 == "gameStep_median" { name = "c++" }
         $1 == "cFunctionStep_median" { name = "c" }
         name { printf "%s step: %.0f ns real, %.0f ns cpu\n", name, $2 * scale[$3], $4 * scale[$5]
                name = "" }' >>"$steps"
MURMEX_LIBRARY="$library/libmurmex.so.1" PYTHONPATH="$root/bindings/python" \
    PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$root/bench/binding_steps.py" >>"$steps"
mcs -langversion:7 -nologo -optimize+ -out:"$build/bench/StepBench.exe" \
    "$root"/bindings/csharp/Runtime/*.cs "$root/bench/StepBench.cs"
LD_LIBRARY_PATH="$library" mono "$build/bench/StepBench.exe" "$root/bench/binding_step.chr.txt" \
    >>"$steps"
# JavaScript when the build holds the web build (make web BUILD=...).
web="$build/web/share/murmex/web"
if [ -f "$web/murmex.mjs" ] && command -v node >/dev/null; then
    node "$root/bench/binding_steps.mjs" "$web" >>"$steps"
fi

# Lines are "NAME step: REAL ns" and may add ", CPU ns cpu".
awk '{ name[NR] = $1; real[NR] = $3; cpu[NR] = NF >= 7 ? $6 : "" }
     $1 == "c++" { real_base = $3; cpu_base = $6 }
     END { printf "%-8s %10s %10s %8s %8s\n", "step", "real ns", "cpu ns", "real/C++", "cpu/C++"
           for (i = 1; i <= NR; ++i)
               printf "%-8s %10d %10s %8.1f %8s\n", name[i], real[i], cpu[i] == "" ? "-" : cpu[i],
                      real[i] / real_base, cpu[i] == "" ? "-" : sprintf("%.1f", cpu[i] / cpu_base) }' \
    "$steps"

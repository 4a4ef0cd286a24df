#!/usr/bin/env bash
# Runs each fuzzer of a fuzzing build, one after the other, one job each and
# at low priority, so that other work on the machine goes on.
#   tools/run_fuzzers.sh BUILD SECONDS   fuzz each for SECONDS; new inputs are
#                                         kept in BUILD/corpus-NAME, findings in
#                                         BUILD/artifacts-NAME
#   tools/run_fuzzers.sh BUILD replay    run every input of fuzz/corpus once
#                                         through each fuzzer and stop
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: $0 BUILD SECONDS|replay}
mode=${2:?usage: $0 BUILD SECONDS|replay}
fuzzers=(loader_fuzzer differential_fuzzer saved_game_fuzzer)

# Shared by both modes: the keywords, inputs large enough to cross the
# loader's 64 KiB read chunk, and a time limit per input far above what a
# sound one needs.
common=(-dict=fuzz/script.dict -max_len=131072 -timeout=10 -rss_limit_mb=2048)

for fuzzer in "${fuzzers[@]}"; do
    binary="$build/fuzz/$fuzzer"
    if [ "$mode" = replay ]; then
        echo "== $fuzzer: replaying fuzz/corpus"
        log=$(mktemp)
        if ! "$binary" "${common[@]}" -runs=0 fuzz/corpus >"$log" 2>&1; then
            cat "$log" >&2
            rm -f "$log"
            echo "$fuzzer failed on the corpus" >&2
            exit 1
        fi
        grep -E '^#[0-9]+[[:space:]]+DONE|^Done' "$log" || true
        rm -f "$log"
    else
        name=${fuzzer%_fuzzer}
        mkdir -p "$build/corpus-$name" "$build/artifacts-$name"
        echo "== $fuzzer: fuzzing for $mode s"
        nice -n 10 "$binary" "${common[@]}" -max_total_time="$mode" -print_final_stats=1 \
            -artifact_prefix="$build/artifacts-$name/" "$build/corpus-$name" fuzz/corpus
    fi
done

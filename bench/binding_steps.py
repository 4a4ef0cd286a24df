#!/usr/bin/python3
"""The cost of one step through the Python binding: the step that
murmex_bench's gameStep takes in C++ (ask the first question of
binding_step.chr.txt, read the answer and every label), timed over many
repetitions. Prints nanoseconds per step, the median of five runs.

    MURMEX_LIBRARY=build-bench/bindings/c/libmurmex.so.1 \\
        PYTHONPATH=bindings/python bench/binding_steps.py
"""

import statistics
import sys
import time
from pathlib import Path

import murmex

STEPS = 50_000
RUNS = 5


def main() -> int:
    script = murmex.Script.load(Path(__file__).with_name("binding_step.chr.txt"), plain=True)
    game = script.new_game()
    game.start("Intro")
    per_step = []
    for _ in range(RUNS):
        started = time.perf_counter_ns()
        for _ in range(STEPS):
            game.choose(0)
            game.answer
            for question in game.questions:
                question.label
        per_step.append((time.perf_counter_ns() - started) / STEPS)
    print(f"python step: {statistics.median(per_step):.0f} ns")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""The cost of one step through the Python binding: the step that
murmex_bench's gameStep takes in C++ (ask the first question of
binding_step.chr.txt, read the answer and every label), timed over many
repetitions. Prints nanoseconds per step, of real time and of CPU time,
each the median of five runs. The screen is read with one call, as a game
drawing it would.

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
    real, cpu = [], []
    for _ in range(RUNS):
        started, started_cpu = time.perf_counter_ns(), time.thread_time_ns()
        for _ in range(STEPS):
            game.choose(0)
            screen = game.screen
            screen.answer
            for question in screen.questions:
                question.label
        cpu.append((time.thread_time_ns() - started_cpu) / STEPS)
        real.append((time.perf_counter_ns() - started) / STEPS)
    print(f"python step: {statistics.median(real):.0f} ns real, "
          f"{statistics.median(cpu):.0f} ns cpu")
    return 0


if __name__ == "__main__":
    sys.exit(main())

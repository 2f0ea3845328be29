#!/usr/bin/env python3
"""Times shell commands as whole processes, in turn (A B A B ...) after one warm-up run each, so
that a shared machine's drift hits both alike. Prints the median seconds of each and, for two
commands, the median of the ratios A/B taken pair by pair.

    pairs.py RUNS 'COMMAND A' ['COMMAND B']
"""
import statistics
import subprocess
import sys
import time


def seconds(command):
    start = time.perf_counter()
    subprocess.run(command, shell=True, check=True)
    return time.perf_counter() - start


def main():
    runs, commands = int(sys.argv[1]), sys.argv[2:]
    for command in commands:
        seconds(command)
    times = [[] for _ in commands]
    for _ in range(runs):
        for command, taken in zip(commands, times):
            taken.append(seconds(command))
    medians = [statistics.median(taken) for taken in times]
    if len(commands) == 2:
        medians.append(statistics.median(a / b for a, b in zip(*times)))
    print(" ".join(f"{m:.6f}" for m in medians))


main()

#!/usr/bin/env python3
"""Turns a list of puzzles into COUNT puzzles of the same difficulty: each a copy of one from the
list (taken in turn) with its digits relabelled, rows permuted within bands, bands permuted,
columns within stacks, stacks, and the grid transposed or not, all drawn from a seeded random
source. The same list and seed give the same puzzles. Empty squares are written '.'.

    isomorphs.py LIST [COUNT=10000] [SEED=1] > puzzles.txt
"""
import random
import sys


def shuffled_lines(draw):
    """Row or column numbers 0..8: the three groups permuted, and the three lines within each."""
    groups = draw.sample(range(3), 3)
    return [3 * group + within for group in groups for within in draw.sample(range(3), 3)]


def isomorph(puzzle, draw):
    digits = ["."] + [str(d) for d in draw.sample(range(1, 10), 9)]
    rows, columns = shuffled_lines(draw), shuffled_lines(draw)
    transpose = draw.random() < 0.5
    out = []
    for r in range(9):
        for c in range(9):
            row, column = (columns[c], rows[r]) if transpose else (rows[r], columns[c])
            square = puzzle[row * 9 + column]
            out.append(digits[int(square)] if square in "123456789" else ".")
    return "".join(out)


def main():
    source = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    draw = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    with open(source) as f:
        puzzles = [line.strip() for line in f if len(line.strip()) == 81]
    sys.stdout.write("".join(isomorph(puzzles[i % len(puzzles)], draw) + "\n" for i in range(count)))


main()

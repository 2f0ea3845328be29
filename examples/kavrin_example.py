#!/usr/bin/env python3
"""Solves, counts, rates and generates through libkavrin with ctypes.

    python3 kavrin_example.py [PUZZLE]

The library is found as the system finds it (libkavrin.so.1), or at the path in KAVRIN_LIBRARY.
"""
import ctypes
import os
import sys

GRID_SIZE = 82


class Rating(ctypes.Structure):
    _fields_ = [("grade", ctypes.c_char * 16), ("rating", ctypes.c_double), ("hardest", ctypes.c_char * 32)]


class GenerateOptions(ctypes.Structure):
    _fields_ = [("grade", ctypes.c_char_p), ("symmetry", ctypes.c_int), ("seed", ctypes.c_ulonglong),
                ("lowest_rating", ctypes.c_double), ("highest_rating", ctypes.c_double)]


def load():
    lib = ctypes.CDLL(os.environ.get("KAVRIN_LIBRARY", "libkavrin.so.1"))
    lib.kavrin_status_text.restype = ctypes.c_char_p
    lib.kavrin_version.restype = ctypes.c_char_p
    lib.kavrin_solve.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    lib.kavrin_count.argtypes = [ctypes.c_char_p, ctypes.c_longlong, ctypes.POINTER(ctypes.c_longlong), ctypes.c_char_p]
    lib.kavrin_rate.argtypes = [ctypes.c_char_p, ctypes.POINTER(Rating), ctypes.c_char_p, ctypes.c_size_t,
                                ctypes.POINTER(ctypes.c_size_t)]
    lib.kavrin_generate.argtypes = [ctypes.POINTER(GenerateOptions), ctypes.c_char_p, ctypes.c_char_p]
    return lib


def checked(lib, what, status):
    if status != 0:
        sys.exit(f"{what}: {lib.kavrin_status_text(status).decode()}")


def main():
    lib = load()
    puzzle = (sys.argv[1] if len(sys.argv) > 1 else
              "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......").encode()
    grid = ctypes.create_string_buffer(GRID_SIZE)
    checked(lib, "solve", lib.kavrin_solve(puzzle, grid))
    print("solution", grid.value.decode())

    count = ctypes.c_longlong()
    checked(lib, "count", lib.kavrin_count(puzzle, 2, ctypes.byref(count), None))
    print("solutions", f"{count.value}{'+' if count.value == 2 else ''}")

    rating = Rating()
    steps = ctypes.create_string_buffer(1 << 16)
    needed = ctypes.c_size_t()
    checked(lib, "rate", lib.kavrin_rate(puzzle, ctypes.byref(rating), steps, len(steps), ctypes.byref(needed)))
    print(f"grade {rating.grade.decode()}, rating {rating.rating:.1f}, hardest {rating.hardest.decode()},"
          f" {needed.value} bytes of steps")

    options = GenerateOptions(b"medium", 1, 1, 0, 0)
    checked(lib, "generate", lib.kavrin_generate(ctypes.byref(options), grid, None))
    print("generated", grid.value.decode())


if __name__ == "__main__":
    main()

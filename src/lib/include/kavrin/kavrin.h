/* libkavrin: solve, count, rate and generate 9x9 number-placement puzzles from C or any
 * language with a C foreign-function interface.
 *
 * A puzzle is a NUL-terminated string of 81 characters, row by row from the top left: '1'..'9'
 * a given digit, '.' or '0' an empty square; blanks around it are ignored. A grid the library
 * writes back is 81 digits and a NUL, so its buffer holds KAVRIN_GRID_SIZE bytes.
 *
 * Every function is safe to call from several threads at once, checks its arguments, never
 * aborts the caller and returns a status. */
#ifndef KAVRIN_KAVRIN_H
#define KAVRIN_KAVRIN_H

/* A C header: C++'s modern spellings do not apply. */
/* NOLINTBEGIN(modernize-deprecated-headers,modernize-use-using) */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KAVRIN_GRID_SIZE 82

typedef enum kavrin_status {
    KAVRIN_OK = 0,
    KAVRIN_NO_SOLUTION = 1,  /* the puzzle has no solution */
    KAVRIN_NOT_UNIQUE = 2,   /* rating: the puzzle has more than one solution */
    KAVRIN_BAD_PUZZLE = 3,   /* the text is not an 81-character puzzle */
    KAVRIN_BAD_ARGUMENT = 4, /* a null pointer, a value out of range, a buffer too small */
    KAVRIN_FAILED = 5        /* out of memory, or no puzzle made within the library's tries */
} kavrin_status;

/* The library's version, such as "1.0". */
const char *kavrin_version(void);

/* A short English description of a status, such as "the puzzle has no solution". */
const char *kavrin_status_text(kavrin_status status);

/* The first solution in index order (the smallest as an 81-digit number). */
kavrin_status kavrin_solve(const char *puzzle, char solution[KAVRIN_GRID_SIZE]);

/* Counts solutions up to limit (at least 1): *count is never above it, and equals it when there
 * may be more. first, when not NULL, receives the first solution in index order if there is one,
 * else an empty string. KAVRIN_OK even when the count is 0. */
kavrin_status kavrin_count(const char *puzzle, long long limit, long long *count,
                           char first[KAVRIN_GRID_SIZE]);

typedef struct kavrin_rating {
    char grade[16];    /* "easy", "medium", "hard", "expert", ... as kvr rate prints it */
    double rating;     /* the hardest step on the community's scale; 0 when not graded */
    char hardest[32];  /* the hardest technique used, "" when none was needed */
} kavrin_rating;

/* Grades the puzzle as a player would solve it. steps, when not NULL, receives the steps in
 * words, one a line, as much as fits in steps_size bytes (always NUL-terminated);
 * steps_needed, when not NULL, receives the size the whole text needs, NUL included.
 * KAVRIN_NO_SOLUTION and KAVRIN_NOT_UNIQUE still fill in the grade. */
kavrin_status kavrin_rate(const char *puzzle, kavrin_rating *rating, char *steps, size_t steps_size,
                          size_t *steps_needed);

typedef enum kavrin_symmetry {
    KAVRIN_SYMMETRY_NONE = 0,
    KAVRIN_SYMMETRY_ROTATIONAL = 1, /* a given's twin turned half round the centre */
    KAVRIN_SYMMETRY_MIRROR = 2      /* a given's twin across the middle column */
} kavrin_symmetry;

typedef struct kavrin_generate_options {
    const char *grade;           /* "easy", "medium", "hard", "expert" or "extreme"; NULL for any
                                    grade when a rating range is given, else for "hard" */
    int symmetry;                /* a kavrin_symmetry; an int, so any value is safe to check */
    unsigned long long seed;     /* the same seed and options give the same puzzle */
    double lowest_rating;        /* a rating range, both ends included, used when */
    double highest_rating;       /* highest_rating is above 0 */
} kavrin_generate_options;

/* A puzzle with exactly one solution, minimal (no given, or pair of twins, can go), of the grade
 * and rating range asked for. solution, when not NULL, receives its solution. A range that no
 * puzzle is likely to meet (above 10, say) may take very long. */
kavrin_status kavrin_generate(const kavrin_generate_options *options, char puzzle[KAVRIN_GRID_SIZE],
                              char solution[KAVRIN_GRID_SIZE]);

#ifdef __cplusplus
}
#endif

/* NOLINTEND(modernize-deprecated-headers,modernize-use-using) */

#endif

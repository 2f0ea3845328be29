/* The C interface's promises that the examples do not show: statuses for bad arguments and bad
 * puzzles, the grade of puzzles without one solution, truncated steps, and the same answers from
 * threads working at once. */
#include <kavrin/kavrin.h>

#include <pthread.h>
#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect(int ok, const char *what)
{
    if (!ok) {
        printf("FAIL  %s\n", what);
        ++failures;
    }
}

static const char *kPuzzle = "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......";
static const char *kSolution = "417369825632158947958724316825437169791586432346912758289643571573291684164875293";
/* Two 9s in the first row. */
static const char *kRepeated = "99...............................................................................";

static void statuses(void)
{
    char grid[KAVRIN_GRID_SIZE];
    long long count = -1;
    kavrin_rating rating;
    expect(kavrin_solve(NULL, grid) == KAVRIN_BAD_ARGUMENT, "solve without a puzzle");
    expect(kavrin_solve(kPuzzle, NULL) == KAVRIN_BAD_ARGUMENT, "solve without a buffer");
    expect(kavrin_solve("12345", grid) == KAVRIN_BAD_PUZZLE, "solve a short line");
    expect(kavrin_solve(kRepeated, grid) == KAVRIN_NO_SOLUTION, "solve a repeated digit");
    expect(kavrin_count(kPuzzle, 0, &count, grid) == KAVRIN_BAD_ARGUMENT, "count to 0");
    expect(kavrin_count(kRepeated, 2, &count, grid) == KAVRIN_OK && count == 0 && grid[0] == '\0',
           "count no solution");
    expect(kavrin_count(".................................................................................", 5,
                        &count, NULL) == KAVRIN_OK && count == 5,
           "count the empty grid to its limit");
    expect(kavrin_rate(kRepeated, &rating, NULL, 0, NULL) == KAVRIN_NO_SOLUTION &&
               strcmp(rating.grade, "no-solution") == 0,
           "rate no solution");
    expect(kavrin_rate(kPuzzle + 1, &rating, NULL, 0, NULL) == KAVRIN_BAD_PUZZLE, "rate 80 characters");
    kavrin_generate_options options = {"no-such-grade", KAVRIN_SYMMETRY_NONE, 1, 0, 0};
    expect(kavrin_generate(&options, grid, NULL) == KAVRIN_BAD_ARGUMENT, "generate an unknown grade");
    options.grade = "easy";
    options.symmetry = 7;
    expect(kavrin_generate(&options, grid, NULL) == KAVRIN_BAD_ARGUMENT, "generate an unknown symmetry");
    options.symmetry = KAVRIN_SYMMETRY_NONE;
    options.lowest_rating = 8;
    options.highest_rating = 7;
    expect(kavrin_generate(&options, grid, NULL) == KAVRIN_BAD_ARGUMENT, "generate an upside-down range");
    expect(strcmp(kavrin_status_text((kavrin_status)99), "unknown status") == 0, "text of an unknown status");
}

static void truncatedSteps(void)
{
    kavrin_rating rating;
    size_t needed = 0;
    char small[10];
    memset(small, 'x', sizeof small);
    expect(kavrin_rate(kPuzzle, &rating, small, sizeof small, &needed) == KAVRIN_OK, "rate with a small buffer");
    expect(small[9] == '\0' && strlen(small) == 9 && needed > sizeof small, "steps cut to the buffer, size told");
    char whole[1 << 16];
    expect(needed <= sizeof whole && kavrin_rate(kPuzzle, &rating, whole, sizeof whole, NULL) == KAVRIN_OK &&
               strlen(whole) + 1 == needed && strncmp(whole, small, 9) == 0,
           "the whole steps fit the size told");
}

static void ratingRange(void)
{
    const kavrin_generate_options options = {NULL, KAVRIN_SYMMETRY_NONE, 3, 4.0, 6.0};
    char grid[KAVRIN_GRID_SIZE];
    kavrin_rating rating;
    expect(kavrin_generate(&options, grid, NULL) == KAVRIN_OK && kavrin_rate(grid, &rating, NULL, 0, NULL) == KAVRIN_OK &&
               rating.rating >= 4.0 && rating.rating <= 6.0,
           "a generated puzzle rates within the range asked for");
}

static void *solveMany(void *ignored)
{
    (void)ignored;
    char grid[KAVRIN_GRID_SIZE];
    for (int i = 0; i < 200; ++i)
        if (kavrin_solve(kPuzzle, grid) != KAVRIN_OK || strcmp(grid, kSolution) != 0)
            return (void *)1;
    return NULL;
}

static void threads(void)
{
    pthread_t workers[4];
    for (int i = 0; i < 4; ++i)
        pthread_create(&workers[i], NULL, solveMany, NULL);
    for (int i = 0; i < 4; ++i) {
        void *result = NULL;
        pthread_join(workers[i], &result);
        expect(result == NULL, "the same solution on every thread");
    }
}

int main(void)
{
    statuses();
    truncatedSteps();
    ratingRange();
    threads();
    return failures == 0 ? 0 : 1;
}

/* Solves, counts, rates and generates through libkavrin.
 *   cc kavrin_example.c $(pkg-config --cflags --libs kavrin) -o kavrin_example
 *   ./kavrin_example [PUZZLE] */
#include <kavrin/kavrin.h>

#include <stdio.h>

static int failed(const char *what, kavrin_status status)
{
    fprintf(stderr, "%s: %s\n", what, kavrin_status_text(status));
    return 1;
}

int main(int argc, char **argv)
{
    const char *puzzle = argc > 1 ? argv[1]
        : "4.....8.5.3..........7......2.....6.....8.4......1.......6.3.7.5..2.....1.4......";
    char grid[KAVRIN_GRID_SIZE];
    kavrin_status status = kavrin_solve(puzzle, grid);
    if (status != KAVRIN_OK)
        return failed("solve", status);
    printf("solution %s\n", grid);

    long long count = 0;
    status = kavrin_count(puzzle, 2, &count, NULL);
    if (status != KAVRIN_OK)
        return failed("count", status);
    printf("solutions %lld%s\n", count, count == 2 ? "+" : "");

    kavrin_rating rating;
    size_t needed = 0;
    status = kavrin_rate(puzzle, &rating, NULL, 0, &needed);
    if (status != KAVRIN_OK)
        return failed("rate", status);
    printf("grade %s, rating %.1f, hardest %s, %zu bytes of steps\n", rating.grade, rating.rating,
           rating.hardest, needed);

    const kavrin_generate_options options = {"medium", KAVRIN_SYMMETRY_ROTATIONAL, 1, 0, 0};
    status = kavrin_generate(&options, grid, NULL);
    if (status != KAVRIN_OK)
        return failed("generate", status);
    printf("generated %s\n", grid);
    return 0;
}

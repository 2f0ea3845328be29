// The generator: random draws square by square, the logic solver filling what they force.
#include "generation/generator.h"

#include "checking/completion.h"
#include "model/colour.h"
#include "model/square.h"
#include "solving/logic_solver.h"

#include <cstddef>

namespace kavrin {

namespace {
int segmentOf(int col)
{
    return (col - 1) / 3 + 1;
}

std::string segmentDigits(const Candidates& candidates, int row, int col, int segment)
{
    std::string digits;
    const bool own = segmentOf(col) == segment;
    const int first = own ? col : 3 * segment - 2;
    const int last = own ? col : 3 * segment;
    for (int c = first; c <= last; ++c)
        for (int d = 1; d <= 9; ++d) {
            const char digit = static_cast<char>('0' + d);
            if (candidates(SquareIndex(row, c), d) != 0 && digits.find(digit) == std::string::npos)
                digits += digit;
        }
    return digits;
}

// A segment whose empty squares can take at most three digits keeps them from the left.
void holdBack(std::string& from, const std::string& segment)
{
    if (segment.size() > 3)
        return;
    std::erase_if(from, [&](char d) { return segment.find(d) != std::string::npos; });
}
} // namespace

SegmentTexts SegmentCandidates(const Candidates& candidates, int row, int col)
{
    SegmentTexts t{segmentDigits(candidates, row, col, 1), segmentDigits(candidates, row, col, 2),
                   segmentDigits(candidates, row, col, 3)};
    if (!t.s2.empty())
        holdBack(t.s2, t.s3);
    if (!t.s1.empty()) {
        holdBack(t.s1, t.s2);
        holdBack(t.s1, t.s3);
    }
    return t;
}

namespace {
int drawDigit(const Candidates& candidates, int row, int col, UniformSource& random)
{
    const SegmentTexts t = SegmentCandidates(candidates, row, col);
    const std::string& own = segmentOf(col) == 1 ? t.s1 : segmentOf(col) == 2 ? t.s2 : t.s3;
    const auto k = static_cast<std::size_t>(random.next() * static_cast<double>(own.size()));
    return own.empty() ? 0 : own[k] - '0';
}
} // namespace

bool GenerationAttempt(Board& board, Candidates& candidates, UniformSource& random)
{
    for (int s = 1; s <= kSquareCount; ++s)
        board.SetSquare(s, 0, true, kWhite);
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            const int s = SquareIndex(r, c);
            if (board[s].Digit == 0)
                LogicSolve(board, candidates);
            if (board[s].Digit == 0)
                board.SetSquare(s, drawDigit(candidates, r, c, random), true, kWhite);
        }
    return CheckCompletion(board) == 0;
}

int GeneratePuzzle(Board& board, Candidates& candidates, UniformSource& random)
{
    int failed = -1;
    bool done = false;
    while (!done) {
        done = GenerationAttempt(board, candidates, random);
        ++failed;
    }
    return failed;
}

} // namespace kavrin

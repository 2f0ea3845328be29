// Random full grids whose drawn digits are the puzzle.
#pragma once

#include "generation/uniform_source.h"
#include "model/board.h"
#include "model/candidates.h"

#include <string>

namespace kavrin {

struct SegmentTexts {
    std::string s1, s2, s3;
};

// The candidate digits of the three row segments as seen from (row, col), with the holding back.
SegmentTexts SegmentCandidates(const Candidates& candidates, int row, int col);

// One attempt from an empty grid; true when it ends complete and valid.
bool GenerationAttempt(Board& board, Candidates& candidates, UniformSource& random);

// Repeats attempts until one succeeds; returns how many failed before it.
int GeneratePuzzle(Board& board, Candidates& candidates, UniformSource& random);

} // namespace kavrin

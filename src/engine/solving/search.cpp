// The last attempt: depth-first in square-index order, smallest digit first, backing up as
// soon as an empty square is left without a candidate.
#include "solving/search.h"

#include "checking/completion.h"
#include "checking/entries.h"
#include "host/messages.h"

#include <bit>

namespace kavrin {

std::int16_t CountLogicalErrors(Board& board, Candidates& candidates)
{
    candidates.UpdateCandidates(board);
    int count = 0;
    for (int s = 1; s <= kSquareCount; ++s)
        if (board[s].Digit == 0 && !candidates.hasAny(s)) {
            board.SetSquare(s, 0, false, kYellow);
            ++count;
        }
    return static_cast<std::int16_t>(count);
}

bool CheckBeforeSearch(Board& board, Candidates& candidates, Prompter& prompter)
{
    std::string_view refusal;
    if (CheckCompletion(board) == 0)
        refusal = kThisPuzzleIsSolved;
    else if (CheckEntries(board) > 0)
        refusal = kPleaseCheckEntries;
    else if (CountLogicalErrors(board, candidates) > 0)
        refusal = kPleaseCheckLogicality;
    if (refusal.empty())
        return false;
    prompter.ask(exclamation(refusal));
    return true;
}

namespace {
// The untried digits of a level, bit d for digit d; the smallest is tried first.
using DigitSet = DigitMask;

int smallestDigit(DigitSet digits)
{
    return std::countr_zero(digits);
}

class Search {
public:
    Search(Board& board, Candidates& candidates, EventPump& events)
        : board_(board), candidates_(candidates), events_(events)
    {
    }

    SearchResult run()
    {
        const SearchEnd end = search();
        return {end, trials_};
    }

private:
    SearchEnd search()
    {
        while (true) {
            if (!choose())
                return SearchEnd::Solved;
            while (true) {
                const int t = smallestDigit(CandidateStack[depth_]);
                board_.SetSquare(SquareStack[depth_], t, false, kWhite);
                ++trials_;
                if (events_.processEventsOnce())
                    return SearchEnd::Cancelled;
                CandidateStack[depth_] &= static_cast<DigitSet>(~(1u << t));
                if (CountLogicalErrors(board_, candidates_) < 1)
                    break;
                if (!backUp())
                    return SearchEnd::NoSolution;
            }
        }
    }

    // Takes the first square that has a candidate; false when there is none (the grid is full).
    bool choose()
    {
        for (int s = 1; s <= kSquareCount; ++s) {
            const DigitSet digits = candidates_.digits(s);
            if (digits != 0) {
                ++depth_;
                SquareStack[depth_] = static_cast<std::uint8_t>(s);
                CandidateStack[depth_] = digits;
                return true;
            }
        }
        return false;
    }

    // Empties exhausted levels; false when the first level is exhausted too.
    bool backUp()
    {
        while (CandidateStack[depth_] == 0) {
            board_.SetSquare(SquareStack[depth_], 0, false, kWhite);
            if (--depth_ == 0)
                return false;
        }
        return true;
    }

    Board& board_;
    Candidates& candidates_;
    EventPump& events_;
    std::array<std::uint8_t, kSquareCount + 1> SquareStack{};
    std::array<DigitSet, kSquareCount + 1> CandidateStack{};
    int depth_ = 0;
    long long trials_ = 0;
};
} // namespace

SearchResult LastAttempt(Board& board, Candidates& candidates, SearchHost& host)
{
    if (CheckBeforeSearch(board, candidates, host.prompter))
        return {};
    host.wait.ShowWait(true);
    const SearchResult result = Search(board, candidates, host.events).run();
    host.wait.unloadWait();
    host.prompter.ask(information(kFinishedMyWork));
    return result;
}

} // namespace kavrin

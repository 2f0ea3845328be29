// The last attempt: depth-first in square-index order, smallest digit first, backing up as
// soon as an empty square is left without a candidate.
#include "solving/search.h"

#include "checking/completion.h"
#include "checking/dead_squares.h"
#include "checking/entries.h"
#include "host/messages.h"
#include "model/colour.h"
#include "model/geometry.h"
#include "model/square.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace kavrin {

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

// The peers of each square that come after it in index order, in that order.
struct LaterPeers {
    std::array<std::uint8_t, kPeerCount> squares{};
    int count = 0;
};

constexpr std::array<LaterPeers, kSquareCount + 1> kLaterPeers = [] {
    std::array<LaterPeers, kSquareCount + 1> table{};
    for (int s = 1; s <= kSquareCount; ++s)
        for (const std::uint8_t peer : kGeometry.peers[s - 1])
            if (peer + 1 > s)
                table[s].squares[table[s].count++] = static_cast<std::uint8_t>(peer + 1);
    return table;
}();

// The same trials in the same order as rebuilding the table after every trial digit, at a
// fraction of the cost. What makes it equal:
// - Level k always takes the k-th square that was empty at the start: the squares before it are
//   given or chosen, and deeper levels are emptied on the way back. So the choice needs no scan.
// - Before every trial, the board without the trial square has no dead square (the gate found
//   none, and a level is only entered or retried from such a board), so a dead square can only
//   be a peer of the trial square, and only a later one, since every earlier square is filled.
// - The row, column and block digits are kept in step with the board: a trial writes the trial
//   square's units as they were when its level was entered plus its digit, a back-up restores
//   them; deeper levels are always emptied first, so "as they were" is still exact.
class VisibleSearch {
public:
    VisibleSearch(Board& board, Candidates& candidates, EventPump& events)
        : board_(board), candidates_(candidates), events_(events), units_(board)
    {
        for (int s = 1; s <= kSquareCount; ++s)
            if (board[s].Digit == 0)
                emptySquares_[emptyCount_++] = static_cast<std::uint8_t>(s);
    }

    SearchResult run()
    {
        const SearchEnd end = search();
        leaveTableAsLastCounted();
        return {end, trials_};
    }

private:
    SearchEnd search()
    {
        while (true) {
            if (!choose())
                return SearchEnd::Solved;
            while (true) {
                const int square = SquareStack[depth_];
                const int t = smallestDigit(CandidateStack[depth_]);
                board_.SetSquare(square, t, false, kWhite);
                ++trials_;
                if (events_.processEventsOnce())
                    return SearchEnd::Cancelled;
                CandidateStack[depth_] &= static_cast<DigitSet>(~(1u << t));
                TriedDigit[depth_] = static_cast<std::uint8_t>(t);
                units_.setAround(square, withDigit(EnteredUnits[depth_], t));
                if (markDeadLaterPeers(square) < 1)
                    break;
                if (!backUp())
                    return SearchEnd::NoSolution;
            }
        }
    }

    // Takes the next square that was empty at the start; false when there is none (the grid is
    // full). Every empty square has a candidate here, so the next one is the first with any.
    bool choose()
    {
        if (depth_ == emptyCount_)
            return false;
        const int square = emptySquares_[depth_];
        ++depth_;
        SquareStack[depth_] = static_cast<std::uint8_t>(square);
        CandidateStack[depth_] = units_.freeDigits(square);
        EnteredUnits[depth_] = units_.around(square);
        return true;
    }

    // The dead-square count after a trial at the square, with the marks it makes.
    int markDeadLaterPeers(int square)
    {
        countedDepth_ = depth_;
        int count = 0;
        const LaterPeers& peers = kLaterPeers[square];
        for (int i = 0; i < peers.count; ++i) {
            const int peer = peers.squares[i];
            if (board_[peer].Digit == 0 && units_.freeDigits(peer) == 0) {
                board_.SetSquare(peer, 0, false, kYellow);
                ++count;
            }
        }
        return count;
    }

    // Empties exhausted levels; false when the first level is exhausted too.
    bool backUp()
    {
        while (CandidateStack[depth_] == 0) {
            const int square = SquareStack[depth_];
            board_.SetSquare(square, 0, false, kWhite);
            units_.setAround(square, EnteredUnits[depth_]);
            if (--depth_ == 0)
                return false;
        }
        return true;
    }

    // The table is left as the last dead-square count would have rebuilt it: from the board as
    // it stood then, which the levels up to that depth and their last tried digits give back.
    void leaveTableAsLastCounted()
    {
        Board counted = board_;
        counted.setObserver(nullptr);
        for (int level = 1; level <= emptyCount_; ++level)
            counted.SetSquare(emptySquares_[level - 1], level <= countedDepth_ ? TriedDigit[level] : 0,
                              false, kWhite);
        candidates_.UpdateCandidates(counted);
    }

    Board& board_;
    Candidates& candidates_;
    EventPump& events_;
    UnitDigits units_;
    std::array<std::uint8_t, kSquareCount> emptySquares_{};
    int emptyCount_ = 0;
    std::array<std::uint8_t, kSquareCount + 1> SquareStack{};
    std::array<DigitSet, kSquareCount + 1> CandidateStack{};
    // Per level: the last digit tried, and the square's units when the level was entered.
    std::array<std::uint8_t, kSquareCount + 1> TriedDigit{};
    std::array<SquareUnits, kSquareCount + 1> EnteredUnits{};
    int depth_ = 0;
    int countedDepth_ = 0; // the depth of the last dead-square count; 0 = the gate's
    long long trials_ = 0;
};
} // namespace

SearchResult LastAttempt(Board& board, Candidates& candidates, SearchHost& host)
{
    if (CheckBeforeSearch(board, candidates, host.prompter))
        return {};
    host.wait.ShowWait(true);
    const SearchResult result = VisibleSearch(board, candidates, host.events).run();
    host.wait.unloadWait();
    host.prompter.ask(information(kFinishedMyWork));
    return result;
}

} // namespace kavrin

// Following one assumption through a copy of the pencil marks: what it forces, why, and whether
// it ends in a contradiction. The forcing finders compare the branches it produces.
//
// A fact is "square s is d" (on) or "d is not in s" (off). Each fact reached is an event that
// names the events it follows from, so a branch can be written out or counted.
#pragma once

#include "grading/pencilmarks.h"
#include "model/candidates.h"
#include "model/geometry.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavrin {

// How far a branch looks. Static: a single that one elimination makes (a square or a house
// left with one of its two places). Dynamic: singles from every elimination made so far.
// Net: those and locked candidates (a digit confined to one line of a block, or one block of
// a line).
enum class Reach : std::uint8_t { Static, Dynamic, Net };

struct Fact {
    std::uint8_t square = 0;
    std::uint8_t digit = 0;
    bool on = false;
    friend bool operator==(Fact, Fact) = default;
};

// "row 6", "column 2", "block 9".
std::string houseName(int house);

// "r4c1=7" or "r4c1≠7".
std::string factText(Fact fact);

class Branch {
public:
    // Nesting above 0 also takes out, whenever the branch settles, every candidate that a
    // branch one level lower finds a contradiction for.
    // Without reasons a branch is faster but cannot count or write out its implications.
    Branch(Reach reach, int nesting, bool keepReasons = true);

    // The position every later assumption starts from; false when it is already broken.
    bool start(const Pencilmarks& marks);
    // False when the assumption leads to a contradiction. Facts deeper than the limit are not
    // followed further, for a search that already knows a shallower contradiction.
    bool follow(Fact assumption, int deepest = 255);

    bool reached(Fact fact) const;
    const std::array<DigitMask, 81>& candidates() const { return candidates_; }
    bool placedAt(int square) const { return placed_.test(static_cast<std::size_t>(square)); }
    // Calls visit(fact, depth) for every fact reached, in the order reached; the depth is how
    // many steps from the assumption it lies, at most 255.
    template <typename Visit>
    void forEachFact(const Visit& visit) const
    {
        for (const Event& event : events_)
            visit(event.fact, int{event.depth});
    }
    int contradictionDepth() const { return contradiction_.depth; }
    // The implications a fact (or the contradiction) needs, the assumption not counted.
    int implicationsTo(Fact fact);
    int implicationsToContradiction();
    // The facts from the assumption to this one, when each followed from a single fact alone
    // and nothing was nested; empty otherwise.
    std::vector<Fact> chainTo(Fact fact) const;
    // One chain for each fact the contradiction rests on; empty unless all are plain.
    std::vector<std::vector<Fact>> chainsToContradiction() const;
    // "row 6 has no place for 5", "r3c4 has no digit left", "r3c4 is 5 and not 5".
    std::string contradictionText() const;
    int nesting() const { return nesting_; }

private:
    struct Event {
        Fact fact;
        std::uint8_t depth = 0;
        std::uint16_t firstCause = 0;
        std::uint16_t causeCount = 0;
        std::uint16_t nestedWeight = 0; // the lower branch's events, for a nested elimination
    };
    enum class Broken : std::uint8_t { No, EmptySquare, NoPlace, OnAndOff, TwoDigits };
    struct Contradiction {
        Broken kind = Broken::No;
        int square = 0, house = 0, digit = 0;
        std::uint16_t firstCause = 0, causeCount = 0;
        int depth = 0;
    };
    using Causes = std::array<std::int16_t, 10>;

    void startFrom(const Branch& outer);
    void reset();
    void run(int deepest);
    bool testNested();
    void process(int event);
    void processOn(int event, Fact fact);
    void processOff(int event, Fact fact);
    void checkHouse(int event, int house, int digit);
    void lockDigit(int house, int digit, PlaceMask places);
    int record(Fact fact, const Causes& causes, int count, int nestedWeight = 0);
    void assertOn(int square, int digit, const Causes& causes, int count);
    void assertOff(int square, int digit, const Causes& causes, int count, int nestedWeight = 0);
    void contradict(Broken kind, int square, int house, int digit, const Causes& causes, int count);
    int offEvents(int square, DigitMask digits, Causes& causes, int count) const;
    int placeEvents(int house, int digit, PlaceMask except, Causes& causes, int count) const;
    int ancestors(const std::uint16_t* first, int count);
    std::vector<Fact> chainFrom(int event) const;
    bool broken() const { return contradiction_.kind != Broken::No; }

    Reach reach_;
    int nesting_;
    bool keepReasons_;
    std::array<DigitMask, 81> base_{}, candidates_{};
    std::bitset<81> basePlaced_, placed_;
    std::array<std::uint8_t, 81> baseDigit_{}, digit_{};
    std::array<std::array<PlaceMask, 10>, kHouseCount> basePlaces_{}, places_{}; // [house][digit]
    std::array<std::int16_t, std::size_t{81} * 10> offEvent_{};
    std::array<std::int16_t, 81> onEvent_{};
    std::vector<Event> events_;
    std::vector<std::uint16_t> causes_;
    std::vector<std::uint32_t> seen_;
    std::uint32_t stamp_ = 0;
    int processing_ = 0; // the depth of the event being processed
    int cursor_ = 0; // the next candidate a nested round tests, square * 9 + digit - 1
    Contradiction contradiction_;
    std::unique_ptr<Branch> inner_;
};

} // namespace kavrin

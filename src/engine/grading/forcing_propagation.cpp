// The propagation of one assumption, breadth first, so that each fact is reached by one of its
// shortest routes.
#include "grading/forcing_propagation.h"

#include "grading/finding.h"
#include "model/geometry.h"
#include "model/square.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace kavrin {

namespace {

constexpr DigitMask bitOf(int digit)
{
    return static_cast<DigitMask>(1u << digit);
}

constexpr bool hasOne(unsigned mask)
{
    return mask != 0 && (mask & (mask - 1)) == 0;
}

constexpr bool hasTwo(unsigned mask)
{
    return mask != 0 && hasOne(mask & (mask - 1));
}

constexpr int kDeepest = 255;

int squareOf(int house, int k)
{
    return kGeometry.houses[static_cast<std::size_t>(house)][static_cast<std::size_t>(k)];
}

bool isBlock(int house)
{
    return house >= 18;
}

bool inHouse(int square, int house)
{
    return kGeometry.housesOf[static_cast<std::size_t>(square)][static_cast<std::size_t>(house / 9)] == house;
}

// Where a square stands in its row, its column and its block.
constexpr std::array<std::array<std::uint8_t, 3>, 81> kPlaceInHouse = [] {
    std::array<std::array<std::uint8_t, 3>, 81> place{};
    for (int s = 0; s < 81; ++s)
        place[static_cast<std::size_t>(s)] = {static_cast<std::uint8_t>(columnOf(s)), static_cast<std::uint8_t>(rowOf(s)),
                                              static_cast<std::uint8_t>(placeInBlock(s))};
    return place;
}();

std::size_t at(int square, int digit)
{
    return static_cast<std::size_t>(square) * 10 + static_cast<std::size_t>(digit);
}

} // namespace

std::string houseName(int house)
{
    static constexpr const char* kKinds[] = {"row ", "column ", "block "};
    return kKinds[house / 9] + std::to_string(house % 9 + 1);
}

std::string factText(Fact fact)
{
    return squareName(fact.square) + (fact.on ? "=" : "≠") + std::to_string(fact.digit);
}

Branch::Branch(Reach reach, int nesting, bool keepReasons)
    : reach_(reach), nesting_(nesting), keepReasons_(keepReasons)
{
    events_.reserve(1024);
    causes_.reserve(8192);
    if (nesting > 0)
        inner_ = std::make_unique<Branch>(Reach::Net, nesting - 1, false);
}

bool Branch::start(const Pencilmarks& marks)
{
    basePlaced_.reset();
    for (int s = 0; s < 81; ++s) {
        const auto i = static_cast<std::size_t>(s);
        baseDigit_[i] = marks.digits[i];
        base_[i] = marks.digits[i] != 0 ? bitOf(marks.digits[i]) : marks.candidates[i];
        basePlaced_.set(i, marks.digits[i] != 0);
        if (base_[i] == 0)
            return false;
    }
    basePlaces_ = {};
    for (int house = 0; house < kHouseCount; ++house)
        for (int k = 0; k < 9; ++k)
            for (DigitMask rest = base_[static_cast<std::size_t>(squareOf(house, k))]; rest != 0; rest &= rest - 1)
                basePlaces_[static_cast<std::size_t>(house)][static_cast<std::size_t>(std::countr_zero(rest))] |=
                    static_cast<PlaceMask>(1u << k);
    for (const auto& house : basePlaces_)
        if (std::find(house.begin() + 1, house.end(), PlaceMask{0}) != house.end())
            return false;
    reset();
    return true;
}

void Branch::startFrom(const Branch& outer)
{
    base_ = outer.candidates_;
    basePlaced_ = outer.placed_;
    baseDigit_ = outer.digit_;
    basePlaces_ = outer.places_;
}

void Branch::reset()
{
    candidates_ = base_;
    placed_ = basePlaced_;
    digit_ = baseDigit_;
    places_ = basePlaces_;
    if (keepReasons_) {
        offEvent_.fill(-1);
        onEvent_.fill(-1);
    }
    events_.clear();
    causes_.clear();
    contradiction_ = {};
    processing_ = 0;
    cursor_ = 0;
}

bool Branch::follow(Fact assumption, int deepest)
{
    reset();
    if (assumption.on)
        assertOn(assumption.square, assumption.digit, {}, 0);
    else
        assertOff(assumption.square, assumption.digit, {}, 0);
    run(deepest);
    return !broken();
}

void Branch::run(int deepest)
{
    std::size_t head = 0;
    for (;;) {
        while (head < events_.size() && !broken()) {
            processing_ = events_[head].depth;
            if (processing_ > deepest)
                return;
            process(static_cast<int>(head++));
        }
        if (broken() || nesting_ == 0 || !testNested())
            return;
    }
}

// Takes out the next candidate, from where the last search stopped, that a lower branch
// started from here breaks on; false when a whole round finds none.
bool Branch::testNested()
{
    constexpr int kSlots = 81 * 9;
    for (int tried = 0; tried < kSlots && !broken(); ++tried, cursor_ = (cursor_ + 1) % kSlots) {
        const int s = cursor_ / 9, d = cursor_ % 9 + 1;
        const DigitMask left = candidates_[static_cast<std::size_t>(s)];
        if (placed_.test(static_cast<std::size_t>(s)) || (left >> d & 1u) == 0 || hasOne(left))
            continue;
        inner_->startFrom(*this);
        if (inner_->follow({static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(d), true}))
            continue;
        assertOff(s, d, {}, 0, std::min<int>(static_cast<int>(inner_->events_.size()), 0xFFFF));
        cursor_ = (cursor_ + 1) % kSlots;
        return true;
    }
    return false;
}

void Branch::process(int event)
{
    const Fact fact = events_[static_cast<std::size_t>(event)].fact;
    if (fact.on)
        processOn(event, fact);
    else
        processOff(event, fact);
}

void Branch::processOn(int event, Fact fact)
{
    const Causes cause{static_cast<std::int16_t>(event)};
    const auto others = static_cast<DigitMask>(candidates_[fact.square] & ~bitOf(fact.digit));
    for (DigitMask rest = others; rest != 0 && !broken(); rest &= rest - 1)
        assertOff(fact.square, std::countr_zero(rest), cause, 1);
    for (const std::uint8_t peer : kGeometry.peers[fact.square]) {
        if (broken())
            return;
        if ((candidates_[peer] >> fact.digit & 1u) != 0)
            assertOff(peer, fact.digit, cause, 1);
    }
}

void Branch::processOff(int event, Fact fact)
{
    const DigitMask left = candidates_[fact.square];
    if (!placed_.test(fact.square) && hasOne(left)) {
        if (reach_ != Reach::Static) {
            Causes causes{};
            const int count = offEvents(fact.square, static_cast<DigitMask>(base_[fact.square] & ~left), causes, 0);
            assertOn(fact.square, std::countr_zero(left), causes, count);
        } else if (hasTwo(base_[fact.square])) {
            assertOn(fact.square, std::countr_zero(left), Causes{static_cast<std::int16_t>(event)}, 1);
        }
    }
    for (const std::uint8_t house : kGeometry.housesOf[fact.square])
        if (!broken())
            checkHouse(event, house, fact.digit);
}

void Branch::checkHouse(int event, int house, int digit)
{
    const PlaceMask places = places_[static_cast<std::size_t>(house)][static_cast<std::size_t>(digit)];
    if (places == 0) {
        Causes causes{};
        const int count = placeEvents(house, digit, 0, causes, 0);
        contradict(Broken::NoPlace, 0, house, digit, causes, count);
        return;
    }
    if (hasOne(places)) {
        const int square = squareOf(house, std::countr_zero(places));
        if (placed_.test(static_cast<std::size_t>(square)) && digit_[static_cast<std::size_t>(square)] == digit)
            return;
        if (reach_ != Reach::Static) {
            Causes causes{};
            const int count = placeEvents(house, digit, places, causes, 0);
            assertOn(square, digit, causes, count);
        } else if (hasTwo(basePlaces_[static_cast<std::size_t>(house)][static_cast<std::size_t>(digit)])) {
            assertOn(square, digit, Causes{static_cast<std::int16_t>(event)}, 1);
        }
        return;
    }
    if (reach_ == Reach::Net)
        lockDigit(house, digit, places);
}

// The digit's places in a block all in one line, or in a line all in one block: the rest of
// the other house cannot take it. In house order, a line's thirds are its blocks, and a
// block's thirds are its rows.
void Branch::lockDigit(int house, int digit, PlaceMask places)
{
    static constexpr std::array<PlaceMask, 3> kThirds = {0x007, 0x038, 0x1C0};
    static constexpr std::array<PlaceMask, 3> kBlockColumns = {0x049, 0x092, 0x124};
    const auto within = [&](const std::array<PlaceMask, 3>& parts) {
        return std::ranges::any_of(parts, [&](PlaceMask part) { return (places & ~part) == 0; });
    };
    const int first = squareOf(house, std::countr_zero(places));
    const auto& housesOfFirst = kGeometry.housesOf[static_cast<std::size_t>(first)];
    int other = -1;
    if (!isBlock(house))
        other = within(kThirds) ? housesOfFirst[2] : -1;
    else if (within(kThirds))
        other = housesOfFirst[0];
    else if (within(kBlockColumns))
        other = housesOfFirst[1];
    if (other < 0 || std::popcount(places_[static_cast<std::size_t>(other)][static_cast<std::size_t>(digit)]) ==
                         std::popcount(places))
        return;
    Causes causes{};
    const int count = placeEvents(house, digit, places, causes, 0);
    for (const std::uint8_t s : kGeometry.houses[static_cast<std::size_t>(other)])
        if (!broken() && !inHouse(s, house) && (candidates_[s] >> digit & 1u) != 0)
            assertOff(s, digit, causes, count);
}

int Branch::record(Fact fact, const Causes& causes, int count, int nestedWeight)
{
    Event event{fact};
    event.nestedWeight = static_cast<std::uint16_t>(nestedWeight);
    const auto index = static_cast<std::int16_t>(events_.size());
    event.depth = static_cast<std::uint8_t>(events_.empty() ? 0 : std::min(processing_ + 1, kDeepest));
    if (keepReasons_) {
        int depth = count == 0 && !events_.empty() ? events_.back().depth + 1 : 0;
        for (int i = 0; i < count; ++i)
            depth = std::max(depth, events_[static_cast<std::size_t>(causes[static_cast<std::size_t>(i)])].depth + 1);
        event.depth = static_cast<std::uint8_t>(std::min(depth, kDeepest));
        event.firstCause = static_cast<std::uint16_t>(causes_.size());
        event.causeCount = static_cast<std::uint16_t>(count);
        for (int i = 0; i < count; ++i)
            causes_.push_back(static_cast<std::uint16_t>(causes[static_cast<std::size_t>(i)]));
        (fact.on ? onEvent_[fact.square] : offEvent_[at(fact.square, fact.digit)]) = index;
    }
    events_.push_back(event);
    return index;
}

void Branch::assertOn(int square, int digit, const Causes& causes, int count)
{
    const auto s = static_cast<std::size_t>(square);
    Causes more = causes;
    if (placed_.test(s)) {
        if (digit_[s] != digit) {
            more[static_cast<std::size_t>(count)] = onEvent_[s];
            contradict(Broken::TwoDigits, square, 0, digit, more, keepReasons_ && onEvent_[s] >= 0 ? count + 1 : count);
        }
        return;
    }
    if ((candidates_[s] >> digit & 1u) == 0) {
        more[static_cast<std::size_t>(count)] = offEvent_[at(square, digit)];
        contradict(Broken::OnAndOff, square, 0, digit, more,
                   keepReasons_ && offEvent_[at(square, digit)] >= 0 ? count + 1 : count);
        return;
    }
    placed_.set(s);
    digit_[s] = static_cast<std::uint8_t>(digit);
    record({static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit), true}, causes, count);
}

void Branch::assertOff(int square, int digit, const Causes& causes, int count, int nestedWeight)
{
    const auto s = static_cast<std::size_t>(square);
    if ((candidates_[s] >> digit & 1u) == 0)
        return;
    if (placed_.test(s) && digit_[s] == digit) {
        Causes more = causes;
        more[static_cast<std::size_t>(count)] = onEvent_[s];
        contradict(Broken::OnAndOff, square, 0, digit, more, keepReasons_ && onEvent_[s] >= 0 ? count + 1 : count);
        return;
    }
    candidates_[s] &= static_cast<DigitMask>(~bitOf(digit));
    for (std::size_t kind = 0; kind < 3; ++kind)
        places_[kGeometry.housesOf[s][kind]][static_cast<std::size_t>(digit)] &=
            static_cast<PlaceMask>(~(1u << kPlaceInHouse[s][kind]));
    record({static_cast<std::uint8_t>(square), static_cast<std::uint8_t>(digit), false}, causes, count, nestedWeight);
    if (candidates_[s] == 0) {
        Causes emptied{};
        const int n = offEvents(square, base_[s], emptied, 0);
        contradict(Broken::EmptySquare, square, 0, digit, emptied, n);
    }
}

void Branch::contradict(Broken kind, int square, int house, int digit, const Causes& causes, int count)
{
    contradiction_ = {kind, square, house, digit, static_cast<std::uint16_t>(causes_.size()), 0, processing_ + 1};
    if (!keepReasons_)
        return;
    contradiction_.depth = 0;
    contradiction_.causeCount = static_cast<std::uint16_t>(count);
    for (int i = 0; i < count; ++i) {
        const auto cause = static_cast<std::size_t>(causes[static_cast<std::size_t>(i)]);
        causes_.push_back(static_cast<std::uint16_t>(cause));
        contradiction_.depth = std::max(contradiction_.depth, events_[cause].depth + 1);
    }
}

int Branch::offEvents(int square, DigitMask digits, Causes& causes, int count) const
{
    if (!keepReasons_)
        return count;
    for (DigitMask rest = digits; rest != 0; rest &= rest - 1)
        if (const std::int16_t e = offEvent_[at(square, std::countr_zero(rest))]; e >= 0)
            causes[static_cast<std::size_t>(count++)] = e;
    return count;
}

int Branch::placeEvents(int house, int digit, PlaceMask except, Causes& causes, int count) const
{
    if (!keepReasons_)
        return count;
    for (int k = 0; k < 9; ++k) {
        const int square = squareOf(house, k);
        if ((except >> k & 1u) == 0 && (base_[static_cast<std::size_t>(square)] >> digit & 1u) != 0)
            if (const std::int16_t e = offEvent_[at(square, digit)]; e >= 0)
                causes[static_cast<std::size_t>(count++)] = e;
    }
    return count;
}

bool Branch::reached(Fact fact) const
{
    const auto s = static_cast<std::size_t>(fact.square);
    if (fact.on)
        return placed_.test(s) && !basePlaced_.test(s) && digit_[s] == fact.digit;
    return (base_[s] >> fact.digit & 1u) != 0 && (candidates_[s] >> fact.digit & 1u) == 0;
}

int Branch::ancestors(const std::uint16_t* first, int count)
{
    seen_.resize(std::max(seen_.size(), events_.size()));
    ++stamp_;
    std::vector<std::uint16_t> pending(first, first + count);
    int total = 0;
    while (!pending.empty()) {
        const std::uint16_t e = pending.back();
        pending.pop_back();
        if (seen_[e] == stamp_)
            continue;
        seen_[e] = stamp_;
        const Event& event = events_[e];
        total += 1 + event.nestedWeight;
        pending.insert(pending.end(), causes_.begin() + event.firstCause,
                       causes_.begin() + event.firstCause + event.causeCount);
    }
    return total;
}

int Branch::implicationsTo(Fact fact)
{
    const std::int16_t e = fact.on ? onEvent_[fact.square] : offEvent_[at(fact.square, fact.digit)];
    if (e < 0)
        return 0;
    const auto index = static_cast<std::uint16_t>(e);
    return ancestors(&index, 1) - 1;
}

int Branch::implicationsToContradiction()
{
    return ancestors(causes_.data() + contradiction_.firstCause, contradiction_.causeCount);
}

std::vector<Fact> Branch::chainFrom(int event) const
{
    std::vector<Fact> chain;
    for (int e = event;;) {
        const Event& step = events_[static_cast<std::size_t>(e)];
        if (step.nestedWeight != 0)
            return {};
        chain.push_back(step.fact);
        if (step.causeCount == 0)
            break;
        if (step.causeCount != 1)
            return {};
        e = causes_[step.firstCause];
    }
    std::ranges::reverse(chain);
    return chain;
}

std::vector<Fact> Branch::chainTo(Fact fact) const
{
    const std::int16_t e = fact.on ? onEvent_[fact.square] : offEvent_[at(fact.square, fact.digit)];
    return e < 0 ? std::vector<Fact>{} : chainFrom(e);
}

std::vector<std::vector<Fact>> Branch::chainsToContradiction() const
{
    std::vector<std::vector<Fact>> chains;
    for (std::size_t i = 0; i < contradiction_.causeCount; ++i) {
        chains.push_back(chainFrom(causes_[contradiction_.firstCause + i]));
        if (chains.back().empty())
            return {};
    }
    return chains;
}

std::string Branch::contradictionText() const
{
    const Contradiction& c = contradiction_;
    const std::string digit = std::to_string(c.digit);
    switch (c.kind) {
    case Broken::EmptySquare:
        return squareName(c.square) + " has no digit left";
    case Broken::NoPlace:
        return houseName(c.house) + " has no place for " + digit;
    case Broken::OnAndOff:
        return squareName(c.square) + " is " + digit + " and not " + digit;
    case Broken::TwoDigits:
        return squareName(c.square) + " is both " + std::to_string(digit_[static_cast<std::size_t>(c.square)]) +
               " and " + digit;
    case Broken::No:
        break;
    }
    return {};
}

} // namespace kavrin

// The search for the heaviest payload a launcher carries to one orbit: a
// bracket that widens from a first guess until one mass completes and a
// heavier one does not, then halves until the two are one step apart. It
// decides which mass to fly next from the outcomes so far and never flies
// anything itself, so it is the same whether the flights run one at a time
// or many in parallel. It assumes that completing is monotonic in the mass
// (every payload lighter than one that completes completes too) and says
// when its own flights contradict that.
#pragma once

#include <optional>

namespace tarviksim {

// Whether a bracket [completes, fails] is narrow enough: the heaviest
// completing mass and the lightest failing one at most `resolution` apart.
bool bracketSettled(double completes, double fails, double resolution);

struct SearchLimits {
    double resolution = 50;  // kg: the grid the masses are flown on, and the end condition
    double lightest = 50;    // kg: nothing lighter is flown; failing here means no capacity
    double heaviest = 30000; // kg: nothing heavier is flown (the pitch tables' limit, or a plain bound)
    double guess = 5000;     // kg: the first mass flown
    double step = 400;       // kg: the first widening of the bracket; it doubles each time
};

class CapacitySearch {
public:
    explicit CapacitySearch(const SearchLimits& limits);

    // The mass to fly next, or none once the search is over.
    std::optional<double> next() const;
    // The outcome of a flight with `mass`.
    void record(double mass, bool completes);

    bool done() const { return !next(); }
    // The heaviest mass flown that completed (none: not even the lightest).
    std::optional<double> capacity() const { return completes_; }
    // The lightest mass flown that did not complete (none: not even the heaviest failed).
    std::optional<double> lightestFailing() const { return fails_; }
    // The heaviest allowed mass completed: the capacity is at least that.
    bool atHeaviest() const;
    // A mass completed above one that failed: completing is not monotonic here.
    bool contradicted() const { return contradicted_; }
    int flights() const { return flights_; }

private:
    double onGrid(double mass) const;

    SearchLimits limits_;
    std::optional<double> completes_, fails_;
    double widenUp_, widenDown_;
    bool contradicted_ = false;
    int flights_ = 0;
};

}  // namespace tarviksim

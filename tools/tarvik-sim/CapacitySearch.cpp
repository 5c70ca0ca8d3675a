#include "CapacitySearch.h"

#include <algorithm>
#include <cmath>

namespace tarviksim {

bool bracketSettled(double completes, double fails, double resolution) {
    // A hair of slack: masses on the grid are sums of rounded numbers.
    return fails - completes <= resolution * (1 + 1e-9);
}

CapacitySearch::CapacitySearch(const SearchLimits& limits)
    : limits_(limits), widenUp_(limits.step), widenDown_(limits.step) {}

double CapacitySearch::onGrid(double mass) const {
    const double r = limits_.resolution;
    const double m = std::round(mass / r) * r;
    return std::clamp(m, limits_.lightest, limits_.heaviest);
}

std::optional<double> CapacitySearch::next() const {
    if (completes_ && fails_) {
        if (bracketSettled(*completes_, *fails_, limits_.resolution))
            return std::nullopt;
        double mid = onGrid((*completes_ + *fails_) / 2);
        if (mid <= *completes_)
            mid = *completes_ + limits_.resolution;
        if (mid >= *fails_)
            return std::nullopt;
        return mid;
    }
    if (completes_) {
        if (*completes_ >= limits_.heaviest)
            return std::nullopt;
        return std::max(onGrid(*completes_ + widenUp_), std::min(*completes_ + limits_.resolution, limits_.heaviest));
    }
    if (fails_) {
        if (*fails_ <= limits_.lightest)
            return std::nullopt;
        return std::min(onGrid(*fails_ - widenDown_), std::max(*fails_ - limits_.resolution, limits_.lightest));
    }
    return onGrid(limits_.guess);
}

void CapacitySearch::record(double mass, bool completes) {
    ++flights_;
    if (completes) {
        if (fails_ && mass >= *fails_) {
            // Heavier than a payload that failed, yet complete: the lighter
            // failure stands, and the search stays below it.
            contradicted_ = true;
            return;
        }
        if (!fails_ && completes_)
            widenUp_ *= 2;
        completes_ = std::max(completes_.value_or(mass), mass);
        return;
    }
    if (completes_ && mass <= *completes_) {
        // Lighter than a payload that completed, yet failed: what completed
        // above it is no capacity a user can rely on.
        contradicted_ = true;
        completes_.reset();
    }
    if (!completes_ && fails_)
        widenDown_ *= 2;
    fails_ = std::min(fails_.value_or(mass), mass);
}

bool CapacitySearch::atHeaviest() const {
    return completes_ && *completes_ >= limits_.heaviest;
}

}  // namespace tarviksim

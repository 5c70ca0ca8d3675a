#include "OnScreen.h"

namespace tarviksim {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

bool shownOnScreen(const host::Simulation& sim, std::string_view text) {
    for (const auto& a : sim.annotations()) {
        const std::string& t = a->text;
        size_t first = 0, end = t.size();
        while (first < end && blank(t[first]))
            ++first;
        while (end > first && blank(t[end - 1]))
            --end;
        if (first < end && t.compare(first, end - first, text) == 0)
            return true;
    }
    return false;
}

}  // namespace tarviksim

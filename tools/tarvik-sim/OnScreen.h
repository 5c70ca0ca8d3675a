// What a script's waitfor sees: a text on screen in one of the annotations.
#pragma once

#include <string_view>

#include "sim/Simulation.h"

namespace tarviksim {

// Is `text` on screen? Blanks around an annotation's text do not count: a
// script's text cannot carry them. Asked every step while a script waits.
bool shownOnScreen(const host::Simulation& sim, std::string_view text);

}  // namespace tarviksim

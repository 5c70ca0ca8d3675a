// Numbers in the dialogs' edit fields, written and read as a pilot sees them.
#pragma once

#include "Orbitersdk.h"

namespace medium {

// Writes `value` into the control in `format` ("%0.2f", ...).
void setNumber(HWND dialog, int id, const char* format, double value);

// The finite number at the start of the control's first `maxChars`
// characters, or false (the value left as it was) when it holds none.
bool readNumber(HWND dialog, int id, double& value, int maxChars = 63);

}  // namespace medium

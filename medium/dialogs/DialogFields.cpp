#include "DialogFields.h"

#include <cmath>
#include <cstdio>

namespace medium {

void setNumber(HWND dialog, int id, const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetDlgItemTextA(dialog, id, text);
}

bool readNumber(HWND dialog, int id, double& value, int maxChars) {
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, maxChars + 1);
    double v = 0;
    if (std::sscanf(text, "%lf", &v) != 1 || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

}  // namespace medium

#include "DialogFields.h"

#include <cmath>
#include <cstdio>

#include "FixedText.h"

namespace medium {
namespace {

// The decimals of a fixed-point format: "%0.2f" 2, "%0.0f" 0, "%lf" and "%f"
// 6; -1 for any other format.
int fixedDecimals(const char* format) {
    if (format[0] != '%')
        return -1;
    const char* p = format + 1;
    if (*p == '0')
        ++p;
    int decimals = 6;
    if (*p == '.') {
        ++p;
        if (*p < '0' || *p > '9')
            return -1;
        decimals = 0;
        while (*p >= '0' && *p <= '9')
            decimals = decimals * 10 + (*p++ - '0');
    }
    if (*p == 'l')
        ++p;
    return p[0] == 'f' && p[1] == '\0' && decimals <= tarvik::kMaxFixedDecimals ? decimals : -1;
}

}  // namespace

void setNumber(HWND dialog, int id, const char* format, double value) {
    // The read-outs are written every step: fixed-point text without printf.
    char text[64];
    if (const int decimals = fixedDecimals(format); decimals >= 0)
        tarvik::fixedText(text, value, decimals);
    else
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

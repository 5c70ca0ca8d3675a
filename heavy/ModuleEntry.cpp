// The module's entry points: the host asks it for launcher objects and for
// its build date.
#include <cstdio>
#include <cstring>

#include "HeavyLauncher.h"

namespace {

const char kBuildDate[] = __DATE__;  // "Mmm dd yyyy"

// "Mmm dd yyyy" as the number yyyymmdd; 0 when the text is no such date.
int dateNumber(const char* date) {
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    char month[4] = {};
    int day = 0, year = 0;
    if (std::sscanf(date, "%3s %d %d", month, &day, &year) != 3)
        return 0;
    const char* found = std::strstr(kMonths, month);
    if (!found || (found - kMonths) % 3 != 0)
        return 0;
    return year * 10000 + static_cast<int>((found - kMonths) / 3 + 1) * 100 + day;
}

}  // namespace

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    return new heavy::HeavyLauncher(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    delete static_cast<heavy::HeavyLauncher*>(vessel);
}

DLLCLBK const char* ModuleDate() {
    return kBuildDate;
}

DLLCLBK int GetModuleVersion() {
    static const int version = dateNumber(ModuleDate());
    return version;
}

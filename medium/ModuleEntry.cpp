// The entry points the simulator looks up by name in the module.
#include <cstdio>
#include <cstring>
#include <new>

#include "MediumLauncher.h"
#include "ModuleState.h"

using namespace medium;

namespace {

// "Aug 30 2010" -> 20100830.
int dateToInt(const char* date) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char month[4] = {};
    int day = 0, year = 0;
    if (std::sscanf(date, "%3s %d %d", month, &day, &year) != 3)
        return 0;
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, months[m]) == 0)
            return year * 10000 + (m + 1) * 100 + day;
    return 0;
}

}  // namespace

DLLCLBK void InitModule(HINSTANCE hModule) {
    moduleInstance = hModule;
}

DLLCLBK void ExitModule(HINSTANCE hModule) {}  // the module registers nothing to take back

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    return new (std::nothrow) MediumLauncher(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    auto* launcher = static_cast<MediumLauncher*>(vessel);
    if (launcher)
        launcher->closeDialogs();  // none acts on a launcher that is gone
    delete launcher;
}

// The launcher keeps no module-level scenario state.
DLLCLBK void opcSaveState(FILEHANDLE scn) {}
DLLCLBK void opcLoadState(FILEHANDLE scn) {}

DLLCLBK const char* ModuleDate() {
    return "Jan 13 2012";
}

DLLCLBK int GetModuleVersion() {
    static int version = 0;
    if (!version)
        version = dateToInt("Aug 30 2010");
    return version;
}

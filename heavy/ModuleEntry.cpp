// The module's entry points: the host asks it for launcher objects and for
// its build date.
#include "HeavyLauncher.h"

namespace {

const char kBuildDate[] = __DATE__;  // "Mmm dd yyyy"

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
    static const int version = Date2Int(ModuleDate());
    return version;
}

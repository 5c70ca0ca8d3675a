// The plug-in's entry points and the state it keeps once per module.
#include "LaunchSite.h"

namespace sites {

PadState pad;

}  // namespace sites

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    return new sites::LaunchSite(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    delete static_cast<sites::LaunchSite*>(vessel);
}

DLLCLBK const char* ModuleDate() {
    return sites::site.moduleDate;
}

// The simulator's standard version export: the build date as a number.
DLLCLBK int GetModuleVersion() {
    static const int version = Date2Int(ModuleDate());
    return version;
}

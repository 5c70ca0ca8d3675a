// How the pad knows its launcher: the focus request a launcher sends by giving
// the input focus to the pad, and the search that finds the launcher standing
// near the pad and then follows it by name.
#include <climits>
#include <cmath>
#include <cstring>

#include "LaunchSite.h"

namespace sites {

namespace {

// The vessel of that name, looked up afresh: a handle kept from an earlier
// step may name a vessel that has since been deleted or re-created.
OBJHANDLE vesselNamed(char* name) {
    if (name[0] == '\0')
        return nullptr;
    OBJHANDLE v = oapiGetObjectByName(name);
    return v && oapiIsVessel(v) ? v : nullptr;
}

}  // namespace

// A launcher asks the pad to toggle its service structures by handing the
// input focus to the pad vessel. The pad answers once per arrival of the focus:
// real time, structures toggled, a fresh search, and focus straight back to the
// launcher it follows or, with none to be found, to the vessel that had it, so
// that the next request arrives as a new one. Only when no vessel had the
// focus does it stay here, and the request is not answered again until the
// focus has left and come back.
void LaunchSite::answerFocusRequest() {
    char focusName[25] = "";
    OBJHANDLE focus = oapiGetFocusObject();
    if (focus)
        oapiGetObjectName(focus, focusName, 25);
    const bool focusHere = std::strcmp(focusName, site.signalName) == 0;
    const bool arrived = focusHere && !focusWasHere;
    focusWasHere = focusHere;
    if (!arrived)
        return;

    oapiSetTimeAcceleration(1);
    pad.towerHome = pad.towerHome > 0 ? 0.0 : 1.0;
    pad.scanIndex = 0;
    searchState = Rescan;

    OBJHANDLE back = pad.trackedHandle ? vesselNamed(pad.trackedName) : nullptr;
    if (!back && std::strcmp(focusCameFrom, site.signalName) != 0)
        back = vesselNamed(focusCameFrom);
    if (!back)
        return;
    oapiSetFocusObject(back);
    focusWasHere = oapiGetFocusObject() == focus;
}

void LaunchSite::clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel) {
    if (!getfocus)
        return;
    focusCameFrom[0] = '\0';
    if (hOldVessel)
        oapiGetObjectName(hOldVessel, focusCameFrom, sizeof focusCameFrom);
}

void LaunchSite::searchStep() {
    if (searchState == Searching || searchState == Rescan)
        examineNextVessel();
    if (searchState == Tracking || searchState == RescanFound)
        followLauncher();
}

bool LaunchSite::isExcludedName(const char* name) const {
    for (const char* excluded : site.notLaunchers)
        if (std::strcmp(name, excluded) == 0)
            return true;
    return false;
}

// One candidate per step, by vessel index, round the vessel list again and
// again until a launcher is found: one that appears later (re-created by its
// configuration dialog, say) is found by itself.
void LaunchSite::examineNextVessel() {
    OBJHANDLE originHandle = oapiGetObjectByName(const_cast<char*>(site.referenceName));
    if (!originHandle || !oapiIsVessel(originHandle))
        return;
    VESSEL* origin = oapiGetVesselInterface(originHandle);

    if (pad.scanIndex < 0 || pad.scanIndex >= static_cast<int>(oapiGetVesselCount()))
        pad.scanIndex = 0;
    if (pad.scanIndex < static_cast<int>(oapiGetVesselCount())) {
        OBJHANDLE candidate = oapiGetVesselByIndex(pad.scanIndex);
        if (candidate && oapiIsVessel(candidate)) {
            VECTOR3 rel;
            origin->GetRelativePos(candidate, rel);
            // An axis-aligned box in the global frame, not in the pad's own axes.
            const double w = site.searchHalfWidth;
            if (std::fabs(rel.x) < w && std::fabs(rel.y) < w && std::fabs(rel.z) < w) {
                oapiGetObjectName(candidate, pad.nameBuffer, 25);
                if (!isExcludedName(pad.nameBuffer)) {
                    if (searchState == Searching)
                        searchState = Tracking;
                    if (searchState == Rescan)
                        searchState = RescanFound;
                }
            }
        }
    }
    if (pad.scanIndex < INT_MAX)
        ++pad.scanIndex;
}

// Reads what the pad reacts to: main-engine ignition, the first movement below
// 200 m/s, airspeed and altitude. A launcher that no longer answers to its name
// sends the pad back to searching; what it saw stays as it was.
void LaunchSite::followLauncher() {
    pad.scanIndex = 0;
    OBJHANDLE handle = oapiGetObjectByName(pad.nameBuffer);
    if (!handle || !oapiIsVessel(handle)) {
        searchState = Searching;
        return;
    }
    VESSEL* launcher = oapiGetVesselInterface(handle);

    pad.trackedAirspeed = launcher->GetAirspeed();
    if (launcher->GetThrusterGroupLevel(THGROUP_MAIN) > 0 && pad.ignitionSeen == 0)
        pad.ignitionSeen = 1.0;
    if (launcher->GetAirspeed() > 0 && pad.liftoffSeen == 0 && pad.trackedAirspeed < 200)
        pad.liftoffSeen = 1.0;
    oapiGetAltitude(launcher->GetHandle(), &pad.trackedAltitude);
    std::memcpy(pad.trackedName, pad.nameBuffer, sizeof pad.trackedName);
    pad.trackedHandle = launcher->GetHandle();

    if (searchState == RescanFound) {
        pad.scanIndex = 0;
        searchState = Tracking;
    }
}

}  // namespace sites

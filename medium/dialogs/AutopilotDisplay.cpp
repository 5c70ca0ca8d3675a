// What the pre-step writes into the autopilot dialog while the autopilot is
// on: the read-outs, the heading strip, the pitch, thrust and fuel gauge, the
// status pictures, the list of orbits to copy, and the inputs locked once
// the launcher has left the pad. It runs with the dialog hidden too, except
// the half-second read-outs.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "../GuidanceRules.h"
#include "../MediumLauncher.h"
#include "ControlCanvas.h"
#include "DialogFields.h"
#include "ResourceIds.h"

namespace medium {
namespace {

constexpr int kInputs[] = {ids::kAscendingNode,    ids::kDescendingNode, ids::kAzimuthStore, ids::kTargetAltitude,
                           ids::kTargetInclination, ids::kAzimuthTrim,    ids::kLaunch,       ids::kOrbitList};

// Vessels in an orbit around the Earth above 300 km, whose orbit the pilot may copy.
void fillOrbitList(HWND dialog, LauncherState& s) {
    HWND list = GetDlgItem(dialog, ids::kOrbitList);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);  // a dialog shown again lists each vessel once
    for (DWORD i = 0; i < oapiGetVesselCount(); ++i) {
        OBJHANDLE h = oapiGetVesselByIndex(static_cast<int>(i));
        if (!oapiIsVessel(h))
            continue;
        VESSEL* v = oapiGetVesselInterface(h);
        char body[64] = {};
        oapiGetObjectName(v->GetGravityRef(), body, sizeof body);
        if (std::strcmp(body, "Earth") != 0 || !rules::offeredForOrbitCopy(v->GetAltitude()))
            continue;
        char name[64] = {};
        oapiGetObjectName(h, name, sizeof name);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    s.orbitListBuilt = 1.0;
}

// The orbit of the vessel picked in the list becomes the target, once per pick.
void copyPickedOrbit(HWND dialog, LauncherState& s) {
    char picked[64] = {};
    HWND list = GetDlgItem(dialog, ids::kOrbitList);
    const LRESULT selection = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selection != CB_ERR)
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(picked));
    if (std::strcmp(picked, s.lastCopiedName) == 0)
        return;
    OBJHANDLE h = oapiGetVesselByName(picked);
    if (!h)
        return;
    VESSEL* v = oapiGetVesselInterface(h);
    ELEMENTS el;
    v->GetElements(v->GetGravityRef(), el, nullptr, 0, FRAME_EQU);
    setNumber(dialog, ids::kTargetAltitude, "%0.0f", v->GetAltitude() / 1000);
    setNumber(dialog, ids::kTargetInclination, "%0.2f", el.i * DEG);
    std::snprintf(s.lastCopiedName, sizeof s.lastCopiedName, "%s", picked);
}

// The strip, its window and the heading text make the whole picture: a
// heading that changes in a far decimal leaves all three, and the picture,
// as they are.
void drawHeading(HWND dialog, LauncherState& s) {
    if (s.currentHeading == s.lastDrawnHeading)
        return;
    s.lastDrawnHeading = s.currentHeading;
    const bool onHeading =
        (s.currentHeading > s.launchAzimuth - 0.009 && s.currentHeading < s.launchAzimuth + 0.009) ||
        s.ascentPhase > 2;
    const int strip = onHeading ? ids::kHeadingStripOn : ids::kHeadingStripOff;
    const int offset = static_cast<int>(s.currentHeading * 4 + 26);
    if (strip == s.drawnHeadingStrip && offset == s.drawnHeadingOffset &&
        std::strcmp(s.headingText, s.drawnHeadingText) == 0)
        return;
    ControlCanvas canvas(dialog, ids::kHeadingPicture);
    canvas.draw(strip, 0, 0, 96, 49, offset, 0);
    canvas.draw(ids::kHeadingOverlay, 0, 0, 96, 49, 0, 0, SRCPAINT);
    canvas.text(0, 0, s.headingText, RGB(0, 255, 0));
    s.drawnHeadingStrip = strip;
    s.drawnHeadingOffset = offset;
    std::memcpy(s.drawnHeadingText, s.headingText, sizeof s.drawnHeadingText);
}

// A status picture, drawn again only when it would show another image.
void showStatus(HWND dialog, LauncherState& s, int slot, int controlId, int bitmapId, int w, int h) {
    if (s.drawnStatusImage[slot] == bitmapId)
        return;
    showImage(dialog, controlId, bitmapId, w, h);
    s.drawnStatusImage[slot] = bitmapId;
}

// The pitch tape and the fuel column, each drawn again when it has moved;
// the picture is not asked for when neither has.
void drawGauge(HWND dialog, LauncherState& s, double pitch, double fuel, double maxFuel) {
    const bool pitchMoved = std::fabs(pitch - s.lastDrawnPitch) > 1 || s.dialogRepainted;
    const int top = rules::fuelColumnTop(fuel, maxFuel);
    const bool fuelMoved = top != s.drawnFuelTop || s.dialogRepainted;
    if (!pitchMoved && !fuelMoved)
        return;
    ControlCanvas canvas(dialog, ids::kGaugePicture);
    if (pitchMoved) {
        canvas.draw(ids::kPitchTape, 0, 0, 45, 180, 0, rules::pitchTapeRow(pitch));
        canvas.draw(ids::kPitchMarker, 0, 89, 45, 3);
        s.lastDrawnPitch = pitch;
    }
    if (fuelMoved) {
        canvas.draw(ids::kFuelColumnEmpty, 93, 0, 21, top);
        canvas.draw(ids::kFuelColumn, 93, top, 21, 180 - top, 0, top);
        s.drawnFuelTop = top;
    }
}

}  // namespace

void MediumLauncher::refreshAutopilotDialog(HWND dialog) {
    if (firstStepState == 1) {
        CheckDlgButton(dialog, ids::kAscendingNode, BST_CHECKED);
        firstStepState = 2;
    }
    setNumber(dialog, ids::kPayloadWeight, "%0.2f", payloadMass);
    if (orbitListBuilt == 0.0)
        fillOrbitList(dialog, *this);
    if (missionTime < 0.1)
        copyPickedOrbit(dialog, *this);

    if (planeChangeState == 1 || planeChangeState == 2)
        showStatus(dialog, *this, 0, ids::kPlaneChangePicture, ids::kPlaneChangeImage, 96, 19);
    if (planeChangeState == 3)
        showStatus(dialog, *this, 0, ids::kPlaneChangePicture, ids::kPlaneChangeDoneImage, 96, 19);
    if (separationShown == 1)
        showStatus(dialog, *this, 1, ids::kSeparationPicture, ids::kSeparationImage, 96, 19);
    if (cutoffShown == 1)
        showStatus(dialog, *this, 2, ids::kCutoffPicture, ids::kCutoffImage, 96, 19);
    drawHeading(dialog, *this);
    if (ascentPhase == 5)
        showStatus(dialog, *this, 3, ids::kCompletionPicture, ids::kCompleteImage, 111, 22);

    PROPELLANT_HANDLE tank = oapiGetPropellantHandle(GetHandle(), 0);
    drawGauge(dialog, *this, currentPitch, oapiGetPropellantMass(tank),
              oapiGetPropellantMaxMass(tank));

    if (autopilotMode == 1 && missionTime > nextTextRefresh) {
        setNumber(dialog, ids::kAirspeed, "%0.2f", GetAirspeed());
        setNumber(dialog, ids::kMissionTime, "%0.0f", missionTime);
        setNumber(dialog, ids::kAltitude, "%0.2f", currentAltitude / 1000);
        SetDlgItemTextA(dialog, ids::kOwnName, ownName.c_str());
        nextTextRefresh = missionTime + 0.5;
    }
    setNumber(dialog, ids::kApoapsis, "%0.2f", apoapsisRadius);
    setNumber(dialog, ids::kPeriapsis, "%0.2f", periapsisRadius);
    if (missionTime > 1) {
        setNumber(dialog, ids::kTimeToApoapsis, "%0.2f", timeToApoapsis);
        setNumber(dialog, ids::kInclination, "%0.2f", currentInclination);
    }
    if (missionTime > 1 && missionTime < 2)
        for (int id : kInputs)
            EnableWindow(GetDlgItem(dialog, id), FALSE);
}

// The thrust column shows the main engine as it runs in this step: it is
// drawn once the guidance has set the engine, so the picture taken as the
// engine is cut shows it cut.
void MediumLauncher::drawThrustColumn(HWND dialog) {
    const double mainLevel = GetThrusterGroupLevel(THGROUP_MAIN);
    const double height = mainLevel * 180;
    if (std::fabs(height - lastDrawnThrustHeight) > 1 || dialogRepainted) {
        const int h = rules::thrustColumnHeight(mainLevel);
        ControlCanvas canvas(dialog, ids::kGaugePicture);
        canvas.draw(ids::kThrustBackground, 46, 0, 45, 180);
        canvas.draw(ids::kThrustFill, 46, 180 - h, 45, h, 0, 180 - h, SRCPAINT);
        lastDrawnThrustHeight = height;
    }
    dialogRepainted = 0;
}

}  // namespace medium

// The payload placement preview: the fairing halves part, the custom mesh
// shows at its offset on the payload adapter, and the camera looks down on
// it from beside the stack while the pilot moves the mesh up and down.
#include <cstdio>

#include "../MediumLauncher.h"
#include "../variants/VariantRecord.h"
#include "DialogFields.h"
#include "ResourceIds.h"

namespace medium {
namespace {

constexpr double kFairingPart = 5;  // [m] each half moves aside

double payloadStation() {
    return kVariant.stack->pad.payload;
}

void showOffset(HWND dialog, int id, double offset) {
    setNumber(dialog, id, "%lf", offset);
}

void addPreviewMesh(VESSEL& v, LauncherState& s) {
    const VECTOR3 pos = _V(0, 0, payloadStation() + s.customZOffset);
    s.previewMesh = v.AddMesh(s.customMeshName.c_str(), &pos);
    v.SetMeshVisibilityMode(s.previewMesh, MESHVIS_ALWAYS);
}

void shiftFairing(VESSEL& v, const LauncherState& s, double sign) {
    v.ShiftMesh(static_cast<UINT>(s.fairingMeshIndex[0]), _V(sign * kFairingPart, 0, 0));
    v.ShiftMesh(static_cast<UINT>(s.fairingMeshIndex[1]), _V(-sign * kFairingPart, 0, 0));
}

// Camera, MFDs and HUD as they were before the preview.
void restoreView(VESSEL& v, LauncherState& s) {
    s.previewActive = 0;
    oapiCameraAttach(v.GetHandle(), 1);
    v.SetCameraRotationRange(0, 1.25 * PI, 2.5 * PI, 0);
    v.DelMesh(s.adapterMesh);
    oapiToggleMFD_on(MFD_LEFT);
    oapiToggleMFD_on(MFD_RIGHT);
    oapiSetHUDMode(HUD_SURFACE);
}

}  // namespace

void MediumLauncher::visualAdjustment(HWND settings) {
    char text[256] = {};
    GetDlgItemTextA(settings, ids::kPayloadMesh, text, sizeof text);
    customMeshName = text;
    GetDlgItemTextA(settings, ids::kMeshZOffset, text, sizeof text);
    std::sscanf(text, "%lf", &customZOffset);

    VESSEL* v = ownLauncher();
    if (!v || !(missionTime < 1) || v->GetThrusterGroupLevel(THGROUP_MAIN) >= 0.1 || previewActive != 0)
        return;
    previewActive = 1.0;
    HWND offsetDialog = openLauncherDialog(ids::kMeshOffsetDialog);
    if (fairingAttached == 1)
        shiftFairing(*v, *this, 1);
    addPreviewMesh(*v, *this);
    const VECTOR3 adapterPos = _V(0, 4, payloadStation());
    adapterMesh = v->AddMesh("tarvik/pat", &adapterPos);
    v->SetMeshVisibilityMode(adapterMesh, MESHVIS_COCKPIT);

    v->SetCameraDefaultDirection(_V(0, 1, 0), PI);
    v->SetCameraOffset(_V(0, -25, payloadStation()));
    oapiCameraSetCockpitDir(0, 1);
    oapiCameraAttach(v->GetHandle(), 0);
    v->SetCameraRotationRange(0, 0, 0.2, 0);
    oapiToggleMFD_on(MFD_LEFT);
    oapiToggleMFD_on(MFD_RIGHT);
    oapiSetHUDMode(HUD_NONE);

    showOffset(offsetDialog, ids::kPreviewOffset, customZOffset);
    ShowWindow(settings, SW_HIDE);
}

void MediumLauncher::movePreview(HWND offsetDialog, double step) {
    VESSEL* v = ownLauncher();
    if (!v || previewActive != 1.0)
        return;
    v->DelMesh(previewMesh);
    customZOffset += step;
    addPreviewMesh(*v, *this);
    showOffset(offsetDialog, ids::kPreviewOffset, customZOffset);
}

void MediumLauncher::previewOk(HWND offsetDialog) {
    oapiCloseDialog(offsetDialog);
    VESSEL* v = ownLauncher();
    if (!v || previewActive != 1.0)
        return;
    if (fairingAttached == 1) {
        shiftFairing(*v, *this, -1);
        v->DelMesh(previewMesh);
    } else {
        v->DelMesh(previewMesh);
        v->DelMesh(static_cast<UINT>(payloadMeshIndex));
        const VECTOR3 pos = _V(0, 0, payloadStation() + payloadZOffset);
        payloadMeshIndex = v->AddMesh(payloadMeshName.c_str(), &pos);
    }
    restoreView(*v, *this);
    if (HWND settings = customPayloadDialog) {
        showOffset(settings, ids::kMeshZOffset, customZOffset);
        ShowWindow(settings, SW_SHOW);
    }
}

// F1 ends the preview as OK does: were the settings left hidden, the pilot
// would have no way back to the configuration dialog, and the launcher none
// to its engines and its pad.
bool MediumLauncher::endPreviewByKey() {
    if (!ownLauncher() || previewActive != 1.0)
        return false;
    previewOk(meshOffsetDialog);
    return true;
}

}  // namespace medium

// The module's dialogs start alike: the caption of the launcher type, the
// payload fields, the thrust figures of the variant. Commands are told apart
// by the control id alone. Every dialog is opened with the launcher that
// opened it as its context, and its messages go to that launcher.
#include "DialogProcedure.h"

#include <cstdio>

#include "../MediumLauncher.h"
#include "../ModuleState.h"
#include "DialogFields.h"
#include "LauncherChoices.h"
#include "LauncherNames.h"
#include "PayloadChoices.h"
#include "ResourceIds.h"

namespace medium {
namespace {

// The slot (1-3) whose control this is among `ids`, or 0.
int slotOf(const int (&ids)[3], int id) {
    for (int slot = 1; slot <= 3; ++slot)
        if (ids[slot - 1] == id)
            return slot;
    return 0;
}

MediumLauncher* launcherOf(HWND dialog) {
    return static_cast<MediumLauncher*>(oapiGetDialogContext(dialog));
}

}  // namespace

VESSEL* MediumLauncher::ownLauncher() const {
    OBJHANDLE h = oapiGetObjectByName(const_cast<char*>(ownName.c_str()));
    return h ? oapiGetVesselInterface(h) : nullptr;
}

bool MediumLauncher::dialogHeldByAnother(int resourceId) const {
    HWND open = oapiFindDialog(moduleInstance, resourceId);
    return open && oapiGetDialogContext(open) != this;
}

HWND MediumLauncher::openLauncherDialog(int resourceId) {
    if (dialogHeldByAnother(resourceId))
        return nullptr;
    HWND dialog = oapiOpenDialog(moduleInstance, resourceId, launcherDialogProc, this);
    switch (resourceId) {
        case ids::kAutopilotDialog:
            autopilotDialog = dialog;
            // A new window shows none of the pictures yet.
            drawnHeadingStrip = 0;
            drawnFuelTop = -1;
            for (int& image : drawnStatusImage)
                image = 0;
            break;
        case ids::kConfigurationDialog:
            configurationDialog = dialog;
            break;
        case ids::kCustomPayloadDialog:
            customPayloadDialog = dialog;
            break;
        case ids::kMeshOffsetDialog:
            meshOffsetDialog = dialog;
            break;
        default:
            break;
    }
    return dialog;
}

void MediumLauncher::dialogClosed(HWND dialog) {
    if (dialog == configurationDialog) {
        configurationDialog = nullptr;
        configurationClosed();
    }
    for (HWND* kept : {&autopilotDialog, &customPayloadDialog, &meshOffsetDialog})
        if (*kept == dialog)
            *kept = nullptr;
}

void MediumLauncher::closeDialogs() {
    configDialogOpen = 0;  // going away: the pad is not asked to bring its structures back
    for (HWND* kept : {&meshOffsetDialog, &customPayloadDialog, &configurationDialog, &autopilotDialog})
        if (HWND d = *kept) {
            *kept = nullptr;
            oapiCloseDialog(d);
        }
}

void MediumLauncher::initialiseDialog(HWND dialog) {
    if (const char* caption = tarvik::launcherCaption(ownName.c_str()))
        SetWindowTextA(dialog, caption);
    SetDlgItemTextA(dialog, ids::kAzimuthTrim, "0");
    SetDlgItemTextA(dialog, ids::kMessage, "");
    SetDlgItemTextA(dialog, ids::kPayloadClass, payloadClassName.c_str());
    SetDlgItemTextA(dialog, ids::kPayloadMesh, payloadMeshName.c_str());
    setNumber(dialog, ids::kMeshZOffset, "%lf", payloadZOffset);
    setNumber(dialog, ids::kPayloadMass, "%0.2f", payloadMass);
    char fairing[16];
    std::snprintf(fairing, sizeof fairing, "%i", fairingAttached);
    SetDlgItemTextA(dialog, ids::kFairingField, fairing);
    if (const LauncherChoice* variant = launcherChoice(tarvik::launcherBaseName(launcherName.c_str()))) {
        SetDlgItemTextA(dialog, ids::kLaunchThrust, variant->launchThrust);
        SetDlgItemTextA(dialog, ids::kUpperStageThrust, variant->upperStageThrust);
        SetDlgItemTextA(dialog, ids::kDescription, variant->description);
    }
}

void MediumLauncher::dialogCommand(HWND dialog, int id) {
    if (const LauncherChoice* variant = launcherChoiceOfButton(id)) {
        variantButton(dialog, *variant);
        return;
    }
    if (const PayloadChoice* payload = payloadChoice(id)) {
        payloadButton(dialog, *payload);
        return;
    }
    if (int slot = slotOf(ids::kCustomPayloadButtons, id)) {
        customPayloadButton(dialog, slot);
        return;
    }
    if (int slot = slotOf(ids::kCustomSlotRadios, id)) {
        customSlotRadio(dialog, slot);
        return;
    }
    for (int i = 0; i < 4; ++i)
        if (ids::kPreviewMoves[i] == id) {
            movePreview(dialog, ids::kPreviewSteps[i]);
            return;
        }
    switch (id) {
        case ids::kApply:
            applyButton(dialog);
            break;
        case ids::kCancel:
            cancelButton(dialog);
            break;
        case ids::kEditCustomPayloads:
            editCustomPayloads(dialog);
            break;
        case ids::kCustomApply:
            customApply(dialog);
            break;
        case ids::kCustomCancel:
            customCancel(dialog);
            break;
        case ids::kVisualAdjustment:
            visualAdjustment(dialog);
            break;
        case ids::kPreviewOk:
            previewOk(dialog);
            break;
        case ids::kLaunch:
            launchButton(dialog);
            break;
        case ids::kHide:
            hideButton(dialog);
            break;
        case ids::kAutopilotOff:
            autopilotOffButton(dialog);
            break;
        case ids::kHelp:
            openLauncherDialog(ids::kAutopilotDialog);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    MediumLauncher* launcher = launcherOf(dialog);
    if (!launcher)
        return oapiDefDialogProc(dialog, message, wParam, lParam);
    switch (message) {
        case WM_INITDIALOG:
            launcher->initialiseDialog(dialog);
            return TRUE;
        case WM_COMMAND:
            launcher->dialogCommand(dialog, LOWORD(wParam));
            return TRUE;
        case WM_PAINT:
            launcher->dialogRepainted = 1;
            return oapiDefDialogProc(dialog, message, wParam, lParam);
        case WM_DESTROY:
            launcher->dialogClosed(dialog);
            return TRUE;
        default:
            return oapiDefDialogProc(dialog, message, wParam, lParam);
    }
}

}  // namespace medium

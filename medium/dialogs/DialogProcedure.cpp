// The module's dialogs start alike: the caption of the launcher type, the
// payload fields, the thrust figures of the variant. Commands are told apart
// by the control id alone.
#include "DialogProcedure.h"

#include <cstdio>

#include "../AutopilotState.h"
#include "../ModuleState.h"
#include "LauncherChoices.h"
#include "LauncherNames.h"
#include "ResourceIds.h"

namespace medium {
namespace {

void setText(HWND dialog, int id, const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetDlgItemTextA(dialog, id, text);
}

void initialiseDialog(HWND dialog) {
    if (const char* caption = tarvik::launcherCaption(ownName.c_str()))
        SetWindowTextA(dialog, caption);
    SetDlgItemTextA(dialog, ids::kAzimuthTrim, "0");
    SetDlgItemTextA(dialog, ids::kMessage, "");
    SetDlgItemTextA(dialog, ids::kPayloadClass, payloadClassName.c_str());
    SetDlgItemTextA(dialog, ids::kPayloadMesh, payloadMeshName.c_str());
    setText(dialog, ids::kMeshZOffset, "%lf", payloadZOffset);
    setText(dialog, ids::kPayloadMass, "%0.2f", payloadMass);
    char fairing[16];
    std::snprintf(fairing, sizeof fairing, "%i", fairingAttached);
    SetDlgItemTextA(dialog, ids::kFairingField, fairing);
    if (const LauncherChoice* variant = launcherChoice(tarvik::launcherBaseName(launcherName.c_str()))) {
        SetDlgItemTextA(dialog, ids::kLaunchThrust, variant->launchThrust);
        SetDlgItemTextA(dialog, ids::kUpperStageThrust, variant->upperStageThrust);
        SetDlgItemTextA(dialog, ids::kDescription, variant->description);
    }
}

void command(HWND dialog, int id) {
    switch (id) {
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
            oapiOpenDialog(moduleInstance, ids::kAutopilotDialog, launcherDialogProc);
            break;
        default:
            break;
    }
}

}  // namespace

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialiseDialog(dialog);
            return TRUE;
        case WM_COMMAND:
            command(dialog, LOWORD(wParam));
            return TRUE;
        case WM_PAINT:
            dialogRepainted = 1;
            return oapiDefDialogProc(dialog, message, wParam, lParam);
        case WM_DESTROY:
            return TRUE;
        default:
            return oapiDefDialogProc(dialog, message, wParam, lParam);
    }
}

}  // namespace medium

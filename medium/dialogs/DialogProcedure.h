// The one dialog procedure of the module: it serves the configuration,
// custom payload, mesh offset and autopilot dialogs alike.
#pragma once

#include "Orbitersdk.h"

namespace medium {

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The control actions of the autopilot dialog.
void launchButton(HWND dialog);
void hideButton(HWND dialog);
void autopilotOffButton(HWND dialog);

// Key A: opens the autopilot dialog on the pad, or shows it again when hidden.
void autopilotKey(VESSEL& launcher);

}  // namespace medium

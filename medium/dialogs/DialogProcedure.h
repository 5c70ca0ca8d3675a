// The one dialog procedure of the module: it serves the configuration,
// custom payload, mesh offset and autopilot dialogs alike, each on behalf of
// the launcher that opened it (the dialog's context).
#pragma once

#include "Orbitersdk.h"

namespace medium {

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace medium

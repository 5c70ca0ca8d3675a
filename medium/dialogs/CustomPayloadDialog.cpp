// The custom payload settings dialog: one slot's file shown in its fields,
// rewritten by Apply, its name put on the slot's button.
#include "../ModuleState.h"
#include "ConfigurationDialogs.h"
#include "CustomPayloads.h"
#include "DialogProcedure.h"
#include "ResourceIds.h"

namespace medium {
namespace {

int checkedSlot(HWND settings) {
    for (int slot = 1; slot <= kCustomSlots; ++slot)
        if (IsDlgButtonChecked(settings, ids::kCustomSlotRadios[slot - 1]) == BST_CHECKED)
            return slot;
    return 0;
}

void backToConfiguration(HWND settings) {
    ShowWindow(oapiFindDialog(moduleInstance, ids::kConfigurationDialog), SW_SHOW);
    oapiCloseDialog(settings);
}

}  // namespace

void editCustomPayloads(HWND configuration) {
    ShowWindow(configuration, SW_HIDE);
    HWND settings = oapiOpenDialog(moduleInstance, ids::kCustomPayloadDialog, launcherDialogProc);
    CheckDlgButton(settings, ids::kCustomSlotRadios[0], BST_CHECKED);
    customSlotRadio(settings, 1);
}

void customSlotRadio(HWND settings, int slot) {
    showCustomPayload(settings, readCustomPayload(slot));
}

void customApply(HWND settings) {
    const int slot = checkedSlot(settings);
    if (slot == 0)
        return;
    writeCustomPayload(settings, slot);
    char name[256] = {};
    GetDlgItemTextA(settings, ids::kCustomName, name, sizeof name);
    SetDlgItemTextA(oapiFindDialog(moduleInstance, ids::kConfigurationDialog), customButtonOf(slot), name);
    backToConfiguration(settings);
}

void customCancel(HWND settings) {
    backToConfiguration(settings);
}

}  // namespace medium

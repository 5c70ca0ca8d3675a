// The custom payload settings dialog: one slot's file shown in its fields,
// rewritten by Apply, its name put on the slot's button.
#include "../MediumLauncher.h"
#include "CustomPayloads.h"
#include "ResourceIds.h"

namespace medium {
namespace {

int checkedSlot(HWND settings) {
    for (int slot = 1; slot <= kCustomSlots; ++slot)
        if (IsDlgButtonChecked(settings, ids::kCustomSlotRadios[slot - 1]) == BST_CHECKED)
            return slot;
    return 0;
}

void backToConfiguration(HWND configuration, HWND settings) {
    ShowWindow(configuration, SW_SHOW);
    oapiCloseDialog(settings);
}

}  // namespace

void MediumLauncher::editCustomPayloads(HWND configuration) {
    ShowWindow(configuration, SW_HIDE);
    HWND settings = openLauncherDialog(ids::kCustomPayloadDialog);
    CheckDlgButton(settings, ids::kCustomSlotRadios[0], BST_CHECKED);
    customSlotRadio(settings, 1);
}

void MediumLauncher::customSlotRadio(HWND settings, int slot) {
    showCustomPayload(settings, readCustomPayload(slot));
}

void MediumLauncher::customApply(HWND settings) {
    const int slot = checkedSlot(settings);
    if (slot == 0)
        return;
    writeCustomPayload(settings, slot);
    char name[256] = {};
    GetDlgItemTextA(settings, ids::kCustomName, name, sizeof name);
    SetDlgItemTextA(configurationDialog, customButtonOf(slot), name);
    backToConfiguration(configurationDialog, settings);
}

void MediumLauncher::customCancel(HWND settings) {
    backToConfiguration(configurationDialog, settings);
}

}  // namespace medium

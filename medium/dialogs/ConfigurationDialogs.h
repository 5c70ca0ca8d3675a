// The actions of the configuration dialog, the custom payload settings
// dialog and the payload placement preview.
#pragma once

#include "Orbitersdk.h"

namespace medium {

struct LauncherChoice;
struct PayloadChoice;

// configuration dialog (101)
void configurationKey(VESSEL& launcher);  // key M
void openConfiguration(VESSEL& launcher);
void reopenConfiguration(const char* why);
void sendFocusRequest();
void variantButton(HWND dialog, const LauncherChoice& c);
void payloadButton(HWND dialog, const PayloadChoice& p);
void customPayloadButton(HWND dialog, int slot);
void applyButton(HWND dialog);
void cancelButton(HWND dialog);
void configurationClosed();

// custom payload settings (287)
void editCustomPayloads(HWND configuration);
void customSlotRadio(HWND settings, int slot);
void customApply(HWND settings);
void customCancel(HWND settings);

// placement preview (258)
void visualAdjustment(HWND settings);
void movePreview(HWND offsetDialog, double step);
void previewOk(HWND offsetDialog);
bool endPreviewByKey();  // key F1; false when no preview is on

}  // namespace medium

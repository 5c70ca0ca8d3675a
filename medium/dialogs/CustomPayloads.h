// The three payloads a pilot defines himself, kept in "tarvik/custom1.cfg"
// to "tarvik/custom3.cfg" in the host's configuration folder.
#pragma once

#include <string>

#include "Orbitersdk.h"

namespace medium {

constexpr int kCustomSlots = 3;

// What a custom payload file holds; an item it lacks (or cannot be read as
// its kind) is marked absent and named in `problem`.
struct CustomPayload {
    std::string name, payload, mesh, image;
    double zOffset = 0, weight = 0;
    int fairing = 0;
    bool hasName = false, hasPayload = false, hasMesh = false, hasZOffset = false, hasWeight = false,
         hasFairing = false;
    std::string problem;  // empty when every item read
};

const char* customPayloadFile(int slot);  // "tarvik/custom1.cfg", ...
int customButtonOf(int slot);             // 1121, 1122, 1123 in the configuration dialog
CustomPayload readCustomPayload(int slot);

// The payload fields (class, mesh, weight, offset, fairing) the file holds,
// in the configuration dialog or the settings dialog: both have them.
void showPayloadFields(HWND dialog, const CustomPayload& c);
// The settings dialog's fields for a slot's file: those, its name and picture.
void showCustomPayload(HWND settings, const CustomPayload& c);
// Rewrites the slot's file from the settings dialog's fields, as typed.
void writeCustomPayload(HWND settings, int slot);

}  // namespace medium

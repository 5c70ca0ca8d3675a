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

    // The working copies take what the file holds; the rest stay as they were.
    void copyTo(std::string& payloadClass, std::string& meshName, double& z, double& mass, int& fairingFlag) const;
};

const char* customPayloadFile(int slot);  // "tarvik/custom1.cfg", ...
int customButtonOf(int slot);             // 1121, 1122, 1123 in the configuration dialog
CustomPayload readCustomPayload(int slot);

// The settings dialog's fields for a slot's file.
void showCustomPayload(HWND settings, const CustomPayload& c);
// Rewrites the slot's file from the settings dialog's fields, as typed.
void writeCustomPayload(HWND settings, int slot);

}  // namespace medium

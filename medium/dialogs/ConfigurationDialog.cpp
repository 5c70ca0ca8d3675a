// The configuration dialog: the launcher type, the payload and the fairing,
// chosen on the pad. Opening it takes the launcher's thrusters away and asks
// the pad to withdraw its structures; Apply or Cancel brings both back, and
// Apply leaves the payload in "temp" for the launcher the post-step creates.
#include <cstdio>
#include <cstring>
#include <vector>

#include "../MediumLauncher.h"
#include "../ModuleState.h"
#include "ControlCanvas.h"
#include "CustomPayloads.h"
#include "DialogFields.h"
#include "LauncherChoices.h"
#include "LauncherNames.h"
#include "PayloadChoices.h"
#include "ResourceIds.h"

namespace medium {
namespace {

constexpr int kLauncherPictureWidth = 49, kLauncherPictureHeight = 168;
constexpr int kPayloadPictureSize = 64;
constexpr size_t kNameFieldLength = 49;  // the longest payload class or mesh name a field takes
constexpr int kNumberFieldLength = 9;    // numbers are read from at most this many characters

void showLauncherPicture(HWND dialog, int bitmap) {
    showImage(dialog, ids::kLauncherPicture, bitmap, kLauncherPictureWidth, kLauncherPictureHeight);
}

void showPayloadPicture(HWND dialog, int bitmap) {
    showImage(dialog, ids::kPayloadPicture, bitmap, kPayloadPictureSize, kPayloadPictureSize);
}

// The vessels a new launcher's name must not clash with.
std::vector<tarvik::NamedVessel> vesselsAndTheirBodies() {
    std::vector<tarvik::NamedVessel> vessels;
    for (DWORD i = 0; i < oapiGetVesselCount(); ++i) {
        OBJHANDLE h = oapiGetVesselByIndex(static_cast<int>(i));
        if (!oapiIsVessel(h))
            continue;
        char name[64] = {}, body[64] = {};
        oapiGetObjectName(h, name, sizeof name);
        oapiGetObjectName(oapiGetVesselInterface(h)->GetGravityRef(), body, sizeof body);
        vessels.push_back({name, body});
    }
    return vessels;
}

// A field's whole text; false when it holds more than fits.
bool fieldText(HWND dialog, int id, std::string& text, size_t maxLength) {
    char buffer[256] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    if (std::strlen(buffer) > maxLength)
        return false;
    text = buffer;
    return true;
}

// One whitespace-free word, as the scenario and "temp" carry it.
bool isPayloadWord(const std::string& s) {
    return !s.empty() && s.find_first_of(" \t") == std::string::npos;
}

}  // namespace

void MediumLauncher::sendFocusRequest() {
    if (baseAnimationDisabled >= 1)
        return;
    static const char* const kPads[] = {nullptr, "LC37", "LC6", "LC37B"};
    if (launchSite < 1 || launchSite > 3)
        return;
    if (OBJHANDLE pad = oapiGetVesselByName(const_cast<char*>(kPads[launchSite])))
        oapiSetFocusObject(pad);
}

void MediumLauncher::openConfiguration() {
    if (dialogHeldByAnother(ids::kConfigurationDialog))
        return;  // another launcher of this build is being configured
    ClearThrusterDefinitions();
    sendFocusRequest();
    payloadBeforeDialog = {payloadClassName, payloadMeshName, payloadZOffset, payloadMass, fairingMass, fairingAttached};
    HWND dialog = openLauncherDialog(ids::kConfigurationDialog);
    if (const LauncherChoice* variant = launcherChoice(tarvik::launcherBaseName(launcherName.c_str()))) {
        showLauncherPicture(dialog, variant->launcherBitmap);
        showPayloadPicture(dialog, variant->payloadBitmap);
    }
    for (int slot = 1; slot <= kCustomSlots; ++slot) {
        const CustomPayload custom = readCustomPayload(slot);
        if (custom.hasName)
            SetDlgItemTextA(dialog, customButtonOf(slot), custom.name.c_str());
    }
    configDialogOpen = 1;
}

void MediumLauncher::configurationKey() {
    if (missionTime < 1 && GetThrusterGroupLevel(THGROUP_MAIN) < 0.1 && configDialogOpen == 0)
        openConfiguration();
}

void MediumLauncher::variantButton(HWND dialog, const LauncherChoice& c) {
    SetDlgItemTextA(dialog, ids::kMessage, "");
    showLauncherPicture(dialog, c.launcherBitmap);
    launcherName = c.baseName;
    fairingMass = c.fairingMass;
    payloadZOffset = c.payloadZOffset;
    payloadMass = c.payloadMass;
    setNumber(dialog, ids::kMeshZOffset, "%lf", payloadZOffset);
    setNumber(dialog, ids::kPayloadMass, "%0.2f", payloadMass);
    payloadClassName = c.payloadClass;
    payloadMeshName = c.payloadMesh;
    SetDlgItemTextA(dialog, ids::kPayloadClass, c.payloadClass);
    SetDlgItemTextA(dialog, ids::kPayloadMesh, c.payloadMesh);
    SetDlgItemTextA(dialog, ids::kLaunchThrust, c.launchThrust);
    SetDlgItemTextA(dialog, ids::kUpperStageThrust, c.upperStageThrust);
    SetDlgItemTextA(dialog, ids::kDescription, c.description);
    SetDlgItemTextA(dialog, ids::kFairingField, "1");
    showPayloadPicture(dialog, c.payloadBitmap);
    // A launcher of this type already in the scenario makes this one the second or third.
    launcherName = tarvik::nextLauncherName(c.baseName, vesselsAndTheirBodies());
}

void MediumLauncher::payloadButton(HWND dialog, const PayloadChoice& p) {
    payloadClassName = p.payloadClass;
    payloadMeshName = p.mesh;
    payloadMass = p.mass;
    payloadZOffset = p.zOffset;
    SetDlgItemTextA(dialog, ids::kPayloadClass, p.payloadClass);
    SetDlgItemTextA(dialog, ids::kPayloadMesh, p.mesh);
    setNumber(dialog, ids::kPayloadMass, p.massFormat, p.mass);
    setNumber(dialog, ids::kMeshZOffset, "%lf", p.zOffset);
    SetDlgItemTextA(dialog, ids::kFairingField, p.fairingField);
    showPayloadPicture(dialog, p.bitmap);
    SetDlgItemTextA(dialog, ids::kMessage, "");
    if (tooLargeFor(p, tarvik::launcherBaseName(launcherName.c_str()))) {
        SetDlgItemTextA(dialog, ids::kFairingField, "0");
        SetDlgItemTextA(dialog, ids::kMessage, "Payload Too Large");
    }
}

void MediumLauncher::customPayloadButton(HWND dialog, int slot) {
    char picture[sizeof currentDirectory + 32];
    std::snprintf(picture, sizeof picture, "%s/images/tarvik/custom%d.bmp", currentDirectory, slot);
    customImagePath = picture;
    const CustomPayload c = readCustomPayload(slot);
    // The placement preview starts from the slot's mesh and offset.
    if (c.hasMesh)
        customMeshName = c.mesh;
    if (c.hasZOffset)
        customZOffset = c.zOffset;
    if (customPayloadDialog)
        showCustomPayload(customPayloadDialog, c);
    if (!c.image.empty())
        customImagePath = c.image;
    showPayloadFields(dialog, c);
    ControlCanvas(dialog, ids::kPayloadPicture)
        .drawFile(customImagePath.c_str(), 0, 0, kPayloadPictureSize, kPayloadPictureSize);
    SetDlgItemTextA(dialog, ids::kMessage, c.problem.c_str());
}

void MediumLauncher::applyButton(HWND dialog) {
    // Nothing is taken unless every field reads: the message names the first that does not.
    double fairing = 0, mass = 0, zOffset = 0;
    std::string payloadClass, mesh;
    const char* unread = nullptr;
    if (!readNumber(dialog, ids::kFairingField, fairing, kNumberFieldLength) || (fairing != 0 && fairing != 1))
        unread = "Fairing Attached is not 0 or 1";
    else if (!readNumber(dialog, ids::kPayloadMass, mass, kNumberFieldLength) || mass < 0)
        unread = "Payload Weight is not a weight in kg";
    else if (!readNumber(dialog, ids::kMeshZOffset, zOffset, kNumberFieldLength))
        unread = "Mesh Z Offset is not a number";
    else if (!fieldText(dialog, ids::kPayloadClass, payloadClass, kNameFieldLength) || !isPayloadWord(payloadClass))
        unread = "Payload CFG must be one word of at most 49 characters";
    else if (!fieldText(dialog, ids::kPayloadMesh, mesh, kNameFieldLength) || !isPayloadWord(mesh))
        unread = "Payload MESH must be one word of at most 49 characters";
    if (unread) {
        SetDlgItemTextA(dialog, ids::kMessage, unread);
        return;
    }
    fairingAttached = static_cast<int>(fairing);
    payloadMass = mass;
    payloadZOffset = zOffset;
    payloadClassName = payloadClass;
    payloadMeshName = mesh;

    FILEHANDLE temp = oapiOpenFile("temp", FILE_OUT, ROOT);
    oapiWriteItem_float(temp, const_cast<char*>("PLDWEIGHT"), payloadMass);
    oapiWriteItem_float(temp, const_cast<char*>("Z_OFFSET"), payloadZOffset);
    oapiWriteItem_int(temp, const_cast<char*>("Fairing_attached"), fairingAttached);
    oapiWriteItem_string(temp, const_cast<char*>("PAYLOAD"), payloadClassName.data());
    oapiWriteItem_string(temp, const_cast<char*>("MESH"), payloadMeshName.data());
    oapiCloseFile(temp, FILE_OUT);

    sendFocusRequest();
    recreatePending = 1;
    stageRebuildRequest = 1.0;
    configDialogOpen = 0;
    oapiCloseDialog(dialog);
}

void MediumLauncher::cancelButton(HWND dialog) {
    sendFocusRequest();
    configDialogOpen = 0;
    stageRebuildRequest = 1.0;
    oapiCloseDialog(dialog);
}

void MediumLauncher::configurationClosed() {
    // Closed by its window frame: the launcher gets its thrusters back and the pad its structures.
    if (configDialogOpen == 1) {
        sendFocusRequest();
        configDialogOpen = 0;
        stageRebuildRequest = 1.0;
    }
}

void MediumLauncher::reopenConfiguration(const char* why) {
    openConfiguration();
    SetDlgItemTextA(configurationDialog, ids::kMessage, why);
}

}  // namespace medium

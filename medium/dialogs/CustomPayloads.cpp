#include "CustomPayloads.h"

#include <cmath>

#include "DialogFields.h"
#include "ResourceIds.h"

namespace medium {
namespace {

char* key(const char* name) {
    return const_cast<char*>(name);
}

void note(std::string& problem, const char* item) {
    problem += problem.empty() ? "Custom file lacks " : ", ";
    problem += item;
}

}  // namespace

const char* customPayloadFile(int slot) {
    static const char* const kFiles[kCustomSlots] = {"tarvik/custom1.cfg", "tarvik/custom2.cfg", "tarvik/custom3.cfg"};
    return kFiles[(slot - 1) % kCustomSlots];
}

int customButtonOf(int slot) {
    return ids::kCustomPayloadButtons[(slot - 1) % kCustomSlots];
}

CustomPayload readCustomPayload(int slot) {
    CustomPayload c;
    FILEHANDLE f = oapiOpenFile(customPayloadFile(slot), FILE_IN_ZEROONFAIL, CONFIG);
    char text[256] = {};
    auto word = [&](const char* item, std::string& value, bool& has) {
        has = oapiReadItem_string(f, key(item), text) && text[0] != '\0';
        if (has)
            value = text;
    };
    word("NAME", c.name, c.hasName);
    word("PAYLOAD", c.payload, c.hasPayload);
    word("MESH", c.mesh, c.hasMesh);
    c.hasZOffset = oapiReadItem_float(f, key("Z_OFFSET"), c.zOffset) && std::isfinite(c.zOffset);
    c.hasWeight = oapiReadItem_float(f, key("PLDWEIGHT"), c.weight) && std::isfinite(c.weight) && c.weight >= 0;
    c.hasFairing = oapiReadItem_int(f, key("Fairing_attached"), c.fairing) && (c.fairing == 0 || c.fairing == 1);
    bool hasImage = false;
    word("IMAGE", c.image, hasImage);
    oapiCloseFile(f, FILE_IN_ZEROONFAIL);

    if (!c.hasName && !c.hasPayload && !c.hasMesh && !c.hasZOffset && !c.hasWeight && !c.hasFairing) {
        c.problem = std::string(customPayloadFile(slot)) + " is missing or holds no payload";
        return c;
    }
    if (!c.hasPayload)
        note(c.problem, "PAYLOAD");
    if (!c.hasMesh)
        note(c.problem, "MESH");
    if (!c.hasZOffset)
        note(c.problem, "Z_OFFSET");
    if (!c.hasWeight)
        note(c.problem, "PLDWEIGHT");
    if (!c.hasFairing)
        note(c.problem, "Fairing_attached 0/1");
    return c;
}

void showPayloadFields(HWND dialog, const CustomPayload& c) {
    if (c.hasPayload)
        SetDlgItemTextA(dialog, ids::kPayloadClass, c.payload.c_str());
    if (c.hasMesh)
        SetDlgItemTextA(dialog, ids::kPayloadMesh, c.mesh.c_str());
    if (c.hasWeight)
        setNumber(dialog, ids::kPayloadMass, "%lf", c.weight);
    if (c.hasZOffset)
        setNumber(dialog, ids::kMeshZOffset, "%lf", c.zOffset);
    if (c.hasFairing)
        SetDlgItemTextA(dialog, ids::kFairingField, c.fairing == 1 ? "1" : "0");  // read as 0 or 1 only
}

void showCustomPayload(HWND settings, const CustomPayload& c) {
    if (c.hasName)
        SetDlgItemTextA(settings, ids::kCustomName, c.name.c_str());
    if (!c.image.empty())
        SetDlgItemTextA(settings, ids::kCustomImagePath, c.image.c_str());
    showPayloadFields(settings, c);
}

void writeCustomPayload(HWND settings, int slot) {
    struct Field {
        const char* item;
        int id;
    };
    static constexpr Field kFields[] = {{"NAME", ids::kCustomName},       {"PAYLOAD", ids::kPayloadClass},
                                        {"MESH", ids::kPayloadMesh},      {"Z_OFFSET", ids::kMeshZOffset},
                                        {"PLDWEIGHT", ids::kPayloadMass}, {"Fairing_attached", ids::kFairingField}};
    FILEHANDLE f = oapiOpenFile(customPayloadFile(slot), FILE_OUT, CONFIG);
    for (const Field& field : kFields) {
        char text[256] = {};
        GetDlgItemTextA(settings, field.id, text, sizeof text);
        oapiWriteItem_string(f, key(field.item), text);
    }
    oapiCloseFile(f, FILE_OUT);
}

}  // namespace medium

// A small vessel module for the host's own tests. It keeps a count of its
// vessels in module-wide state, reads an item of its class configuration,
// keeps scenario keys of its own, answers keys, and can be told by scenario
// keys to create a vessel (of its own class or another) or delete itself at a
// given step.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "Orbitersdk.h"

#ifndef PROBE_NAME
#define PROBE_NAME "Probe"
#endif

namespace {

// Module-wide state: one copy per loaded library.
HINSTANCE moduleInstance = nullptr;
int vesselsCreated = 0;
SURFHANDLE flameTexture = oapiRegisterExhaustTexture(const_cast<char*>("probe/flame"));

class ProbeVessel : public VESSEL2 {
public:
    ProbeVessel(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

    void clbkSetClassCaps(FILEHANDLE cfg) override {
        ordinal = vesselsCreated;
        double mass = 1000;
        oapiReadItem_float(cfg, const_cast<char*>("ProbeMass"), mass);
        SetEmptyMass(mass);
        buildTank();
        VECTOR3 ofs = _V(0, 0, 1);
        AddMesh("probe/body", &ofs);
        note = oapiCreateAnnotation(true, 1.0, _V(1, 0, 0));
        char text[64];
        std::snprintf(text, sizeof text, "probe %d %s", ordinal, moduleInstance ? "initialised" : "uninitialised");
        oapiAnnotationSetText(note, text);
    }

    void clbkLoadStateEx(FILEHANDLE scn, void* status) override {
        char* line;
        while (oapiReadScenario_nextline(scn, line)) {
            if (!std::strncmp(line, "COUNTER", 7)) {
                std::sscanf(line + 7, "%d", &steps);
            } else if (!std::strncmp(line, "PHASE", 5)) {
                std::sscanf(line + 5, "%lf", &phase);
            } else if (!std::strncmp(line, "LABEL", 5)) {
                std::snprintf(label, sizeof label, "%s", line + 6);
                // A label cut to the buffer may end in blanks, which a
                // scenario line does not keep.
                for (size_t n = std::strlen(label); n > 0 && std::isspace(static_cast<unsigned char>(label[n - 1])); --n)
                    label[n - 1] = '\0';
            } else if (!std::strncmp(line, "SPAWN_AT", 8)) {
                std::sscanf(line + 8, "%d", &spawnAt);
            } else if (!std::strncmp(line, "SPAWN_CLASS", 11)) {
                std::snprintf(spawnClass, sizeof spawnClass, "%s", line + 12);
            } else if (!std::strncmp(line, "DELETE_AT", 9)) {
                std::sscanf(line + 9, "%d", &deleteAt);
            } else if (!std::strncmp(line, "REBUILD_TANKS", 13)) {
                // as the launchers do: the stage set-up makes its tanks anew, full
                ClearPropellantResources();
                buildTank();
                rebuiltTanks = true;
            } else {
                ParseScenarioLineEx(line, status);
            }
        }
    }

    void clbkSaveState(FILEHANDLE scn) override {
        VESSEL2::clbkSaveState(scn);
        oapiWriteScenario_int(scn, const_cast<char*>("COUNTER"), steps);
        oapiWriteScenario_float(scn, const_cast<char*>("PHASE"), phase);
        if (label[0])
            oapiWriteScenario_string(scn, const_cast<char*>("LABEL"), label);
        oapiWriteScenario_int(scn, const_cast<char*>("LASTKEY"), static_cast<int>(lastKey));
        oapiWriteScenario_float(scn, const_cast<char*>("LASTPRE"), lastPre);
        oapiWriteScenario_float(scn, const_cast<char*>("LASTPOST"), lastPost);
        if (rebuiltTanks)  // its second tank and engine come back with it
            oapiWriteScenario_string(scn, const_cast<char*>("REBUILD_TANKS"), const_cast<char*>(""));
    }

    void clbkPreStep(double simt, double simdt, double mjd) override {
        ++steps;
        lastPre = simt;
        if (steps == spawnAt) {
            VESSELSTATUS2 vs;
            std::memset(&vs, 0, sizeof vs);
            vs.version = 2;
            GetStatusEx(&vs);
            char name[64];
            std::snprintf(name, sizeof name, "%s-child", GetName());
            oapiCreateVesselEx(name, spawnClass[0] ? spawnClass : GetClassName(), &vs);
        }
        if (steps == deleteAt)
            oapiDeleteVessel(GetHandle());
    }

    void clbkPostStep(double simt, double simdt, double mjd) override { lastPost = simt; }

    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override {
        if (!down || !KEYDOWN(kstate, key))
            return 0;
        lastKey = key;
        if (key == OAPI_KEY_L) {
            SetThrusterGroupLevel(THGROUP_MAIN, GetThrusterGroupLevel(THGROUP_MAIN) > 0 ? 0.0 : 1.0);
            return 1;
        }
        return key == OAPI_KEY_K ? 1 : 0;
    }

private:
    void buildTank() {
        PROPELLANT_HANDLE tank = CreatePropellantResource(500);
        THRUSTER_HANDLE main = CreateThruster(_V(0, 0, -2), _V(0, 0, 1), 2e4, tank, 3000);
        CreateThrusterGroup(&main, 1, THGROUP_MAIN);
        AddExhaust(main, 4, 0.5, flameTexture);
    }

    int ordinal = 0;
    int steps = 0;
    int spawnAt = -1, deleteAt = -1;
    double phase = 1.0 / 3.0;
    double lastPre = -1, lastPost = -1;
    DWORD lastKey = 0;
    char label[64] = "";
    char spawnClass[64] = "";
    bool rebuiltTanks = false;
    NOTEHANDLE note = nullptr;
};

}  // namespace

DLLCLBK void InitModule(HINSTANCE hModule) {
    moduleInstance = hModule;
}

// Leaves a note in the host's root folder, so a test can see the module went.
DLLCLBK void ExitModule(HINSTANCE hModule) {
    FILEHANDLE f = oapiOpenFile(PROBE_NAME "-exit", FILE_OUT, ROOT);
    oapiWriteItem_int(f, const_cast<char*>("VESSELS"), vesselsCreated);
    oapiCloseFile(f, FILE_OUT);
}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    ++vesselsCreated;
    return new ProbeVessel(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    delete static_cast<ProbeVessel*>(vessel);
}

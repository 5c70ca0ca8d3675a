// The vessel's identity and class capabilities, and the VESSEL2 defaults.
#include <cmath>

#include "CurrentSimulation.h"
#include "NumberText.h"
#include "VesselAccess.h"

using host::dataOf;

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : hVessel(hVessel), flightmodel(fmodel) {}
VESSEL::~VESSEL() = default;

OBJHANDLE VESSEL::GetHandle() const {
    return hVessel;
}
char* VESSEL::GetName() const {
    return dataOf(hVessel).name.data();
}
char* VESSEL::GetClassName() const {
    return dataOf(hVessel).className.data();
}
int VESSEL::GetFlightModel() const {
    return flightmodel;
}

void VESSEL::SetSize(double size) const {
    dataOf(hVessel).caps.size = size;
}
double VESSEL::GetSize() const {
    return dataOf(hVessel).caps.size;
}
void VESSEL::SetEmptyMass(double m) const {
    // A vessel of no or negative mass would turn any force into an infinite
    // or backward acceleration: the mass it had stands, and the log says so.
    if (!(std::isfinite(m) && m > 0)) {
        host::recordFor(dataOf(hVessel), "empty mass " + host::numberText(m) + " refused: a mass must be above 0");
        return;
    }
    dataOf(hVessel).caps.emptyMass = m * host::dispersed(&host::Dispersion::emptyMass);
}
double VESSEL::GetEmptyMass() const {
    return dataOf(hVessel).caps.emptyMass;
}
double VESSEL::GetMass() const {
    return dataOf(hVessel).mass();
}

void VESSEL::SetCW(double cw_z_pos, double cw_z_neg, double cw_x, double cw_y) const {
    // A dispersed run's drag: the coefficients the module sets, times the factor.
    const double drag = host::dispersed(&host::Dispersion::drag);
    double* cw = dataOf(hVessel).caps.cw;
    cw[0] = cw_z_pos * drag;
    cw[1] = cw_z_neg * drag;
    cw[2] = cw_x * drag;
    cw[3] = cw_y * drag;
}

void VESSEL::SetCrossSections(const VECTOR3& cs) const {
    dataOf(hVessel).caps.crossSections = cs;
}
void VESSEL::SetRotDrag(const VECTOR3& rd) const {
    dataOf(hVessel).caps.rotDrag = rd;
}

void VESSEL::SetPMI(const VECTOR3& pmi) const {
    auto& caps = dataOf(hVessel).caps;
    caps.pmi = pmi;
    caps.pmiSet = true;
}

void VESSEL::GetPMI(VECTOR3& pmi) const {
    pmi = dataOf(hVessel).pmi();
}
void VESSEL::SetPitchMomentScale(double scale) const {
    dataOf(hVessel).caps.pitchMomentScale = scale;
}
void VESSEL::SetYawMomentScale(double scale) const {
    dataOf(hVessel).caps.yawMomentScale = scale;
}
void VESSEL::SetTrimScale(double scale) const {
    dataOf(hVessel).caps.trimScale = scale;
}
void VESSEL::SetClipRadius(double rad) const {
    dataOf(hVessel).caps.clipRadius = rad;
}

void VESSEL::SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const {
    dataOf(hVessel).caps.touchdown = {pt1, pt2, pt3};
}

void VESSEL::SetCameraOffset(const VECTOR3& co) const {
    dataOf(hVessel).caps.cameraOffset = co;
}
void VESSEL::SetCameraDefaultDirection(const VECTOR3& cd) const {
    SetCameraDefaultDirection(cd, 0.0);
}

void VESSEL::SetCameraDefaultDirection(const VECTOR3& cd, double tilt) const {
    auto& caps = dataOf(hVessel).caps;
    caps.cameraDirection = cd;
    caps.cameraTilt = tilt;
}

void VESSEL::SetCameraRotationRange(double left, double right, double up, double down) const {
    double* range = dataOf(hVessel).caps.cameraRange;
    range[0] = left;
    range[1] = right;
    range[2] = up;
    range[3] = down;
}

void VESSEL::SetEnableFocus(bool enable) const {
    dataOf(hVessel).caps.focusEnabled = enable;
}

OBJHANDLE VESSEL::GetGravityRef() const {
    return host::currentEarth();
}

// ---------------------------------------------------------------- VESSEL2 defaults

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel) : VESSEL(hVessel, fmodel) {}
VESSEL2::~VESSEL2() = default;

void VESSEL2::clbkSetClassCaps(FILEHANDLE cfg) {}

// The host writes the vessel's own lines (status, position, propellant ...)
// ahead of this callback, so the default adds nothing and a module that calls
// it first, as modules do, gets no second copy.
void VESSEL2::clbkSaveState(FILEHANDLE scn) {}

void VESSEL2::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line = nullptr;
    while (oapiReadScenario_nextline(scn, line))
        ParseScenarioLineEx(line, status);
}

void VESSEL2::clbkSetStateEx(const void* status) {
    DefSetStateEx(status);
}
void VESSEL2::clbkPostCreation() {}
void VESSEL2::clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel) {}
void VESSEL2::clbkPreStep(double simt, double simdt, double mjd) {}
void VESSEL2::clbkPostStep(double simt, double simdt, double mjd) {}
int VESSEL2::clbkConsumeDirectKey(char* kstate) {
    return 0;
}
int VESSEL2::clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) {
    return 0;
}

// The simulator's global functions for time, screen annotations, HUD, MFD and
// camera. The host records what they set; nothing is drawn.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ShownText.h"
#include "SimulationImpl.h"
#include "VesselAccess.h"

namespace {

host::Simulation::Impl* sim() {
    return host::currentSim();
}

}  // namespace

double oapiGetSimTime() {
    return sim() ? sim()->simt : 0;
}
double oapiGetSimStep() {
    return sim() ? sim()->simdt : 0;
}
double oapiGetSimMJD() {
    return sim() ? sim()->mjd() : 0;
}
double oapiGetTimeAcceleration() {
    return sim() ? sim()->warp : 1;
}

void oapiSetTimeAcceleration(double warp) {
    if (host::Simulation::Impl* s = sim())
        s->self.setTimeAcceleration(warp);
}

bool oapiUnregisterCustomCmd(int cmdId) {
    return false;
}  // no custom commands are ever registered

// ---------------------------------------------------------------- annotations

NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& col) {
    host::Simulation::Impl* s = sim();
    if (!s)
        return nullptr;
    auto a = std::make_unique<host::Annotation>();
    a->exclusive = exclusive;
    a->size = size;
    a->colour = col;
    a->owner = s->actor;
    s->annotations.push_back(std::move(a));
    ++s->annotationChanges;
    return reinterpret_cast<NOTEHANDLE>(s->annotations.back().get());
}

bool oapiDelAnnotation(NOTEHANDLE hNote) {
    host::Simulation::Impl* s = sim();
    if (!s || !s->annotationOf(hNote))
        return false;
    std::erase_if(s->annotations, [&](const auto& a) { return reinterpret_cast<NOTEHANDLE>(a.get()) == hNote; });
    ++s->annotationChanges;
    return true;
}

void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2) {
    if (host::Annotation* a = sim() ? sim()->annotationOf(hNote) : nullptr) {
        a->x1 = x1;
        a->y1 = y1;
        a->x2 = x2;
        a->y2 = y2;
    }
}

void oapiAnnotationSetSize(NOTEHANDLE hNote, double size) {
    if (host::Annotation* a = sim() ? sim()->annotationOf(hNote) : nullptr)
        a->size = size;
}

void oapiAnnotationSetColour(NOTEHANDLE hNote, const VECTOR3& col) {
    if (host::Annotation* a = sim() ? sim()->annotationOf(hNote) : nullptr)
        a->colour = col;
}

void oapiAnnotationSetText(NOTEHANDLE hNote, char* note) {
    host::Simulation::Impl* s = sim();
    host::Annotation* a = s ? s->annotationOf(hNote) : nullptr;
    if (!a)
        return;
    const char* text = note ? note : "";
    if (!host::showsText(a->text, text)) {
        a->text = text;  // the event log hears of it after the frame
        ++s->annotationChanges;
    }
}

// ---------------------------------------------------------------- HUD, MFD, camera
// Changes of the view are in the event log, as a pilot would see them happen.

bool oapiSetHUDMode(int mode) {
    host::Simulation::Impl* s = sim();
    if (!s || mode < HUD_NONE || mode > HUD_DOCKING)
        return false;
    if (s->view.hudMode != mode)
        s->record(s->actorName(), "HUD mode " + std::to_string(mode));
    s->view.hudMode = mode;
    return true;
}

int oapiGetHUDMode() {
    return sim() ? sim()->view.hudMode : HUD_NONE;
}

void oapiToggleMFD_on(int mfd) {
    host::Simulation::Impl* s = sim();
    if (s && (mfd == MFD_LEFT || mfd == MFD_RIGHT)) {
        s->view.mfdOn[mfd] = !s->view.mfdOn[mfd];
        s->record(s->actorName(), std::string(mfd == MFD_LEFT ? "left" : "right") + " MFD " +
                                      (s->view.mfdOn[mfd] ? "on" : "off"));
    }
}

// mode 0: cockpit view, 1: external view, 2: keep the current view.
void oapiCameraAttach(OBJHANDLE hObj, int mode) {
    host::Simulation::Impl* s = sim();
    if (!s)
        return;
    if (hObj == &s->earth)
        s->view.cameraTarget = s->earth.name;
    else if (host::VesselData* v = host::liveVessel(hObj))
        s->view.cameraTarget = v->name;
    else
        return;
    if (mode == 0)
        s->view.cameraInternal = true;
    if (mode == 1)
        s->view.cameraInternal = false;
    s->record(s->actorName(), "camera on " + s->view.cameraTarget + (s->view.cameraInternal ? ", cockpit" : ", external"));
}

OBJHANDLE oapiCameraTarget() {
    host::Simulation::Impl* s = sim();
    if (!s)
        return nullptr;
    if (s->view.cameraTarget == s->earth.name)
        return &s->earth;
    return s->vesselNamed(s->view.cameraTarget);
}

bool oapiCameraInternal() {
    return sim() && sim()->view.cameraInternal;
}

void oapiCameraSetCockpitDir(double polar, double azimuth, bool transition) {
    if (host::Simulation::Impl* s = sim()) {
        s->view.cockpitPolar = polar;
        s->view.cockpitAzimuth = azimuth;
        char text[96];
        std::snprintf(text, sizeof text, "cockpit direction %g %g", polar, azimuth);
        s->record(s->actorName(), text);
    }
}

// What the launcher shows while it flies: the glow at the engines from
// ignition until shortly after lift-off, and the mission clock and autopilot
// texts on screen. The autopilot's attitude commands last one step each.
#include <cstdio>
#include <cstdlib>

#include "FixedText.h"
#include "MediumLauncher.h"
#include "ModuleState.h"

namespace medium {
namespace {

constexpr char kBlank15[] = "               ";
constexpr char kBlank16[] = "                ";

// A uniform draw in (0, 1], from the runtime's generator in 0-32767.
double draw() {
    return (std::rand() % 32768 + 1) / 32768.0;
}

void setText(NOTEHANDLE note, const char* text) {
    oapiAnnotationSetText(note, const_cast<char*>(text));
}

}  // namespace

void MediumLauncher::launchGlowStep() {
    if (GetThrusterGroupLevel(THGROUP_MAIN) > 0 && missionTime < 15 && glowDeleted == 0) {
        if (glowCreated == 0) {
            const COLOUR4 orange = {1.0f, 0.5f, 0.1f, 0};
            launchGlow = AddPointLight(_V(0, 0, -5), 120, 0, 0.01, 0.001, orange, orange, orange);
            glowCreated = 1;
        }
        const double r1 = draw(), r2 = draw();
        if (missionTime < 2) {
            glowFlicker = glowFlicker + 0.1 * r1 > 1 ? 1 : glowFlicker + 0.1 * r1;
            if (launchGlow)
                launchGlow->SetIntensity(glowFlicker + r2 / 3);
            glowFade = 1;
        }
        if (missionTime > 3) {
            const double fade = glowFade - (0.001 * missionTime + 0.005);
            glowFade = fade < 0 ? 0 : fade;
            if (launchGlow)
                launchGlow->SetIntensity(glowFade);
        }
    }
    if (missionTime > 14 && missionTime < 25 && glowCreated == 1 && glowDeleted == 0) {
        DelLightEmitter(launchGlow);
        launchGlow = nullptr;
        glowDeleted = 1;
    }
}

void MediumLauncher::releaseOneStepAttitude() {
    if (autopilotMode != 1 && autopilotMode != 2)
        return;
    for (THGROUP_TYPE group : {THGROUP_ATT_YAWRIGHT, THGROUP_ATT_YAWLEFT, THGROUP_ATT_BANKLEFT, THGROUP_ATT_BANKRIGHT})
        SetThrusterGroupLevel(group, 0);
}

void MediumLauncher::updateAnnotations() {
    if (firstStepState == 0)
        return;
    if (oapiGetFocusObject() != oapiGetObjectByName(ownName.data()) || oapiCameraInternal()) {
        setText(annotMissionLabel, kBlank15);
        setText(annotMissionValue, kBlank16);
        setText(annotAutopilot, kBlank15);
        return;
    }
    char clock[32];
    tarvik::fixedText(clock, missionTime, 0);
    setText(annotMissionLabel, "Mission time:");
    setText(annotMissionValue, clock);
    if (autopilotMode == 1 || autopilotMode == 2) {
        if (ascentPhase == 5)
            setText(annotAutopilot, "Autopilot Complete");
        else if (ascentPhase < 5)
            setText(annotAutopilot, "Autopilot ON");
    } else {
        setText(annotAutopilot, kBlank15);
    }
}

}  // namespace medium

// The Medium launcher vessel: one class for the four builds, which differ
// only by the build's VariantRecord. Each launcher carries its own flight
// state (LauncherState: payload, engines, mission clock, autopilot, dialogs);
// the stage and layout values below are the vessel's own as well.
#pragma once

#include "LauncherState.h"
#include "Orbitersdk.h"

namespace tarvik {
struct PartSpin;
struct StreamRow;
}  // namespace tarvik

namespace medium {

struct LauncherChoice;
struct PayloadChoice;
struct SavedFlight;

class MediumLauncher : public VESSEL2, public LauncherState {
public:
    MediumLauncher(OBJHANDLE hVessel, int flightModel) : VESSEL2(hVessel, flightModel) {}

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override;

    // Stage set-ups: tanks, engines, flames and streams of each phase.
    void padIgnitionSetup();
    void liftoffSetup();
    void boosterJettisonSetup();
    void upperStageSetup();
    void payloadStageSetup();

    // Mesh layouts: what the stack looks like and weighs in each configuration.
    void padLayout(bool addUpperStageTank = true);
    void liftoffLayout();
    void coreLayout();
    void corePairLayout();
    void coreBareLayout();
    void upperLayout();
    void upperBareLayout();
    void upperAloneLayout();

    // Staging events.
    void fairingJettison();
    void boosterJettison();
    void secondBoosterPair();
    void shedSecondPair();
    void coreSeparation();
    void payloadRelease();

    // The staging parts of the step callbacks and of the key handler.
    void preStepStaging(double dt);
    void postStepStaging();
    void stagingKey(DWORD key);

    // The ascent autopilot: the block of the pre-step and its guidance step.
    void firstStep();
    void autopilotBlock();
    void refreshAutopilotDialog(HWND dialog);
    void drawThrustColumn(HWND dialog);
    void computeLaunchAzimuth(HWND dialog);
    void guidanceStep();
    void rollProgramme(VESSELSTATUS2& vs);
    void pitchProgramme(VESSELSTATUS2& vs);
    void upperStagePitchLaw(VESSELSTATUS2& vs);
    void insertionStep(VESSELSTATUS2& vs);
    void headingHold(VESSELSTATUS2& vs);

    // The configuration dialog's re-creation of the launcher, from the post-step.
    void recreate();

    // The flight display: launch glow, one-step attitude commands, annotations.
    void launchGlowStep();
    void releaseOneStepAttitude();
    void updateAnnotations();

    // The launcher's dialogs (medium/dialogs/). Each is opened with this
    // launcher as its context, and the one dialog procedure hands every
    // message to the launcher that opened the dialog.
    // A module has one dialog of each kind open at a time: while another
    // launcher of this build holds it, this one cannot open its own.
    bool dialogHeldByAnother(int resourceId) const;
    HWND openLauncherDialog(int resourceId);  // null when held by another
    void initialiseDialog(HWND dialog);
    void dialogCommand(HWND dialog, int id);
    void dialogClosed(HWND dialog);
    void closeDialogs();  // every dialog this launcher opened, as it goes
    // The vessel named ownName: this launcher, looked up as the dialogs and holds do.
    VESSEL* ownLauncher() const;

    // autopilot dialog (131)
    void autopilotKey();  // key A
    void launchButton(HWND dialog);
    void hideButton(HWND dialog);
    void autopilotOffButton(HWND dialog);

    // configuration dialog (101)
    void configurationKey();  // key M
    void openConfiguration();
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

    // Flight state (first values in clbkSetClassCaps).
    int stage = 0;
    double secondPairTime = 0;
    double ignitionSteps = 0;
    double stageTimerCount = 0;
    double stageTimerMode = 0;  // 1.0 upper-stage ignition wait, 2.0 core-separation wait
    double boosterPairState = 0;
    double configCode = 0;    // scenario key "CONFIG"
    double currentPitch = 0;  // [deg] measured by the autopilot each step
    double firstStageDryMass = 0;
    double boosterDryMass = 0;
    double upperStageDryMass = 0;

    NOTEHANDLE annotMissionValue = nullptr;
    NOTEHANDLE annotMissionLabel = nullptr;
    NOTEHANDLE annotAutopilot = nullptr;

    MESHHANDLE coreMesh = nullptr;
    MESHHANDLE interstageMesh = nullptr;
    MESHHANDLE upperStageMesh = nullptr;

private:
    double emptyMassOf(int boostersShown, bool coreShown, bool payloadShown, bool fairingShown) const;
    void addStackMeshes(double coreHeight, double interstageHeight, double upperHeight, double fairingHeight,
                        double payloadHeight);
    void shedPart(const char* suffix, const char* classKey, const VECTOR3& push, const tarvik::PartSpin& spin);
    void addStream(THRUSTER_HANDLE th, const tarvik::StreamRow& row, const VECTOR3* pos = nullptr, double size = 0);
    bool coreStageMayShedFairing() const;
    void padEngineSetup();
    void padSetupAgain();
    bool namesStageSetUp(int code) const;
    void applyLoadedConfiguration();
    void applyLoadedLayout();
    // A flight saved in the air, continued: the extra lines and the rebuild.
    void saveFlightState(FILEHANDLE scn);
    bool readFlightState(const char* line, SavedFlight& saved);
    void resumeFlight(const SavedFlight& saved);
    void resumeAutopilot(const SavedFlight& saved);
};

}  // namespace medium

// The headless simulator: vessel list, focus, time, the step loop, scenario
// files, keys, and the record of what a pilot would see. One Simulation is
// current at a time; the oapi* functions act on it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Dispersions.h"
#include "VesselData.h"

namespace host {

// Bad input: a file that cannot be read or a line that makes no sense.
struct InputError : std::runtime_error {
    InputError(std::string file, int line, const std::string& problem);
    std::string file;
    int line;  // 0 when the problem is not tied to a line
};

struct Event {
    double simt;
    std::string vessel;  // empty for events of the simulation itself
    std::string what;    // "created TarvikM52 (tarvik/tarvikM52)", "key F", ...

    // The event as one log line: "<simt with 3 decimals> <vessel or -> <what>".
    std::string line() const;
};

struct Annotation {
    double size = 1;
    VECTOR3 colour{};
    double x1 = 0, y1 = 0, x2 = 1, y2 = 1;
    std::string text;
    bool exclusive = false;
    const VesselData* owner = nullptr;  // the vessel whose module created it; it goes with that vessel
    std::string loggedText;             // host record: the text as last written to the event log
    double loggedAt = -1e300;           // and when
};

struct ViewState {  // camera, HUD and MFD as the modules left them
    std::string cameraTarget;
    bool cameraInternal = false;
    double cockpitPolar = 0, cockpitAzimuth = 0;
    int hudMode = HUD_ORBIT;
    bool mfdOn[2] = {true, true};
};

class Simulation {
public:
    // dataDir holds Config/ (class configurations), Modules/ is found beside the
    // host library; the host's root folder ("temp", "tarvik/custom1.cfg") is rootDir.
    // An empty rootDir means the current directory.
    explicit Simulation(std::string dataDir, double fps = 60, std::string rootDir = "");
    ~Simulation();  // deletes every vessel and unloads every module (ExitModule)
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    static Simulation* current();

    // where plug-ins are loaded from (default: installedFolders().modules)
    void setModuleDir(std::string dir);
    const std::string& moduleDir() const;

    // scenarios; throw InputError on bad input. Loading adds the scenario's
    // vessels to those present; simt starts again at 0 with the scenario's date.
    void loadScenario(const std::string& path);
    void saveScenario(const std::string& path);
    std::string scenarioText();  // what saveScenario writes
    void setMjd(double mjd);
    const std::string& description() const;  // the scenario's BEGIN_DESC text

    // vessels; createVessel throws InputError for an unusable class or a taken name
    VesselData* createVessel(const std::string& name, const std::string& className, const VESSELSTATUS2& status);
    void deleteVessel(VesselData* v);  // at the end of the step (or of the next one, between steps)
    const std::vector<std::unique_ptr<VesselData>>& vessels() const;
    VesselData* vessel(const std::string& name) const;
    CelestialBody* earth();
    VesselData* focus() const;
    // The pilot's focus switch: refused (false) for a vessel whose focus is
    // disabled. Modules switch with oapiSetFocusObject, which is not refused.
    bool setFocus(VesselData* v);

    // time and stepping. clbkPreStep receives the time and date at the start
    // of the frame, clbkPostStep those at its end; both receive the frame's simdt.
    void step();                 // one frame: pre-step, physics, post-step, deletions
    void run(double seconds);    // frames until simt has advanced by seconds
    double simTime() const;      // since this scenario was loaded (the script's clock)
    double elapsedTime() const;  // the whole flight's, carried across save and reload
    double simStep() const;
    double mjd() const;
    double frameLength() const;
    double timeAcceleration() const;
    void setTimeAcceleration(double warp);
    long long stepCount() const;

    // pilot input
    bool pressKey(DWORD key);        // key-down to the focus vessel; true if consumed
    void setThrottle(double level);  // the focus vessel's main group

    // Problems the pilot must hear of at once, not only in the event log: a
    // vessel a module asked for that could not be created (a payload whose
    // class does not exist, lost at release). Without a handler they are only
    // logged.
    void setWarningHandler(std::function<void(const std::string&)> handler);

    // A dispersed run (Dispersions.h): from now on what the modules set is
    // scaled by these draws, and the air's density too. Given before the
    // scenario loads, the launcher is built with them from its first set-up.
    // Null when the run has none.
    void setDispersion(const Dispersion& dispersion);
    const Dispersion* dispersion() const;

    // Throws the first failure of a host file a module wrote ("temp",
    // "tarvik/custom1.cfg") since the last call: InputError when it may not
    // be written there, std::runtime_error when the write failed. step()
    // calls it before and after the frame.
    void checkHostFiles();

    // records
    const std::vector<Event>& events() const;
    void addEvent(const std::string& vessel, const std::string& what);
    const std::vector<std::unique_ptr<Annotation>>& annotations() const;
    // Grows whenever what the annotations show may have changed.
    uint64_t annotationChanges() const;
    const ViewState& view() const;
    const std::vector<std::string>& registeredTextures() const;

    const std::string& dataDir() const;
    const std::string& rootDir() const;

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace host

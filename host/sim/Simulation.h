// The headless simulator: vessel list, focus, time, the step loop, scenario
// files, keys, and the record of what a pilot would see. One Simulation is
// current at a time; the oapi* functions act on it.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

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
};

struct Annotation {
    double size = 1;
    VECTOR3 colour{};
    double x1 = 0, y1 = 0, x2 = 1, y2 = 1;
    std::string text;
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
    explicit Simulation(std::string dataDir, double fps = 60, std::string rootDir = "");
    ~Simulation();  // deletes every vessel and unloads every module (ExitModule)
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    static Simulation* current();

    // scenarios; throw InputError on bad input
    void loadScenario(const std::string& path);
    void saveScenario(const std::string& path);
    void setMjd(double mjd);

    // vessels
    VesselData* createVessel(const std::string& name, const std::string& className, const VESSELSTATUS2& status);
    void deleteVessel(VesselData* v);  // at the end of the step
    const std::vector<std::unique_ptr<VesselData>>& vessels() const;
    VesselData* vessel(const std::string& name) const;
    CelestialBody* earth();
    VesselData* focus() const;
    void setFocus(VesselData* v);

    // time and stepping
    void step();                // one frame: pre-step, physics, post-step, deletions
    void run(double seconds);   // frames until simt has advanced by seconds
    double simTime() const;
    double simStep() const;
    double mjd() const;
    double frameLength() const;
    double timeAcceleration() const;
    void setTimeAcceleration(double warp);
    long long stepCount() const;

    // pilot input
    bool pressKey(DWORD key);         // key-down to the focus vessel; true if consumed
    void setThrottle(double level);   // the focus vessel's main group

    // records
    const std::vector<Event>& events() const;
    void addEvent(const std::string& vessel, const std::string& what);
    const std::vector<std::unique_ptr<Annotation>>& annotations() const;
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

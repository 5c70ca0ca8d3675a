// The simulation's inner state, shared by the simulation's own files (the
// step loop, scenario files, visual changes) and the oapi object and view
// functions; the other rooms reach the current simulation through the narrow
// calls of CurrentSimulation.h.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CurrentSimulation.h"
#include "HostFile.h"
#include "PluginLibrary.h"
#include "Simulation.h"

namespace host {

struct ScenarioVesselLines;

struct Simulation::Impl {
    explicit Impl(Simulation& s) : self(s) {}
    Simulation& self;
    Simulation* previous = nullptr;  // the simulation that was current before this one

    std::string dataDir, rootDir, moduleDir;
    std::string description;
    double frameLength = 1.0 / 60;
    double warp = 1;
    double simt = 0;           // since the scenario started
    double simdt = 0;          // length of the current (or last) frame
    double mjd0 = 51544.5;     // date at simt 0
    double elapsedBefore = 0;  // flight time the loaded scenario had behind it
    long long steps = 0;
    bool inStep = false;

    CelestialBody earth;
    std::vector<std::unique_ptr<VesselData>> vessels;
    std::vector<VesselData*> stepList;  // vessels stepped in the current frame; capacity kept
    bool deletionAsked = false;  // a vessel may be marked for deletion: the list is looked through
    VesselData* focus = nullptr;
    VesselData* actor = nullptr;  // the vessel whose callback is running, for the event log

    std::vector<std::unique_ptr<PluginLibrary>> modules;  // in load order
    std::vector<Event> events;
    std::vector<std::unique_ptr<Annotation>> annotations;
    uint64_t annotationChanges = 0;  // texts set, notes put up or taken down
    ViewState view;
    std::vector<std::string> textures;
    std::vector<std::unique_ptr<HostFile>> files;  // files the modules hold open
    ScenarioVesselLines* loadingLines = nullptr;   // status pointer handed to clbkLoadStateEx
    HostFile* loadingFile = nullptr;                // the block it reads meanwhile
    std::function<void(const std::string&)> warn;  // see Simulation::setWarningHandler
    ProtectedInputs inputs;                        // the data and plug-in folders no host file may replace
    // The first host file a module wrote that may not (refused) or could not
    // be written; Simulation::checkHostFiles throws it.
    std::string fileFailure;
    bool fileRefused = false;
    std::optional<Dispersion> dispersion;  // see Simulation::setDispersion

    double mjd() const { return mjd0 + simt / 86400.0; }

    // look-ups that never dereference a stale handle
    VesselData* vesselOf(OBJHANDLE h) const;               // the last one found is asked first
    VesselData* vesselNamed(std::string_view name) const;  // the same
    mutable VesselData* lastFound = nullptr;
    mutable VesselData* lastNamed = nullptr;
    Annotation* annotationOf(NOTEHANDLE h) const;
    HostFile* fileOf(FILEHANDLE f) const;

    // the event log
    void record(const std::string& vessel, std::string what);
    std::string actorName() const { return actor ? actor->name : std::string(); }

    // vessels
    PluginLibrary& module(const std::string& name);  // loads once; throws std::runtime_error
    // Builds the vessel up to clbkSetClassCaps (inclusive); throws InputError
    // naming the class. The vessel is in the list when its callbacks run.
    VesselData* instantiate(const std::string& name, const std::string& classKey);
    void destroy(VesselData* v);  // ovcExit and removal, no questions asked
    void processDeletions();
    void changeFocus(VesselData* v);  // no checks; calls clbkFocusChanged
    VesselData* firstFocusable() const;

    // per-frame record of visual changes (beacons, animations, lit thrusters)
    void recordVisualChanges();
};

// Runs a module callback with `v` as the acting vessel for the event log.
class ActorScope {
public:
    ActorScope(Simulation::Impl& sim, VesselData* v) : sim_(sim), previous_(sim.actor) { sim.actor = v; }
    ~ActorScope() { sim_.actor = previous_; }
    ActorScope(const ActorScope&) = delete;
    ActorScope& operator=(const ActorScope&) = delete;

private:
    Simulation::Impl& sim_;
    VesselData* previous_;
};

// The current simulation's state, or null when there is none.
Simulation::Impl* currentSim();

}  // namespace host

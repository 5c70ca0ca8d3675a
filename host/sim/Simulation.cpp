#include "Simulation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "ClassConfig.h"
#include "InputText.h"
#include "InstalledFolders.h"
#include "KeyNames.h"
#include "NumberText.h"
#include "PathLookup.h"
#include "SimulationImpl.h"
#include "VesselAccess.h"
#include "physics/Atmosphere.h"
#include "physics/Earth.h"
#include "physics/Physics.h"
#include "window/Dialogs.h"

namespace host {

namespace {

Simulation* g_current = nullptr;

constexpr double minWarp = 0.1;
constexpr double maxWarp = 100000;

// A message is one printable line, however it was put together: a text
// quoted without quote() is escaped here too, and an overlong one is cut.
constexpr size_t maxProblemLength = 400;

std::string errorText(const std::string& file, int line, const std::string& problem) {
    std::string text = printable(problem);
    if (text.size() > maxProblemLength)
        text = text.substr(0, maxProblemLength) + "...";
    if (file.empty())
        return text;
    if (line > 0)
        return printable(file) + ":" + std::to_string(line) + ": " + text;
    return printable(file) + ": " + text;
}

}  // namespace

InputError::InputError(std::string f, int l, const std::string& problem)
    : std::runtime_error(errorText(f, l, problem)), file(std::move(f)), line(l) {}

std::string Event::line() const {
    char t[32];
    std::snprintf(t, sizeof t, "%.3f", simt);
    return std::string(t) + " " + (vessel.empty() ? std::string("-") : vessel) + " " + what;
}

Simulation::Impl* currentSim() {
    return g_current ? &g_current->impl() : nullptr;
}

// ---------------------------------------------------------------- the rooms' calls

void recordFor(const VesselData& v, std::string what) {
    if (Simulation::Impl* s = currentSim())
        s->record(v.name, std::move(what));
}

CelestialBody* currentEarth() {
    Simulation::Impl* s = currentSim();
    return s ? &s->earth : nullptr;
}

const Dispersion* currentDispersion() {
    Simulation::Impl* s = currentSim();
    return s && s->dispersion ? &*s->dispersion : nullptr;
}

void recordTexture(std::string name) {
    if (Simulation::Impl* s = currentSim())
        s->textures.push_back(std::move(name));
}

bool currentFolders(std::string& rootDir, std::string& dataDir) {
    Simulation::Impl* s = currentSim();
    if (!s)
        return false;
    rootDir = s->rootDir;
    dataDir = s->dataDir;
    return true;
}

HostFile* keepOpen(std::unique_ptr<HostFile> file) {
    Simulation::Impl* s = currentSim();
    if (!s)
        return nullptr;
    s->files.push_back(std::move(file));
    return s->files.back().get();
}

HostFile* openFileOf(FILEHANDLE f) {
    Simulation::Impl* s = currentSim();
    return s ? s->fileOf(f) : nullptr;
}

void closeOpenFile(FILEHANDLE f) {
    Simulation::Impl* s = currentSim();
    if (!s || !s->fileOf(f))
        return;
    std::erase_if(s->files, [&](const auto& file) { return file.get() == f; });
}

void reportFileFailure(const std::string& message, bool refused) {
    Simulation::Impl* s = currentSim();
    if (!s || !s->fileFailure.empty())
        return;
    s->fileFailure = message;
    s->fileRefused = refused;
    s->record("", "host file not written: " + message);
}

void warnOfFile(const std::string& message) {
    Simulation::Impl* s = currentSim();
    if (!s)
        return;
    s->record("", message);
    if (s->warn)
        s->warn(message);
}

Module* moduleFromInstance(HINSTANCE instance) {
    Simulation::Impl* s = currentSim();
    if (!s || !instance)
        return nullptr;
    for (const auto& m : s->modules)
        if (m->instance() == instance)
            return m.get();
    return nullptr;
}

// ---------------------------------------------------------------- Impl

// A module asks about its own vessel many times in a row.
VesselData* Simulation::Impl::vesselOf(OBJHANDLE h) const {
    if (!h)
        return nullptr;
    if (lastFound && static_cast<HostObject*>(lastFound) == h)
        return &settled(*lastFound);
    for (const auto& v : vessels)
        if (static_cast<HostObject*>(v.get()) == h) {
            lastFound = v.get();
            return &settled(*lastFound);
        }
    return nullptr;
}

VesselData* liveVessel(OBJHANDLE h) {
    if (Simulation::Impl* s = currentSim())
        return s->vesselOf(h);
    // A vessel record used without a simulation (the physics tests' own) is taken as it is.
    return h && h->isVessel ? &settled(*static_cast<VesselData*>(h)) : nullptr;
}

// Modules look themselves and their pads up by name every step.
VesselData* Simulation::Impl::vesselNamed(std::string_view name) const {
    if (lastNamed && lastNamed->name == name)
        return &settled(*lastNamed);
    for (const auto& v : vessels)
        if (v->name == name) {
            lastNamed = v.get();
            return &settled(*lastNamed);
        }
    return nullptr;
}

Annotation* Simulation::Impl::annotationOf(NOTEHANDLE h) const {
    for (const auto& a : annotations)
        if (reinterpret_cast<NOTEHANDLE>(a.get()) == h)
            return a.get();
    return nullptr;
}

HostFile* Simulation::Impl::fileOf(FILEHANDLE f) const {
    for (const auto& file : files)
        if (file.get() == f)
            return file.get();
    return nullptr;
}

void Simulation::Impl::record(const std::string& vessel, std::string what) {
    events.push_back(Event{simt, vessel, std::move(what)});
}

PluginLibrary& Simulation::Impl::module(const std::string& name) {
    for (const auto& m : modules)
        if (m->name() == name)
            return *m;
    if (!isSafeRelativeName(name) || name.find_first_of("/\\") != std::string::npos)
        throw std::runtime_error("'" + name + "' is not a module name");
    modules.push_back(PluginLibrary::open(name, moduleDir + "/" + name + ".so"));
    return *modules.back();
}

VesselData* Simulation::Impl::instantiate(const std::string& name, const std::string& classKey) {
    ItemFile cfg = readClassConfig(dataDir, classKey);
    PluginLibrary* library = nullptr;
    if (const Item* item = cfg.find("Module")) {
        try {
            library = &module(item->value);
        } catch (const std::runtime_error& e) {
            throw InputError(cfg.path, item->line, "class '" + classKey + "': " + e.what());
        }
    }

    auto owned = std::make_unique<VesselData>();
    VesselData* v = owned.get();
    v->name = name;
    v->className = classKey;
    v->module = library;
    applyClassItems(*v, cfg, classKey);
    for (size_t i = 0; i < v->meshes.size(); ++i)
        recordFor(*v, "mesh " + std::to_string(i) + " added " + v->meshes[i].name);

    // The vessel is listed while its module builds it, as the simulator does:
    // clbkSetClassCaps may look itself up by name.
    vessels.push_back(std::move(owned));
    try {
        ActorScope scope(*this, v);
        VESSEL* iface = library ? library->createVessel(v, v->flightModel) : new VESSEL2(v, v->flightModel);
        if (!iface)
            throw InputError(cfg.path, 0, "class '" + classKey + "': module " + library->name() + " created no vessel");
        v->iface = iface;
        v->callbacks = dynamic_cast<VESSEL2*>(iface);
        if (!v->callbacks)
            throw InputError(cfg.path, 0, "class '" + classKey + "': the module's vessel is not a VESSEL2");

        auto file = std::make_unique<HostFile>(HostFile::Kind::ItemsIn);
        file->items = cfg;
        HostFile* handle = file.get();
        files.push_back(std::move(file));
        v->callbacks->clbkSetClassCaps(handle);
        files.erase(std::find_if(files.begin(), files.end(), [&](const auto& f) { return f.get() == handle; }));
    } catch (...) {
        destroy(v);
        throw;
    }
    return v;
}

void Simulation::Impl::destroy(VesselData* v) {
    if (VESSEL* iface = v->iface) {
        ActorScope scope(*this, v);
        v->iface = nullptr;
        v->callbacks = nullptr;
        if (v->module)
            static_cast<PluginLibrary*>(v->module)->destroyVessel(iface);
        else
            delete iface;
    }
    // Screen texts go with the vessel whose module put them up.
    annotations.erase(
        std::remove_if(annotations.begin(), annotations.end(), [&](const auto& a) { return a->owner == v; }),
        annotations.end());
    ++annotationChanges;
    if (focus == v)
        focus = nullptr;
    if (actor == v)
        actor = nullptr;
    if (lastNamed == v)
        lastNamed = nullptr;
    if (lastFound == v)
        lastFound = nullptr;
    vessels.erase(std::find_if(vessels.begin(), vessels.end(), [&](const auto& p) { return p.get() == v; }));
}

void Simulation::Impl::processDeletions() {
    if (!deletionAsked)
        return;
    deletionAsked = false;  // a deletion asked while these go is seen now or next time
    for (size_t i = 0; i < vessels.size();) {
        VesselData* v = vessels[i].get();
        if (!v->pendingDelete) {
            ++i;
            continue;
        }
        const bool hadFocus = focus == v;
        const std::string name = v->name, by = v->deletedBy, handOver = v->handOverTo;
        destroy(v);
        record(by, "deleted " + name);

        VesselData* next = vesselNamed(handOver);
        if (next && next->pendingDelete)
            next = nullptr;
        if (view.cameraTarget == name)
            view.cameraTarget = next ? next->name : (focus ? focus->name : std::string());
        if (hadFocus) {
            if (!next || !next->caps.focusEnabled)
                next = firstFocusable();
            if (next)
                changeFocus(next);
        }
    }
}

void Simulation::Impl::changeFocus(VesselData* v) {
    VesselData* old = focus;
    if (old == v)
        return;
    focus = v;
    if (v)
        view.cameraTarget = v->name;
    record(v ? v->name : std::string(), old ? "focus from " + old->name : std::string("focus"));
    if (old && old->callbacks) {
        ActorScope scope(*this, old);
        old->callbacks->clbkFocusChanged(false, v, old);
    }
    if (v && v->callbacks && focus == v) {
        ActorScope scope(*this, v);
        v->callbacks->clbkFocusChanged(true, v, old);
    }
}

VesselData* Simulation::Impl::firstFocusable() const {
    for (const auto& v : vessels)
        if (v->caps.focusEnabled && !v->pendingDelete)
            return v.get();
    return nullptr;
}

// ---------------------------------------------------------------- Simulation

Simulation::Simulation(std::string dataDir, double fps, std::string rootDir) : impl_(std::make_unique<Impl>(*this)) {
    Impl& s = *impl_;
    s.dataDir = std::move(dataDir);
    s.rootDir = rootDir.empty() ? std::string(".") : std::move(rootDir);
    s.moduleDir = installedFolders().modules;
    s.inputs.dataFolder(s.dataDir, s.rootDir);
    s.inputs.folder(s.moduleDir, "the plug-in folder");
    if (!(fps > 0) || !std::isfinite(fps))
        throw InputError("", 0, "the frame rate must be a positive number");
    s.frameLength = 1.0 / fps;
    s.earth.name = "Earth";
    s.earth.mass = physics::kEarthMass;
    s.earth.radius = physics::kEarthRadius;
    s.earth.siderealPeriod = physics::kEarthSiderealPeriod;
    s.previous = g_current;
    g_current = this;
}

Simulation::~Simulation() {
    Impl& s = *impl_;
    Simulation* wasCurrent = g_current;
    g_current = this;  // the modules' exit code may still call the host
    while (!s.vessels.empty())
        s.destroy(s.vessels.back().get());
    s.files.clear();
    s.annotations.clear();
    while (!s.modules.empty()) {                 // last loaded first
        closeDialogsOf(s.modules.back().get());  // no dialog may outlive its procedure's code
        s.modules.pop_back();                    // ExitModule and unload
    }
    g_current = wasCurrent == this ? s.previous : wasCurrent;
    if (s.dispersion)
        physics::setDensityScale(1);  // the next simulation breathes the standard air
}

Simulation* Simulation::current() {
    return g_current;
}

void Simulation::setModuleDir(std::string dir) {
    impl_->moduleDir = std::move(dir);
    impl_->inputs.folder(impl_->moduleDir, "the plug-in folder");
}
const std::string& Simulation::moduleDir() const {
    return impl_->moduleDir;
}
void Simulation::setMjd(double mjd) {
    impl_->mjd0 = mjd - impl_->simt / 86400.0;
}
const std::string& Simulation::description() const {
    return impl_->description;
}

VesselData* Simulation::createVessel(const std::string& name, const std::string& className,
                                     const VESSELSTATUS2& status) {
    Impl& s = *impl_;
    if (name.empty())
        throw InputError("", 0, "a vessel needs a name");
    // The name goes into scenario headers, the summary and the event log.
    if (!isPlainWord(name))
        throw InputError("", 0, "vessel name " + quote(name) + " is not printable ASCII without blanks");
    if (status.version != 2)
        throw InputError("", 0, "vessel '" + name + "': the state record is not version 2");
    // Modules may give several parts one name (the heavy launcher's six solid
    // boosters do); each still becomes a vessel, under the first free name
    // NAME-2, NAME-3, ... so that look-ups by name stay unambiguous.
    std::string given = name;
    for (int n = 2; s.vesselNamed(given); ++n)
        given = name + "-" + std::to_string(n);

    const size_t eventIndex = s.events.size();
    const std::string creator = s.actorName();
    VesselData* v = s.instantiate(given, className);
    {
        ActorScope scope(s, v);
        physics::applyStatus(*v, status, s.mjd(), s.vesselOf(status.rbody));  // a reference among its own vessels
        v->createdThisStep = s.inStep;
        v->callbacks->clbkPostCreation();
    }
    // Logged ahead of what the new vessel's set-up recorded.
    s.events.insert(s.events.begin() + static_cast<long>(std::min(eventIndex, s.events.size())),
                    Event{s.simt, creator, "created " + given + " (" + className + ")"});
    if (!s.focus && v->caps.focusEnabled)
        s.changeFocus(v);
    return v;
}

void Simulation::deleteVessel(VesselData* v) {
    Impl& s = *impl_;
    if (!s.vesselOf(v) || v->pendingDelete)
        return;
    v->pendingDelete = true;
    s.deletionAsked = true;
    v->deletedBy = s.actorName();
}

const std::vector<std::unique_ptr<VesselData>>& Simulation::vessels() const {
    for (const auto& v : impl_->vessels)
        settled(*v);
    return impl_->vessels;
}
VesselData* Simulation::vessel(const std::string& name) const {
    return impl_->vesselNamed(name);
}
CelestialBody* Simulation::earth() {
    return &impl_->earth;
}
VesselData* Simulation::focus() const {
    return impl_->focus ? &settled(*impl_->focus) : nullptr;
}

bool Simulation::setFocus(VesselData* v) {
    Impl& s = *impl_;
    if (!s.vesselOf(v) || v->pendingDelete || !v->caps.focusEnabled)
        return false;
    s.changeFocus(v);
    return true;
}

void Simulation::checkHostFiles() {
    Impl& s = *impl_;
    if (s.fileFailure.empty())
        return;
    const std::string message = std::exchange(s.fileFailure, std::string());
    if (s.fileRefused)
        throw InputError("", 0, message);
    throw std::runtime_error(message);
}

void Simulation::step() {
    Impl& s = *impl_;
    if (s.inStep)
        return;  // a module cannot run a frame from inside one
    checkHostFiles();
    s.processDeletions();  // asked for between frames

    s.inStep = true;
    const double dt = s.frameLength * s.warp;
    const double t0 = s.simt;
    const double mjdStart = s.mjd();
    s.simdt = dt;
    s.stepList.clear();
    for (const auto& v : s.vessels)
        s.stepList.push_back(v.get());

    for (VesselData* v : s.stepList) {
        if (v->pendingDelete || !v->callbacks)
            continue;
        ActorScope scope(s, v);
        v->callbacks->clbkPreStep(t0, dt, mjdStart);
    }
    physics::step(s.stepList, t0, dt, mjdStart);
    s.simt = t0 + dt;
    const double mjdEnd = s.mjd();
    for (VesselData* v : s.stepList) {
        if (v->pendingDelete || !v->callbacks)
            continue;
        ActorScope scope(s, v);
        v->callbacks->clbkPostStep(s.simt, dt, mjdEnd);
    }
    s.recordVisualChanges();
    deliverPaintMessages();  // the message loop's turn: dialogs redraw once per frame
    s.inStep = false;

    s.processDeletions();
    for (const auto& v : s.vessels)
        v->createdThisStep = false;
    ++s.steps;
    checkHostFiles();
}

void Simulation::run(double seconds) {
    Impl& s = *impl_;
    const double target = s.simt + seconds;
    // Frames are whole; stop at the first frame end at or past the target
    // (a tolerance keeps rounding in simt from adding a frame).
    while (s.simt + 1e-6 * s.frameLength * s.warp < target)
        step();
}

double Simulation::simTime() const {
    return impl_->simt;
}
double Simulation::elapsedTime() const {
    return impl_->elapsedBefore + impl_->simt;
}
double Simulation::simStep() const {
    return impl_->simdt;
}
double Simulation::mjd() const {
    return impl_->mjd();
}
double Simulation::frameLength() const {
    return impl_->frameLength;
}
double Simulation::timeAcceleration() const {
    return impl_->warp;
}
long long Simulation::stepCount() const {
    return impl_->steps;
}

void Simulation::setTimeAcceleration(double warp) {
    Impl& s = *impl_;
    if (std::isnan(warp))
        return;
    warp = std::clamp(warp, minWarp, maxWarp);
    if (warp == s.warp)
        return;
    s.warp = warp;
    s.record(s.actorName(), "time acceleration " + numberText(warp));
}

bool Simulation::pressKey(DWORD key) {
    Impl& s = *impl_;
    VesselData* v = s.focus;
    if (!v || v->pendingDelete || !v->callbacks)
        return false;
    s.record(v->name, "key " + keyName(key));
    char kstate[256] = {};
    kstate[key & 0xFF] = static_cast<char>(0x80);  // the key is down while it is delivered
    ActorScope scope(s, v);
    return v->callbacks->clbkConsumeBufferedKey(key, true, kstate) != 0;
}

void Simulation::setThrottle(double level) {
    Impl& s = *impl_;
    VesselData* v = s.focus;
    if (!v || !v->iface || std::isnan(level))
        return;
    level = std::clamp(level, 0.0, 1.0);
    s.record(v->name, "throttle " + numberText(level));
    v->iface->SetThrusterGroupLevel(THGROUP_MAIN, level);
}

void Simulation::setWarningHandler(std::function<void(const std::string&)> handler) {
    impl_->warn = std::move(handler);
}

void Simulation::setDispersion(const Dispersion& dispersion) {
    impl_->dispersion = dispersion;
    physics::setDensityScale(dispersion.density());
}
const Dispersion* Simulation::dispersion() const {
    return impl_->dispersion ? &*impl_->dispersion : nullptr;
}

const std::vector<Event>& Simulation::events() const {
    return impl_->events;
}
void Simulation::addEvent(const std::string& vessel, const std::string& what) {
    impl_->record(vessel, what);
}
const std::vector<std::unique_ptr<Annotation>>& Simulation::annotations() const {
    return impl_->annotations;
}

uint64_t Simulation::annotationChanges() const {
    return impl_->annotationChanges;
}
const ViewState& Simulation::view() const {
    return impl_->view;
}
const std::vector<std::string>& Simulation::registeredTextures() const {
    return impl_->textures;
}
const std::string& Simulation::dataDir() const {
    return impl_->dataDir;
}
const std::string& Simulation::rootDir() const {
    return impl_->rootDir;
}

}  // namespace host

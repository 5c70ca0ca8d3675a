#include "Fly.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <sstream>

#include "FlightOutlook.h"
#include "FlightValues.h"
#include "Interrupts.h"
#include "LaunchWindow.h"
#include "OnScreen.h"
#include "Plots.h"
#include "RootLock.h"
#include "Script.h"
#include "StageTable.h"
#include "Summary.h"
#include "Telemetry.h"
#include "sim/FileIO.h"
#include "sim/NumberText.h"
#include "physics/Earth.h"
#include "sim/Simulation.h"
#include "window/Dialogs.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

constexpr double timeSlack = 1e-6;  // frame lengths add up to a command's time only within rounding

// The autopilot dialog as the pilot sees it.
constexpr int kAutopilotDialog = 131;
constexpr int kLaunchButton = 1075;
constexpr int kMessage = 1035;        // why LAUNCH was refused, and other notes
constexpr int kAltitudeField = 1049;
constexpr int kInclinationField = 1079;
constexpr int kOrbitList = 1083;      // "Copy Orbital Elements"
constexpr int kCorrectionField = 1100;  // "+/-": the suggested correction after cut-off
constexpr int kCutoffPicture = 1126;
constexpr int kPlaneChangePicture = 1124;  // one picture while the plane changes, another once it is done
constexpr int kWarningPicture = 1106;      // blinks when the plane change is refused
const char* const kCompleteText = "Autopilot Complete";

// When a flight has clearly ended without the autopilot completing [s].
constexpr double kLiftoffWait = 60;       // after LAUNCH, still on the pad
// Every tank empty this long: longer than a Medium core stage, burnt out
// early by a strong engine, coasts to its separation at the stage timer
// (the upper stage brings its tank; up to about 20 s at +7% thrust).
constexpr double kEmptyTankWait = 30;
constexpr double kCircularisationApT = 60;  // a burn this close to the apoapsis circularises

// When the autopilot can no longer complete. It completes once the periapsis
// is above the target less 0.1 km, on its 6371 km sphere.
constexpr double kCompletionSphere = 6371e3;   // m
constexpr double kCompletionMargin = 0.1e3;    // m
constexpr double kOutlookSlack = 0.98;         // what is left must fall short of the need by more than this
constexpr double kBurnRoom = 2;                // a burn near an apoapsis may last this much longer than any seen
constexpr double kBurnRoomSeconds = 5;         // and this many seconds more

// The pilot's coasting rule: the time acceleration goes up only well away
// from anything the autopilot does [s].
constexpr double kCoastMinApT = 100;      // the autopilot turns prograde and takes real time 60-90 s before apoapsis
constexpr double kCoastAfterBurn = 60;    // quiet after the last burn, and after the autopilot took the warp back
constexpr double kCoastAfterCutoff = 10;  // the plane change shows itself at once after cut-off
// Nearer the apoapsis than this, and once the circularisation has begun (its
// burns come back at every apoapsis), the pilot warps at most kCoastNearWarp:
// the autopilot's turn and burns are then timed as in real time.
constexpr double kCoastFarApT = 300;
constexpr double kCoastNearWarp = 10;

// Waiting on the pad for a plane: the time acceleration goes back to 1 this
// long before LAUNCH, and is not worth raising for a shorter wait [s].
constexpr double kPadWarpEnd = 60;
constexpr double kPadWarpWorth = 120;

// Dialogs go before their modules unload, as the simulator closes its windows at exit.
struct DialogCloser {
    ~DialogCloser() {
        try {
            for (HWND d : host::openDialogs())
                oapiCloseDialog(d);
        } catch (...) {
        }
    }
};

// A picture control of the autopilot dialog, watched for a change of what it shows.
class Picture {
public:
    explicit Picture(int id) : id_(id) {}
    void remember(HWND dialog) {
        const host::Surface* s = host::pictureSurface(dialog, id_);
        pixels_ = s ? s->rgb() : std::vector<uint8_t>();
        stamp_ = s ? s->contentStamp() : 0;
        remembered_ = true;
    }
    // Changed since remembered; the new look is remembered. A surface not
    // drawn on since shows what it showed, without reading its pixels.
    bool changed(HWND dialog) {
        const host::Surface* s = host::pictureSurface(dialog, id_);
        if (!s || !remembered_ || s->contentStamp() == stamp_)
            return false;
        stamp_ = s->contentStamp();
        if (s->rgb() == pixels_)
            return false;
        pixels_ = s->rgb();
        return true;
    }

private:
    int id_;
    bool remembered_ = false;
    uint64_t stamp_ = 0;
    std::vector<uint8_t> pixels_;
};

// "created TarvikM52gem1 (tarvik/gem1)" -> name and class.
bool createdVessel(const std::string& what, std::string& name, std::string& className) {
    if (what.rfind("created ", 0) != 0)
        return false;
    const size_t open = what.rfind(" (");
    if (open == std::string::npos || what.back() != ')' || open < 8)
        return false;
    name = what.substr(8, open - 8);
    className = what.substr(open + 2, what.size() - open - 3);
    return true;
}

// What a part that came off the launcher is, from its class.
std::string partKind(const std::string& className) {
    std::string c = className;
    for (char& ch : c)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (c.find("gem") != std::string::npos || c.find("booster") != std::string::npos)
        return "boosters";
    if (c.find("1st") != std::string::npos)
        return "core stage";
    if (c.find("fair") != std::string::npos)
        return "fairing";
    return "part";
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// One flight: the pilot's script played as tarvik-sim plays it, and what
// the pilot sees noted as it happens.
class Flight {
public:
    Flight(const FlyOptions& o, const CheckedMission& c, const Script& script, host::Simulation& sim,
           const std::string& root, std::ostream& warnings)
        : o_(o), c_(c), script_(script), sim_(sim), root_(root), warnings_(warnings) {
        for (size_t i = 0; i < script_.commands.size(); ++i)
            if (script_.commands[i].kind == CommandKind::WaitFor && waitAt_ == npos)
                waitAt_ = i;
    }

    void fly(FlightReport& r, std::ostream* progress);
    const std::vector<std::pair<double, double>>& warps() const { return warps_; }
    bool interrupted() const { return interrupted_; }
    double missionTimeNow() const { return missionTime(); }

private:
    static constexpr size_t npos = static_cast<size_t>(-1);

    [[noreturn]] void fail(const Command& c, const std::string& problem) const {
        throw host::InputError(script_.path, c.line, problem);
    }

    std::string outputPath(const std::string& file) const {
        fs::path p(file);
        return p.is_absolute() ? file : (fs::path(root_) / p).string();
    }

    // The focus vessel's module's dialog first, then any open one: as the script player looks.
    HWND dialog(const Command& c) const {
        HWND d = nullptr;
        if (host::VesselData* focus = sim_.focus(); focus && focus->module)
            d = host::findDialog(focus->module, c.dialog);
        if (!d)
            d = host::findDialog(c.dialog);
        if (!d)
            fail(c, "dialog " + std::to_string(c.dialog) + " is not open");
        return d;
    }

    void checkInput(const Command& c, host::InputResult r) const {
        using host::InputResult;
        const std::string where = "control " + std::to_string(c.control) + " of dialog " + std::to_string(c.dialog);
        if (r == InputResult::Done)
            return;
        if (r == InputResult::Disabled || r == InputResult::Hidden) {
            warnings_ << "tarvik-sim: " << script_.path << ":" << c.line << ": warning: " << where << ": "
                      << host::describe(r) << "; input ignored\n";
            return;
        }
        fail(c, where + ": " + host::describe(r));
    }

    // The pilot's input, through the same calls the script player makes.
    void execute(const Command& c) {
        switch (c.kind) {
            case CommandKind::Key:
                sim_.pressKey(c.key);
                break;
            case CommandKind::Type:
                checkInput(c, host::typeText(dialog(c), c.control, c.text));
                break;
            case CommandKind::Check:
                checkInput(c, host::check(dialog(c), c.control));
                break;
            case CommandKind::Select:
                checkInput(c, host::select(dialog(c), c.control, c.text));
                break;
            case CommandKind::Warp:  // on the pad, waiting for the plane
                sim_.setTimeAcceleration(c.value);
                break;
            case CommandKind::Click:
                checkInput(c, host::click(dialog(c), c.control));
                if (c.dialog == kAutopilotDialog && c.control == kLaunchButton)
                    launched(dialog(c));
                break;
            case CommandKind::Snapshot:
                if (!o_.pictures)
                    break;
                try {
                    host::writeFileWhole(outputPath(c.text), host::encodePng(host::renderDialog(dialog(c))),
                                         "snapshot", root_);
                } catch (const host::InputError& e) {
                    fail(c, e.what());
                }
                break;
            default:  // the pilot's script holds nothing else before its wait
                break;
        }
    }

    void launched(HWND d) {
        launchTime_ = sim_.simTime();
        autopilot_ = d;
        // LAUNCH refused: the button stays on and the dialog says why.
        const std::string message = host::controlText(d, kMessage);
        if (host::controlEnabled(d, kLaunchButton) && message.find_first_not_of(' ') != std::string::npos)
            refusal_ = message;
        // The targets the autopilot flies to, as the dialog holds them (copied from the orbit list, or typed).
        host::parseNumber(host::controlText(d, kAltitudeField), launchAltitude_);
        host::parseNumber(host::controlText(d, kInclinationField).substr(0, 5), launchInclination_);
        cutoffPicture_.remember(d);
        planeChangePicture_.remember(d);
        warningPicture_.remember(d);
    }

    // The launcher's record while it is in the simulation, else null.
    host::VesselData* launcherRecord() const {
        host::VesselData* v = sim_.vessel(c_.mission.launcher);
        return v && !v->pendingDelete && v->iface ? v : nullptr;
    }
    VESSEL* launcher() const {
        host::VesselData* v = launcherRecord();
        return v ? v->iface : nullptr;
    }

    double missionTime() const { return liftedOff_ ? sim_.simTime() - liftoff_ : sim_.simTime() - launchTime_; }

    void note(const std::string& what, const std::string& kind) {
        TimelineEvent e;
        e.missionTime = missionTime();
        e.what = what;
        e.kind = kind;
        if (host::VesselData* v = sim_.vessel(c_.mission.launcher); v && v->iface) {
            const FlightValues f = flightValues(sim_, *v);
            e.latitude = f.latitude;
            e.longitude = f.longitude;
        }
        timeline_.push_back(e);
    }

    // What happened during the last step, as the pilot sees it.
    void observe(VESSEL& v);
    // The time acceleration the pilot wants now.
    void pilotWarp(VESSEL& v);
    bool ended(VESSEL* v, FlightReport& r);
    // Why the flight can no longer complete, or "".
    std::string outOfReach(host::VesselData& v);
    std::vector<const host::Propellant*> mainTanks_;  // outOfReach's, kept between steps
    void reportPlane(FlightReport& r);
    void showProgress(std::ostream& out, VESSEL* v, bool force);

    const FlyOptions& o_;
    const CheckedMission& c_;
    const Script& script_;
    host::Simulation& sim_;
    std::string root_;
    std::ostream& warnings_;
    size_t waitAt_ = npos;
    size_t next_ = 0;  // the next command of the script

    HWND autopilot_ = nullptr;
    double launchTime_ = -1;
    std::string refusal_;
    bool liftedOff_ = false;
    double liftoff_ = 0;
    double emptySince_ = -1;

    Picture cutoffPicture_{kCutoffPicture}, planeChangePicture_{kPlaneChangePicture},
        warningPicture_{kWarningPicture};
    double cutoff_ = -1;  // simulation time
    std::optional<double> cutoffInclination_;
    double launchAltitude_ = NAN, launchInclination_ = NAN;
    enum class PlaneChange { Unknown, Changing, Done, Refused } planeChange_ = PlaneChange::Unknown;
    bool burning_ = false;
    double lastBurn_ = -1e300;
    double burnStart_ = 0;
    double longestBurn_ = 0;  // after cut-off, away from the plane change
    StageRecorder stages_;
    int circularisationBurns_ = 0;
    size_t circularisationEvent_ = npos;
    size_t eventsSeen_ = 0;
    std::vector<TimelineEvent> timeline_;

    double pilotWarp_ = 1;  // what the pilot last set
    double warpTakenBack_ = -1e300;
    std::vector<std::pair<double, double>> warps_;

    std::chrono::steady_clock::time_point lastProgress_{};
    bool interrupted_ = false;

};

void Flight::observe(VESSEL& v) {
    const double t = sim_.simTime();
    if (!liftedOff_ && launchTime_ >= 0 && !v.GroundContact()) {
        liftedOff_ = true;
        liftoff_ = t;
        note("lift-off", "liftoff");
    }

    // Parts the launcher let go of: one line for those that went together.
    const std::vector<host::Event>& events = sim_.events();
    for (; eventsSeen_ < events.size(); ++eventsSeen_) {
        const host::Event& e = events[eventsSeen_];
        std::string name, className;
        if (!liftedOff_ || e.vessel != c_.mission.launcher || !createdVessel(e.what, name, className))
            continue;
        stages_.separated(partKind(className), sim_.simTime());
        const std::string what = partKind(className) + " separated";
        if (!timeline_.empty() && timeline_.back().kind == "separation" &&
            timeline_.back().what.rfind(what + " (", 0) == 0 && timeline_.back().missionTime == missionTime()) {
            std::string& line = timeline_.back().what;
            line.insert(line.size() - 1, ", " + name);
        } else {
            note(what + " (" + name + ")", "separation");
        }
    }

    if (!autopilot_)
        return;
    if (cutoff_ < 0) {
        if (cutoffPicture_.changed(autopilot_)) {
            cutoff_ = t;
            cutoffInclination_ = flightValues(sim_, *sim_.vessel(c_.mission.launcher)).inclination;
            note("cut-off: apoapsis at the target", "cutoff");
        }
    } else if (planeChange_ == PlaneChange::Unknown || planeChange_ == PlaneChange::Changing) {
        if (planeChangePicture_.changed(autopilot_)) {
            if (planeChange_ == PlaneChange::Unknown) {
                planeChange_ = PlaneChange::Changing;
                note("plane change", "planechange");
            } else {
                planeChange_ = PlaneChange::Done;
                note("plane change done", "planechange");
            }
        }
        if (planeChange_ == PlaneChange::Unknown && warningPicture_.changed(autopilot_)) {
            planeChange_ = PlaneChange::Refused;
            note("plane change refused: inclination off by more than 0.2 deg", "note");
        }
    }

    // Burns after cut-off: the plane change's, an apoapsis trim, the circularisation.
    const bool burning = v.GetThrusterGroupLevel(THGROUP_MAIN) > 0;
    if (burning && !burning_ && cutoff_ >= 0 && planeChange_ != PlaneChange::Changing) {
        const FlightValues f = flightValues(sim_, *sim_.vessel(c_.mission.launcher));
        if (circularisationEvent_ != npos) {
            ++circularisationBurns_;
        } else if (f.apoapsisTime < kCircularisationApT) {
            circularisationBurns_ = 1;
            circularisationEvent_ = timeline_.size();
            note("circularisation", "circularisation");
        } else if (planeChange_ == PlaneChange::Done) {
            note("apoapsis trim burn", "note");
        }
    }
    if (burning || burning_)
        lastBurn_ = t;
    if (burning && !burning_)
        burnStart_ = t;
    if (!burning && burning_ && cutoff_ >= 0 && planeChange_ != PlaneChange::Changing)
        longestBurn_ = std::max(longestBurn_, t - burnStart_);
    burning_ = burning;

    if (pilotWarp_ > 1 && sim_.timeAcceleration() < pilotWarp_) {
        warpTakenBack_ = t;  // the autopilot wants real time
        pilotWarp_ = sim_.timeAcceleration();
    }
}

// The pilot warps only while the autopilot coasts: after cut-off, with no
// plane change under way, no burn in the last minute, the apoapsis more than
// 100 s ahead, and the autopilot not having taken the warp back lately; and
// at --coast-warp only while the circularisation has not begun and the
// apoapsis is more than five minutes ahead, else at most 10. Anything else
// is flown in real time.
void Flight::pilotWarp(VESSEL& v) {
    if (o_.coastWarp <= 1)
        return;
    const double t = sim_.simTime();
    bool coast = cutoff_ >= 0 && t > cutoff_ + kCoastAfterCutoff && planeChange_ != PlaneChange::Changing &&
                 !burning_ && t > lastBurn_ + kCoastAfterBurn && t > warpTakenBack_ + kCoastAfterBurn;
    bool far = false;
    if (coast) {  // the time to the apoapsis alone, as flightValues finds it
        ELEMENTS el{};
        ORBITPARAM prm{};
        coast = v.GetElements(sim_.earth(), el, &prm, 0, FRAME_EQU) && prm.ApT > kCoastMinApT;
        far = coast && prm.ApT > kCoastFarApT && circularisationEvent_ == npos;
    }
    const double wanted = !coast ? 1 : far ? o_.coastWarp : std::min(o_.coastWarp, kCoastNearWarp);
    if (wanted != sim_.timeAcceleration() && (coast || pilotWarp_ > 1)) {
        sim_.setTimeAcceleration(wanted);
        warps_.emplace_back(t, wanted);
        pilotWarp_ = wanted;
    }
}

bool Flight::ended(VESSEL* v, FlightReport& r) {
    const double t = sim_.simTime();
    auto end = [&](Outcome o, const std::string& reason) {
        r.outcome = o;
        r.reason = reason;
        return true;
    };
    if (!refusal_.empty())
        return end(Outcome::Refused, "the autopilot refused: " + refusal_);
    if (!v)
        return end(Outcome::LauncherLost, c_.mission.launcher + " is no longer in the simulation");
    if (liftedOff_ && v->GroundContact())
        return end(Outcome::Crashed, "back on the ground at mission time " + fixed(missionTime(), 1) + " s");
    if (liftedOff_) {
        if (v->GetTotalPropellantMass() > 0)
            emptySince_ = -1;
        else if (emptySince_ < 0)
            emptySince_ = t;
        else if (t >= emptySince_ + kEmptyTankWait) {
            double apoapsis = 0;
            v->GetApDist(apoapsis);
            return end(Outcome::PropellantGone,
                       "every tank empty since mission time " + fixed(emptySince_ - liftoff_, 1) + " s" +
                           (std::isfinite(apoapsis) && apoapsis > 0 ? "" : ", on an escape orbit"));
        }
    }
    if (liftedOff_ && cutoff_ >= 0 && !burning_ && planeChange_ != PlaneChange::Changing)
        if (const std::string why = outOfReach(*sim_.vessel(c_.mission.launcher)); !why.empty())
            return end(Outcome::OutOfReach, why);
    if (launchTime_ >= 0 && !liftedOff_ && t > launchTime_ + kLiftoffWait)
        return end(Outcome::NoLiftoff, "still on the pad " + fixed(kLiftoffWait, 0) + " s after LAUNCH");
    if (t + timeSlack >= o_.timeLimit)
        return end(Outcome::TimeLimit, std::string("'") + kCompleteText + "' not shown within " +
                                           host::numberText(o_.timeLimit) + " s of simulation time");
    return false;
}

// After cut-off the autopilot only raises the periapsis, with burns near
// the apoapsis: the flight is decided once the propellant left, or the burns
// the time limit still allows, cannot give the velocity that takes.
std::string Flight::outOfReach(host::VesselData& d) {
    VESSEL& v = *d.iface;
    double apoapsis = 0, periapsis = 0;
    v.GetApDist(apoapsis);
    v.GetPeDist(periapsis);
    const double target = kCompletionSphere + c_.mission.altitudeKm * 1000 - kCompletionMargin;
    if (!(periapsis > 0) || !(apoapsis >= periapsis) || !std::isfinite(apoapsis) || periapsis >= target)
        return "";
    const double mu = host::physics::kGravitationalConstant * sim_.earth()->mass;
    const double needed = periapsisRaise(mu, apoapsis, periapsis, target);

    // The main engine and what its tanks hold.
    const host::ThrusterGroup* main = d.group(THGROUP_MAIN);
    if (!main)
        return "";
    double thrust = 0, flow = 0, propellant = 0;
    mainTanks_.clear();  // kept between steps: asked every step after cut-off, it allocates nothing
    for (const host::Thruster* t : main->thrusters) {
        if (t->maxThrust <= 0 || t->ispVac <= 0 || !t->resource)
            continue;
        thrust += t->maxThrust;
        flow += t->maxThrust / t->ispVac;
        if (std::find(mainTanks_.begin(), mainTanks_.end(), t->resource) == mainTanks_.end()) {
            mainTanks_.push_back(t->resource);
            propellant += t->resource->mass;
        }
    }
    if (!(flow > 0))
        return "";
    const double mass = d.mass();
    const double left = deltaVLeft(thrust / flow, mass, propellant);
    auto goal = [&] {
        return " to raise the periapsis from " + fixed((periapsis - kCompletionSphere) / 1000, 1) + " km to " +
               fieldText(c_.mission.altitudeKm) + " km";
    };
    if (left < needed * kOutlookSlack)
        return "propellant short: " + fixed(propellant, 0) + " kg left give " + fixed(left, 0) + " m/s of the " +
               fixed(needed, 0) + " m/s needed" + goal();

    if (circularisationEvent_ == npos || longestBurn_ <= 0)
        return "";
    const FlightValues f = flightValues(sim_, d);
    const double axis = (apoapsis + periapsis) / 2;
    const double period = 2 * 3.14159265358979323846 * std::sqrt(axis * axis * axis / mu);
    const int passes = passesLeft(o_.timeLimit - sim_.simTime(), f.apoapsisTime, period);
    const double burn = longestBurn_ * kBurnRoom + kBurnRoomSeconds;
    const double reachable = deltaVInPasses(passes, burn, thrust, flow, mass, propellant);
    if (reachable < needed * kOutlookSlack)
        return "the periapsis cannot reach the target before the time limit: the " + std::to_string(passes) +
               " apoapsis passes left give at most " + fixed(reachable, 0) + " m/s of the " + fixed(needed, 0) +
               " m/s needed" + goal() + " (burns of up to " + fixed(burn, 0) + " s each)";
    return "";
}

void Flight::showProgress(std::ostream& out, VESSEL* v, bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastProgress_ < std::chrono::milliseconds(500))
        return;
    lastProgress_ = now;
    std::string line = c_.mission.launcher + " " + c_.mission.pad + ": ";
    if (v && liftedOff_) {
        const FlightValues f = flightValues(sim_, *sim_.vessel(c_.mission.launcher));
        const char* phase = cutoff_ < 0                              ? "ascent"
                            : planeChange_ == PlaneChange::Changing ? "plane change"
                            : circularisationEvent_ != npos          ? "circularising"
                                                                     : "coasting";
        line += "mission time " + fixed(missionTime(), 0) + " s, " + phase + ", altitude " +
                fixed(f.altitude / 1000, 1) + " km, apoapsis " + fixed(f.apoapsisAlt, 1) + " km, periapsis " +
                fixed(f.periapsisAlt, 1) + " km";
        if (sim_.timeAcceleration() > 1)
            line += ", warp " + host::numberText(sim_.timeAcceleration());
    } else {
        line += "on the pad";
    }
    if (line.size() < 110)
        line.resize(110, ' ');
    out << '\r' << line << std::flush;
}

void Flight::fly(FlightReport& r, std::ostream* progress) {
    const std::vector<Command>& commands = script_.commands;
    const std::string telemetryPath = (fs::path(root_) / "telemetry.csv").string();
    Telemetry telemetry(telemetryPath, 1, root_);
    long long steps = 0;
    bool complete = false;
    while (true) {
        const double t = sim_.simTime();
        // The script's wait: once LAUNCH is pressed, the run ends when the text shows.
        if (launchTime_ >= 0 && next_ >= waitAt_ && shownOnScreen(sim_, kCompleteText)) {
            complete = true;
            break;
        }
        for (; next_ < commands.size() && next_ < waitAt_ && commands[next_].time <= t + timeSlack; ++next_)
            execute(commands[next_]);
        VESSEL* v = launcher();
        if (ended(v, r))
            break;
        if ((interrupted_ = interruptRequested()))
            break;
        pilotWarp(*v);
        telemetry.sample(sim_);
        host::deliverPaintMessages();
        if (host::VesselData* d = sim_.vessel(c_.mission.launcher))
            stages_.before(*d);
        sim_.step();
        if (host::VesselData* d = launcherRecord()) {
            stages_.after(*d, sim_.simStep(), sim_.simTime());
            observe(*d->iface);
        }
        if (progress && (++steps & 1023) == 0)
            showProgress(*progress, launcher(), false);
    }
    if (complete) {
        r.outcome = Outcome::Complete;
        r.reason = kCompleteText;
        // What the script does once its wait is over: the dialog's picture, then stop.
        for (size_t i = waitAt_ + 1; i < commands.size() && commands[i].kind != CommandKind::Stop; ++i)
            execute(commands[i]);
        note(kCompleteText, "end");
    } else if (interrupted_) {
        note("interrupted", "end");
    } else if (r.outcome != Outcome::Refused) {
        note(std::string(outcomeName(r.outcome)) + ": " + r.reason, "end");
    }
    if (circularisationEvent_ != npos && circularisationBurns_ > 1)
        timeline_[circularisationEvent_].what += " (" + std::to_string(circularisationBurns_) + " burns)";
    if (progress)
        *progress << '\r' << std::string(110, ' ') << '\r' << std::flush;
    telemetry.finish(sim_);
    telemetry.commit();

    r.liftedOff = liftedOff_;
    r.liftoffTime = liftoff_;
    r.endTime = sim_.simTime();
    r.timeline = timeline_;
    r.stages = stages_.rows(liftedOff_ ? liftoff_ : 0);
    if (host::VesselData* v = sim_.vessel(c_.mission.launcher); v && v->iface) {
        const FlightValues f = flightValues(sim_, *v);
        r.apoapsis = rounded3(f.apoapsisAlt);
        r.periapsis = rounded3(f.periapsisAlt);
        r.inclination = rounded3(f.inclination);
        r.propellant = rounded3(f.propellant);
    }
    if (autopilot_) {
        r.correctionText = host::controlText(autopilot_, kCorrectionField);
        double value = 0;
        if (cutoff_ >= 0 && host::parseNumber(r.correctionText, value))
            r.suggestedCorrection = value;
    }
    r.cutoffInclination = cutoffInclination_;
    if (o_.plan)
        reportPlane(r);
}

// The plane reached against the target's, which the end of the flight gives
// (the plane given stays as it is).
void Flight::reportPlane(FlightReport& r) {
    const LaunchPlan& plan = *o_.plan;
    PlaneRecord p;
    p.target = plan.target;
    p.targetPlane = plan.plane;
    p.passTime = plan.pass.time;
    p.descending = plan.pass.descending;
    p.launchTime = launchTime_ >= 0 ? launchTime_ : plan.launchTime;
    p.launchUtc = utcText(plan.startMjd + p.launchTime / 86400);
    p.ascendingNode = p.relativeInclination = NAN;
    auto planeOf = [this](const std::string& name, OrbitPlane& plane) {
        host::VesselData* v = sim_.vessel(name);
        ELEMENTS el{};
        if (!v || !v->iface || !v->iface->GetElements(sim_.earth(), el, nullptr, 0, FRAME_EQU))
            return false;
        plane = {el.i * DEG, el.theta * DEG};
        return true;
    };
    if (!plan.target.empty())
        planeOf(plan.target, p.targetPlane);
    OrbitPlane reached;
    if (liftedOff_ && planeOf(c_.mission.launcher, reached)) {
        p.ascendingNode = reached.ascendingNode;
        p.relativeInclination = relativeInclination(reached, p.targetPlane);
    }
    // What the dialog copied from the target is what the autopilot flew to.
    if (std::isfinite(launchAltitude_))
        r.targetAltitude = launchAltitude_;
    if (std::isfinite(launchInclination_))
        r.targetInclination = launchInclination_;
    r.plane = p;
}

void fillMission(FlightReport& r, const CheckedMission& c) {
    r.launcher = c.mission.launcher;
    r.pad = c.mission.pad;
    r.padLatitude = c.padLatitudeDeg;
    r.targetAltitude = c.mission.altitudeKm;
    r.targetInclination = c.mission.inclinationDeg;
    r.descending = c.mission.descending;
    r.payloadName = c.payload.name;
    r.payloadClass = c.payload.className;
    r.payloadMass = c.payload.massKg;
    r.correction = c.mission.correctionDeg;
}

}  // namespace

std::string pilotScript(const CheckedMission& c, double timeLimit, const std::vector<std::pair<double, double>>& warps,
                        const LaunchPlan* plan, double launchDelay, const std::string& replayOptions) {
    const Mission& m = c.mission;
    std::ostringstream s;
    s << "# " << describe(c) << ".\n"
      << "# Written by tarvik-sim fly: the pilot's part of the flight. From the folder\n";
    if (replayOptions.empty())
        s << "# it is in, 'tarvik-sim scenario.scn --script session.txt --root .' flies it again.\n";
    else
        s << "# it is in, 'tarvik-sim scenario.scn --script session.txt --root . " << replayOptions << "'\n"
          << "# flies it again.\n";
    s << "at 1     key A\n";
    if (plan && !plan->target.empty()) {
        s << "# Copy Orbital Elements: the dialog types the target's altitude and inclination\n"
          << "at 2     select 131 " << kOrbitList << " " << plan->target << "\n";
    } else {
        s << "at 2     type 131 1049 " << fieldText(m.altitudeKm) << "\n"
          << "at 2     type 131 1079 " << fieldText(m.inclinationDeg) << "\n";
    }
    if (m.correctionDeg)
        s << "at 2     type 131 1100 " << fieldText(*m.correctionDeg) << "\n";
    s << "at 2     check 131 " << (m.descending ? 1086 : 1085) << "\n"
      << "at 2.5   snapshot 131 autopilot-pad.png\n";
    if (plan) {
        const double launch = plan->launchTime;
        if (launch - 3 > kPadWarpWorth && plan->padWarp > 1) {
            s << "# Waiting on the pad for the plane to come over it, then real time again before LAUNCH:\n"
              << "at 3     warp " << host::numberText(plan->padWarp) << "\n"
              << "at " << host::numberText(launch - kPadWarpEnd) << " warp 1\n";
        }
        s << "at " << host::numberText(launch + launchDelay) << " click 131 1075\n";
    } else if (launchDelay > 0) {
        s << "# The pilot's launch delay, drawn for this dispersed run:\n"
          << "at " << host::numberText(3 + launchDelay) << " click 131 1075\n";
    } else {
        s << "at 3     click 131 1075\n";
    }
    if (!warps.empty())
        s << "# The pilot's time acceleration while the autopilot coasted, as flown:\n";
    for (const auto& [time, warp] : warps)
        s << "at " << host::numberText(time) << " warp " << host::numberText(warp) << "\n";
    s << "at 3     waitfor " << host::numberText(timeLimit - 3) << " " << kCompleteText << "\n"
      << "at 3     snapshot 131 autopilot-end.png\n"
      << "at 3     stop\n";
    return s.str();
}

void writeReportFile(const FlightReport& report, const std::string& path, const std::string& within) {
    host::writeFileWhole(path, reportText(report), "report", within);
}

FlightReport refusedReport(const Mission& m, const std::string& reason) {
    FlightReport r;
    r.launcher = m.launcher;
    r.pad = m.pad;
    r.targetAltitude = m.altitudeKm;
    r.targetInclination = m.inclinationDeg;
    r.descending = m.descending;
    r.payloadName = m.payload;
    r.correction = m.correctionDeg;
    r.outcome = Outcome::Refused;
    r.reason = reason;
    return r;
}

FlightReport flyMission(const FlyOptions& o, std::ostream& warnings, std::ostream* progress) {
    const CheckedMission c = checkMission(o.mission, o.dataDir);
    if (!(o.timeLimit > 3) || o.timeLimit > maxDuration)
        throw MissionError("time limit " + host::numberText(o.timeLimit) + " s is not above 3 and at most 86400 s");

    const std::string root = o.rootDir;
    std::error_code ec;
    fs::create_directories(root, ec);
    if (!fs::is_directory(root))
        throw host::InputError(root, 0, "cannot create the root folder");
    const RootLock lock(root);
    warnings << leftoverWarning(lock.removeLeftovers(), root);
    host::ProtectedInputs inputs;
    inputs.dataFolder(o.dataDir, root);
    auto inRoot = [&](const char* file) { return (fs::path(root) / file).string(); };
    const std::string reportPath = inRoot("report.json");
    host::checkOutput(reportPath, "report", root);
    fs::remove(reportPath, ec);  // a flight that does not finish leaves no report of an earlier one

    // Every output stays in the root folder.
    const std::string scenarioPath = inRoot("scenario.scn");
    const std::string sessionPath = inRoot("session.txt");
    host::writeFileWhole(scenarioPath, c.scenarioText, "scenario", root);
    inputs.file(scenarioPath, "the scenario");
    const LaunchPlan* plan = o.plan ? &*o.plan : nullptr;
    const double delay = o.dispersion ? o.dispersion->launchDelay() : 0;
    // A dispersed flight flies again with its draws.
    const std::string replay =
        o.dispersion ? "--dispersions " + o.dispersionFile + " --seed " + std::to_string(o.dispersion->seed) : "";
    host::writeFileWhole(sessionPath, pilotScript(c, o.timeLimit, {}, plan, delay, replay), "session script", root);
    const Script script = parseScript(pilotScript(c, o.timeLimit, {}, plan, delay, replay), sessionPath);

    // Written beside their files, they take their names once all are complete.
    host::OutputFile events(inRoot("events.log"), "event log", root);
    host::OutputFile summaryFile(inRoot("summary.json"), "summary", root);
    host::OutputFile finalScenario(inRoot("final.scn"), "scenario", root);

    FlightReport r;
    fillMission(r, c);
    r.dispersion = o.dispersion;
    r.dispersionFile = o.dispersionFile;
    {
        host::Simulation sim(o.dataDir, o.fps, root);
        sim.setWarningHandler([&warnings](const std::string& w) { warnings << "tarvik-sim: warning: " << w << '\n'; });
        DialogCloser closer;
        if (o.dispersion)
            sim.setDispersion(*o.dispersion);
        sim.loadScenario(scenarioPath);
        if (!sim.vessel(c.mission.launcher))
            throw host::InputError(c.scenarioPath, 0, "no vessel " + c.mission.launcher);
        Flight flight(o, c, script, sim, root, warnings);
        flight.fly(r, progress);
        sim.checkHostFiles();

        for (const host::Event& e : sim.events())
            events.stream() << e.line() << '\n';
        summaryFile.stream() << summaryText(sim);
        finalScenario.stream() << sim.scenarioText();
        for (host::OutputFile* f : {&events, &summaryFile, &finalScenario})
            f->commit();
        // The script as flown, with the pilot's time acceleration in it.
        r.coastWarp = 1;  // the most the pilot warped
        for (const auto& [at, warp] : flight.warps())
            r.coastWarp = std::max(r.coastWarp, warp);
        if (!flight.warps().empty())
            host::writeFileWhole(sessionPath, pilotScript(c, o.timeLimit, flight.warps(), plan, delay, replay),
                                 "session script", root);
        // Interrupted, the outputs hold the flight as far as it went; there is no report of it.
        if (flight.interrupted())
            throw Interrupted("fly: interrupted at mission time " + fixed(flight.missionTimeNow(), 1) + " s; " +
                              root + " holds the flight so far, without a report");
    }

    r.root = root;
    r.outputs = {{"scenario", scenarioPath},        {"session", sessionPath},
                 {"events", inRoot("events.log")}, {"telemetry", inRoot("telemetry.csv")},
                 {"summary", inRoot("summary.json")}, {"saved", inRoot("final.scn")},
                 {"report", reportPath}};
    for (const char* picture : {"autopilot-pad.png", "autopilot-end.png"})
        if (o.pictures && fs::exists(inRoot(picture), ec))
            r.outputs.emplace_back("dialog", inRoot(picture));

    if (o.plots && r.outcome != Outcome::Refused) {
        PlotInput in;
        in.dir = inRoot("plots");
        in.within = root;
        in.telemetry = inRoot("telemetry.csv");
        in.report = &r;
        r.plots = writePlots(in, warnings);
    }
    writeReportFile(r, reportPath, root);
    return r;
}

}  // namespace tarviksim

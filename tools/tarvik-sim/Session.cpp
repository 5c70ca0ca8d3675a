#include "Session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <ostream>

#include "Interrupts.h"
#include "OnScreen.h"
#include "RootLock.h"
#include "Summary.h"
#include "Telemetry.h"
#include "sim/FileIO.h"
#include "sim/InputText.h"
#include "sim/NumberText.h"
#include "sim/Simulation.h"
#include "window/Dialogs.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

constexpr double timeSlack = 1e-6;  // frame lengths add up to a command's time only within rounding

// The autopilot dialog's LAUNCH, and the static where it says why it keeps it.
constexpr int kAutopilotDialog = 131;
constexpr int kLaunchButton = 1075;
constexpr int kAutopilotMessage = 1035;

// A script's save or snapshot names its file from the root folder.
std::string inRootFolder(const std::string& rootDir, const std::string& file) {
    fs::path p(file);
    return p.is_absolute() ? file : (fs::path(rootDir) / p).string();
}

// The folder a script's save or snapshot must stay in: the root folder for
// a relative name, its own folder for an absolute one.
std::string folderOf(const std::string& rootDir, const std::string& file) {
    return fs::path(file).is_absolute() ? std::string() : rootDir;
}

// Plays the script's commands at their times, in file order. A waitfor that
// has begun holds every command after it in the file until its text is shown.
class Player {
public:
    enum class Outcome { Running, Stopped, TimedOut };

    Player(host::Simulation& sim, const Script& script, const std::string& rootDir, std::ostream& warnings)
        : sim_(sim),
          script_(script),
          rootDir_(rootDir),
          warnings_(warnings),
          done_(script.commands.size(), false),
          waitingSince_(script.commands.size(), -1) {}

    // Runs every command whose time has come and that no wait holds; says
    // whether a stop has run or a wait has run out of time. Asked every step:
    // the screen is read again only when its texts changed, and the script
    // only when a command is due or a wait was met.
    Outcome runDue() {
        const double t = sim_.simTime();
        const uint64_t screen = sim_.annotationChanges();
        const bool screenChanged = screen != screenSeen_;
        screenSeen_ = screen;
        // Begun waits watch the screen at every step, held by an earlier one or not.
        bool waitMet = false;
        for (size_t i = first_; i < begunEnd_; ++i) {
            const Command& c = script_.commands[i];
            if (done_[i] || waitingSince_[i] < 0)
                continue;
            if (screenChanged && shownOnScreen(sim_, c.text)) {
                done_[i] = waitMet = true;
            } else if (t + timeSlack >= waitingSince_[i] + c.value) {
                missed_ = &c;
                return Outcome::TimedOut;
            }
        }
        if (!waitMet && nextDue_ > t + timeSlack)
            return Outcome::Running;  // nothing has come due
        nextDue_ = std::numeric_limits<double>::infinity();
        for (size_t i = first_; i < script_.commands.size(); ++i) {
            const Command& c = script_.commands[i];
            if (done_[i])
                continue;
            if (c.time > t + timeSlack) {
                nextDue_ = std::min(nextDue_, c.time);
                continue;
            }
            if (c.kind == CommandKind::WaitFor) {
                if (waitingSince_[i] < 0) {
                    waitingSince_[i] = t;
                    begunEnd_ = std::max(begunEnd_, i + 1);
                    done_[i] = shownOnScreen(sim_, c.text);
                }
                if (!done_[i])
                    break;  // everything after it waits too
                continue;
            }
            done_[i] = true;
            if (execute(c))
                return Outcome::Stopped;
        }
        while (first_ < done_.size() && done_[first_])
            ++first_;
        return Outcome::Running;
    }

    // The wait that ran out of time, or else the first one still waiting.
    const Command* unmetWait() const {
        if (missed_)
            return missed_;
        for (size_t i = first_; i < script_.commands.size(); ++i)
            if (!done_[i] && waitingSince_[i] >= 0)
                return &script_.commands[i];
        return nullptr;
    }

    // Why the autopilot dialog kept LAUNCH when the script pressed it; "" when it did not.
    const std::string& launchRefusal() const { return launchRefusal_; }

    // The commands that did not run because their time came after `end`
    // (those an unmet wait holds are left to its own message).
    std::vector<const Command*> timedAfter(double end) const {
        std::vector<const Command*> late;
        for (size_t i = first_; i < script_.commands.size(); ++i) {
            if (waitingSince_[i] >= 0 && !done_[i])
                break;
            if (!done_[i] && script_.commands[i].time > end + timeSlack)
                late.push_back(&script_.commands[i]);
        }
        return late;
    }

private:
    [[noreturn]] void fail(const Command& c, const std::string& problem) const {
        throw host::InputError(script_.path, c.line, problem);
    }

    // Script files are relative to the root folder, beside the other outputs.
    std::string outputPath(const std::string& file) const { return inRootFolder(rootDir_, file); }

    // The dialog of the focus vessel's module, else any open dialog with the id.
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
        switch (r) {
            case InputResult::Done:
                return;
            case InputResult::Disabled:
            case InputResult::Hidden:
                // A pilot's input that the window system would not deliver: noted, not fatal.
                warnings_ << "tarvik-sim: " << host::printable(script_.path) << ":" << c.line << ": warning: " << where
                          << ": " << host::describe(r) << "; input ignored\n";
                return;
            case InputResult::NoSuchEntry:
                fail(c, where + " has no entry " + host::quote(c.text));
            default:
                fail(c, where + ": " + host::describe(r));
        }
    }

    // A save or a snapshot, written as every output is. Refused (a pipe, a
    // link out of the root, an input): bad input at the script's line; a
    // write that failed (a full disk) ends the run with status 1.
    template <typename Content>
    void write(const Command& c, const char* what, Content content) {
        try {
            host::writeFileWhole(outputPath(c.text), content(), what, folderOf(rootDir_, c.text));
        } catch (const host::InputError& e) {
            fail(c, e.what());
        }
    }

    bool execute(const Command& c) {
        switch (c.kind) {
            case CommandKind::Key:
                sim_.pressKey(c.key);
                break;
            case CommandKind::Throttle:
                sim_.setThrottle(c.value);
                break;
            case CommandKind::Warp:
                sim_.setTimeAcceleration(c.value);
                break;
            case CommandKind::Click: {
                HWND d = dialog(c);
                checkInput(c, host::click(d, c.control));
                if (c.dialog == kAutopilotDialog && c.control == kLaunchButton) {
                    // LAUNCH refused: the button stays on and the dialog says why.
                    const std::string message = host::controlText(d, kAutopilotMessage);
                    if (host::controlEnabled(d, kLaunchButton) && message.find_first_not_of(' ') != std::string::npos)
                        launchRefusal_ = message;
                }
                break;
            }
            case CommandKind::Check:
                checkInput(c, host::check(dialog(c), c.control));
                break;
            case CommandKind::Type:
                checkInput(c, host::typeText(dialog(c), c.control, c.text));
                break;
            case CommandKind::Select:
                checkInput(c, host::select(dialog(c), c.control, c.text));
                break;
            case CommandKind::Focus: {
                host::VesselData* v = sim_.vessel(c.text);
                if (!v || v->pendingDelete)
                    fail(c, "no vessel named " + host::quote(c.text));
                if (!sim_.setFocus(v))
                    fail(c, "vessel " + host::quote(c.text) + " does not take the focus");
                break;
            }
            case CommandKind::Save:
                write(c, "scenario", [&] { return sim_.scenarioText(); });
                break;
            case CommandKind::Snapshot: {
                const HWND d = dialog(c);
                write(c, "snapshot", [&] { return host::encodePng(host::renderDialog(d)); });
                break;
            }
            case CommandKind::WaitFor:  // played by runDue
                break;
            case CommandKind::Stop:
                return true;
        }
        return false;
    }

    host::Simulation& sim_;
    const Script& script_;
    std::string rootDir_;
    std::ostream& warnings_;
    std::vector<bool> done_;
    std::vector<double> waitingSince_;  // simulation time a waitfor began; < 0: not begun (or no waitfor)
    const Command* missed_ = nullptr;
    size_t first_ = 0;     // commands before it have all run
    size_t begunEnd_ = 0;  // every begun waitfor is before it
    double nextDue_ = -std::numeric_limits<double>::infinity();  // the earliest time of a command not yet due
    uint64_t screenSeen_ = 0;  // the screen's changes when it was last read
    std::string launchRefusal_;
};

// Dialogs go before their modules unload, as the simulator closes its
// windows at exit.
struct DialogCloser {
    ~DialogCloser() {
        try {
            for (HWND d : host::openDialogs())
                oapiCloseDialog(d);
        } catch (...) {
        }
    }
};

// Two names of one file: the same file once both exist, else the same place.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return !ca.empty() && ca == cb;
}

// No output may overwrite what the run reads, nor another output. The
// script's own saves and snapshots are outputs too; two of them may name one
// file (the later one stands), but none may name an input or a run output.
void checkOutputs(const Options& o, const std::string& scenario, const Script& script) {
    struct Named {
        std::string path;
        std::string what;
    };
    const Named runOutputs[] = {{o.events, "the event log"},
                                {o.telemetry, "the telemetry"},
                                {o.summary, "the summary"},
                                {o.save, "the final scenario"}};
    std::vector<Named> inputs = {{scenario, "the scenario"}};
    if (!o.script.empty())
        inputs.push_back({o.script, "the script"});
    for (size_t i = 0; i < std::size(runOutputs); ++i) {
        for (const Named& in : inputs)
            if (sameFile(runOutputs[i].path, in.path))
                throw host::InputError(runOutputs[i].path, 0,
                                       runOutputs[i].what + " would overwrite " + in.what + " this run reads");
        for (size_t k = 0; k < i; ++k)
            if (sameFile(runOutputs[i].path, runOutputs[k].path))
                throw host::InputError(runOutputs[i].path, 0,
                                       runOutputs[k].what + " and " + runOutputs[i].what + " name one file");
    }
    for (const Command& c : script.commands) {
        if (c.kind != CommandKind::Save && c.kind != CommandKind::Snapshot)
            continue;
        const std::string path = inRootFolder(o.rootDir, c.text);
        const std::string what = c.kind == CommandKind::Save ? "save" : "snapshot";
        for (const Named& taken : inputs)
            if (sameFile(path, taken.path))
                throw host::InputError(script.path, c.line,
                                       "the " + what + " " + host::quote(c.text) + " would overwrite " + taken.what +
                                           " this run reads");
        for (const Named& taken : runOutputs)
            if (sameFile(path, taken.path))
                throw host::InputError(script.path, c.line,
                                       "the " + what + " " + host::quote(c.text) + " and " + taken.what +
                                           " name one file");
        // What the write itself would refuse (a pipe, a link out of the root,
        // the data folder) is refused before the run starts, too.
        try {
            host::checkOutput(path, what, folderOf(o.rootDir, c.text));
        } catch (const host::InputError& e) {
            throw host::InputError(script.path, c.line, e.what());
        }
    }
}

// The line a run on a terminal keeps up to date on stderr: the simulation
// time, where the run ends at the latest, and how many seconds of simulation
// time pass per second on the clock. Looked at every few frames, written
// twice a second.
class ProgressLine {
public:
    ProgressLine(std::ostream* out, double end) : out_(out), end_(end) {}

    void update(const host::Simulation& sim) {
        if (!out_ || (++frames_ & 63) != 0)
            return;
        // The first line soon after the start, then one every half second.
        const Clock::time_point now = Clock::now();
        if (now - shown_ < (width_ == 0 ? std::chrono::milliseconds(100) : std::chrono::milliseconds(500)))
            return;
        const double wall = std::chrono::duration<double>(now - start_).count();
        char line[160];
        std::snprintf(line, sizeof line, "simulation time %.0f s of at most %.0f s, %.1f simulated s per wall second",
                      sim.simTime(), end_, wall > 0 ? sim.simTime() / wall : 0.0);
        std::string text = line;
        if (sim.timeAcceleration() != 1)
            text += ", warp " + host::numberText(sim.timeAcceleration());
        text.resize(std::max<size_t>(text.size(), width_), ' ');
        width_ = text.size();
        *out_ << '\r' << text << std::flush;
        shown_ = now;
    }

    // Leaves the terminal's line empty for what the run prints next.
    void clear() {
        if (out_ && width_ > 0)
            *out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
    }

private:
    using Clock = std::chrono::steady_clock;
    std::ostream* out_;
    double end_;
    unsigned frames_ = 0;
    size_t width_ = 0;
    Clock::time_point start_ = Clock::now(), shown_ = start_;
};

// "line 4 (key at 700 s), line 9 (stop at 900 s)", at most five of them.
std::string commandList(const std::vector<const Command*>& commands) {
    constexpr size_t shown = 5;
    std::string text;
    for (size_t i = 0; i < commands.size() && i < shown; ++i)
        text += (i ? ", line " : "line ") + std::to_string(commands[i]->line) + " (" + commandName(commands[i]->kind) +
                " at " + host::numberText(commands[i]->time) + " s)";
    if (commands.size() > shown)
        text += " and " + std::to_string(commands.size() - shown) + " more";
    return text;
}

}  // namespace

std::string findScenario(const std::string& name, const std::string& dataDir) {
    std::error_code ec;
    if (fs::is_regular_file(name, ec))
        return name;
    if (fs::path(name).is_relative()) {
        fs::path inData = fs::path(dataDir) / "Scenarios" / name;
        if (fs::is_regular_file(inData, ec))
            return inData.string();
        fs::path withExtension = inData;
        withExtension += ".scn";
        if (fs::is_regular_file(withExtension, ec))
            return withExtension.string();
    }
    throw host::InputError(name, 0,
                           "no such scenario (looked here and in " + (fs::path(dataDir) / "Scenarios").string() + ")");
}

RunResult runSession(Options o, std::ostream& report, std::ostream& warnings, std::ostream* progress) {
    std::error_code ec;
    fs::create_directories(o.rootDir, ec);
    if (!fs::is_directory(o.rootDir))
        throw host::InputError(o.rootDir, 0, "cannot create the root folder");
    const RootLock lock(o.rootDir);
    warnings << leftoverWarning(lock.removeLeftovers(), o.rootDir);

    // Outputs not named go into the root folder and stay in it; those named
    // stay in the folder they are named in.
    struct Output {
        std::string& path;
        std::string within;
    };
    auto inRoot = [&](std::string& path, const char* file) {
        if (!path.empty())
            return Output{path, ""};
        path = (fs::path(o.rootDir) / file).string();
        return Output{path, o.rootDir};
    };
    const Output eventsOut = inRoot(o.events, "events.log");
    const Output telemetryOut = inRoot(o.telemetry, "telemetry.csv");
    const Output summaryOut = inRoot(o.summary, "summary.json");
    const Output saveOut = inRoot(o.save, "final.scn");

    // Everything that can be checked is checked before the run starts. The
    // outputs are written beside their files and take their names only when
    // all of them are complete: a run that fails leaves the last run's.
    Script script;
    if (!o.script.empty())
        script = readScript(o.script);
    const std::string scenario = findScenario(o.scenario, o.dataDir);
    host::ProtectedInputs inputs;
    inputs.file(scenario, "the scenario");
    inputs.file(o.script, "the script");
    inputs.dataFolder(o.dataDir, o.rootDir);
    checkOutputs(o, scenario, script);
    Telemetry telemetry(telemetryOut.path, o.telemetryInterval, telemetryOut.within);
    host::OutputFile events(eventsOut.path, "event log", eventsOut.within);
    host::OutputFile summaryFile(summaryOut.path, "summary", summaryOut.within);
    host::OutputFile finalScenario(saveOut.path, "scenario", saveOut.within);

    host::Simulation sim(o.dataDir, o.fps, o.rootDir);
    sim.setWarningHandler(
        [&warnings](const std::string& w) { warnings << "tarvik-sim: warning: " << host::printable(w) << '\n'; });
    DialogCloser closer;
    if (o.dispersion)
        sim.setDispersion(*o.dispersion);
    sim.loadScenario(scenario);

    Player player(sim, script, o.rootDir, warnings);
    const double end = o.duration >= 0 ? o.duration : defaultDurationOf(script);
    Player::Outcome outcome = Player::Outcome::Running;
    bool interrupted = false;
    ProgressLine shown(progress, end);
    while ((outcome = player.runDue()) == Player::Outcome::Running && sim.simTime() + timeSlack < end) {
        if ((interrupted = interruptRequested()))
            break;
        telemetry.sample(sim);
        host::deliverPaintMessages();
        sim.step();
        shown.update(sim);
    }
    sim.checkHostFiles();
    shown.clear();
    telemetry.finish(sim);

    for (const host::Event& e : sim.events())
        events.stream() << e.line() << '\n';
    summaryFile.stream() << summaryText(sim);
    finalScenario.stream() << sim.scenarioText();
    for (host::OutputFile* f : {&events, &summaryFile, &finalScenario})
        f->finish();
    telemetry.commit();
    for (host::OutputFile* f : {&events, &summaryFile, &finalScenario})
        f->commit();

    // Interrupted, the outputs hold the run as far as it got.
    if (interrupted) {
        report << "events:    " << o.events << '\n'
               << "telemetry: " << o.telemetry << '\n'
               << "summary:   " << o.summary << '\n'
               << "scenario:  " << o.save << '\n';
        throw Interrupted("interrupted at " + host::numberText(sim.simTime()) +
                          " s of simulation time; the outputs hold the run so far");
    }

    if (outcome == Player::Outcome::Running) {
        const std::vector<const Command*> late = player.timedAfter(sim.simTime());
        if (!late.empty())
            warnings << "tarvik-sim: " << host::printable(script.path)
                     << ": warning: not run, timed after the run ended at " << host::numberText(end)
                     << " s: " << commandList(late) << '\n';
    }

    report << "events:    " << o.events << '\n'
           << "telemetry: " << o.telemetry << '\n'
           << "summary:   " << o.summary << '\n'
           << "scenario:  " << o.save << '\n'
           << orbitLine(sim) << '\n';

    // A stop ends the run as planned; a wait that ran out of time, or that the
    // end of the run cut short, did not get what the script waited for.
    RunResult result;
    if (outcome == Player::Outcome::Stopped)
        return result;
    if (const Command* w = player.unmetWait()) {
        result.unmetWait = script.path + ":" + std::to_string(w->line) + ": " + host::quote(w->text) + " not shown ";
        result.unmetWait += outcome == Player::Outcome::TimedOut
                                ? "within " + host::numberText(w->value) + " s"
                                : "before the run ended at " + host::numberText(end) + " s";
        // A wait for what the autopilot would show after a launch it never made.
        if (!player.launchRefusal().empty())
            result.unmetWait += ": the autopilot dialog refused LAUNCH: " + host::printable(player.launchRefusal());
    }
    return result;
}

double defaultDurationOf(const Script& script) {
    for (const Command& c : script.commands)
        if (c.kind == CommandKind::Stop || c.kind == CommandKind::WaitFor)
            return maxDuration;
    return defaultDuration;
}

}  // namespace tarviksim

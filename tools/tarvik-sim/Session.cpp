#include "Session.h"

#include <filesystem>
#include <fstream>
#include <ostream>

#include "Summary.h"
#include "Telemetry.h"
#include "sim/Simulation.h"
#include "window/Dialogs.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

constexpr double timeSlack = 1e-6;  // frame lengths add up to a command's time only within rounding

// Plays the script's commands at their times, in file order.
class Player {
public:
    Player(host::Simulation& sim, const Script& script, const std::string& rootDir, std::ostream& warnings)
        : sim_(sim), script_(script), rootDir_(rootDir), warnings_(warnings), done_(script.commands.size(), false) {}

    // Runs every command whose time has come; true once a stop has run.
    bool runDue() {
        const double t = sim_.simTime();
        for (size_t i = first_; i < script_.commands.size(); ++i) {
            const Command& c = script_.commands[i];
            if (done_[i] || c.time > t + timeSlack)
                continue;
            done_[i] = true;
            if (execute(c))
                return true;
        }
        while (first_ < done_.size() && done_[first_])
            ++first_;
        return false;
    }

private:
    [[noreturn]] void fail(const Command& c, const std::string& problem) const {
        throw host::InputError(script_.path, c.line, problem);
    }

    // Script files are relative to the root folder, beside the other outputs.
    std::string outputPath(const std::string& file) const {
        fs::path p(file);
        return p.is_absolute() ? file : (fs::path(rootDir_) / p).string();
    }

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
                warnings_ << "tarvik-sim: " << script_.path << ":" << c.line << ": warning: " << where << ": "
                          << host::describe(r) << "; input ignored\n";
                return;
            case InputResult::NoSuchEntry:
                fail(c, where + " has no entry '" + c.text + "'");
            default:
                fail(c, where + ": " + host::describe(r));
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
            case CommandKind::Click:
                checkInput(c, host::click(dialog(c), c.control));
                break;
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
                    fail(c, "no vessel named '" + c.text + "'");
                if (!sim_.setFocus(v))
                    fail(c, "vessel '" + c.text + "' does not take the focus");
                break;
            }
            case CommandKind::Save: {
                try {
                    sim_.saveScenario(outputPath(c.text));
                } catch (const host::InputError& e) {
                    fail(c, e.what());
                }
                break;
            }
            case CommandKind::Snapshot: {
                std::string problem;
                if (!host::writePng(dialog(c), outputPath(c.text), &problem))
                    fail(c, problem);
                break;
            }
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
    size_t first_ = 0;
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

std::ofstream openOutput(const std::string& path, const char* what) {
    std::ofstream out(path);
    if (!out)
        throw host::InputError(path, 0, std::string("cannot write the ") + what);
    return out;
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

void runSession(Options o, std::ostream& report, std::ostream& warnings) {
    std::error_code ec;
    fs::create_directories(o.rootDir, ec);
    if (!fs::is_directory(o.rootDir))
        throw host::InputError(o.rootDir, 0, "cannot create the root folder");
    auto inRoot = [&](std::string& path, const char* file) {
        if (path.empty())
            path = (fs::path(o.rootDir) / file).string();
    };
    inRoot(o.events, "events.log");
    inRoot(o.telemetry, "telemetry.csv");
    inRoot(o.summary, "summary.json");
    inRoot(o.save, "final.scn");

    // Everything that can be checked is checked before the run starts.
    Script script;
    if (!o.script.empty())
        script = readScript(o.script);
    const std::string scenario = findScenario(o.scenario, o.dataDir);
    Telemetry telemetry(o.telemetry, o.telemetryInterval);
    std::ofstream events = openOutput(o.events, "event log");
    std::ofstream summaryFile = openOutput(o.summary, "summary");

    host::Simulation sim(o.dataDir, o.fps, o.rootDir);
    DialogCloser closer;
    sim.loadScenario(scenario);

    Player player(sim, script, o.rootDir, warnings);
    const double end = o.duration >= 0 ? o.duration : defaultDuration;
    while (!player.runDue() && sim.simTime() + timeSlack < end) {
        telemetry.sample(sim);
        host::deliverPaintMessages();
        sim.step();
    }
    telemetry.finish(sim);

    for (const host::Event& e : sim.events())
        events << e.line() << '\n';
    summaryFile << summary(sim).dump(2) << '\n';
    sim.saveScenario(o.save);

    report << "events:    " << o.events << '\n'
           << "telemetry: " << o.telemetry << '\n'
           << "summary:   " << o.summary << '\n'
           << "scenario:  " << o.save << '\n';
}

}  // namespace tarviksim

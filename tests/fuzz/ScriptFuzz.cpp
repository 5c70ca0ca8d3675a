// The session script parser. Whatever the file holds, it is refused with a
// message naming the line, or every command it gives is one tarvik-sim can
// carry out as the grammar says.
#include <cmath>

#include "FuzzSupport.h"
#include "Script.h"
#include "sim/Simulation.h"

using tarviksim::CommandKind;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tarviksim::Script script;
    try {
        script = tarviksim::parseScript(text, "fuzz.txt");
    } catch (const host::InputError& e) {
        fuzz::checkMessage(e);
        if (e.file != "fuzz.txt" || e.line < 1)
            fuzz::fault(std::string("a refusal without its line: ") + e.what());
        return 0;
    }
    int line = 0;
    for (const tarviksim::Command& c : script.commands) {
        if (c.line <= line)
            fuzz::fault("commands out of file order");
        line = c.line;
        if (!std::isfinite(c.time) || c.time < 0)
            fuzz::fault("a command time that is not a time");
        const bool ok = [&] {
            switch (c.kind) {
                case CommandKind::Throttle:
                    return c.value >= 0 && c.value <= 1;
                case CommandKind::Warp:
                    return c.value > 0 && c.value <= 100000;
                case CommandKind::WaitFor:
                    return c.value > 0 && c.value <= tarviksim::maxDuration && !c.text.empty();
                case CommandKind::Click:
                case CommandKind::Check:
                case CommandKind::Type:
                case CommandKind::Select:
                    return c.dialog >= 0 && c.dialog <= 0xFFFF && c.control >= 0 && c.control <= 0xFFFF &&
                           (c.kind != CommandKind::Select || !c.text.empty());
                case CommandKind::Snapshot:
                    return c.dialog >= 0 && c.dialog <= 0xFFFF && !c.text.empty();
                case CommandKind::Focus:
                case CommandKind::Save:
                    return !c.text.empty();
                default:
                    return true;
            }
        }();
        if (!ok)
            fuzz::fault("line " + std::to_string(c.line) + ": a " + tarviksim::commandName(c.kind) +
                        " command outside its grammar");
    }
    return 0;
}

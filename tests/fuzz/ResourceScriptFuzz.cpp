// The resource script parser. Whatever the script holds, it is refused with
// a message naming the line, or its dialogs and controls have ids and sizes
// the window layer can build (no surface beyond 4096 pixels a side).
#include "FuzzSupport.h"
#include "sim/Simulation.h"
#include "window/ResourceScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    host::ResourceScript script;
    try {
        script = host::parseResourceScript(text, "/mods/Fuzz.rc.txt");
    } catch (const host::InputError& e) {
        fuzz::checkMessage(e);
        if (e.file != "/mods/Fuzz.rc.txt" || e.line < 1)
            fuzz::fault(std::string("a refusal without its line: ") + e.what());
        return 0;
    }
    auto within = [](int v, int low, int high) { return v >= low && v <= high; };
    for (const host::DialogTemplate& d : script.dialogs) {
        if (!within(d.id, 0, 0xFFFF) || !within(d.width, 1, 4096) || !within(d.height, 1, 4096))
            fuzz::fault("dialog " + std::to_string(d.id) + " beyond its limits");
        for (const host::ControlTemplate& c : d.controls)
            if (!within(c.id, -1, 0xFFFF) || !within(c.rect.x, 0, 4096) || !within(c.rect.y, 0, 4096) ||
                !within(c.rect.w, 0, 4096) || !within(c.rect.h, 0, 4096) ||
                (c.readOnly && c.kind != host::ControlKind::Edit))
                fuzz::fault("a control of dialog " + std::to_string(d.id) + " beyond its limits");
    }
    for (const auto& [id, file] : script.bitmaps)
        if (!within(id, 0, 0xFFFF) || file.rfind("/mods/", 0) != 0)
            fuzz::fault("bitmap " + std::to_string(id) + " outside the module's folder: " + file);
    return 0;
}

// A vessel plug-in loaded with dlopen: each library keeps its own module-wide
// variables (RTLD_LOCAL, hidden symbols). Loading calls InitModule where the
// module exports it; unloading calls ExitModule (or opcDLLExit) and really
// unloads the library, so the next simulation starts from the module's defaults.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "Module.h"
#include "VesselAPI.h"

namespace host {

class PluginLibrary : public Module {
public:
    // Throws std::runtime_error with the reason when the library cannot be
    // loaded or has no ovcInit.
    static std::unique_ptr<PluginLibrary> open(const std::string& name, const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    VESSEL* createVessel(OBJHANDLE hVessel, int flightModel) const { return ovcInit_(hVessel, flightModel); }
    void destroyVessel(VESSEL* vessel) const;  // ovcExit, or delete when the module has none

private:
    PluginLibrary() = default;
    OVC_INIT ovcInit_ = nullptr;
    OVC_EXIT ovcExit_ = nullptr;
};

}  // namespace host

// Where the host finds the plug-ins and what it ships: the folders the build
// leaves beside the host library, or, once installed, the folders an
// installation lays out relative to the library, wherever it was installed.
// The environment may name others: TARVIK_MODULES for the plug-ins,
// TARVIK_DATA for the data folder.
#pragma once

#include <string>

namespace host {

struct InstalledFolders {
    std::string modules;      // the plug-ins, their resource scripts and bitmaps
    std::string data;         // Config/, Scenarios/, scripts/
    std::string shippedRoot;  // what the simulator's own folder ships (images/tarvik/custom1.bmp, ...)
};

// Looked up afresh on every call, so that a variable set by a program's
// option applies to the simulations it makes afterwards.
InstalledFolders installedFolders();

}  // namespace host

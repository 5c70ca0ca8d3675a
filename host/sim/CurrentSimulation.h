// What the host's rooms reach of the current simulation, each through the few
// calls it uses. The simulation's inner state (SimulationImpl.h) is for the
// simulation itself, its scenario files and the oapi object and view
// functions; everything else asks here. Without a current simulation every
// call does nothing and finds nothing.
#pragma once

#include <memory>
#include <string>

#include "Dispersions.h"
#include "HostFile.h"
#include "VesselData.h"

namespace host {

// ---- the VESSEL methods: the event log and the reference body

// Records an event for vessel v.
void recordFor(const VesselData& v, std::string what);

// The Earth, the reference body of every vessel.
CelestialBody* currentEarth();

// The draws a dispersed run scales what the modules set by (Dispersions.h);
// null for a run without.
const Dispersion* currentDispersion();

// A dispersed run's factor `name` (a Dispersion accessor), 1 without one.
template <class Factor>
double dispersed(Factor factor) {
    const Dispersion* d = currentDispersion();
    return d ? (d->*factor)() : 1;
}

// ---- meshes and textures

// Notes a texture a module registered (the record lists them).
void recordTexture(std::string name);

// ---- the files modules open (oapiOpenFile and its kin)

// The folders files are found in; false when there is no simulation.
bool currentFolders(std::string& rootDir, std::string& dataDir);

// Keeps a file open for the modules; its address is its handle. Null when
// there is no simulation to keep it.
HostFile* keepOpen(std::unique_ptr<HostFile> file);

// The open file a handle names, or null: a closed or foreign handle is never
// followed.
HostFile* openFileOf(FILEHANDLE f);

// Closes the file a handle names, if it is open.
void closeOpenFile(FILEHANDLE f);

// A host file a module wrote that may not be written there (`refused`: its
// name leads out of the root folder, names a pipe or an input of the run)
// or whose write failed. The module cannot be told; the run ends with it at
// the next step.
void reportFileFailure(const std::string& message, bool refused);

// A host file that is there but was not read (not a regular file, too
// large): the pilot hears of it as of a lost vessel.
void warnOfFile(const std::string& message);

}  // namespace host

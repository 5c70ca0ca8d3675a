// What the host's rooms reach of the current simulation, each through the few
// calls it uses. The simulation's inner state (SimulationImpl.h) is for the
// simulation itself, its scenario files and the oapi object and view
// functions; everything else asks here. Without a current simulation every
// call does nothing and finds nothing.
#pragma once

#include <memory>
#include <string>

#include "HostFile.h"
#include "VesselData.h"

namespace host {

// ---- the VESSEL methods: the event log and the reference body

// Records an event for vessel v.
void recordFor(const VesselData& v, std::string what);

// The Earth, the reference body of every vessel.
CelestialBody* currentEarth();

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

}  // namespace host

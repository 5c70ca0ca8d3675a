// Meshes by index. Slots are stable: DelMesh leaves a hole (trailing holes are
// dropped), AddMesh takes the next index at the end, InsertMesh replaces the
// slot it names or extends the list up to it.
#include "MeshRegistry.h"
#include "CurrentSimulation.h"
#include "VesselAccess.h"

using host::recordOf;

namespace {

std::string meshEvent(UINT idx, const std::string& text) {
    return "mesh " + std::to_string(idx) + " " + text;
}

void dropTrailingHoles(host::VesselData& v) {
    while (!v.meshes.empty() && !v.meshes.back().present)
        v.meshes.pop_back();
}

UINT placeMesh(host::VesselData& v, const std::string& name, UINT idx, const VECTOR3* ofs) {
    if (idx >= v.meshes.size())
        v.meshes.resize(static_cast<size_t>(idx) + 1);
    host::MeshEntry& slot = v.meshes[idx];
    if (slot.present)
        host::recordFor(v, meshEvent(idx, "replaced " + slot.name + " by " + name));
    else
        host::recordFor(v, meshEvent(idx, "added " + name));
    slot.name = name;
    slot.offset = ofs ? *ofs : _V(0, 0, 0);
    slot.visibility = MESHVIS_EXTERNAL;
    slot.present = true;
    return idx;
}

}  // namespace

UINT VESSEL::AddMesh(MESHHANDLE hMesh, const VECTOR3* ofs) const {
    return AddMesh(host::meshName(hMesh).c_str(), ofs);
}

UINT VESSEL::AddMesh(const char* meshname, const VECTOR3* ofs) const {
    auto& v = recordOf(hVessel);
    dropTrailingHoles(v);
    return placeMesh(v, meshname ? meshname : "", static_cast<UINT>(v.meshes.size()), ofs);
}

UINT VESSEL::InsertMesh(MESHHANDLE hMesh, UINT idx, const VECTOR3* ofs) const {
    return InsertMesh(host::meshName(hMesh).c_str(), idx, ofs);
}

UINT VESSEL::InsertMesh(const char* meshname, UINT idx, const VECTOR3* ofs) const {
    return placeMesh(recordOf(hVessel), meshname ? meshname : "", idx, ofs);
}

bool VESSEL::DelMesh(UINT idx, bool retain_anim) const {
    auto& v = recordOf(hVessel);
    if (idx >= v.meshes.size() || !v.meshes[idx].present)
        return false;
    v.meshes[idx].present = false;
    host::recordFor(v, meshEvent(idx, "removed " + v.meshes[idx].name));
    dropTrailingHoles(v);
    return true;
}

void VESSEL::ClearMeshes() const {
    ClearMeshes(true);
}

void VESSEL::ClearMeshes(bool retain_anim) const {
    auto& v = recordOf(hVessel);
    for (size_t i = 0; i < v.meshes.size(); ++i)
        if (v.meshes[i].present)
            host::recordFor(v, meshEvent(static_cast<UINT>(i), "removed " + v.meshes[i].name));
    v.meshes.clear();
}

bool VESSEL::ShiftMesh(UINT idx, const VECTOR3& ofs) const {
    auto& v = recordOf(hVessel);
    if (idx >= v.meshes.size() || !v.meshes[idx].present)
        return false;
    v.meshes[idx].offset += ofs;
    return true;
}

void VESSEL::SetMeshVisibilityMode(UINT idx, WORD mode) const {
    auto& v = recordOf(hVessel);
    if (idx < v.meshes.size() && v.meshes[idx].present)
        v.meshes[idx].visibility = mode;
}

UINT VESSEL::GetMeshCount() const {
    return static_cast<UINT>(recordOf(hVessel).meshes.size());
}

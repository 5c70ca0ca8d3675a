// Vessel classes: the class configuration "<data>/Config/<class key>.cfg"
// either names the module that serves the class (Module = X) or describes a
// passive vessel. The generic keys (Mass, Size, PMI, ...) apply to every
// class before the module's clbkSetClassCaps, which may override them.
#pragma once

#include <string>

#include "ItemFile.h"
#include "VesselData.h"

namespace host {

// Throws InputError naming the class when the file cannot be found or read.
ItemFile readClassConfig(const std::string& dataDir, const std::string& classKey);

// The module the class names, empty for a passive class.
std::string classModule(const ItemFile& cfg);

// Applies the generic keys; throws InputError (file and line) on a bad value.
void applyClassItems(VesselData& v, const ItemFile& cfg, const std::string& classKey);

}  // namespace host

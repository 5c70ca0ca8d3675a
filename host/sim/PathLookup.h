// File names the modules and scenarios give, resolved below a folder the way
// the simulator's own file system sees them: '\' or '/' separate folders,
// letter case does not matter, and nothing may reach outside the folder.
#pragma once

#include <string>

namespace host {

// A relative name split by '/' or '\' with no empty, "." or ".." parts.
bool isSafeRelativeName(const std::string& name);

// base/name if it exists, else the existing path whose parts match name's
// without regard to case; empty when there is none (or the name is unsafe).
std::string findFile(const std::string& base, const std::string& name);

// base/name with '\' turned into '/', for writing; empty when the name is unsafe.
std::string joinPath(const std::string& base, const std::string& name);

}  // namespace host

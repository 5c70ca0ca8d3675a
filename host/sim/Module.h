// A loaded vessel plug-in: the shared library, its entry points, and the
// instance handle the module receives in InitModule and passes back to open
// its dialogs.
#pragma once

#include <string>

#include "OrbiterAPI.h"

namespace host {

class Module {
public:
    const std::string& name() const { return name_; }  // "TarvikM52"
    const std::string& path() const { return path_; }  // the shared library file
    HINSTANCE instance() { return reinterpret_cast<HINSTANCE>(this); }

protected:
    std::string name_;
    std::string path_;
};

// The module an instance handle belongs to, or null.
Module* moduleFromInstance(HINSTANCE instance);

}  // namespace host

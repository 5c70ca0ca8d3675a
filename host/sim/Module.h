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
    void* symbol(const char* name) const;  // an exported symbol of the library, or null
    // Different for every module loaded in the process, even one loaded again
    // where an unloaded one was: what is kept for a module is known by it.
    unsigned long long loadNumber() const { return loadNumber_; }

protected:
    Module();
    std::string name_;
    std::string path_;
    void* library_ = nullptr;  // dlopen handle
    unsigned long long loadNumber_;
};

// The module an instance handle belongs to (among the current simulation's
// loaded modules), or null.
Module* moduleFromInstance(HINSTANCE instance);

}  // namespace host

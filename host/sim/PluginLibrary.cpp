#include "PluginLibrary.h"

#include <dlfcn.h>

namespace host {

namespace {
unsigned long long modulesLoaded = 0;
}  // namespace

Module::Module() : loadNumber_(++modulesLoaded) {}

void* Module::symbol(const char* name) const {
    return library_ ? dlsym(library_, name) : nullptr;
}

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& name, const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        throw std::runtime_error("cannot load module " + name + " (" + (reason ? reason : path) + ")");
    }
    std::unique_ptr<PluginLibrary> module(new PluginLibrary);
    module->name_ = name;
    module->path_ = path;
    module->library_ = library;
    module->ovcInit_ = reinterpret_cast<OVC_INIT>(dlsym(library, "ovcInit"));
    module->ovcExit_ = reinterpret_cast<OVC_EXIT>(dlsym(library, "ovcExit"));
    if (!module->ovcInit_) {
        module->library_ = nullptr;  // never initialised: no ExitModule
        dlclose(library);
        throw std::runtime_error("module " + name + " (" + path + ") exports no ovcInit");
    }
    if (auto init = reinterpret_cast<MODULE_INIT>(dlsym(library, "InitModule")))
        init(module->instance());
    return module;
}

PluginLibrary::~PluginLibrary() {
    if (!library_)
        return;
    auto exit = reinterpret_cast<MODULE_EXIT>(dlsym(library_, "ExitModule"));
    if (!exit)
        exit = reinterpret_cast<MODULE_EXIT>(dlsym(library_, "opcDLLExit"));
    if (exit)
        exit(instance());
    dlclose(library_);
}

void PluginLibrary::destroyVessel(VESSEL* vessel) const {
    if (ovcExit_)
        ovcExit_(vessel);
    else
        delete vessel;
}

}  // namespace host

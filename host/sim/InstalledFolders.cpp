#include "InstalledFolders.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

// The build says where it puts things (TARVIK_BUILD_*) and how an
// installation lays them out relative to the host library's folder
// (TARVIK_INSTALLED_*).

namespace fs = std::filesystem;

namespace host {

namespace {

// The folder of the shared library this code is in, as it was loaded.
fs::path libraryFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&installedFolders), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    const fs::path library = fs::weakly_canonical(fs::absolute(info.dli_fname, ec), ec);
    return library.parent_path();
}

bool isBuildTree(const fs::path& library) {
    std::error_code ec;
    return !library.empty() && *TARVIK_BUILD_LIBRARY_DIR &&
           fs::equivalent(library, fs::path(TARVIK_BUILD_LIBRARY_DIR), ec);
}

std::string fromEnvironment(const char* name, const std::string& otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : otherwise;
}

}  // namespace

InstalledFolders installedFolders() {
    const fs::path library = libraryFolder();
    InstalledFolders f;
    if (isBuildTree(library)) {
        f.modules = TARVIK_BUILD_MODULE_DIR;
        f.data = TARVIK_BUILD_DATA_DIR;
        f.shippedRoot = TARVIK_BUILD_SHIPPED_ROOT_DIR;
    } else {
        // An installation keeps the simulator's own folder as its data folder:
        // Config/, Scenarios/ and the pictures the root folder ships.
        f.modules = (library / TARVIK_INSTALLED_MODULE_DIR).lexically_normal().string();
        f.data = (library / TARVIK_INSTALLED_DATA_DIR).lexically_normal().string();
        f.shippedRoot = f.data;
    }
    f.modules = fromEnvironment("TARVIK_MODULES", f.modules);
    f.data = fromEnvironment("TARVIK_DATA", f.data);
    return f;
}

}  // namespace host

// What the fuzz targets share: a folder of their own for the files they
// write, the data folder with their classes, and the checks every reader's
// refusal must pass. A failed check prints what it saw and aborts, which is
// how libFuzzer (and the replay program) learn of a fault.
#pragma once

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#ifndef TARVIK_FUZZ_DATA_DIR
#define TARVIK_FUZZ_DATA_DIR "data"
#endif

namespace fuzz {

inline const std::string dataDir = TARVIK_FUZZ_DATA_DIR;

[[noreturn]] inline void fault(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

// Removed when the program ends. In memory where the machine has a place for
// it: rewriting small files on a disk costs more than the reading fuzzed.
inline const std::string& workDir() {
    static const std::string dir = [] {
        std::error_code ec;
        const std::filesystem::path base = !getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tarvik-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            fault("no temporary folder");
        static const std::string removed = pattern;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removed, ec);
        });
        return pattern;
    }();
    return dir;
}

// libFuzzer keeps counters in every instrumented library it has seen, and a
// library the host unloads at the end of a simulation would take them with
// it: the module is loaded once more here, never to be unloaded.
inline void keepModuleLoaded(const std::string& moduleDir, const std::string& name) {
    if (!dlopen((moduleDir + "/" + name + ".so").c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE))
        fault("cannot load the module " + name);
}

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out.flush())
        fault("cannot write " + path);
}

// A refusal is one printable line of a sensible length, whatever the input held.
inline void checkMessage(const std::exception& e) {
    const std::string what = e.what();
    if (what.empty() || what.size() > 700)
        fault("a message of " + std::to_string(what.size()) + " characters");
    for (char c : what)
        if (c < 0x20 || c > 0x7e)
            fault("a message with an unprintable byte: " + what.substr(0, 200));
}

}  // namespace fuzz

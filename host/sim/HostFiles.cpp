// The host files the modules read and write: "KEY = value" lines below the
// host's root folder ("temp") or its Config folder ("tarvik/custom1.cfg").
// Reading a configuration file falls back to the data folder's copy. A file
// that cannot be read still gives a handle, on which every read fails.
// Written files go the way every output goes (FileIO.h): to a temporary
// beside the file, which takes the file's name when the module closes it,
// never out of the root folder, into a pipe or over an input of the run.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "NumberText.h"
#include "PathLookup.h"
#include "CurrentSimulation.h"
#include "Simulation.h"

namespace {

// Longest value handed back by oapiReadItem_string: the simulator's own line
// buffers hold 256 characters, and modules size theirs accordingly.
constexpr size_t maxItemText = 255;

const char* folderOf(PathRoot root) {
    switch (root) {
        case CONFIG:
            return "Config";
        case SCENARIOS:
            return "Scenarios";
        case TEXTURES:
        case TEXTURES2:
            return "Textures";
        case MESHES:
            return "Meshes";
        case MODULES:
            return "Modules";
        default:
            return "";
    }
}

std::string folder(const std::string& base, PathRoot root) {
    std::string sub = folderOf(root);
    return sub.empty() ? base : base + "/" + sub;
}

const host::Item* itemOf(FILEHANDLE f, const char* item) {
    HostFile* file = host::openFileOf(f);
    if (!file || file->kind != HostFile::Kind::ItemsIn || !item)
        return nullptr;
    return file->items.find(item);
}

host::OutputFile* outOf(FILEHANDLE f) {
    HostFile* file = host::openFileOf(f);
    return file && file->kind == HostFile::Kind::ItemsOut ? file->out.get() : nullptr;
}

void writeItem(FILEHANDLE f, const char* item, const std::string& value) {
    if (host::OutputFile* out = outOf(f); out && item)
        out->stream() << item << " = " << value << '\n';
}

// The file a module opens for writing, or null (the failure reported) when
// it may not or cannot be written. Appending starts from what the file holds.
std::unique_ptr<host::OutputFile> openOutput(const std::string& path, const std::string& rootDir, bool append) {
    try {
        host::createFolders(std::filesystem::path(path).parent_path().string(), rootDir);
        auto out = std::make_unique<host::OutputFile>(path, "host file", rootDir);
        std::string before;
        if (append && host::readInputFile(path, before))
            out->stream() << before;
        return out;
    } catch (const host::InputError& e) {
        host::reportFileFailure(e.what(), true);
    }
    return nullptr;
}

}  // namespace

FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root) {
    std::string rootDir, dataDir;
    if (!fname || !host::currentFolders(rootDir, dataDir))
        return nullptr;
    const std::string name = fname;
    std::unique_ptr<HostFile> file;
    if (mode == FILE_OUT || mode == FILE_APP) {
        file = std::make_unique<HostFile>(HostFile::Kind::ItemsOut);
        std::string path = host::joinPath(folder(rootDir, root), name);
        if (!path.empty())
            file->out = openOutput(path, rootDir, mode == FILE_APP);
    } else {
        file = std::make_unique<HostFile>(HostFile::Kind::ItemsIn);
        std::string path = host::findFile(folder(rootDir, root), name);
        if (path.empty() && root != ROOT)
            path = host::findFile(folder(dataDir, root), name);
        std::string problem, content;
        if (!path.empty() && !host::readItemFile(path, file->items) && !host::readInputFile(path, content, &problem))
            host::warnOfFile(path + ": not read: " + problem);
    }
    return host::keepOpen(std::move(file));
}

void oapiCloseFile(FILEHANDLE f, FileAccessMode mode) {
    HostFile* file = host::openFileOf(f);
    if (file && file->kind == HostFile::Kind::ItemsOut && file->out) {
        try {
            file->out->commit();
        } catch (const host::InputError& e) {
            host::reportFileFailure(e.what(), true);
        } catch (const std::exception& e) {
            host::reportFileFailure(e.what(), false);
        }
    }
    host::closeOpenFile(f);
}

bool oapiReadItem_string(FILEHANDLE f, char* item, char* string) {
    const host::Item* it = itemOf(f, item);
    if (!it || !string)
        return false;
    const size_t count = std::min(it->value.size(), maxItemText);
    std::memcpy(string, it->value.data(), count);
    string[count] = '\0';
    return true;
}

// A number that is not finite ("nan", "inf", or one too large for a double)
// reads as absent: no module has a use for it, and it would spread.
bool oapiReadItem_float(FILEHANDLE f, char* item, double& d) {
    const host::Item* it = itemOf(f, item);
    double v = 0;
    if (!it || std::sscanf(it->value.c_str(), "%lf", &v) != 1 || !std::isfinite(v))
        return false;
    d = v;
    return true;
}

// A number beyond the range of an int reads as absent.
bool oapiReadItem_int(FILEHANDLE f, char* item, int& i) {
    const host::Item* it = itemOf(f, item);
    if (!it)
        return false;
    const char* text = it->value.c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    i = static_cast<int>(v);
    return true;
}

bool oapiReadItem_bool(FILEHANDLE f, char* item, bool& b) {
    const host::Item* it = itemOf(f, item);
    if (!it)
        return false;
    if (host::equalsNoCase(it->value, "TRUE")) {
        b = true;
        return true;
    }
    if (host::equalsNoCase(it->value, "FALSE")) {
        b = false;
        return true;
    }
    return false;
}

bool oapiReadItem_vec(FILEHANDLE f, char* item, VECTOR3& vec) {
    const host::Item* it = itemOf(f, item);
    double x, y, z;
    if (!it || std::sscanf(it->value.c_str(), "%lf %lf %lf", &x, &y, &z) != 3 || !std::isfinite(x) ||
        !std::isfinite(y) || !std::isfinite(z))
        return false;
    vec = _V(x, y, z);
    return true;
}

void oapiWriteItem_string(FILEHANDLE f, char* item, char* string) {
    writeItem(f, item, string ? string : "");
}
void oapiWriteItem_float(FILEHANDLE f, char* item, double d) {
    writeItem(f, item, host::numberText(d));
}
void oapiWriteItem_int(FILEHANDLE f, char* item, int i) {
    writeItem(f, item, std::to_string(i));
}
void oapiWriteItem_bool(FILEHANDLE f, char* item, bool b) {
    writeItem(f, item, b ? "TRUE" : "FALSE");
}

void oapiWriteItem_vec(FILEHANDLE f, char* item, const VECTOR3& vec) {
    writeItem(f, item, host::vectorText(vec));
}

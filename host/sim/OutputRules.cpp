#include "OutputRules.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Simulation.h"

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr int maxLinkHops = 40;  // as the kernel follows them

std::vector<const ProtectedInputs*>& guards() {
    static std::vector<const ProtectedInputs*> all;
    return all;
}

// The path made absolute and free of symbolic links as far as it exists.
fs::path resolved(const fs::path& p) {
    std::error_code ec;
    fs::path r = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? fs::absolute(p, ec).lexically_normal() : r;
}

// Both resolved: is `p` the folder `folder` or below it?
bool under(const fs::path& p, const fs::path& folder) {
    auto a = p.begin(), b = folder.begin();
    for (; b != folder.end(); ++a, ++b) {
        if (b->empty() && std::next(b) == folder.end())
            break;  // a trailing separator
        if (a == p.end() || *a != *b)
            return false;
    }
    return true;
}

}  // namespace

ProtectedInputs::ProtectedInputs() {
    guards().push_back(this);
}

ProtectedInputs::~ProtectedInputs() {
    std::erase(guards(), this);
}

void ProtectedInputs::file(const std::string& path, const std::string& what) {
    if (!path.empty())
        entries_.push_back({resolved(path).string(), what, false, ""});
}

void ProtectedInputs::folder(const std::string& path, const std::string& what, const std::string& except) {
    if (!path.empty())
        entries_.push_back({resolved(path).string(), what, true, except.empty() ? "" : resolved(except).string()});
}

void ProtectedInputs::dataFolder(const std::string& dataDir, const std::string& rootDir) {
    if (dataDir.empty())
        return;
    const fs::path data = resolved(dataDir), root = resolved(rootDir.empty() ? "." : rootDir);
    const fs::path config = data / "Config", scenarios = data / "Scenarios";
    const bool rootInside = root != data && under(root, data) && !under(root, config) && !under(root, scenarios);
    folder(config.string(), "the class configurations");
    folder(scenarios.string(), "the scenarios");
    folder(data.string(), "the data folder", rootInside ? root.string() : "");
}

bool liesWithin(const std::string& path, const std::string& folder) {
    return under(resolved(path), resolved(folder));
}

std::string checkOutput(const std::string& path, const std::string& what, const std::string& within) {
    if (path.empty())
        throw InputError("", 0, "no file name for the " + what);
    auto refuse = [&](const std::string& why) {
        throw InputError(path, 0, "cannot write the " + what + ": " + why);
    };
    std::error_code ec;
    const fs::path given(path);
    if (fs::is_directory(given, ec))
        refuse("it is a folder");
    const fs::path name = given.filename();
    if (name.empty() || name == "." || name == "..")
        refuse("it is a folder");
    const fs::path parent = given.parent_path().empty() ? fs::path(".") : given.parent_path();
    if (!fs::is_directory(parent, ec))
        refuse("no folder " + parent.string());
    const fs::path boundary = fs::canonical(within.empty() ? parent : fs::path(within), ec);
    if (ec)
        refuse("no folder " + within);
    const fs::path folder = fs::canonical(parent, ec);
    if (ec)
        refuse("cannot find its folder: " + ec.message());
    if (!under(folder, boundary))
        refuse("it lies outside the folder " + boundary.string());

    // A symbolic link is followed while it stays inside the folder; the write
    // then replaces the file it leads to, and the link stays.
    fs::path real = folder / name;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(real.c_str(), &st) != 0) {
            if (errno == ENOENT)
                break;  // a new file
            refuse(std::strerror(errno));
        }
        if (!S_ISLNK(st.st_mode)) {
            if (S_ISDIR(st.st_mode))
                refuse("it is a folder");
            // Renaming over a device or a pipe would put a file in its place
            // (/dev/null among them); writing into it would hang or vanish.
            if (!S_ISREG(st.st_mode))
                refuse("not a regular file");
            break;
        }
        if (hops == maxLinkHops)
            refuse("too many symbolic links");
        const fs::path link = fs::read_symlink(real, ec);
        if (ec)
            refuse("cannot read the symbolic link: " + ec.message());
        const fs::path next = link.is_absolute() ? link : real.parent_path() / link;
        const fs::path nextName = next.filename();
        if (nextName.empty() || nextName == "." || nextName == "..")
            refuse("a symbolic link to a folder");
        const fs::path nextFolder = fs::canonical(next.parent_path(), ec);
        if (ec || !under(nextFolder, boundary))
            refuse("a symbolic link out of the folder " + boundary.string());
        real = nextFolder / nextName;
    }

    for (const ProtectedInputs* guard : guards())
        for (const ProtectedInputs::Entry& e : guard->entries_) {
            if (e.isFolder) {
                if (under(real, e.path) && (e.except.empty() || !under(real, e.except)))
                    refuse("it lies in " + e.what + " this run reads (" + e.path + ")");
            } else if (real == fs::path(e.path) || fs::equivalent(real, e.path, ec)) {
                refuse("it would overwrite " + e.what + " this run reads");
            }
        }
    return real.string();
}

void createFolders(const std::string& folder, const std::string& within) {
    std::error_code ec;
    const fs::path boundary = fs::canonical(within.empty() ? fs::path(".") : fs::path(within), ec);
    if (ec)
        throw InputError(within, 0, "no folder");
    fs::path wanted = fs::path(folder).lexically_normal();
    if (wanted.empty())
        return;
    fs::path existing = wanted;
    while (!existing.empty() && !fs::exists(fs::symlink_status(existing, ec)))
        existing = existing.parent_path();
    if (existing.empty())
        existing = ".";
    const fs::path real = fs::canonical(existing, ec);
    if (ec || !fs::is_directory(real, ec))
        throw InputError(folder, 0, "cannot create the folder: " + existing.string() + " is not a folder");
    if (!under(real, boundary))
        throw InputError(folder, 0, "cannot create the folder: it lies outside the folder " + boundary.string());
    fs::create_directories(wanted, ec);
    if (!fs::is_directory(wanted, ec))
        throw InputError(folder, 0, "cannot create the folder" + (ec ? ": " + ec.message() : std::string()));
}

}  // namespace host

// Where an output may be written. Every file the host and tarvik-sim write
// is checked here first: it replaces a regular file or nothing (never a
// folder, a device, a pipe or a socket), it stays inside the folder it
// belongs to (a symbolic link leading out of that folder is refused, one
// leading to another file inside it is followed), and it never replaces a
// file the run reads (its scenario, its script, the data folder, the
// plug-ins).
#pragma once

#include <string>
#include <vector>

namespace host {

// The files and folders a run reads, kept from being overwritten while the
// object lives. Several may live at once (a tool's and its simulation's);
// an output is checked against all of them.
class ProtectedInputs {
public:
    ProtectedInputs();
    ~ProtectedInputs();
    ProtectedInputs(const ProtectedInputs&) = delete;
    ProtectedInputs& operator=(const ProtectedInputs&) = delete;

    // `what` names it in a refusal: "the scenario", "the script".
    void file(const std::string& path, const std::string& what);
    // Everything below the folder, except what lies below `except` (when given).
    void folder(const std::string& path, const std::string& what, const std::string& except = "");
    // The data folder: class configurations, scenarios and everything else
    // in it. A root folder made inside it (not in its Config/ or Scenarios/)
    // is the runs' own and may be written.
    void dataFolder(const std::string& dataDir, const std::string& rootDir);

    struct Entry {
        std::string path;  // made absolute and free of symbolic links
        std::string what;
        bool isFolder = false;
        std::string except;
    };

private:
    std::vector<Entry> entries_;
    friend std::string checkOutput(const std::string&, const std::string&, const std::string&);
};

// Checks that `path` may be written as the `what` ("summary", "snapshot"),
// inside the folder `within` (empty: the path's own folder), and returns the
// file the write will replace: `path` itself, or the file a symbolic link
// there leads to. Throws InputError naming `path` when it may not.
std::string checkOutput(const std::string& path, const std::string& what, const std::string& within = "");

// Creates `folder` and the folders above it that are missing, refusing any
// that would lie outside `within` (which must exist). Throws InputError.
void createFolders(const std::string& folder, const std::string& within);

// Is `path` (made absolute, symbolic links resolved as far as they exist)
// `folder` itself or below it?
bool liesWithin(const std::string& path, const std::string& folder);

}  // namespace host

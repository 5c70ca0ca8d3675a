// One run at a time in a root folder. Two runs writing into one folder would
// mix their outputs, so each run holds an advisory lock on
// ROOT/.tarvik-sim.lock while it runs; the lock file says which run holds it
// (process id, start time, command line), and goes when the run ends. The
// kernel lets go of the lock of a run that was killed, so a stale lock file
// never stops the next run; that run then removes the temporary files the
// killed one left in the folder.
#pragma once

#include <string>

namespace tarviksim {

class RootLock {
public:
    // Takes the lock on the folder (which must exist), or throws
    // host::InputError naming the run that holds it.
    explicit RootLock(const std::string& folder);
    ~RootLock();
    RootLock(const RootLock&) = delete;
    RootLock& operator=(const RootLock&) = delete;

    // Removes the temporaries a killed run left in the folder and its
    // subfolders (those of folders another live run holds are left alone);
    // returns how many.
    int removeLeftovers() const;

    static const char* fileName() { return ".tarvik-sim.lock"; }

private:
    std::string folder_, path_;
    int fd_ = -1;
};

// "tarvik-sim: warning: removed N temporary files an interrupted run left in
// FOLDER" when there were any.
std::string leftoverWarning(int removed, const std::string& folder);

}  // namespace tarviksim

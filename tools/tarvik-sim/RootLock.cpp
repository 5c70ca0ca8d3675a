#include "RootLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "sim/FileIO.h"
#include "sim/InputText.h"
#include "sim/Simulation.h"
#include "sim/Temporaries.h"

namespace fs = std::filesystem;

namespace tarviksim {

namespace {

constexpr size_t longestHolder = 300;

// This process as the lock file names it: "pid 1234 since 2024-05-01 10:00:00: tarvik-sim fly ...".
std::string holderText() {
    std::string command;
    std::string raw;
    if (host::readInputFile("/proc/self/cmdline", raw, nullptr, 1 << 16))
        for (char c : raw)
            command += c == '\0' ? ' ' : c;
    while (!command.empty() && command.back() == ' ')
        command.pop_back();
    if (const size_t slash = command.rfind('/', command.find(' ')); slash != std::string::npos)
        command.erase(0, slash + 1);  // the program's name without its folder
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (localtime_r(&now, &local))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    std::string text = "pid " + std::to_string(::getpid()) + " since " + when + ": " + command;
    text = host::printable(text);
    if (text.size() > longestHolder)
        text = text.substr(0, longestHolder) + "...";
    return text;
}

// Does a live run hold the lock of this folder?
bool heldByAnother(const fs::path& folder) {
    const int fd = ::open((folder / RootLock::fileName()).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

RootLock::RootLock(const std::string& folder) : folder_(folder), path_((fs::path(folder) / fileName()).string()) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0)
            throw host::InputError(folder_, 0, std::string("cannot lock the folder: ") + std::strerror(errno));
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            throw host::InputError(folder_, 0, std::string("cannot lock the folder: ") + fileName() +
                                                   " is not a regular file");
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            std::string holder;
            char text[longestHolder + 8] = {};
            const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
            if (n > 0)
                holder.assign(text, static_cast<size_t>(n));
            ::close(fd);
            while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' '))
                holder.pop_back();
            if (error == EWOULDBLOCK)
                throw host::InputError(folder_, 0,
                                       "another run is using this folder (" +
                                           (holder.empty() ? std::string("it has not said which") : host::printable(holder)) +
                                           "); one run at a time in a root folder");
            throw host::InputError(folder_, 0, std::string("cannot lock the folder: ") + std::strerror(error));
        }
        // The run that held the lock may have removed its file between our
        // open and our lock: only the file still at the name counts.
        struct stat now {};
        if (::stat(path_.c_str(), &now) != 0 || now.st_ino != opened.st_ino || now.st_dev != opened.st_dev) {
            ::close(fd);
            continue;
        }
        const std::string holder = holderText() + "\n";
        if (::ftruncate(fd, 0) == 0)
            (void)!::pwrite(fd, holder.data(), holder.size(), 0);
        fd_ = fd;
        return;
    }
    throw host::InputError(folder_, 0, "cannot lock the folder: its lock file keeps changing");
}

RootLock::~RootLock() {
    if (fd_ >= 0) {
        ::unlink(path_.c_str());  // while still held, so that no one takes a lock on a file about to go
        ::close(fd_);
    }
}

int RootLock::removeLeftovers() const {
    return host::removeStaleTemporaries(folder_, [root = fs::path(folder_)](const std::string& sub) {
        return fs::path(sub) != root && heldByAnother(sub);
    });
}

std::string leftoverWarning(int removed, const std::string& folder) {
    if (removed <= 0)
        return "";
    return "tarvik-sim: warning: removed " + std::to_string(removed) + " temporary file" + (removed == 1 ? "" : "s") +
           " an interrupted run left in " + host::printable(folder) + "\n";
}

}  // namespace tarviksim

#include "Temporaries.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr std::string_view marker = ".tmp-";
constexpr size_t suffixLength = 6;  // mkstemp's XXXXXX
constexpr size_t longestKeptName = 200;  // the temporary's name stays within the file system's 255 bytes

// A slot is free (0), being filled or emptied (1), or holds a path (2). The
// signal handler runs on the thread that fills the slots, so it only has to
// skip a slot that is being changed. The states lie together, apart from the
// paths: a look along them touches one page of memory, not one a slot.
constexpr size_t kSlots = 64;
constexpr size_t kLongestPath = 4096;
std::array<std::atomic<int>, kSlots> states{};
char paths[kSlots][kLongestPath];

bool isSuffixChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

void noteTemporary(const std::string& path) {
    if (path.size() >= kLongestPath)
        return;
    for (size_t i = 0; i < kSlots; ++i) {
        int free = 0;
        if (!states[i].compare_exchange_strong(free, 1))
            continue;
        std::memcpy(paths[i], path.c_str(), path.size() + 1);
        states[i].store(2);
        return;
    }
}

void forgetTemporary(const std::string& path) {
    for (size_t i = 0; i < kSlots; ++i) {
        if (states[i].load() != 2 || path != paths[i])
            continue;
        states[i].store(1);
        paths[i][0] = '\0';
        states[i].store(0);
        return;
    }
}

void removeHeldTemporaries() noexcept {
    for (size_t i = 0; i < kSlots; ++i)
        if (states[i].load() == 2)
            ::unlink(paths[i]);
}

std::string temporaryPattern(const std::string& name) {
    std::string kept = name.substr(0, longestKeptName);
    return "." + kept + std::string(marker) + std::string(suffixLength, 'X');
}

bool isTemporaryName(std::string_view n) {
    const size_t least = 1 + 1 + marker.size() + suffixLength;
    if (n.size() < least || n[0] != '.')
        return false;
    const size_t at = n.size() - suffixLength - marker.size();
    if (n.substr(at, marker.size()) != marker)
        return false;
    for (char c : n.substr(n.size() - suffixLength))
        if (!isSuffixChar(c))
            return false;
    return true;
}

int removeStaleTemporaries(const std::string& folder, const std::function<bool(const std::string&)>& skip) {
    int removed = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& e = *it;
        if (e.is_symlink(ec))
            continue;
        if (e.is_directory(ec)) {
            if (skip && skip(e.path().string()))
                it.disable_recursion_pending();
            continue;
        }
        if (!e.is_regular_file(ec))
            continue;
        if (isTemporaryName(e.path().filename().string()) && fs::remove(e.path(), ec))
            ++removed;
    }
    return removed;
}

}  // namespace host

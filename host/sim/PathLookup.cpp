#include "PathLookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "ItemFile.h"

namespace fs = std::filesystem;

namespace host {

namespace {

std::vector<std::string> splitName(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (c == '/' || c == '\\') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

}  // namespace

bool isSafeRelativeName(const std::string& name) {
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    for (const auto& part : splitName(name))
        if (part.empty() || part == "." || part == "..")
            return false;
    return true;
}

std::string joinPath(const std::string& base, const std::string& name) {
    if (!isSafeRelativeName(name))
        return {};
    std::string path = base.empty() ? std::string(".") : base;
    for (const auto& part : splitName(name))
        path += "/" + part;
    return path;
}

std::string findFile(const std::string& base, const std::string& name) {
    std::string direct = joinPath(base, name);
    if (direct.empty())
        return {};
    std::error_code ec;
    if (fs::is_regular_file(direct, ec))
        return direct;

    fs::path dir = base.empty() ? fs::path(".") : fs::path(base);
    for (const auto& part : splitName(name)) {
        std::vector<std::string> matches;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            std::string entry = it->path().filename().string();
            if (equalsNoCase(entry, part))
                matches.push_back(entry);
        }
        if (matches.empty())
            return {};
        std::sort(matches.begin(), matches.end());  // the same choice on every run
        dir /= matches.front();
    }
    return fs::is_regular_file(dir, ec) ? dir.string() : std::string();
}

}  // namespace host

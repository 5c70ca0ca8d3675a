#include "ItemFile.h"

#include <cctype>
#include <sstream>

#include "FileIO.h"

namespace host {

bool equalsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

const Item* ItemFile::find(const std::string& key) const {
    for (const auto& it : items)
        if (equalsNoCase(it.key, key))
            return &it;
    return nullptr;
}

bool readItemFile(const std::string& path, ItemFile& out) {
    std::string text;
    if (!readInputFile(path, text))
        return false;
    std::istringstream in(text);
    out.path = path;
    out.items.clear();
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        // A module reads a value as C text, which ends at a NUL byte; so does the line.
        if (size_t nul = line.find('\0'); nul != std::string::npos)
            line.erase(nul);
        size_t semi = line.find(';');
        if (semi != std::string::npos)
            line.erase(semi);
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        Item item{trim(line.substr(0, eq)), trim(line.substr(eq + 1)), number};
        if (!item.key.empty())
            out.items.push_back(std::move(item));
    }
    return true;
}

}  // namespace host

// "KEY = value" files: class configurations and the host files the modules
// read ("temp", "tarvik/custom1.cfg"). Keys compare without regard to case;
// ';' starts a comment.
#pragma once

#include <string>
#include <vector>

namespace host {

struct Item {
    std::string key;
    std::string value;
    int line = 0;
};

struct ItemFile {
    std::string path;
    std::vector<Item> items;

    // First item with this key, or null.
    const Item* find(const std::string& key) const;
};

// Reads the file; false when it cannot be read (readInputFile: a regular
// file of sensible size). Lines without '=' are skipped.
bool readItemFile(const std::string& path, ItemFile& out);

bool equalsNoCase(const std::string& a, const std::string& b);
std::string trim(const std::string& s);

}  // namespace host

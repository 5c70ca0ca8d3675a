// What a FILEHANDLE points to: a "KEY = value" file opened by a module
// (oapiOpenFile) or handed to clbkSetClassCaps, or a vessel's block of a
// scenario being read or written.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FileIO.h"
#include "ItemFile.h"

struct HostFile {
    enum class Kind { ItemsIn, ItemsOut, ScenarioIn, ScenarioOut };
    explicit HostFile(Kind k) : kind(k) {}
    HostFile(const HostFile&) = delete;
    HostFile& operator=(const HostFile&) = delete;

    const Kind kind;

    host::ItemFile items;      // ItemsIn (empty when the file could not be read)
    // ItemsOut: the file being written, which takes its name when the module
    // closes it (null when it may not or cannot be written there).
    std::unique_ptr<host::OutputFile> out;

    std::vector<std::string> lines;  // ScenarioIn: the module's lines of the block
    std::vector<int> lineNumbers;    // ScenarioIn: where each one stands in the file
    std::string source;              // ScenarioIn: the scenario file
    std::set<size_t> reported;       // ScenarioIn: lines reported as not taken
    size_t next = 0;
    std::string current;  // the line last handed out, owned here

    std::string* text = nullptr;  // ScenarioOut: the scenario text being written
    std::string notFinite;        // ScenarioOut: the first item written with a value that is not a number
};

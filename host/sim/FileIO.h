// Reading input files whole, and writing output files whole or not at all.
// This is the one way the host and tarvik-sim read and write files.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "OutputRules.h"

namespace host {

// No input is larger: scenarios, scripts, configurations and pictures are
// far smaller, and a read never takes the machine's memory.
constexpr size_t maxInputBytes = size_t{64} << 20;

// The whole content of a regular file of at most `limit` bytes; false, with
// why in *problem, when it is missing, is a folder, a device, a pipe or
// anything else that is not a regular file (a pipe is never waited on), is
// larger, or cannot be read.
bool readInputFile(const std::string& path, std::string& content, std::string* problem = nullptr,
                   size_t limit = maxInputBytes);

// The whole text of a regular file, as readInputFile reads it; throws
// InputError naming the file otherwise. `what` says what the file is for
// ("script").
std::string readTextFile(const std::string& path, const std::string& what, size_t limit = maxInputBytes);

// An output written to a temporary file beside the file it replaces, which
// takes the file's name only at commit(), once everything is written,
// flushed and synced: until then a file already at `path` stays as it was,
// and an OutputFile dropped without commit() (or a run interrupted) leaves
// nothing behind. Where it may be written is checked as checkOutput does,
// inside the folder `within` (empty: the path's own folder).
//
// The constructor throws InputError when the file may not or cannot be
// written there; finish() and commit() throw std::runtime_error naming the
// file when a write failed (a full disk, a file-size limit).
class OutputFile {
public:
    OutputFile(std::string path, std::string what, std::string within = "");
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream();
    const std::string& path() const { return path_; }

    // For another program to write the file: the temporary's path, closed
    // here; stream() takes no more. commit() then takes what it wrote.
    const std::string& handOver();

    void finish();  // everything written reaches the disk; no more writes
    void commit();  // finish(), then the file takes its name

private:
    class Buffer;
    std::string path_, what_, within_, target_, temp_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool handedOver_ = false, finished_ = false, committed_ = false;
};

// Writes `text` as the whole file at `path`, as OutputFile does.
void writeFileWhole(const std::string& path, const std::string& text, const std::string& what,
                    const std::string& within = "");

}  // namespace host

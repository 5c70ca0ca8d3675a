// Reading input files whole, and writing output files whole or not at all.
#pragma once

#include <memory>
#include <ostream>
#include <string>

namespace host {

// The whole text of a regular file; throws InputError naming the file when
// it is missing, is a folder or anything else that is not a regular file,
// or cannot be read. `what` says what the file is for ("script").
std::string readTextFile(const std::string& path, const std::string& what);

// An output written to a temporary file in the same folder, which takes the
// file's name only at commit(), once everything is written, flushed and
// synced: until then a file already at `path` stays as it was, and an
// OutputFile dropped without commit() leaves nothing behind.
//
// The constructor throws InputError when the file cannot be written there (a
// missing folder, a folder of that name); finish() and commit() throw
// std::runtime_error naming the file when a write failed (a full disk, a
// file-size limit).
class OutputFile {
public:
    OutputFile(std::string path, std::string what);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream();
    const std::string& path() const { return path_; }

    void finish();  // everything written reaches the disk; no more writes
    void commit();  // finish(), then the file takes its name

private:
    class Buffer;
    std::string path_, what_, temp_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool finished_ = false, committed_ = false;
};

// Writes `text` as the whole file at `path`, as OutputFile does.
void writeFileWhole(const std::string& path, const std::string& text, const std::string& what);

}  // namespace host

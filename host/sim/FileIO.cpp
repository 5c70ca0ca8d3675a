#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <vector>

#include "Simulation.h"

namespace fs = std::filesystem;

namespace host {

std::string readTextFile(const std::string& path, const std::string& what) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        throw InputError(path, 0, "cannot read the " + what + ": no such file");
    if (!fs::is_regular_file(status))
        throw InputError(path, 0, "cannot read the " + what + ": not a regular file");
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    if (in)
        text << in.rdbuf();
    if (!in || in.bad())
        throw InputError(path, 0, "cannot read the " + what);
    return text.str();
}

// A stream buffer on a file descriptor that remembers the first failed write.
class OutputFile::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : fd_(fd), data_(1 << 16) { setp(data_.data(), data_.data() + data_.size()); }
    ~Buffer() override { close(); }

    int error() const { return error_; }

    // Writes what is buffered, syncs and closes; false on any failure.
    bool finish() {
        if (fd_ < 0)
            return error_ == 0;
        if (!drain())
            return false;
        if (::fsync(fd_) != 0 && !error_)
            error_ = errno;
        close();
        return error_ == 0;
    }

    void close() {
        if (fd_ >= 0 && ::close(fd_) != 0 && !error_)
            error_ = errno;
        fd_ = -1;
    }

protected:
    int overflow(int c) override {
        if (!drain())
            return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = static_cast<char>(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const char* p = pbase();
        size_t left = static_cast<size_t>(pptr() - pbase());
        while (left > 0 && !error_) {
            const ssize_t n = fd_ >= 0 ? ::write(fd_, p, left) : -1;
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error_ = fd_ >= 0 && n < 0 ? errno : EIO;
                break;
            }
            p += n;
            left -= static_cast<size_t>(n);
        }
        setp(data_.data(), data_.data() + data_.size());
        return error_ == 0;
    }

    int fd_;
    int error_ = 0;
    std::vector<char> data_;
};

namespace {

// Files are created as the user's other files are: 0666 less the umask.
mode_t fileMode() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

OutputFile::OutputFile(std::string path, std::string what) : path_(std::move(path)), what_(std::move(what)) {
    std::error_code ec;
    if (path_.empty())
        throw InputError("", 0, "no file name for the " + what_);
    if (fs::is_directory(path_, ec))
        throw InputError(path_, 0, "cannot write the " + what_ + ": it is a folder");
    // The rename at commit() would put a regular file in place of a device or
    // a pipe (/dev/null among them).
    if (fs::exists(path_, ec) && !fs::is_regular_file(path_, ec))
        throw InputError(path_, 0, "cannot write the " + what_ + ": not a regular file");
    const fs::path target(path_);
    const fs::path folder = target.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec))
        throw InputError(path_, 0, "cannot write the " + what_ + ": no folder " + folder.string());
    std::string pattern = (folder / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw InputError(path_, 0, "cannot write the " + what_ + ": " + std::strerror(errno));
    ::fchmod(fd, fileMode());
    temp_ = pattern;
    buffer_ = std::make_unique<Buffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

OutputFile::~OutputFile() {
    if (!committed_) {
        buffer_->close();
        ::unlink(temp_.c_str());
    }
}

std::ostream& OutputFile::stream() {
    return *stream_;
}

void OutputFile::finish() {
    if (finished_)
        return;
    finished_ = true;
    stream_->flush();
    if (!buffer_->finish() || !*stream_) {
        const int error = buffer_->error();
        throw std::runtime_error(path_ + ": cannot write the " + what_ +
                                 (error ? std::string(": ") + std::strerror(error) : std::string()));
    }
}

void OutputFile::commit() {
    if (committed_)
        return;
    finish();
    if (std::rename(temp_.c_str(), path_.c_str()) != 0)
        throw std::runtime_error(path_ + ": cannot write the " + what_ + ": " + std::strerror(errno));
    committed_ = true;
    syncFolder(fs::path(path_).parent_path());
}

void writeFileWhole(const std::string& path, const std::string& text, const std::string& what) {
    OutputFile out(path, what);
    out.stream() << text;
    out.commit();
}

}  // namespace host

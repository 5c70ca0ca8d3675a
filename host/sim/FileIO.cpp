#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <streambuf>
#include <vector>

#include "Simulation.h"
#include "Temporaries.h"

namespace fs = std::filesystem;

namespace host {

namespace {

std::string sizeText(size_t bytes) {
    return bytes >= (size_t{1} << 20) ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes) + " bytes";
}

}  // namespace

bool readInputFile(const std::string& path, std::string& content, std::string* problem, size_t limit) {
    auto fail = [&](const std::string& why) {
        if (problem)
            *problem = why;
        return false;
    };
    // Not blocking: opening a pipe would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno == ENOENT ? "no such file" : std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > limit)
        return fail("larger than " + sizeText(limit));
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    size_t have = 0;
    // The file may grow while it is read: at most one byte past the limit is asked for.
    while (true) {
        if (have == bytes.size()) {
            if (bytes.size() > limit)
                return fail("larger than " + sizeText(limit));
            bytes.resize(std::min(limit + 1, std::max<size_t>(bytes.size() * 2, 4096)));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(std::strerror(errno));
        if (n == 0)
            break;
        have += static_cast<size_t>(n);
    }
    if (have > limit)
        return fail("larger than " + sizeText(limit));
    bytes.resize(have);
    content = std::move(bytes);
    return true;
}

std::string readTextFile(const std::string& path, const std::string& what, size_t limit) {
    std::string text, problem;
    if (!readInputFile(path, text, &problem, limit))
        throw InputError(path, 0, "cannot read the " + what + ": " + problem);
    return text;
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

    void fail(int error) {
        if (!error_)
            error_ = error;
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
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// What another program wrote into the temporary reaches the disk; 0 or errno.
int syncWritten(const std::string& temp) {
    const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    int error = ::fstat(fd, &st) != 0 ? errno : !S_ISREG(st.st_mode) ? EINVAL : 0;
    if (!error && ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    return error;
}

}  // namespace

OutputFile::OutputFile(std::string path, std::string what, std::string within)
    : path_(std::move(path)), what_(std::move(what)), within_(std::move(within)) {
    target_ = checkOutput(path_, what_, within_);
    const fs::path target(target_);
    std::string pattern = (target.parent_path() / temporaryPattern(target.filename().string())).string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw InputError(path_, 0, "cannot write the " + what_ + ": " + std::strerror(errno));
    temp_ = pattern;
    noteTemporary(temp_);
    ::fchmod(fd, fileMode());
    buffer_ = std::make_unique<Buffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

OutputFile::~OutputFile() {
    if (!committed_) {
        buffer_->close();
        ::unlink(temp_.c_str());
        forgetTemporary(temp_);
    }
}

std::ostream& OutputFile::stream() {
    return *stream_;
}

const std::string& OutputFile::handOver() {
    if (!handedOver_) {
        handedOver_ = true;
        stream_->flush();
        if (!buffer_->finish())
            stream_->setstate(std::ios::badbit);
    }
    return temp_;
}

void OutputFile::finish() {
    if (finished_)
        return;
    finished_ = true;
    int error = 0;
    if (handedOver_) {
        error = *stream_ ? syncWritten(temp_) : buffer_->error();
    } else {
        stream_->flush();
        if (!buffer_->finish() || !*stream_)
            error = buffer_->error() ? buffer_->error() : EIO;
    }
    if (error)
        throw std::runtime_error(path_ + ": cannot write the " + what_ + ": " + std::strerror(error));
}

void OutputFile::commit() {
    if (committed_)
        return;
    finish();
    // What may have appeared at the name while the file was written (a pipe,
    // a link out of the folder) is refused as it would have been at the start.
    if (checkOutput(path_, what_, within_) != target_)
        throw InputError(path_, 0, "cannot write the " + what_ + ": it was replaced by a link while it was written");
    if (std::rename(temp_.c_str(), target_.c_str()) != 0)
        throw std::runtime_error(path_ + ": cannot write the " + what_ + ": " + std::strerror(errno));
    committed_ = true;
    forgetTemporary(temp_);
    syncFolder(fs::path(target_).parent_path());
}

void writeFileWhole(const std::string& path, const std::string& text, const std::string& what,
                    const std::string& within) {
    OutputFile out(path, what, within);
    out.stream() << text;
    out.commit();
}

}  // namespace host

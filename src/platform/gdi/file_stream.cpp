#include "platform/gdi/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vxl::platform {

bool FileExists(const std::string& name) {
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int OpenRegularFile(const std::string& name, int flags, uint64_t* size) {
    // Without O_NONBLOCK, opening a FIFO waits for the other end.
    const int fd = ::open(name.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (size) *size = uint64_t(st.st_size);
    return fd;
}

size_t MemorySource::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
    if (offset >= bytes_.size()) return 0;
    const size_t n = std::min<uint64_t>(count, bytes_.size() - offset);
    std::memcpy(out, bytes_.data() + offset, n);
    return n;
}

FileSource::FileSource(const std::string& name, int flags) {
    fd_ = OpenRegularFile(name, flags, &size_);
    if (fd_ < 0) {
        throw FileError("Cannot open file " + name);
    }
}

FileSource::~FileSource() {
    if (fd_ >= 0) ::close(fd_);
}

size_t FileSource::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, out + done, count - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
    return done;
}

bool SourceReader::Refill() {
    if (next_ >= end_) return false;
    held_ = source_.ReadAt(next_, buffer_, size_t(std::min<uint64_t>(sizeof buffer_, end_ - next_)));
    at_ = 0;
    next_ += held_;
    if (held_ == 0) next_ = end_;
    return held_ > 0;
}

size_t SourceReader::Read(uint8_t* out, size_t count) {
    size_t done = 0;
    while (done < count) {
        if (at_ == held_ && !Refill()) break;
        const size_t n = std::min(count - done, held_ - at_);
        std::memcpy(out + done, buffer_ + at_, n);
        at_ += n;
        done += n;
    }
    return done;
}

void ReplaceFile(const std::string& name, std::span<const uint8_t> bytes) {
    std::string target = name;
    mode_t mode;
    struct stat st;
    if (::stat(name.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) throw FileError("Cannot create file " + name);
        // Through a link, the file it names is replaced and the link stays.
        if (char* real = ::realpath(name.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string temp = folder + "." + target.substr(folder.size()) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) throw FileError("Cannot create file " + name);
    bool ok = ::fchmod(fd, mode) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw FileError("Stream write error");
    }
}

}  // namespace vxl::platform

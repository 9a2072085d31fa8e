// Files for the picture classes. Readers take bytes from the file as a decoder asks for them, so a
// picture costs its pixels and not its file; writers never leave a half-written file behind. Failures
// raise FileError, which the library lets pass to the host untouched.
#pragma once

#include <fcntl.h>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vxl::platform {

class __attribute__((visibility("default"))) FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool FileExists(const std::string& name);

// A descriptor of `name` opened with `flags`, or -1 when it cannot be opened or is not a regular
// file. FIFOs and devices are opened without waiting and refused. `size`, if given, gets the file's.
int OpenRegularFile(const std::string& name, int flags, uint64_t* size = nullptr);

// Bytes a decoder reads from, at any offset.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `count` bytes from `offset`; fewer at the end.
    virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) = 0;
    virtual uint64_t Size() const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;
    uint64_t Size() const override { return bytes_.size(); }

private:
    std::span<const uint8_t> bytes_;
};

class FileSource final : public ByteSource {
public:
    // Raises "Cannot open file <name>" when `name` is not a regular file that can be opened with
    // `flags` (read access at least).
    explicit FileSource(const std::string& name, int flags = O_RDONLY);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;
    uint64_t Size() const override { return size_; }

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Reads a stretch of a source front to back through a small buffer.
class SourceReader {
public:
    SourceReader(ByteSource& source, uint64_t begin, uint64_t end) : source_(source), next_(begin), end_(end) {}
    // Up to `count` bytes; fewer once the stretch ends.
    size_t Read(uint8_t* out, size_t count);
    bool Byte(uint8_t* out) {
        if (at_ == held_ && !Refill()) return false;
        *out = buffer_[at_++];
        return true;
    }

private:
    bool Refill();

    ByteSource& source_;
    uint64_t next_;  // where the buffer's next refill starts
    uint64_t end_;
    size_t at_ = 0, held_ = 0;
    uint8_t buffer_[16384];
};

// Writes `bytes` to a temporary file in `name`'s folder and renames it over `name` once every byte
// is written and flushed. On failure the old file keeps its content and the temporary is removed.
// Raises "Cannot create file <name>" when no temporary can be made or `name` is there but is not a
// regular file, "Stream write error" when writing fails.
void ReplaceFile(const std::string& name, std::span<const uint8_t> bytes);

}  // namespace vxl::platform

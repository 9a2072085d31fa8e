#include "platform/gdi/file_stream.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace vxl::platform {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool FileExists(const std::string& name) {
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<uint8_t> ReadWholeFile(const std::string& name) {
    File f(FileExists(name) ? std::fopen(name.c_str(), "rb") : nullptr);
    if (!f) {
        throw FileError("Cannot open file " + name);
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while (bytes.size() < kMaxReadBytes && (got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

void WriteWholeFile(const std::string& name, std::span<const uint8_t> bytes) {
    File f(std::fopen(name.c_str(), "wb"));
    if (!f) {
        throw FileError("Cannot create file " + name);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    if (std::fclose(f.release()) != 0 || !written) {
        throw FileError("Stream write error");
    }
}

}  // namespace vxl::platform

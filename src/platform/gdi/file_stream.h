// Whole-file reads and writes for the picture classes. Their failures raise FileError, which the
// library lets pass to the host untouched.
#pragma once

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

// Files longer than this are read only this far: no picture we accept needs more.
constexpr uint64_t kMaxReadBytes = uint64_t(1) << 30;

bool FileExists(const std::string& name);
// Raises "Cannot open file <name>" when the file cannot be opened for reading.
std::vector<uint8_t> ReadWholeFile(const std::string& name);
// Raises "Cannot create file <name>", or "Stream write error" when not every byte was written.
void WriteWholeFile(const std::string& name, std::span<const uint8_t> bytes);

}  // namespace vxl::platform

#include "pictures/signatures.h"

#include <algorithm>
#include <array>

namespace vxl {
namespace {

template <size_t N>
bool StartsWith(platform::Bytes stream, const std::array<uint8_t, N>& signature) {
    return stream.size() >= N && std::equal(signature.begin(), signature.end(), stream.begin());
}

constexpr std::array<uint8_t, 2> kJpeg{0xFF, 0xD8};
constexpr std::array<uint8_t, 2> kBmp{'B', 'M'};
constexpr std::array<uint8_t, 8> kPng{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

}  // namespace

PictureType SignatureOf(platform::Bytes stream, bool jpeg_allowed) {
    if (jpeg_allowed && StartsWith(stream, kJpeg)) return PictureType::Jpeg;
    if (StartsWith(stream, kBmp)) return PictureType::Bmp;
    if (StartsWith(stream, kPng)) return PictureType::Png;
    return PictureType::None;
}

PictureType SignatureOf(platform::ByteSource& file, bool jpeg_allowed) {
    uint8_t first[8];
    return SignatureOf(platform::Bytes(first, file.ReadAt(0, first, sizeof first)), jpeg_allowed);
}

}  // namespace vxl

#include "platform/gdi/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace vxl::platform {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

uint32_t U16(Bytes b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}
uint32_t U32(Bytes b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;  // always positive here; `top_down` keeps the sign's meaning
    bool top_down = false;
    uint32_t bit_count = 0;
    uint32_t compression = kRgb;
    uint32_t image_size = 0;
    uint32_t colours_used = 0;
    uint32_t header_size = 0;
    uint32_t data_offset = 0;
    std::array<uint32_t, 3> masks{};  // red, green, blue
    bool core = false;
};

bool ParseHeader(Bytes file, Header* h) {
    if (file.size() < kFileHeaderBytes + 4 || file[0] != 'B' || file[1] != 'M') {
        return false;
    }
    h->data_offset = U32(file, 10);
    h->header_size = U32(file, kFileHeaderBytes);
    if (h->header_size == kCoreHeaderBytes) {
        if (file.size() < kFileHeaderBytes + kCoreHeaderBytes) return false;
        h->core = true;
        h->width = int32_t(U16(file, 18));
        h->height = int32_t(U16(file, 20));
        h->bit_count = U16(file, 24);
        return h->bit_count == 1 || h->bit_count == 4 || h->bit_count == 8 || h->bit_count == 24;
    }
    if (h->header_size < kInfoHeaderBytes || file.size() < kFileHeaderBytes + kInfoHeaderBytes) {
        return false;
    }
    h->width = int32_t(U32(file, 18));
    const int32_t height = int32_t(U32(file, 22));
    h->bit_count = U16(file, 28);
    h->compression = U32(file, 30);
    h->image_size = U32(file, 34);
    h->colours_used = U32(file, 46);
    if (h->width < 0 || height == INT32_MIN) {
        return false;
    }
    h->top_down = height < 0;
    h->height = height < 0 ? -height : height;
    switch (h->compression) {
        case kRgb:
            return h->bit_count == 1 || h->bit_count == 4 || h->bit_count == 8 || h->bit_count == 16 ||
                   h->bit_count == 24 || h->bit_count == 32;
        case kRle8:
            return h->bit_count == 8;
        case kRle4:
            return h->bit_count == 4;
        case kBitFields:
        case kAlphaBitFields:
            return h->bit_count == 16 || h->bit_count == 32;
        default:
            return false;
    }
}

// One colour channel of a bit-field pixel, widened to 8 bits as floor(v * 255 / max).
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = uint64_t(m) >> shift;
        }
    }
    uint8_t Get(uint32_t pixel) const {
        if (max == 0) return 0;
        return uint8_t(uint64_t((pixel & mask) >> shift) * 255 / max);
    }
};

class Decoder {
public:
    Decoder(ByteSource& file, const Header& h, Picture* out) : file_(file), h_(h), out_(out) {}

    DecodeResult Run() {
        if (!ReadMasksAndPalette()) return DecodeResult::Malformed;
        const uint64_t size = file_.Size();
        if (h_.data_offset >= size) return DecodeResult::Malformed;
        const uint64_t data = size - h_.data_offset;
        if (h_.compression == kRle8 || h_.compression == kRle4) {
            const uint64_t length = h_.image_size != 0 && h_.image_size < data ? h_.image_size : data;
            SourceReader reader(file_, h_.data_offset, h_.data_offset + length);
            DecodeRle(reader, h_.compression == kRle4);
            return DecodeResult::Ok;
        }
        return DecodeRows(data) ? DecodeResult::Ok : DecodeResult::Malformed;
    }

private:
    bool ReadMasksAndPalette() {
        // Summed in 64 bits: a header size near 2^32 must not wrap back into the file's first bytes.
        uint64_t at = uint64_t(kFileHeaderBytes) + h_.header_size;
        if (at > file_.Size()) return false;
        if (h_.compression == kBitFields || h_.compression == kAlphaBitFields) {
            if (h_.header_size >= 52) {
                at = kFileHeaderBytes + kInfoHeaderBytes;  // the masks are part of the longer headers
            }
            uint8_t m[12];
            if (file_.ReadAt(at, m, sizeof m) != sizeof m) return false;
            masks_ = {U32(m, 0), U32(m, 4), U32(m, 8)};
            if (h_.header_size < 52) at += h_.compression == kAlphaBitFields ? 16 : 12;
            at = std::max(at, uint64_t(kFileHeaderBytes) + h_.header_size);
        } else if (h_.bit_count == 16) {
            masks_ = {0x7C00, 0x03E0, 0x001F};
        } else {
            masks_ = {0xFF0000, 0x00FF00, 0x0000FF};
        }
        if (h_.bit_count > 8) return true;
        // Palette entries beyond the file or the colours used stay black.
        const size_t entry = h_.core ? 3 : 4;
        size_t count = size_t(1) << h_.bit_count;
        if (!h_.core && h_.colours_used != 0 && h_.colours_used < count) count = h_.colours_used;
        uint8_t table[256 * 4];
        const size_t got = file_.ReadAt(at, table, count * entry) / entry;
        for (size_t i = 0; i < got; ++i) {
            const uint8_t* e = table + i * entry;
            palette_[i] = {e[2], e[1], e[0]};
        }
        return true;
    }

    // The picture row that file row `row` of a bottom-up or top-down file fills.
    int32_t PictureRow(int32_t row) const { return h_.top_down ? row : h_.height - 1 - row; }

    void PutIndex(int32_t x, int32_t y, uint8_t index) {
        const size_t at = size_t(y) * size_t(h_.width) + size_t(x);
        if (!out_->indices.empty()) out_->indices[at] = index;
        std::memcpy(&out_->rgb[at * 3], palette_[index].data(), 3);
    }

    bool DecodeRows(uint64_t data) {
        const uint64_t stride = (uint64_t(h_.width) * h_.bit_count + 31) / 32 * 4;
        if (stride * uint64_t(h_.height) > data) return false;
        const Channel red(masks_[0]), green(masks_[1]), blue(masks_[2]);
        SourceReader reader(file_, h_.data_offset, h_.data_offset + stride * uint64_t(h_.height));
        std::vector<uint8_t> line(stride);
        for (int32_t row = 0; row < h_.height; ++row) {
            if (reader.Read(line.data(), line.size()) != line.size()) return false;  // the file shrank
            const uint8_t* src = line.data();
            const int32_t y = PictureRow(row);
            uint8_t* rgb = &out_->rgb[size_t(y) * size_t(h_.width) * 3];
            switch (h_.bit_count) {
                case 1:
                case 4:
                case 8: {
                    const uint32_t bits = h_.bit_count, per_byte = 8 / bits, mask = (1u << bits) - 1;
                    for (int32_t x = 0; x < h_.width; ++x) {
                        const uint32_t shift = 8 - bits * (uint32_t(x) % per_byte + 1);
                        PutIndex(x, y, uint8_t((src[uint32_t(x) / per_byte] >> shift) & mask));
                    }
                    break;
                }
                case 16:
                case 32:
                    for (int32_t x = 0; x < h_.width; ++x, rgb += 3, src += h_.bit_count / 8) {
                        uint32_t p = uint32_t(src[0]) | uint32_t(src[1]) << 8;
                        if (h_.bit_count == 32) p |= uint32_t(src[2]) << 16 | uint32_t(src[3]) << 24;
                        rgb[0] = red.Get(p);
                        rgb[1] = green.Get(p);
                        rgb[2] = blue.Get(p);
                    }
                    break;
                case 24:
                    for (int32_t x = 0; x < h_.width; ++x, rgb += 3, src += 3) {
                        rgb[0] = src[2];
                        rgb[1] = src[1];
                        rgb[2] = src[0];
                    }
                    break;
            }
        }
        return true;
    }

    // Runs that leave the picture are cut at its edges; data that ends early leaves the rest at
    // palette entry 0, as does a run of pixels that the codes skip over.
    void DecodeRle(SourceReader& data, bool four_bit) {
        int64_t x = 0, row = 0;
        auto put = [&](uint8_t index) {
            if (x < h_.width && row < h_.height) PutIndex(int32_t(x), PictureRow(int32_t(row)), index);
            ++x;
        };
        uint8_t count, value;
        while (row < h_.height && data.Byte(&count) && data.Byte(&value)) {
            if (count > 0) {
                for (uint32_t i = 0; i < count && x < h_.width; ++i) {
                    put(four_bit ? uint8_t(i % 2 == 0 ? value >> 4 : value & 15) : uint8_t(value));
                }
                continue;
            }
            if (value == 0) {  // end of line
                x = 0;
                ++row;
            } else if (value == 1) {  // end of picture
                break;
            } else if (value == 2) {  // move right and up by the next two bytes
                uint8_t right, up;
                if (!data.Byte(&right) || !data.Byte(&up)) break;
                x += right;
                row += up;
            } else {  // `value` pixels stored as they are, padded to an even byte count
                const size_t bytes = four_bit ? (value + 1u) / 2 : value;
                uint8_t stored[256];
                if (data.Read(stored, (bytes + 1) & ~size_t(1)) < bytes) break;
                for (uint32_t i = 0; i < value && x < h_.width; ++i) {
                    const uint8_t b = stored[four_bit ? i / 2 : i];
                    put(four_bit ? uint8_t(i % 2 == 0 ? b >> 4 : b & 15) : b);
                }
            }
        }
    }

    ByteSource& file_;
    const Header& h_;
    Picture* out_;
    std::array<uint32_t, 3> masks_{};
    std::array<std::array<uint8_t, 3>, 256> palette_{};
};

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// The headers as far as the longest fixed part we read from them; the masks and the palette are read
// from the file where the header says.
bool ReadHeader(ByteSource& file, Header* h) {
    uint8_t prefix[kFileHeaderBytes + kInfoHeaderBytes];
    return ParseHeader(Bytes(prefix, file.ReadAt(0, prefix, sizeof prefix)), h);
}

}  // namespace

DecodeResult DecodeBmp(ByteSource& file, Picture* out, int64_t max_pixels) {
    Header h;
    if (!ReadHeader(file, &h)) {
        return DecodeResult::Malformed;
    }
    *out = Picture{};
    out->bit_count = h.bit_count;
    if (h.width == 0 || h.height == 0) {
        out->width = h.width;
        out->height = h.height;
        return DecodeResult::Ok;
    }
    const int64_t pixels = int64_t(h.width) * h.height;
    if (pixels > max_pixels) {
        return DecodeResult::TooLarge;
    }
    // Rows that the file cannot hold are refused before the picture's memory is taken.
    const uint64_t stride = (uint64_t(h.width) * h.bit_count + 31) / 32 * 4;
    if (h.compression != kRle8 && h.compression != kRle4 &&
        (h.data_offset >= file.Size() || stride * uint64_t(h.height) > file.Size() - h.data_offset)) {
        return DecodeResult::Malformed;
    }
    out->width = h.width;
    out->height = h.height;
    out->rgb.assign(size_t(pixels) * 3, 0);
    if (h.bit_count == 8) {
        out->indices.assign(size_t(pixels), 0);
    }
    const DecodeResult result = Decoder(file, h, out).Run();
    if (result != DecodeResult::Ok) {
        *out = Picture{};
    }
    return result;
}

DecodeResult DecodeBmp(Bytes file, Picture* out, int64_t max_pixels) {
    MemorySource source(file);
    return DecodeBmp(source, out, max_pixels);
}

bool ReadBmpSize(ByteSource& file, PictureSize* out) {
    Header h;
    if (!ReadHeader(file, &h)) {
        return false;
    }
    *out = {h.width, h.height};
    return true;
}

bool ReadBmpSize(Bytes file, PictureSize* out) {
    MemorySource source(file);
    return ReadBmpSize(source, out);
}

std::vector<uint8_t> EncodeBmp(const Picture& picture) {
    const uint32_t stride = (uint32_t(picture.width) * 3 + 3) & ~3u;
    const uint32_t image = stride * uint32_t(picture.height);
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes;
    std::vector<uint8_t> out;
    out.reserve(offset + image);
    out.push_back('B');
    out.push_back('M');
    PutLE(out, offset + image, 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    PutLE(out, kInfoHeaderBytes, 4);
    PutLE(out, uint32_t(picture.width), 4);
    PutLE(out, uint32_t(picture.height), 4);
    PutLE(out, 1, 2);   // planes
    PutLE(out, 24, 2);  // bits per pixel
    PutLE(out, kRgb, 4);
    PutLE(out, image, 4);
    PutLE(out, 3780, 4);  // 96 pixels per inch, in pixels per metre
    PutLE(out, 3780, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        const uint8_t* rgb = &picture.rgb[size_t(y) * size_t(picture.width) * 3];
        for (int32_t x = 0; x < picture.width; ++x, rgb += 3) {
            out.push_back(rgb[2]);
            out.push_back(rgb[1]);
            out.push_back(rgb[0]);
        }
        for (uint32_t pad = uint32_t(picture.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace vxl::platform

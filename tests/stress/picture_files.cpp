#include "picture_files.h"

#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <fstream>

namespace vxl::stress {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void Append32Be(Bytes& b, uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

void Write(const std::string& name, const Bytes& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A bottom-up BMP with a 40-byte header; 8-bit pictures get a grey palette. Pixel bytes follow a
// simple pattern so that loaded pictures are not all one colour.
Bytes Bmp(int32_t w, int32_t h, uint16_t bits) {
    const uint32_t palette = bits == 8 ? 256 * 4 : 0;
    const uint32_t row = (uint32_t(w) * bits / 8 + 3) & ~3u;
    const uint32_t offset = 14 + 40 + palette;
    Bytes b(offset + row * uint32_t(h < 0 ? -h : h), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, uint32_t(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, 40);
    Put32(b, 18, uint32_t(w));
    Put32(b, 22, uint32_t(h));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 34, uint32_t(b.size()) - offset);
    if (bits == 8) Put32(b, 46, 256);
    for (uint32_t i = 0; i < palette / 4; ++i) {
        b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = uint8_t(i);
    }
    for (size_t i = offset; i < b.size(); ++i) b[i] = uint8_t(i * 37 + 11);
    return b;
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Chunk(Bytes& png, const char* type, const Bytes& data) {
    Append32Be(png, uint32_t(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    Append32Be(png, Crc32(png.data() + start, png.size() - start));
}

// A PNG of 8-bit grey (colour 0) or RGB (colour 2) pixels, deflated as stored blocks.
Bytes Png(uint32_t w, uint32_t h, uint8_t colour, bool with_data = true) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Append32Be(ihdr, w);
    Append32Be(ihdr, h);
    ihdr.insert(ihdr.end(), {8, colour, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    if (with_data) {
        const uint32_t channels = colour == 2 ? 3 : 1;
        Bytes raw;
        for (uint32_t y = 0; y < h; ++y) {
            raw.push_back(0);  // no filter
            for (uint32_t x = 0; x < w * channels; ++x) raw.push_back(uint8_t(x * 29 + y * 7));
        }
        Bytes z = {0x78, 0x01};
        for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
            const size_t n = std::min<size_t>(65535, raw.size() - at);
            z.push_back(at + n >= raw.size() ? 1 : 0);
            z.push_back(uint8_t(n));
            z.push_back(uint8_t(n >> 8));
            z.push_back(uint8_t(~n));
            z.push_back(uint8_t(~n >> 8));
            z.insert(z.end(), raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at + n));
            if (raw.empty()) break;
        }
        uint32_t a = 1, b = 0;
        for (uint8_t v : raw) {
            a = (a + v) % 65521;
            b = (b + a) % 65521;
        }
        Append32Be(z, b << 16 | a);
        Chunk(png, "IDAT", z);
    }
    Chunk(png, "IEND", {});
    return png;
}

// JPEG start of image and a frame header claiming w x h, then only an end of image.
Bytes JpegHeader(uint16_t w, uint16_t h) {
    return {0xFF,       0xD8,
            0xFF,       0xC0,
            0x00,       0x11,
            0x08,       uint8_t(h >> 8),
            uint8_t(h), uint8_t(w >> 8),
            uint8_t(w), 0x03,
            0x01,       0x22,
            0x00,       0x02,
            0x11,       0x01,
            0x03,       0x11,
            0x01,       0xFF,
            0xD9};
}

Bytes Garbage(size_t n, uint32_t seed, Bytes prefix = {}) {
    Bytes b = std::move(prefix);
    uint32_t s = seed;
    while (b.size() < n) {
        s = s * 1664525u + 1013904223u;
        b.push_back(uint8_t(s >> 24));
    }
    return b;
}

}  // namespace

FileNames WriteCorpus() {
    FileNames f;
    auto add = [&f](const std::string& name, const Bytes& bytes) {
        Write(name, bytes);
        f.all.push_back(name);
    };
    // Good pictures.
    add("ok24.bmp", Bmp(5, 3, 24));  // odd width: padded rows
    add("ok8.bmp", Bmp(7, 5, 8));
    add("ok32.bmp", Bmp(4, 4, 32));
    Bytes top_down = Bmp(6, -3, 24);
    add("topdown.bmp", top_down);
    add("alpha64.bmp", Bmp(64, 64, 8));
    add("ok.png", Png(3, 2, 2));
    add("grey64.png", Png(64, 64, 0));
    f.pictures = {"ok24.bmp", "ok8.bmp", "ok32.bmp", "topdown.bmp", "alpha64.bmp", "ok.png", "grey64.png"};
    f.alphas = {"alpha64.bmp", "grey64.png"};

    // Nothing to read.
    f.all.insert(f.all.end(), {"missing.bmp", "missing.png", "", "missing"});
    add("empty.bmp", {});
    add("empty.png", {});
    add("empty.jpg", {});
    ::mkdir("dir.bmp", 0755);
    f.all.push_back("dir.bmp");

    // Garbage, with and without the right first bytes.
    add("garbage.bmp", Garbage(200, 1, {'B', 'M'}));
    add("garbage.png", Garbage(200, 2, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    add("garbage.jpg", Garbage(200, 3, {0xFF, 0xD8, 0xFF}));
    add("garbage", Garbage(300, 4));

    // Cut short.
    Bytes bmp = Bmp(100, 100, 24);
    bmp.resize(54 + 200);
    add("trunc24.bmp", bmp);
    Bytes png = Png(40, 40, 2);
    png.resize(png.size() / 2);
    add("trunc.png", png);
    Bytes jpeg = JpegHeader(16, 16);
    jpeg.resize(12);
    add("trunc.jpg", jpeg);
    bmp = Bmp(8, 8, 24);
    bmp.resize(30);  // inside the info header
    add("header.bmp", bmp);

    // Headers that lie.
    auto lying = [&](const char* name, Bytes b, size_t at, uint32_t value, bool wide = true) {
        if (wide) {
            Put32(b, at, value);
        } else {
            Put16(b, at, value);
        }
        add(name, b);
    };
    lying("huge.bmp", Bmp(4, 4, 24), 18, 1u << 30);
    Bytes huge = Bmp(4, 4, 24);
    Put32(huge, 18, 0x7FFFFFFF);
    Put32(huge, 22, 0x7FFFFFFF);
    add("huge2.bmp", huge);
    lying("negwidth.bmp", Bmp(4, 4, 24), 18, uint32_t(-5));
    lying("minheight.bmp", Bmp(4, 4, 24), 22, 0x80000000u);
    lying("offbits.bmp", Bmp(4, 4, 24), 10, 0xFFFFFFF0u);
    lying("bits0.bmp", Bmp(4, 4, 24), 28, 0, false);
    lying("bits7.bmp", Bmp(4, 4, 24), 28, 7, false);
    lying("bits64.bmp", Bmp(4, 4, 32), 28, 64, false);
    lying("clrused.bmp", Bmp(4, 4, 8), 46, 0x7FFFFFFFu);
    lying("rle8.bmp", Bmp(16, 16, 8), 30, 1);
    lying("bitfields.bmp", Bmp(4, 4, 32), 30, 3);
    lying("hdrsize.bmp", Bmp(4, 4, 24), 14, 0xFFFFFFFFu);
    lying("sizeimage.bmp", Bmp(4, 4, 24), 34, 0xFFFFFFFFu);
    add("huge.png", Png(0x7FFFFFFF, 0x7FFFFFFF, 2, false));
    add("wide.png", Png(1u << 20, 1, 2, false));
    add("zero.png", Png(0, 0, 0, false));
    add("huge.jpg", JpegHeader(65535, 65535));
    add("zero.jpg", JpegHeader(0, 0));

    // Raw pixel files.
    add("short.raw", Garbage(10, 5));
    add("exact64.raw", Garbage(64 * 64 * 4, 6));

    // Names only savers should meet: good extensions, refused ones, places that cannot be written.
    f.saves = {"out.bmp", "out.jpg", "out.JPEG", "out.png"};
    f.all.insert(f.all.end(), {"out.bmp", "out.jpg", "out.JPEG", "out.png", "out.tga", "noext", "out.", ".png",
                               "missing_dir/out.png", "dir.bmp/out.bmp", "out.raw", std::string(300, 'n') + ".bmp"});
    return f;
}

}  // namespace vxl::stress

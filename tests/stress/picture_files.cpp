#include "picture_files.h"

#include <sys/stat.h>
#include <zlib.h>

#include <cstdint>

#include "../unit/picture_files.h"

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

// A BMP with a 40-byte header (bottom-up, top-down for a negative height); 8-bit pictures get a
// grey palette. The pixels follow a pattern so that loaded pictures are not all one colour.
Bytes Bmp(int32_t w, int32_t h, uint32_t bits) {
    testing::BmpLayout layout{w, h < 0 ? -h : h, bits, 40, h < 0};
    if (bits == 8) {
        for (uint32_t i = 0; i < 256; ++i) layout.palette.push_back(i * 0x010101u);
    }
    for (uint32_t i = 0; i < uint32_t(w * layout.height); ++i) layout.pixels.push_back(i * 2654435761u);
    return testing::MakeBmp(layout);
}

// A PNG of 8-bit grey (colour 0) or RGB (colour 2) pixels in a pattern.
Bytes Png(uint32_t w, uint32_t h, int colour) {
    Bytes rows;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w * (colour == 2 ? 3 : 1); ++x) rows.push_back(uint8_t(x * 29 + y * 7));
    return testing::MakePng(int32_t(w), int32_t(h), colour, 8, rows);
}

// Only a PNG's signature, a header claiming w x h and the end: sizes no encoder would write.
Bytes PngHeader(uint32_t w, uint32_t h) {
    const Bytes one = Png(1, 1, 2);
    Bytes png(one.begin(), one.begin() + 33);
    auto put_be = [&png](size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i) png[at + i] = uint8_t(v >> (24 - 8 * i));
    };
    put_be(16, w);
    put_be(20, h);
    put_be(29, uint32_t(crc32(0, png.data() + 12, 17)));  // over the chunk's type and data
    png.insert(png.end(), one.end() - 12, one.end());     // IEND
    return png;
}

// JPEG start of image and a frame header claiming w x h, then only an end of image.
Bytes JpegHeader(uint16_t w, uint16_t h) {
    // clang-format off
    return {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, uint8_t(h >> 8), uint8_t(h), uint8_t(w >> 8), uint8_t(w),
            0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xFF, 0xD9};
    // clang-format on
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
        testing::WriteFile(name, bytes);
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
    add("huge.png", PngHeader(0x7FFFFFFF, 0x7FFFFFFF));
    add("wide.png", PngHeader(1u << 20, 1));
    add("zero.png", PngHeader(0, 0));
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

// Writes the fuzz targets' seed corpus: one folder per target under the folder given, each file a
// small picture of a layout the reader takes, made by the same crafting code as the unit tests.
#include <zlib.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <tuple>

#include "picture_files.h"
#include "platform/gdi/jpeg_codec.h"

using namespace vxl::testing;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    for (const char* target : {"bmp", "png", "jpeg", "alpha", "image_size"}) {
        std::filesystem::create_directories(root / target);
    }
    const auto bmps = EveryBmpLayout();
    for (const auto& [name, layout] : bmps) {
        std::string file = name;
        for (char& c : file) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        WriteFile(root / "bmp" / (file + ".bmp"), MakeBmp(layout));
    }
    BmpLayout rle8{4, 3, 8, 40, false, 1, kPalette};
    rle8.rle = {3, 1, 1, 2, 0, 0, 0, 2, 2, 0, 9, 4, 0, 3, 5, 6, 7, 0, 0, 1};
    WriteFile(root / "bmp" / "rle8.bmp", MakeBmp(rle8));
    BmpLayout rle4{4, 2, 4, 40, false, 2, kPalette};
    rle4.rle = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
    WriteFile(root / "bmp" / "rle4.bmp", MakeBmp(rle4));

    std::vector<uint8_t> rgb_rows;
    for (uint32_t c : SamplePicture()) rgb_rows.insert(rgb_rows.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    for (const auto& [name, c] : EveryPngCase()) {
        WriteFile(root / "png" / (name + ".png"), GeneratedPng(c, 13, 9));
        if (c.depth == 8) WriteFile(root / "alpha" / (name + ".png"), GeneratedPng(c, 6, 4));
    }
    BmpLayout wide_masks{6, 4, 32, 40, false, 3, {}, {0xFFFFFFFF, 0x01FFFFFF, 0xFF}, Indices(8)};
    WriteFile(root / "bmp" / "wide_masks.bmp", MakeBmp(wide_masks));

    vxl::platform::Picture picture;
    picture.width = 6;
    picture.height = 4;
    picture.rgb = rgb_rows;
    const std::vector<uint8_t> jpeg = vxl::platform::EncodeJpeg(picture, 50);
    WriteFile(root / "jpeg" / "q50.jpg", jpeg);
    WriteFile(root / "jpeg" / "q95.jpg", vxl::platform::EncodeJpeg(picture, 95));
    WriteFile(root / "jpeg" / "progressive.jpg", ProgressiveJpeg(6, 4, rgb_rows, 0));
    WriteFile(root / "jpeg" / "many_scans.jpg", ProgressiveJpeg(6, 4, rgb_rows, 120));

    // Headers that claim sizes no encoder would write.
    std::vector<uint8_t> huge_bmp = MakeBmp(bmps[8].second), huge_png = GeneratedPng({PNG_COLOR_TYPE_RGB, 8}, 6, 4);
    for (size_t at : {18, 22}) huge_bmp[at + 3] = 0x7F;
    for (size_t at : {16, 20}) huge_png[at] = 0x7F;
    const uint32_t crc = uint32_t(crc32(0, huge_png.data() + 12, 17));  // over the header chunk's type and data
    for (size_t i = 0; i < 4; ++i) huge_png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    WriteFile(root / "bmp" / "huge.bmp", huge_bmp);
    WriteFile(root / "png" / "huge.png", huge_png);
    WriteFile(root / "jpeg" / "huge.jpg", ProgressiveJpeg(6, 4, rgb_rows, 0, 65535));
    // Just past the fuzz targets' picture limit, and alpha pictures of a size other than the buffer's.
    WriteFile(root / "png" / "over_limit.png",
              MakePng(1025, 1024, PNG_COLOR_TYPE_GRAY, 1, std::vector<uint8_t>(129 * 1024)));
    WriteFile(root / "alpha" / "taller.png", GeneratedPng({PNG_COLOR_TYPE_GRAY, 8}, 6, 5));
    WriteFile(root / "alpha" / "wider.png", GeneratedPng({PNG_COLOR_TYPE_GRAY, 8}, 7, 4));

    WriteFile(root / "alpha" / "8bit.bmp", MakeBmp(bmps[2].second));
    WriteFile(root / "alpha" / "24bit.bmp", MakeBmp(bmps[8].second));
    WriteFile(root / "alpha" / "rle8.bmp", MakeBmp(rle8));

    std::vector<uint8_t> ico = {0, 0, 1, 0, 1, 0, 32, 16};
    ico.resize(22, 0);
    std::vector<uint8_t> wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xA0, 0x05, 0xD0, 0x02, 0xA0, 0x05};
    wmf.resize(22, 0);
    std::vector<uint8_t> emf;
    for (uint32_t v : {1u, 88u, 0u, 0u, 0u, 0u, 0u, 0u, 5080u, 2540u, 0x464D4520u}) PutLE(emf, v, 4);
    emf.resize(88, 0);
    // The first byte chooses the extension. Each also cut short, so that a size read past the end of
    // its input shows.
    for (auto [first, name, bytes] : {std::tuple{0, "bmp", MakeBmp(bmps[8].second)},
                                      {1, "ico", ico},
                                      {2, "wmf", wmf},
                                      {3, "emf", emf},
                                      {4, "jpg", jpeg},
                                      {6, "png", GeneratedPng({PNG_COLOR_TYPE_RGB, 8}, 6, 4)}}) {
        bytes.insert(bytes.begin(), uint8_t(first));
        WriteFile(root / "image_size" / name, bytes);
        WriteFile(root / "image_size" / (std::string(name) + "_cut"),
                  {bytes.begin(), bytes.begin() + bytes.size() / 3});
    }
    return 0;
}

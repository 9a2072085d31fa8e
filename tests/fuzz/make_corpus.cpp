// Writes the fuzz targets' seed corpus: one folder per target under the folder given, each file a
// small picture of a layout the reader takes, made by the same crafting code as the unit tests.
#include <cstdio>
#include <string>

#include "picture_files.h"
#include "platform/gdi/jpeg_codec.h"

using namespace vxl::testing;

namespace {

std::vector<uint32_t> Indices(uint32_t modulo) {
    std::vector<uint32_t> px;
    for (uint32_t i = 0; i < 24; ++i) px.push_back((i * 5 + i / 6) % modulo);
    return px;
}

std::vector<uint8_t> Prefixed(uint8_t first, std::vector<uint8_t> bytes) {
    bytes.insert(bytes.begin(), first);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    for (const char* target : {"bmp", "png", "jpeg", "alpha", "image_size"}) {
        std::filesystem::create_directories(root / target);
    }
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x123456, 0xFFFFFF, 0};
    const std::vector<uint32_t> rgb = SamplePicture();
    std::vector<uint32_t> x565;
    for (uint32_t c : rgb) x565.push_back((c >> 19) << 11 | ((c >> 10) & 63) << 5 | (c & 255) >> 3);

    const std::vector<std::pair<std::string, BmpLayout>> bmps = {
        {"1bit", {6, 4, 1, 40, false, 0, {0, 0xFFFFFF}, {}, Indices(2)}},
        {"4bit", {6, 4, 4, 40, false, 0, palette, {}, Indices(8)}},
        {"8bit", {6, 4, 8, 40, false, 0, palette, {}, Indices(8)}},
        {"8bit_core", {6, 4, 8, 12, false, 0, palette, {}, Indices(8)}},
        {"8bit_topdown", {6, 4, 8, 40, true, 0, palette, {}, Indices(8)}},
        {"16bit", {6, 4, 16, 40, false, 0, {}, {}, x565}},
        {"16bit_fields", {6, 4, 16, 40, false, 3, {}, {0xF800, 0x7E0, 0x1F}, x565}},
        {"16bit_v5", {6, 4, 16, 124, false, 3, {}, {0xF800, 0x7E0, 0x1F}, x565}},
        {"24bit", {6, 4, 24, 40, false, 0, {}, {}, rgb}},
        {"24bit_core", {6, 4, 24, 12, false, 0, {}, {}, rgb}},
        {"24bit_v4", {6, 4, 24, 108, true, 0, {}, {}, rgb}},
        {"32bit", {6, 4, 32, 40, false, 0, {}, {}, rgb}},
        {"32bit_fields", {6, 4, 32, 40, false, 3, {}, {0xFF0000, 0xFF00, 0xFF}, rgb}},
    };
    for (const auto& [name, layout] : bmps) {
        WriteFile(root / "bmp" / (name + ".bmp"), MakeBmp(layout));
    }
    BmpLayout rle8{4, 3, 8, 40, false, 1, palette};
    rle8.rle = {3, 1, 1, 2, 0, 0, 0, 2, 2, 0, 9, 4, 0, 3, 5, 6, 7, 0, 0, 1};
    WriteFile(root / "bmp" / "rle8.bmp", MakeBmp(rle8));
    BmpLayout rle4{4, 2, 4, 40, false, 2, palette};
    rle4.rle = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
    WriteFile(root / "bmp" / "rle4.bmp", MakeBmp(rle4));

    std::vector<uint8_t> rgb_rows, rgba_rows, grey_alpha_rows, rgb16_rows;
    for (uint32_t c : rgb) {
        const uint8_t r = uint8_t(c >> 16), g = uint8_t(c >> 8), b = uint8_t(c);
        rgb_rows.insert(rgb_rows.end(), {r, g, b});
        rgba_rows.insert(rgba_rows.end(), {r, g, b, uint8_t(r ^ g)});
        grey_alpha_rows.insert(grey_alpha_rows.end(), {g, b});
        rgb16_rows.insert(rgb16_rows.end(), {r, g, g, b, b, r});
    }
    std::vector<uint8_t> grey_rows, index_rows, nibble_rows;
    for (uint32_t i : Indices(8)) {
        grey_rows.push_back(uint8_t(i * 30));
        index_rows.push_back(uint8_t(i));
    }
    for (size_t i = 0; i < 24; i += 2) nibble_rows.push_back(uint8_t(index_rows[i] << 4 | index_rows[i + 1]));
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> pngs = {
        {"grey8", MakePng(6, 4, PNG_COLOR_TYPE_GRAY, 8, grey_rows)},
        {"palette8", MakePng(6, 4, PNG_COLOR_TYPE_PALETTE, 8, index_rows, palette)},
        {"palette4", MakePng(6, 4, PNG_COLOR_TYPE_PALETTE, 4, nibble_rows, palette)},
        {"rgb8", MakePng(6, 4, PNG_COLOR_TYPE_RGB, 8, rgb_rows)},
        {"rgba8", MakePng(6, 4, PNG_COLOR_TYPE_RGBA, 8, rgba_rows)},
        {"grey_alpha8", MakePng(6, 4, PNG_COLOR_TYPE_GRAY_ALPHA, 8, grey_alpha_rows)},
        {"rgb16", MakePng(6, 4, PNG_COLOR_TYPE_RGB, 16, rgb16_rows)},
    };
    for (const auto& [name, bytes] : pngs) {
        WriteFile(root / "png" / (name + ".png"), bytes);
        WriteFile(root / "alpha" / (name + ".png"), bytes);
    }

    vxl::platform::Picture picture;
    picture.width = 6;
    picture.height = 4;
    picture.rgb = rgb_rows;
    const std::vector<uint8_t> jpeg = vxl::platform::EncodeJpeg(picture, 50);
    WriteFile(root / "jpeg" / "q50.jpg", jpeg);
    WriteFile(root / "jpeg" / "q95.jpg", vxl::platform::EncodeJpeg(picture, 95));

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
    WriteFile(root / "image_size" / "bmp", Prefixed(0, MakeBmp(bmps[8].second)));
    WriteFile(root / "image_size" / "ico", Prefixed(1, ico));
    WriteFile(root / "image_size" / "wmf", Prefixed(2, wmf));
    WriteFile(root / "image_size" / "emf", Prefixed(3, emf));
    WriteFile(root / "image_size" / "jpg", Prefixed(4, jpeg));
    WriteFile(root / "image_size" / "png", Prefixed(6, pngs[3].second));
    return 0;
}

// The reference's pictures are what the library draws now: runs the picture program into a fresh
// folder and compares it with the committed one, picture by picture and pixel by pixel (decoded, so
// that a different but equal PNG encoding does not count). A picture missing on either side fails.
//
//     vxl_pictures_current PICTURE_PROGRAM COMMITTED_FOLDER WORK_FOLDER
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::set<std::string> Pictures(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        if (entry.path().extension() == ".png") names.insert(entry.path().filename());
    }
    return names;
}

// The picture's pixels as 8-bit RGB, its size in `image`; empty if it cannot be read.
std::vector<uint8_t> Decode(const fs::path& file, png_image* image) {
    *image = png_image{};
    image->version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> rgb;
    if (!png_image_begin_read_from_file(image, file.c_str())) return rgb;
    image->format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(*image));
    if (!png_image_finish_read(image, nullptr, rgb.data(), 0, nullptr)) rgb.clear();
    return rgb;
}

// Why the picture `name` is not the same in both folders, or empty.
std::string Difference(const fs::path& committed, const fs::path& now, const std::string& name) {
    if (!fs::exists(now / name)) return "committed but no longer drawn";
    if (!fs::exists(committed / name)) return "drawn but not committed (run `make docs`)";
    png_image a, b;
    const std::vector<uint8_t> old_rgb = Decode(committed / name, &a), new_rgb = Decode(now / name, &b);
    if (old_rgb.empty() || new_rgb.empty()) return "cannot be read";
    if (a.width != b.width || a.height != b.height) {
        return "committed " + std::to_string(a.width) + "x" + std::to_string(a.height) + ", drawn now " +
               std::to_string(b.width) + "x" + std::to_string(b.height);
    }
    const size_t pixel =
        size_t(std::mismatch(old_rgb.begin(), old_rgb.end(), new_rgb.begin()).first - old_rgb.begin()) / 3;
    if (pixel == size_t(a.width) * a.height) return "";
    return "differs first at (" + std::to_string(pixel % a.width) + ", " + std::to_string(pixel / a.width) + ")";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PICTURE_PROGRAM COMMITTED_FOLDER WORK_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path committed = argv[2], now = argv[3];
    fs::remove_all(now);
    fs::create_directories(now);
    const std::string command = "'" + std::string(argv[1]) + "' '" + now.string() + "'";
    if (std::system(command.c_str()) != 0) {
        std::printf("the picture program failed: %s\n", command.c_str());
        return 1;
    }
    std::set<std::string> names = Pictures(committed), drawn = Pictures(now);
    if (names.empty() || drawn.empty()) {
        std::printf("no pictures: %zu committed, %zu drawn now\n", names.size(), drawn.size());
        return 1;
    }
    names.insert(drawn.begin(), drawn.end());
    int failures = 0;
    for (const std::string& name : names) {
        const std::string why = Difference(committed, now, name);
        if (!why.empty()) std::printf("%s: %s\n", name.c_str(), why.c_str());
        failures += !why.empty();
    }
    std::printf("%d pictures missing, extra or different (%zu in all)\n", failures, names.size());
    return failures == 0 ? 0 : 1;
}

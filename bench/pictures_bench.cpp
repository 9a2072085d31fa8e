// Hostile pictures that once cost minutes or gigabytes: a progressive JPEG that claims 8192 x 8192
// pixels and holds thousands of empty scans (refused after the scan limit), and a 1,078-byte RLE8 BMP
// of 1 x 67,108,864 pixels. Each should take well under a second.
#include <benchmark/benchmark.h>

#include "picture_files.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/jpeg_codec.h"

namespace {

using namespace vxl::platform;

void BM_JpegScanBomb(benchmark::State& state) {
    const std::vector<uint8_t> small(16 * 16 * 3, 128);
    const std::vector<uint8_t> file = vxl::testing::ProgressiveJpeg(16, 16, small, int(state.range(0)), 8192);
    for (auto _ : state) {
        Picture picture;
        benchmark::DoNotOptimize(DecodeJpeg(file, &picture));
    }
    state.counters["file KB"] = double(file.size()) / 1024;
}
BENCHMARK(BM_JpegScanBomb)->ArgName("scans")->Arg(700)->Arg(7000)->Unit(benchmark::kMillisecond);

void BM_TallRleBmp(benchmark::State& state) {
    vxl::testing::BmpLayout tall{1, 1 << 26, 8, 40, false, 1, std::vector<uint32_t>(255, 0x808080)};
    tall.rle = {1, 5, 0, 1};
    const std::vector<uint8_t> file = vxl::testing::MakeBmp(tall);
    for (auto _ : state) {
        Picture picture;
        benchmark::DoNotOptimize(DecodeBmp(file, &picture));
    }
    state.counters["file bytes"] = double(file.size());
}
BENCHMARK(BM_TallRleBmp)->Unit(benchmark::kMillisecond);

}  // namespace

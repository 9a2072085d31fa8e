// Each unit test starts from a freshly loaded library on a new fake backend, in a scratch directory
// that receives the error log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "core/result_texts.h"
#include "exports/library.h"
#include "platform/cpu.h"
#include "platform/fake/fake_backend.h"
#include "vxl.h"

namespace vxl::testing {

class FakeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto fake = std::make_unique<platform::FakeBackend>();
        fake_ = fake.get();
        platform::InstallBackend(std::move(fake));
        ResetLibrary();
        old_dir_ = std::filesystem::current_path();
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');  // parameterised names hold a slash
        std::filesystem::create_directories(
            dir_ = std::filesystem::temp_directory_path() / ("vxl_unit_" + std::to_string(::getpid()) + "_" + name));
        std::filesystem::current_path(dir_);
    }

    void TearDown() override {
        ResetLibrary();
        platform::ResetCpuFeatures();
        std::filesystem::current_path(old_dir_);
        std::filesystem::remove_all(dir_);
    }

    // A desktop of the given depth: 8, 15 (5-5-5 reported as 16 bits), 16, 24 or 32.
    void SetDesktopDepth(uint32_t bits) { fake_->desktop = platform::FormatForDepth(bits); }

    // Every size the tests use, at every depth, at 60 Hz.
    void ListCommonModes() {
        for (auto [w, h] : {std::pair{320, 200}, {320, 240}, {640, 480}, {800, 600}, {1024, 768}})
            for (uint32_t bits : {8u, 15u, 16u, 24u, 32u}) fake_->modes.push_back({w, h, bits, 60});
    }

    // A host window with its client area at (100, 80) and a display of w x h on it.
    platform::WindowId OpenWindowed(int32_t w = 320, int32_t h = 240) { return Open(w, h, 0, 0); }
    platform::WindowId OpenFullScreen(int32_t w, int32_t h, int32_t bpp) {
        if (fake_->modes.empty()) ListCommonModes();
        return Open(w, h, bpp, 1);
    }
    platform::WindowId Open(int32_t w, int32_t h, int32_t bpp, int32_t full_screen) {
        InitVexel(window_ = fake_->AddWindow(100, 80, 200, 150), w, h, bpp, full_screen);
        return window_;
    }

    static std::string ErrorLog() { return Contents("VXL_ERR.txt"); }
    static std::string Contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // The message of the fatal error that `action` raises, "" when none is raised.
    template <typename Action>
    static std::string FatalMessage(Action&& action) {
        try {
            action();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    // `action` raises `expected`, which the log then holds as its only line ("": neither).
    template <typename Action>
    static void ExpectFatal(const std::string& expected, Action&& action) {
        EXPECT_EQ(FatalMessage(action), expected);
        EXPECT_EQ(ErrorLog(), expected.empty() ? "" : expected + "\r\n");
    }

    static std::string Failed(const char* tag, const char* op, platform::HResult code) {
        return std::string(tag) + op + " -> " + DirectDrawResultText(code);
    }

    static std::vector<int32_t> Geometry(const platform::FakeBackend::Window& w) {
        return {w.x, w.y, w.width, w.height};
    }

    static uint32_t LoadPixel(const uint8_t* p, uint32_t bytes) {
        uint32_t v = 0;
        return *static_cast<uint32_t*>(std::memcpy(&v, p, bytes));
    }

    platform::FakeBackend* fake_ = nullptr;
    platform::WindowId window_ = 0;
    std::filesystem::path dir_, old_dir_;
};

// A display of the parameter's depth, windowed on a desktop of that depth or full screen at it (on
// a 32-bit desktop): what follows the depth must not care where it came from.
class DepthTest : public FakeTest, public ::testing::WithParamInterface<std::tuple<uint32_t, bool>> {
protected:
    void SetUp() override {
        FakeTest::SetUp();
        if (!full_) SetDesktopDepth(depth_);
        full_ ? OpenFullScreen(640, 480, int32_t(depth_)) : OpenWindowed();
        ASSERT_EQ(GlobalBpp(), int32_t(depth_));
    }

    // A distinct value per pixel within the layout's bits, and a w x h buffer of them.
    uint32_t Mask() const { return depth_ == 15 ? 0x7FFF : depth_ == 16 ? 0xFFFF : 0xFFFFFF; }
    uint32_t Code(int32_t x, int32_t y) const { return (0x100 + uint32_t(x) + 0x20 * uint32_t(y)) & Mask(); }
    int32_t CodedBuffer(int32_t w, int32_t h) {
        const int32_t b = SetupBuffer(w, h, 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) PutPixel(b, x, y, Code(x, y));
        return b;
    }

    const uint32_t depth_ = std::get<0>(GetParam());
    const bool full_ = std::get<1>(GetParam());
    const uint32_t bpp_ = depth_ == 15 ? 2 : depth_ / 8;  // bytes per pixel
};

// Full screen turns fatal errors into the end of the process, so tests that raise them stay windowed.
inline auto AllDepths(bool full_screen_too = true) {
    return ::testing::Combine(::testing::Values(15u, 16u, 24u, 32u),
                              ::testing::ValuesIn(full_screen_too ? std::vector{false, true} : std::vector{false}));
}

inline std::string DepthName(const ::testing::TestParamInfo<std::tuple<uint32_t, bool>>& info) {
    return (std::get<1>(info.param) ? "FullScreen" : "Windowed") + std::to_string(std::get<0>(info.param));
}

}  // namespace vxl::testing

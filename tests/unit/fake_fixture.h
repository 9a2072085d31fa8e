// Each unit test starts from a freshly loaded library on a new fake backend, in a scratch directory
// that receives the error log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "interface/library.h"
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
        dir_ = std::filesystem::temp_directory_path() / ("vxl_unit_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::create_directories(dir_);
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
        for (auto [w, h] : {std::pair{320, 200}, {320, 240}, {640, 480}, {800, 600}, {1024, 768}}) {
            for (uint32_t bits : {8u, 15u, 16u, 24u, 32u}) {
                fake_->modes.push_back(platform::DisplayMode{w, h, bits, 60});
            }
        }
    }

    // A host window and a windowed display of w x h on it.
    platform::WindowId OpenWindowed(int32_t w = 320, int32_t h = 240) {
        window_ = fake_->AddWindow(100, 80, 200, 150);
        InitVexel(window_, w, h, 0, 0);
        return window_;
    }

    platform::WindowId OpenFullScreen(int32_t w, int32_t h, int32_t bpp) {
        if (fake_->modes.empty()) {
            ListCommonModes();
        }
        window_ = fake_->AddWindow(100, 80, 200, 150);
        InitVexel(window_, w, h, bpp, 1);
        return window_;
    }

    static std::string ErrorLog() {
        std::ifstream in(kLogName, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
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

    static constexpr const char* kLogName = "VXL_ERR.txt";
    platform::FakeBackend* fake_ = nullptr;
    platform::WindowId window_ = 0;
    std::filesystem::path dir_, old_dir_;
};

}  // namespace vxl::testing

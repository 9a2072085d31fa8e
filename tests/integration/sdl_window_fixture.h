// Shared by the integration tests: every test gets its own SDL window and a scratch working
// directory, so the error log the library writes lands somewhere disposable.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "vxl.h"

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        video_ = true;
        std::string pattern = (std::filesystem::temp_directory_path() / "vxl_it_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch_ = pattern;
        home_ = std::filesystem::current_path();
        std::filesystem::current_path(scratch_);
        window_ = SDL_CreateWindow("vxl test", 0, 0, 100, 100, 0);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
        id_ = SDL_GetWindowID(window_);
    }

    void TearDown() override {
        CloseVexel();
        if (window_) SDL_DestroyWindow(window_);
        if (!scratch_.empty()) {
            std::filesystem::current_path(home_);
            std::filesystem::remove_all(scratch_);
        }
        if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // The window surface's pixel at (x, y) as 0xRRGGBB.
    uint32_t WindowPixel(int x, int y) const {
        SDL_Surface* s = SDL_GetWindowSurface(window_);
        const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
        uint32_t raw = 0;
        for (int i = 0; i < s->format->BytesPerPixel; ++i) raw |= uint32_t(p[i]) << (8 * i);
        uint8_t r, g, b;
        SDL_GetRGB(raw, s->format, &r, &g, &b);
        return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    }

    // How many window-surface pixels differ from `rgb` (0xRRGGBB).
    int PixelsOtherThan(uint32_t rgb) const {
        SDL_Surface* s = SDL_GetWindowSurface(window_);
        int other = 0;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) other += WindowPixel(x, y) != rgb;
        return other;
    }

    // Pushes out whatever the window produced so far, so the next message DoEvents sees is ours.
    static void DrainMessages() {
        for (int i = 0; i < 256; ++i) ASSERT_EQ(DoEvents(), -1) << "message " << i;
    }

    static std::string ErrorLog() {
        std::ifstream in("VXL_ERR.txt", std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    // what() of the exception `call` throws; empty if it returns.
    static std::string Failure(const std::function<void()>& call) {
        try {
            call();
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }

    SDL_Window* window_ = nullptr;
    uint32_t id_ = 0;

private:
    bool video_ = false;
    std::filesystem::path scratch_, home_;
};

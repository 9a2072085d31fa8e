// Shared by the integration and real-window tests: every test gets its own SDL window and a scratch
// working directory, so the error log the library writes lands somewhere disposable.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "vxl.h"

// The window surface's pixel at (x, y) as 0xRRGGBB.
inline uint32_t SurfacePixel(SDL_Window* window, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(window);
    if (!s) return 0xFFFFFFFFu;
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    uint32_t raw = 0;
    for (int i = 0; i < s->format->BytesPerPixel; ++i) raw |= uint32_t(p[i]) << (8 * i);
    uint8_t r, g, b;
    SDL_GetRGB(raw, s->format, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// Events pushed into SDL as a device would produce them, for the window `window` (0: none named;
// every window event keeps its window's ID in the same place).
inline void Push(SDL_Event e, uint32_t window = 0) {
    e.window.windowID = window;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}
inline void Key(SDL_Scancode code, bool down, uint32_t window = 0, bool repeat = false) {
    SDL_Event e{down ? SDL_KEYDOWN : SDL_KEYUP};
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = code;
    Push(e, window);
}
inline void Button(uint8_t button, bool down, uint32_t window = 0) {
    SDL_Event e{down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP};
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    Push(e, window);
}

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        home_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "vxl_it_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch_ = pattern;
        std::filesystem::current_path(scratch_);
        window_ = SDL_CreateWindow("vxl test", 0, 0, 100, 100, 0);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
        id_ = SDL_GetWindowID(window_);
    }

    void TearDown() override {
        CloseVexel();
        if (window_) SDL_DestroyWindow(window_);
        std::filesystem::current_path(home_);
        if (!scratch_.empty()) std::filesystem::remove_all(scratch_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // 32 bits on a windowed display (the dummy desktop's depth), other depths full screen at 640x480.
    void OpenAtDepth(int bpp) {
        InitVexel(id_, 640, 480, bpp == 32 ? 0 : bpp, bpp != 32);
        ASSERT_EQ(GlobalBpp(), bpp);
    }

    // How many window-surface pixels differ from `rgb` (0xRRGGBB).
    int PixelsOtherThan(uint32_t rgb) const {
        SDL_Surface* s = SDL_GetWindowSurface(window_);
        int other = 0;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) other += SurfacePixel(window_, x, y) != rgb;
        return other;
    }

    std::pair<int, int> WindowSize() const {
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        return {w, h};
    }

    bool FullScreen() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; }

    static std::string ErrorLog() {
        std::ifstream in("VXL_ERR.txt", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    SDL_Window* window_ = nullptr;
    uint32_t id_ = 0;

private:
    std::filesystem::path scratch_, home_;
};

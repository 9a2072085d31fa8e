// Run with a video driver that cannot open: the library must fall back to SDL's dummy driver.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "vxl.h"

TEST(DriverFallback, UnusableDriverFallsBackToHeadless) {
    // A window that does not exist: the library starts video itself, then refuses the window.
    try {
        InitVexel(12345, 64, 48, 0, 0);
        FAIL() << "a display opened in a window that does not exist";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("[TVexel]SetHWnd -> ", 0), 0u) << e.what();
    }
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_VIDEO));
    EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "dummy");

    SDL_Window* window = SDL_CreateWindow("fallback", 0, 0, 64, 48, 0);
    ASSERT_NE(window, nullptr);
    InitVexel(SDL_GetWindowID(window), 64, 48, 0, 0);
    EXPECT_EQ(VexelSizeX(), 64);
    EXPECT_EQ(GlobalBpp(), 32);
    CloseVexel();
    SDL_DestroyWindow(window);
}

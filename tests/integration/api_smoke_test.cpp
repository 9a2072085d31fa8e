#include <SDL.h>
#include <gtest/gtest.h>

#include "vxl.h"

TEST(ApiSmoke, WindowedDisplayInAnSdlWindow) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* w = SDL_CreateWindow("vxl", 0, 0, 100, 100, 0);
    ASSERT_NE(w, nullptr);
    InitVexel(SDL_GetWindowID(w), 320, 240, 0, 0);
    EXPECT_EQ(VexelSizeX(), 320);
    EXPECT_EQ(VexelSizeY(), 240);
    EXPECT_EQ(GlobalBpp(), 32);
    CloseVexel();
    SDL_DestroyWindow(w);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

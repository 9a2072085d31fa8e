// The window tests' main: they run on a real X display and exit 77 (skipped) where there is none.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (const char* display = std::getenv("DISPLAY"); !display || !*display) {
        std::puts("no DISPLAY: skipped");
        return 77;
    }
    // Video stays started around every test, so that the library sees it as the host's and keeps our
    // windows; the override beats an SDL_VIDEODRIVER left in the environment.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("no X11 video (%s): skipped\n", SDL_GetError());
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return result;
}

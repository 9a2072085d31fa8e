/* Opens a display in a window and checks a pixel: the smallest useful host. */
#include <SDL.h>
#include <stdio.h>
#include <vxl.h>

int main(void) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* w = SDL_CreateWindow("host", 0, 0, 64, 64, 0);
    if (!w) return 1;
    InitVexel(SDL_GetWindowID(w), 64, 48, 0, 0);
    int h = SetupBuffer(8, 8, 0);
    PutPixel(h, 1, 1, RGB(255, 0, 0));
    int ok = GetDLLVersion() == 331 && VexelSizeX() == 64 && GetPixel(h, 1, 1) == RGB(255, 0, 0);
    /* The extensions are there too: a failure comes back as a value. */
    VxlSetErrorMode(1);
    ok = ok && SetupImageBuffer("no-such-picture.png", 0) == -1 && VxlLastError()[0] != '\0';
    CloseBuffer(h);
    CloseVexel();
    SDL_DestroyWindow(w);
    SDL_Quit();
    printf("installed host: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

/* The scene test_scene.py draws through the Python package, drawn here through the C interface: both
 * write the picture's raw pixels, which must be equal. */
#include <SDL.h>
#include <vxl.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    SDL_Init(SDL_INIT_VIDEO);
    InitVexelWindow(320, 240, 0, 0, "scene");
    int32_t canvas = SetupBuffer(64, 48, 0), sprite = SetupBuffer(12, 10, 0);
    uint32_t key = RGB(255, 0, 255);
    Fill(canvas, RGB(10, 20, 30));
    Line(canvas, 1, 2, 60, 40, RGB(200, 0, 0));
    FillCircle(canvas, 40, 12, 9, RGB(0, 180, 60));
    Fill(sprite, key);
    FillRect(sprite, 2, 1, 9, 8, RGB(250, 250, 0));
    CopySprite(sprite, canvas, 5, 30, key);
    CopyBitSprite(sprite, canvas, 1, 1, 6, 4, 50, 2, key);
    CopyScale(sprite, canvas, 20, 20, 44, 40);
    CopyAlpha(sprite, canvas, 30, 5, 100);
    CopyRotateSprite(sprite, canvas, 52, 34, 1.5f, 30.0f, key);
    CopySub(sprite, canvas, 0, 0);
    PutStr(canvas, 3, 3, "Hi", RGB(255, 255, 255));
    TPolyVertex v[3] = {{.x = 2, .y = 46}, {.x = 14, .y = 30}, {.x = 20, .y = 47}};
    FlatPoly(canvas, v, 2, 3, RGB(0, 0, 255));
    SaveRAW(canvas, argv[1]);
    CloseVexel();
    return 0;
}

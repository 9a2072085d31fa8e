/* A first game loop: a window of the library's own, a sprite that the arrow keys move over a
 * background, 60 frames a second. Escape or closing the window ends it. `first_game N` stops after N
 * frames (the tests run it that way, headless). */
#define _POSIX_C_SOURCE 199309L /* nanosleep */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <vxl.h>

int main(int argc, char** argv) {
    int frames_left = argc > 1 ? atoi(argv[1]) : -1;
    VxlSetErrorMode(1); /* failures answer failure values (and VxlLastError) instead of throwing */
    if (!InitVexelWindow(640, 480, 0, 0, "First game")) { /* windowed, the desktop's depth */
        fprintf(stderr, "no display: %s\n", VxlLastError());
        return 1;
    }

    int32_t frame = SetupBuffer(640, 480, 0);  /* each frame is composed here, then shown at once */
    int32_t sprite = SetupBuffer(32, 32, 0);
    uint32_t key = RGB(255, 0, 255);           /* sprite pixels of this colour are left out */
    Fill(sprite, key);
    FillCircle(sprite, 16, 16, 15, RGB(255, 220, 0));
    FillCircle(sprite, 11, 11, 3, RGB(0, 0, 0));
    FillCircle(sprite, 21, 11, 3, RGB(0, 0, 0));

    int x = 304, y = 224;
    const int speed = 4;     /* pixels a frame */
    const int frame_ms = 16; /* about 60 frames a second */
    StartTimer();
    int next = 0;
    while (DoEvents() && !Inkey(VXL_KEY_ESCAPE) && frames_left != 0) {
        if (Inkey(VXL_KEY_LEFT) && x > 0) x -= speed;
        if (Inkey(VXL_KEY_RIGHT) && x < 640 - 32) x += speed;
        if (Inkey(VXL_KEY_UP) && y > 0) y -= speed;
        if (Inkey(VXL_KEY_DOWN) && y < 480 - 32) y += speed;

        Fill(frame, RGB(0, 0, 64));
        PutStr(frame, 8, 8, "Arrow keys move, Escape quits", RGB(255, 255, 255));
        CopySprite(sprite, frame, x, y, key);
        Flip(frame, 0);

        /* Sleep what is left of this frame's time; after a long stall, start the pace afresh. */
        next += frame_ms;
        float left = next - Timer();
        if (left < -100) next = (int)Timer();
        if (left > 0) {
            struct timespec pause = {0, (long)(left * 1e6f)};
            nanosleep(&pause, NULL);
        }
        if (frames_left > 0) --frames_left;
    }
    CloseBuffer(sprite);
    CloseBuffer(frame);
    CloseVexel();
    return 0;
}

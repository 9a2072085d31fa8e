/* Input scene: a sprite steered by the arrow keys and the mouse (motion moves it, the left button
 * calls it to the cursor). Left alone for a second it wanders by itself, which is what the headless
 * frames show. */
#include <stdint.h>

#include "scenes.h"
#include "vxl.h"

enum { kSize = 32, kStep = 4, kIdleFrames = 60 };

static int32_t sprite = -1;
static int width_, height_;
static int x_, y_, vx_ = 3, vy_ = 2, idle_;
static uint32_t key_;

static int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

static void Start(int width, int height) {
    width_ = width;
    height_ = height;
    x_ = (width - kSize) / 2;
    y_ = (height - kSize) / 2;
    key_ = RGB(255, 0, 255);
    sprite = SetupBuffer(kSize, kSize, 0);
    Fill(sprite, key_);
    /* A ring with a bright centre: keyed corners show the background through. */
    const int c = kSize / 2;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int d2 = (x - c) * (x - c) + (y - c) * (y - c);
            if (d2 < 6 * 6) {
                PutPixel(sprite, x, y, RGB(255, 255, 255));
            } else if (d2 < 11 * 11) {
                PutPixel(sprite, x, y, RGB(20, 20, 20));
            } else if (d2 < 15 * 15) {
                PutPixel(sprite, x, y, RGB(255, 200, 0));
            }
        }
    }
}

static void Frame(int frame, int32_t canvas) {
    (void)frame;
    int dx = 0, dy = 0;
    if (Inkey(VXL_KEY_LEFT)) dx -= kStep;
    if (Inkey(VXL_KEY_RIGHT)) dx += kStep;
    if (Inkey(VXL_KEY_UP)) dy -= kStep;
    if (Inkey(VXL_KEY_DOWN)) dy += kStep;
    int32_t mx = 0, my = 0;
    GetMouseAccel(&mx, &my);
    dx += mx;
    dy += my;
    if (MouseLeft()) {
        dx = MouseX() - kSize / 2 - x_;
        dy = MouseY() - kSize / 2 - y_;
    }
    idle_ = (dx || dy) ? 0 : idle_ + 1;
    if (idle_ >= kIdleFrames) {
        /* Wander, bouncing off the edges. */
        if (x_ + vx_ < 0 || x_ + vx_ > width_ - kSize) vx_ = -vx_;
        if (y_ + vy_ < 0 || y_ + vy_ > height_ - kSize) vy_ = -vy_;
        dx = vx_;
        dy = vy_;
    }
    x_ = Clamp(x_ + dx, 0, width_ - kSize);
    y_ = Clamp(y_ + dy, 0, height_ - kSize);
    CopySprite(sprite, canvas, x_, y_, key_);
}

static void Stop(void) {
    CloseBuffer(sprite);
    sprite = -1;
}

const DemoScene kInputScene = {"input", Start, Frame, Stop};

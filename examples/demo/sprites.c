/* Sprites: a scrolling floor of tiles (CopyBuffer, clipped at both edges), balls bouncing over the
 * picture (CopySprite), a spinning star cut from a sprite sheet (CopyBitSprite) and a ball breathing
 * in size (CopyScaleSprite), all on a magenta key. */
#include <stdint.h>

#include "scenes.h"
#include "vxl.h"

enum { kBall = 32, kTile = 32, kStar = 24, kStarFrames = 4, kBalls = 6 };

static int32_t ball = -1, tile = -1, sheet = -1;
static int width = 0, height = 0;
static uint32_t key = 0;

/* A triangle wave between 0 and `span` with the given period. */
static int Bounce(int t, int period, int span) {
    const int p = t % period;
    return (p < period / 2 ? p : period - p) * 2 * span / period;
}

static void Start(int w, int h) {
    width = w;
    height = h;
    key = RGB(255, 0, 255);
    /* The ball: a disc lit from the upper left. */
    ball = SetupBuffer(kBall, kBall, 0);
    for (int y = 0; y < kBall; ++y) {
        for (int x = 0; x < kBall; ++x) {
            const int dx = 2 * x + 1 - kBall, dy = 2 * y + 1 - kBall;
            const int lx = 2 * x + 1 - kBall / 2, ly = 2 * y + 1 - kBall / 2;
            const int light = 255 - (lx * lx + ly * ly) / 14;
            PutPixel(ball, x, y, dx * dx + dy * dy < kBall * kBall ? RGB(light > 60 ? light : 60, 40, 40) : key);
        }
    }
    /* The floor tile: a bevelled checker. */
    tile = SetupBuffer(kTile, kTile, 0);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const int edge = x == 0 || y == 0 ? 60 : (x == kTile - 1 || y == kTile - 1 ? -60 : 0);
            const int base = (x < kTile / 2) == (y < kTile / 2) ? 150 : 100;
            PutPixel(tile, x, y, RGB(base + edge, base + edge, base + edge / 2 + 40));
        }
    }
    /* The sheet: four frames of a four-pointed star, each turned a little further. */
    sheet = SetupBuffer(kStar * kStarFrames, kStar, 0);
    Fill(sheet, key);
    for (int f = 0; f < kStarFrames; ++f) {
        for (int y = 0; y < kStar; ++y) {
            for (int x = 0; x < kStar; ++x) {
                const int dx = 2 * x + 1 - kStar, dy = 2 * y + 1 - kStar;
                /* Rotate by f/8 of a right angle with small integer steps: a shear per frame. */
                const int rx = dx + dy * f / 4, ry = dy - dx * f / 4;
                const int ax = rx < 0 ? -rx : rx, ay = ry < 0 ? -ry : ry;
                if (ax * ay < 3 * kStar && ax + ay < 2 * kStar - 6) {
                    PutPixel(sheet, f * kStar + x, y, RGB(255, 230 - (ax + ay) * 3, 40));
                }
            }
        }
    }
}

static void Frame(int frame, int32_t canvas) {
    /* The floor scrolls left; its first and last tiles hang over the edges and are clipped. */
    const int floor_y = height - kTile;
    for (int x = -(frame % kTile); x < width; x += kTile) {
        CopyBuffer(tile, canvas, x, floor_y);
    }
    for (int i = 0; i < kBalls; ++i) {
        const int x = Bounce(frame * (3 + i) + i * 97, 600, width - kBall / 2) - kBall / 4;
        const int y = Bounce(frame * (4 + i % 3) + i * 53, 240, floor_y - kBall + 8);
        CopySprite(ball, canvas, x, y, key);
    }
    const int f = (frame / 4) % kStarFrames, sx = (frame * 5) % (width + kStar) - kStar;
    CopyBitSprite(sheet, canvas, f * kStar, 0, f * kStar + kStar - 1, kStar - 1, sx, height / 4, key);
    const int size = 48 + Bounce(frame, 90, 80), cx = width * 3 / 4, cy = height / 2;
    CopyScaleSprite(ball, canvas, cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2, key);
}

static void Stop(void) {
    CloseBuffer(ball);
    CloseBuffer(tile);
    CloseBuffer(sheet);
}

const DemoScene kSpritesScene = {"sprites", Start, Frame, Stop};

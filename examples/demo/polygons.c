/* Polygons: a Gouraud-shaded background whose corner colours drift, a ring of texture-mapped triangles,
 * and a sprite turning and breathing in the middle, drawn with CopyRotateSprite. */
#include <stdint.h>

#include "scenes.h"
#include "vxl.h"

enum { kSprite = 96, kTexture = 32 };

static int32_t sprite = -1, texture = -1;
static int width = 0, height = 0;

/* A triangle wave of the given period between 0 and 255. */
static int Wave(int t, int period) {
    int p = t % period;
    return (p < period / 2 ? p : period - p) * 510 / period;
}

static void Start(int w, int h) {
    width = w;
    height = h;
    /* The sprite: a ringed disc with a notch that shows the turning, on a magenta key. */
    sprite = SetupBuffer(kSprite, kSprite, 0);
    const uint32_t key = RGB(255, 0, 255);
    for (int y = 0; y < kSprite; ++y) {
        for (int x = 0; x < kSprite; ++x) {
            const int dx = x - kSprite / 2, dy = y - kSprite / 2, d2 = dx * dx + dy * dy;
            uint32_t c = key;
            if (d2 < 46 * 46) c = (d2 / 240) % 2 ? RGB(250, 220, 60) : RGB(40, 60, 200);
            if (dx > 0 && dy > -6 && dy < 6 && d2 < 46 * 46) c = RGB(255, 255, 255);
            PutPixel(sprite, x, y, c);
        }
    }
    /* The texture: a small checkerboard with a gradient. */
    texture = SetupBuffer(kTexture, kTexture, 0);
    for (int y = 0; y < kTexture; ++y) {
        for (int x = 0; x < kTexture; ++x) {
            PutPixel(texture, x, y, ((x / 4 + y / 4) % 2) ? RGB(x * 8, 255 - y * 8, 128) : RGB(20, 20, 20));
        }
    }
}

static TPolyVertex Vertex(float x, float y, float u, float v, uint32_t colour) {
    TPolyVertex p = {0};
    p.x = x;
    p.y = y;
    p.u = u;
    p.v = v;
    p.colour = colour;
    return p;
}

static void Frame(int frame, int32_t canvas) {
    ShadedRect(canvas, 0, 0, width, height, RGB(Wave(frame, 400), 40, 120), RGB(30, Wave(frame + 100, 300), 160),
               RGB(200, 60, Wave(frame + 50, 500)), RGB(20, 140, Wave(frame, 250)));

    /* Eight textured, shaded triangles orbiting the centre, stepped along a square path. */
    const float cx = (float)width / 2, cy = (float)height / 2;
    for (int i = 0; i < 8; ++i) {
        const int t = (frame * 2 + i * 50) % 400;
        const float side = (float)(t % 100) / 100.0f;
        float x, y;
        switch (t / 100) {
            case 0:
                x = -1 + 2 * side, y = -1;
                break;
            case 1:
                x = 1, y = -1 + 2 * side;
                break;
            case 2:
                x = 1 - 2 * side, y = 1;
                break;
            default:
                x = -1, y = 1 - 2 * side;
                break;
        }
        x = cx + x * 200, y = cy + y * 150;
        const TPolyVertex tri[3] = {Vertex(x, y - 30, 16, 0, RGB(255, 80, 80)),
                                    Vertex(x + 30, y + 25, 31, 31, RGB(80, 255, 80)),
                                    Vertex(x - 30, y + 25, 0, 31, RGB(80, 80, 255))};
        if (i % 2) {
            TexturePoly(canvas, texture, tri, 2, 3);
        } else {
            GouraudPoly(canvas, tri, 2, 3);
        }
    }

    const float zoom = 0.75f + (float)Wave(frame, 240) / 255.0f * 1.5f;
    CopyRotateSprite(sprite, canvas, width / 2, height / 2, zoom, (float)(frame * 3 % 360), RGB(255, 0, 255));
}

static void Stop(void) {
    CloseBuffer(texture);
    CloseBuffer(sprite);
}

const DemoScene kPolygonsScene = {"polygons", Start, Frame, Stop};

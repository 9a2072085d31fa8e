/* Blends: translucent glass discs (CopyAlphaSprite) and additive glows (CopyAdd) drifting over the
 * canvas, and a window in the middle that switches every two seconds between plain, greyscale and
 * negative (copied out of the canvas, filtered, copied back). */
#include <stdint.h>

#include "scenes.h"
#include "vxl.h"

enum { kDisc = 80, kGlow = 64, kPanelW = 200, kPanelH = 120, kPhaseFrames = 60 };

static int32_t disc = -1, glow = -1, panel = -1;
static int width = 0, height = 0;

static void Start(int w, int h) {
    width = w;
    height = h;
    /* A disc with a lighter rim on a black key. */
    disc = SetupBuffer(kDisc, kDisc, 0);
    for (int y = 0; y < kDisc; ++y) {
        for (int x = 0; x < kDisc; ++x) {
            const int dx = x - kDisc / 2, dy = y - kDisc / 2, d2 = dx * dx + dy * dy;
            uint32_t c = 0;
            if (d2 < 38 * 38) c = d2 > 32 * 32 ? RGB(220, 240, 255) : RGB(40, 120, 220);
            PutPixel(disc, x, y, c);
        }
    }
    /* A soft glow: brightness falling off from the centre; black adds nothing. */
    glow = SetupBuffer(kGlow, kGlow, 0);
    for (int y = 0; y < kGlow; ++y) {
        for (int x = 0; x < kGlow; ++x) {
            const int dx = x - kGlow / 2, dy = y - kGlow / 2, d2 = dx * dx + dy * dy;
            const int v = d2 >= 30 * 30 ? 0 : 160 - d2 * 160 / (30 * 30);
            PutPixel(glow, x, y, RGB(v, v * 3 / 4, v / 3));
        }
    }
    panel = SetupBuffer(kPanelW, kPanelH, 0);
}

/* A position bouncing between 0 and span. */
static int Bounce(int t, int span) {
    const int p = t % (2 * span);
    return p < span ? p : 2 * span - p;
}

static void Frame(int frame, int32_t canvas) {
    for (int i = 0; i < 4; ++i) {
        const int x = Bounce(frame * (3 + i) + i * 97, width - kDisc),
                  y = Bounce(frame * (2 + i) + i * 61, height - kDisc);
        CopyAlphaSprite(disc, canvas, x, y, 96 + 40 * i, 0);
    }
    for (int i = 0; i < 3; ++i) {
        const int x = Bounce(frame * (5 - i) + i * 151, width - kGlow),
                  y = Bounce(frame * (4 + i) + i * 43, height - kGlow);
        CopyAdd(glow, canvas, x, y);
    }

    const int phase = (frame / kPhaseFrames) % 3;
    if (phase != 0) {
        const int px = (width - kPanelW) / 2, py = (height - kPanelH) / 2;
        CopyBit(canvas, panel, px, py, px + kPanelW - 1, py + kPanelH - 1, 0, 0);
        if (phase == 1) {
            Greyscale(panel);
        } else {
            Negative(panel);
        }
        CopyBuffer(panel, canvas, px, py);
    }
}

static void Stop(void) {
    CloseBuffer(disc);
    CloseBuffer(glow);
    CloseBuffer(panel);
}

const DemoScene kBlendScene = {"blend", Start, Frame, Stop};

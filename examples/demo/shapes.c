/* Shapes: a spirograph of Bezier curves, pulsing circles and ellipses, a fan of lines from the pen
 * and a frame of rectangles, drawn over whatever the scenes before painted. */
#include <stdint.h>

#include "scenes.h"
#include "vxl.h"

static int width = 0, height = 0;

/* A triangle wave of the given period between 0 and `top`. */
static int Wave(int t, int period, int top) {
    int p = t % period;
    return (p < period / 2 ? p : period - p) * 2 * top / period;
}

static void Start(int w, int h) {
    width = w;
    height = h;
}

static void Frame(int frame, int32_t canvas) {
    /* A frame of nested outlines, with filled corners. */
    for (int i = 0; i < 4; ++i) {
        Rect(canvas, 4 + i * 4, 4 + i * 4, width - 5 - i * 4, height - 5 - i * 4, RGB(255, 255 - i * 50, i * 60));
    }
    FillRect(canvas, 0, 0, 24, 24, RGB(255, 255, 255));
    FillRect(canvas, width - 24, height - 24, width, height, RGB(255, 255, 255));

    /* Circles and ellipses breathing in the four quadrants. */
    const int qx = width / 4, qy = height / 4;
    FillCircle(canvas, qx, qy, 20 + Wave(frame, 90, 30), RGB(230, 80, 40));
    Circle(canvas, qx, qy, 56 + Wave(frame + 45, 90, 20), RGB(255, 230, 120));
    FillEllipse(canvas, 3 * qx, qy, 30 + Wave(frame, 120, 60), 50 - Wave(frame, 120, 35), RGB(60, 200, 120));
    Ellipse(canvas, 3 * qx, qy, 100 - Wave(frame, 120, 60), 20 + Wave(frame, 120, 35), RGB(220, 255, 220));

    /* A fan of lines drawn with the pen. */
    MoveTo(canvas, qx, 3 * qy);
    for (int i = 0; i <= 12; ++i) {
        const int t = (frame * 3 + i * 40) % 480;
        const int x = t < 240 ? qx - 120 + t : qx + 120 - (t - 240);
        LineTo(canvas, x, 3 * qy + (i % 2 ? -90 : 90), RGB(120 + i * 10, 160, 255 - i * 15));
        MoveTo(canvas, qx, 3 * qy);
    }
    HLine(canvas, qx - 130, qx + 130, 3 * qy, RGB(255, 255, 255));
    VLine(canvas, 3 * qy - 100, 3 * qy + 100, qx, RGB(255, 255, 255));

    /* Bezier curves whose control points circle around. */
    const int cx = 3 * qx, cy = 3 * qy;
    for (int i = 0; i < 6; ++i) {
        const int a = Wave(frame + i * 20, 160, 180) - 90, b = Wave(frame + i * 33 + 40, 200, 180) - 90;
        CubicBezierLine(canvas, cx - 100, cy, cx + 100, cy, cx + a, cy - 120 + i * 10, cx - b, cy + 120 - i * 10, 24,
                        RGB(255, 60 + i * 30, 200));
    }
}

const DemoScene kShapesScene = {"shapes", Start, Frame, 0};

// Drawing exports: lines, runs, rectangles, circles, ellipses and curves into a buffer.
#include "draw/circles.h"
#include "draw/curves.h"
#include "draw/ellipses.h"
#include "draw/lines.h"
#include "draw/spans.h"
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Buffer;
using exports::Guarded;

extern "C" {

void Line(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::Line(*b, x1, y1, x2, y2, colour);
    });
}

// The pen is shared by all buffers; the handle is not needed to move it.
void MoveTo(int32_t, int32_t x, int32_t y) {
    Guarded([&] {
        TheLibrary().pen_x = x;
        TheLibrary().pen_y = y;
    });
}

// The pen moves even when nothing was drawn.
void LineTo(int32_t handle, int32_t x, int32_t y, uint32_t colour) {
    Guarded([&] {
        Library& lib = TheLibrary();
        if (TBufferVx* b = Buffer(handle)) draw::Line(*b, lib.pen_x, lib.pen_y, x, y, colour);
        lib.pen_x = x;
        lib.pen_y = y;
    });
}

void HLine(int32_t handle, int32_t x1, int32_t x2, int32_t y, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::HLine(*b, x1, x2, y, colour);
    });
}

void VLine(int32_t handle, int32_t y1, int32_t y2, int32_t x, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::VLine(*b, y1, y2, x, colour);
    });
}

void Rect(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::Rect(*b, x1, y1, x2, y2, colour);
    });
}

void FillRect(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::FillRect(*b, x1, y1, x2, y2, colour);
    });
}

void Circle(int32_t handle, int32_t cx, int32_t cy, int32_t r, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::Circle(*b, cx, cy, r, colour);
    });
}

void FillCircle(int32_t handle, int32_t cx, int32_t cy, int32_t r, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::FillCircle(*b, cx, cy, r, colour);
    });
}

void Ellipse(int32_t handle, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::Ellipse(*b, cx, cy, rx, ry, colour);
    });
}

void FillEllipse(int32_t handle, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::FillEllipse(*b, cx, cy, rx, ry, colour);
    });
}

void CubicBezierLine(int32_t handle, int32_t x0, int32_t y0, int32_t x3, int32_t y3, int32_t x1, int32_t y1, int32_t x2,
                     int32_t y2, int32_t steps, uint32_t colour) {
    Guarded([&] {
        if (TBufferVx* b = Buffer(handle)) draw::CubicBezierLine(*b, x0, y0, x3, y3, x1, y1, x2, y2, steps, colour);
    });
}

}  // extern "C"

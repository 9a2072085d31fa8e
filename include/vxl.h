/* VXL: a 2D software graphics library for small games and demos.
 *
 * Every pixel the library stores has the display's layout (15, 16, 24 or 32 bits per pixel) and colours
 * cross this interface as packed values in that layout (see RGB). Buffers are addressed by integer
 * handles. Windows are SDL2 windows, named by their SDL window ID.
 *
 * Failures of set-up (a display or buffer that cannot be created) are reported loudly: the message is
 * written to "VXL_ERR.txt" in the current directory and then, on a windowed display, a C++ exception
 * derived from std::exception leaves the call (what() is the message); on a full-screen display the
 * process ends with exit code 1. Everything else that goes wrong is ignored quietly.
 *
 * The library keeps unguarded global state: call it from one thread at a time.
 */
#ifndef VXL_H
#define VXL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(VXL_BUILDING_LIBRARY)
#define VXL_API __attribute__((visibility("default")))
#else
#define VXL_API
#endif

/* One polygon corner: position, texture coordinates and a packed colour (32 bytes). */
typedef struct TPolyVertex {
    float x, y;
    uint32_t reserved0;
    float u, v;
    uint32_t reserved1[2];
    uint32_t colour;
} TPolyVertex;

/* Version. */
VXL_API int32_t GetDLLVersion(void);
VXL_API void GetDLLInfo(const char** name, const char** notice);

/* Colours: pack and unpack 8-bit components in the open display's layout (0 / untouched before one). */
VXL_API uint32_t RGB(int32_t r, int32_t g, int32_t b);
VXL_API void unRGB(uint32_t colour, uint8_t* r, uint8_t* g, uint8_t* b);

/* Displays. `window` is the SDL window ID of a window the host made in this process. */
VXL_API void InitVexel(uint32_t window, int32_t width, int32_t height, int32_t bpp, int32_t full);
VXL_API void CloseVexel(void);
VXL_API void SetVexelWindowPos(int32_t x, int32_t y);
VXL_API void ClearVexel(uint32_t colour);
VXL_API int32_t VexelSizeX(void);
VXL_API int32_t VexelSizeY(void);
VXL_API int32_t GlobalBpp(void);
/* Takes at most one window message; -1 while running, 0 once the quit message arrived. */
VXL_API int32_t DoEvents(void);

/* Buffers. Rows are packed: row y starts y * width * bytes-per-pixel bytes after BufferPointer. */
VXL_API int32_t SetupBuffer(int32_t width, int32_t height, int32_t video);
VXL_API void CloseBuffer(int32_t handle);
VXL_API int32_t BufferSizeX(int32_t handle);
VXL_API int32_t BufferSizeY(int32_t handle);
VXL_API void* BufferPointer(int32_t handle);
VXL_API uint8_t* AlphaPointer(int32_t handle);
VXL_API void Fill(int32_t handle, uint32_t colour);
VXL_API void PutPixel(int32_t handle, int32_t x, int32_t y, uint32_t colour);
VXL_API uint32_t GetPixel(int32_t handle, int32_t x, int32_t y);
VXL_API void PutAlphaPixel(int32_t handle, int32_t x, int32_t y, int32_t alpha);
VXL_API int32_t GetAlphaPixel(int32_t handle, int32_t x, int32_t y);

/* Pictures: buffers from BMP, JPEG or PNG files (told by their first bytes), 8-bit alpha planes from
 * BMP or PNG files of the buffer's size, picture sizes (by extension: bmp ico wmf emf jpg jpeg png),
 * saving as BMP, JPEG or PNG by extension (SaveTGA writes no TGA), raw pixel memory files. A file that
 * cannot be opened or written raises a C++ exception derived from std::exception without a log line. */
VXL_API int32_t SetupImageBuffer(const char* file, int32_t video);
VXL_API void LoadAlpha(int32_t handle, const char* file);
VXL_API void GetImageSize(const char* file, int32_t* width, int32_t* height);
VXL_API void SaveTGA(int32_t handle, const char* file);
VXL_API void SaveRAW(int32_t handle, const char* file);
VXL_API void LoadRAW(int32_t handle, const char* file);

/* Text: one line in the default sans font, about 16 pixels high, top-left of the first character at
 * (x, y), transparent background, cut at the buffer's edges. */
VXL_API void PutStr(int32_t handle, int32_t x, int32_t y, const char* text, uint32_t colour);

/* Drawing: primitives clipped to the buffer, colours stored as given. HLine takes both x before y,
 * VLine both y before x; Rect's outline includes both corners, FillRect's larger corner is exclusive. */
VXL_API void Line(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
/* The pen is one for all buffers; LineTo draws from it and moves it, also when nothing was drawn. */
VXL_API void MoveTo(int32_t handle, int32_t x, int32_t y);
VXL_API void LineTo(int32_t handle, int32_t x, int32_t y, uint32_t colour);
VXL_API void HLine(int32_t handle, int32_t x1, int32_t x2, int32_t y, uint32_t colour);
VXL_API void VLine(int32_t handle, int32_t y1, int32_t y2, int32_t x, uint32_t colour);
VXL_API void Rect(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
VXL_API void FillRect(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
VXL_API void Circle(int32_t handle, int32_t cx, int32_t cy, int32_t r, uint32_t colour);
VXL_API void FillCircle(int32_t handle, int32_t cx, int32_t cy, int32_t r, uint32_t colour);
VXL_API void Ellipse(int32_t handle, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour);
VXL_API void FillEllipse(int32_t handle, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour);
/* The end points come before the control points; the samples are joined by lines. */
VXL_API void CubicBezierLine(int32_t handle, int32_t x0, int32_t y0, int32_t x3, int32_t y3, int32_t x1, int32_t y1,
                             int32_t x2, int32_t y2, int32_t steps, uint32_t colour);

/* Copies between buffers (source handle first). Bit: inclusive source corners (x1, y1), (x2, y2) in
 * either order, placed at (dx, dy). Scale: the whole source stretched onto the destination rectangle
 * (x1, y1)-(x2, y2), larger corner exclusive. Sprite variants leave out source pixels equal to `key`. */
VXL_API void CopyBuffer(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopySprite(int32_t src, int32_t dst, int32_t x, int32_t y, uint32_t key);
VXL_API void CopyBit(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy);
VXL_API void CopyBitSprite(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx,
                           int32_t dy, uint32_t key);
VXL_API void CopyScale(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
VXL_API void CopyScaleSprite(int32_t src, int32_t dst, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key);

/* Polygons from `count` vertices of an array whose highest index is `high`; the array is only read.
 * Rows top <= y < bottom are painted (a polygon's bottom row is open); textures repeat their edge texels. */
VXL_API void FlatPoly(int32_t handle, const TPolyVertex* v, int32_t high, int32_t count, uint32_t colour);
VXL_API void GouraudPoly(int32_t handle, const TPolyVertex* v, int32_t high, int32_t count);
VXL_API void ShadedRect(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t c1, uint32_t c2,
                        uint32_t c3, uint32_t c4);
VXL_API void TexturePoly(int32_t dst, int32_t tex, const TPolyVertex* v, int32_t high, int32_t count);
VXL_API void KeyTexturePoly(int32_t dst, int32_t tex, const TPolyVertex* v, int32_t high, int32_t count, uint32_t key);

/* Rotated copies: the source turned by `angle` degrees (clockwise) and zoomed about its centre, which
 * lands on (x, y) of the destination; the sprite form leaves out pixels of colour `key`. */
VXL_API void CopyRotate(int32_t src, int32_t dst, int32_t x, int32_t y, float zoom, float angle);
VXL_API void CopyRotateSprite(int32_t src, int32_t dst, int32_t x, int32_t y, float zoom, float angle, uint32_t key);

#ifdef __cplusplus
}
#endif

#endif /* VXL_H */

/* VXL: a 2D software graphics library for small games and demos.
 *
 * Every pixel the library stores has the display's layout (15, 16, 24 or 32 bits per pixel) and colours
 * cross this interface as packed values in that layout (see RGB). Buffers are addressed by integer
 * handles. Windows are SDL2 windows, named by their SDL window ID.
 *
 * Failures of set-up (a display or buffer that cannot be created) are reported loudly: the message is
 * written to "VXL_ERR.txt" in the current directory and then, on a windowed display, a C++ exception
 * derived from std::exception leaves the call (what() is the message); on a full-screen display the
 * process ends with exit code 1 (VxlSetErrorMode(1) turns both into failure values). Everything else
 * that goes wrong is ignored quietly.
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
/* Opens a display in a window of the library's own (captioned and centred, or covering the screen when
 * `full` is non-zero) and answers its SDL window ID. Closing the window makes DoEvents answer 0. */
VXL_API uint32_t InitVexelWindow(int32_t width, int32_t height, int32_t bpp, int32_t full, const char* title);

/* Input, for the window of the last display opened. Booleans are -1 / 0. Inkey takes a VXL_KEY_ code.
 * Mouse motion (MouseAX/AY, GetMouseAccel) is the last motion reported since the previous reading;
 * reading it clears it. MouseX/MouseY are the cursor in the window's client coordinates. */
VXL_API int32_t Inkey(int32_t key);
VXL_API int32_t MouseX(void);
VXL_API int32_t MouseY(void);
VXL_API void GetMousePos(int32_t* x, int32_t* y);
VXL_API void SetMousePos(int32_t x, int32_t y);
VXL_API int32_t MouseAX(void);
VXL_API int32_t MouseAY(void);
VXL_API void GetMouseAccel(int32_t* dx, int32_t* dy);
VXL_API int32_t MouseLeft(void);
VXL_API int32_t MouseMiddle(void);
VXL_API int32_t MouseRight(void);
VXL_API void GetMouseButtons(int32_t* left, int32_t* middle, int32_t* right);

/* Timer: a stopwatch in milliseconds (0 before the first StartTimer). */
VXL_API void StartTimer(void);
VXL_API void StopTimer(void);
VXL_API void ResetTimer(void);
VXL_API float Timer(void);

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
 * saving as BMP, JPEG or PNG by extension (SaveTGA writes no TGA), raw pixel memory files. A picture
 * file that cannot be opened or written raises a C++ exception derived from std::exception without a log
 * line (SaveRAW and LoadRAW then do nothing instead). */
VXL_API int32_t SetupImageBuffer(const char* file, int32_t video);
VXL_API void LoadAlpha(int32_t handle, const char* file);
VXL_API void GetImageSize(const char* file, int32_t* width, int32_t* height);
VXL_API void SaveTGA(int32_t handle, const char* file);
VXL_API void SaveRAW(int32_t handle, const char* file);
VXL_API void LoadRAW(int32_t handle, const char* file);

/* Text: one line of UTF-8 in the default sans font, about 16 pixels high (see VxlSetFont), top-left of
 * the first character at (x, y), transparent background, cut at the buffer's edges. */
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

/* Presentation. Draw* copy a buffer onto the display's back surface with the rules of the copies
 * (the display's size as bounds; Scale crops round half to even) and then show the whole back surface
 * in the window. Flip shows one buffer stretched over the window; `wait` non-zero waits for the
 * vertical blank where one is known. */
VXL_API void DrawBuffer(int32_t handle, int32_t x, int32_t y);
VXL_API void DrawSprite(int32_t handle, int32_t x, int32_t y, uint32_t key);
VXL_API void DrawBit(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy);
VXL_API void DrawBitSprite(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t dx, int32_t dy,
                           uint32_t key);
VXL_API void DrawScale(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
VXL_API void DrawScaleSprite(int32_t handle, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t key);
VXL_API void Flip(int32_t handle, int32_t wait);

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

/* Arithmetic blends: the source laid over the destination at (x, y), each covered pixel combined per
 * channel with saturation (add, subtract) or bit by bit (exclusive or). */
VXL_API void CopyAdd(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopySub(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyXor(int32_t src, int32_t dst, int32_t x, int32_t y);

/* Alpha blends: mixed toward the source by an opacity 0..255 (low byte), by the source's alpha plane,
 * or by an opacity with a colour key whose pixels leave the destination alone. */
VXL_API void CopyAlpha(int32_t src, int32_t dst, int32_t x, int32_t y, int32_t opacity);
VXL_API void CopyAlphaSprite(int32_t src, int32_t dst, int32_t x, int32_t y, int32_t opacity, uint32_t key);
/* Without an alpha plane the source is copied opaquely, as by CopyBuffer. */
VXL_API void CopyAlphaMap(int32_t src, int32_t dst, int32_t x, int32_t y);

/* Channel copies: one channel of the source (the others zero), or the alpha plane as grey. */
VXL_API void CopyRedChannel(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyGreenChannel(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyBlueChannel(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyAlphaChannel(int32_t src, int32_t dst, int32_t x, int32_t y);

/* In-place filters of a whole buffer. */
VXL_API void Blur2x(int32_t h);
VXL_API void Negative(int32_t h);
VXL_API void Greyscale(int32_t h);

/* Transfer effects: the whole source copied to (x, y) through a blur, a one-in-four dissolve, an
 * inversion or grey. */
VXL_API void CopyBlur(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyDissolve(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyNegative(int32_t src, int32_t dst, int32_t x, int32_t y);
VXL_API void CopyGreyscale(int32_t src, int32_t dst, int32_t x, int32_t y);

/* ---- Extensions: beyond the original interface, each named Vxl... ---- */

/* Error mode 0 (the default): failures behave as described at the top. Error mode 1, for hosts that
 * cannot catch C++ exceptions (C, Python through ctypes, ...): a failure still writes its line to
 * VXL_ERR.txt, then the call returns its failure value (-1 for a buffer handle, 0 for a window ID,
 * nothing for a void call); nothing ends the process, full screen included (the desktop's mode is put
 * back first). Other modes are ignored. VxlLastError is the text of the most recent failure (the
 * log line's words, or the file error's), "" when there was none since VxlClearError; the text stays
 * valid until the next failure or VxlClearError. */
VXL_API void VxlSetErrorMode(int32_t mode);
VXL_API const char* VxlLastError(void);
VXL_API void VxlClearError(void);

/* What came in since the previous call of the same reader (or since the display opened): how often
 * the key (a VXL_KEY_ code, as for Inkey) or the mouse button (0 left, 1 right, 2 middle) went down,
 * the wheel's notches (positive away from the user), and the text typed, as UTF-8 (SDL's text input,
 * so keyboard layouts and compose keys work; up to 4096 unread bytes are kept). VxlTextInput writes at
 * most size - 1 bytes, cut where a character begins, and a NUL; it answers the bytes before the NUL and
 * keeps the rest for the next call. Counts saturate; keys and buttons out of range answer 0; a NULL
 * output is ignored. */
VXL_API int32_t VxlKeyHit(int32_t key);
VXL_API int32_t VxlMouseHit(int32_t button);
VXL_API int32_t VxlMouseWheel(void);
VXL_API int32_t VxlTextInput(char* out, int32_t size);

/* Game controllers (SDL's game-controller layout), followed as they are attached and detached: pads
 * 0 .. VxlPadCount() - 1 in the order they were attached. Axes 0-3 are the left stick's x and y and
 * the right stick's x and y (-32768..32767), 4 and 5 the left and right triggers (0..32767). Buttons
 * are SDL's game-controller button numbers (0 A, 1 B, 2 X, 3 Y, 4 back, 5 guide, 6 start, ... 20);
 * VxlPadButton is -1 while the button is down, else 0, and VxlPadHit counts its presses since the
 * previous VxlPadHit of that button, from when the pad was first seen. Out-of-range pads, axes and
 * buttons answer 0. */
VXL_API int32_t VxlPadCount(void);
VXL_API int32_t VxlPadAxis(int32_t pad, int32_t axis);
VXL_API int32_t VxlPadButton(int32_t pad, int32_t button);
VXL_API int32_t VxlPadHit(int32_t pad, int32_t button);

/* Text. PutStr reads its text as UTF-8; a byte that does not begin a valid UTF-8 sequence stands for
 * itself in Windows-1252, so 8-bit text draws as before. VxlTextSize gives the cell PutStr fills for a
 * text: the width the pen travels (a text drawn at x + width continues it) and the line's height; a
 * NULL output is ignored. VxlSetFont chooses the font of later PutStr calls: a fontconfig family
 * ("DejaVu Serif", "monospace", "DejaVu Sans:bold") or a font file's path, at `pixels` pixels to the em
 * (up to 1024); NULL keeps the default face (DejaVu Sans), 0 the default size (14, about 16 pixels a
 * line). A font that cannot be found or loaded is a failure like any other; the font stays as it was. */
VXL_API void VxlTextSize(const char* text, int32_t* width, int32_t* height);
VXL_API void VxlSetFont(const char* font, int32_t pixels);

#ifdef __cplusplus
}
#endif

/* Key codes for Inkey: positions in the keyboard state, numbered as DirectInput numbers them. */
#define VXL_KEY_ESCAPE 0x01
#define VXL_KEY_1 0x02
#define VXL_KEY_2 0x03
#define VXL_KEY_3 0x04
#define VXL_KEY_4 0x05
#define VXL_KEY_5 0x06
#define VXL_KEY_6 0x07
#define VXL_KEY_7 0x08
#define VXL_KEY_8 0x09
#define VXL_KEY_9 0x0A
#define VXL_KEY_0 0x0B
#define VXL_KEY_MINUS 0x0C
#define VXL_KEY_EQUALS 0x0D
#define VXL_KEY_BACKSPACE 0x0E
#define VXL_KEY_TAB 0x0F
#define VXL_KEY_Q 0x10
#define VXL_KEY_W 0x11
#define VXL_KEY_E 0x12
#define VXL_KEY_R 0x13
#define VXL_KEY_T 0x14
#define VXL_KEY_Y 0x15
#define VXL_KEY_U 0x16
#define VXL_KEY_I 0x17
#define VXL_KEY_O 0x18
#define VXL_KEY_P 0x19
#define VXL_KEY_LBRACKET 0x1A
#define VXL_KEY_RBRACKET 0x1B
#define VXL_KEY_RETURN 0x1C
#define VXL_KEY_LCONTROL 0x1D
#define VXL_KEY_A 0x1E
#define VXL_KEY_S 0x1F
#define VXL_KEY_D 0x20
#define VXL_KEY_F 0x21
#define VXL_KEY_G 0x22
#define VXL_KEY_H 0x23
#define VXL_KEY_J 0x24
#define VXL_KEY_K 0x25
#define VXL_KEY_L 0x26
#define VXL_KEY_SEMICOLON 0x27
#define VXL_KEY_APOSTROPHE 0x28
#define VXL_KEY_GRAVE 0x29
#define VXL_KEY_LSHIFT 0x2A
#define VXL_KEY_BACKSLASH 0x2B
#define VXL_KEY_Z 0x2C
#define VXL_KEY_X 0x2D
#define VXL_KEY_C 0x2E
#define VXL_KEY_V 0x2F
#define VXL_KEY_B 0x30
#define VXL_KEY_N 0x31
#define VXL_KEY_M 0x32
#define VXL_KEY_COMMA 0x33
#define VXL_KEY_PERIOD 0x34
#define VXL_KEY_SLASH 0x35
#define VXL_KEY_RSHIFT 0x36
#define VXL_KEY_NUMPADSTAR 0x37
#define VXL_KEY_LALT 0x38
#define VXL_KEY_SPACE 0x39
#define VXL_KEY_CAPSLOCK 0x3A
#define VXL_KEY_F1 0x3B
#define VXL_KEY_F2 0x3C
#define VXL_KEY_F3 0x3D
#define VXL_KEY_F4 0x3E
#define VXL_KEY_F5 0x3F
#define VXL_KEY_F6 0x40
#define VXL_KEY_F7 0x41
#define VXL_KEY_F8 0x42
#define VXL_KEY_F9 0x43
#define VXL_KEY_F10 0x44
#define VXL_KEY_NUMLOCK 0x45
#define VXL_KEY_SCROLLLOCK 0x46
#define VXL_KEY_NUMPAD7 0x47
#define VXL_KEY_NUMPAD8 0x48
#define VXL_KEY_NUMPAD9 0x49
#define VXL_KEY_NUMPADMINUS 0x4A
#define VXL_KEY_NUMPAD4 0x4B
#define VXL_KEY_NUMPAD5 0x4C
#define VXL_KEY_NUMPAD6 0x4D
#define VXL_KEY_NUMPADPLUS 0x4E
#define VXL_KEY_NUMPAD1 0x4F
#define VXL_KEY_NUMPAD2 0x50
#define VXL_KEY_NUMPAD3 0x51
#define VXL_KEY_NUMPAD0 0x52
#define VXL_KEY_NUMPADPERIOD 0x53
#define VXL_KEY_OEM_102 0x56
#define VXL_KEY_F11 0x57
#define VXL_KEY_F12 0x58
#define VXL_KEY_F13 0x64
#define VXL_KEY_F14 0x65
#define VXL_KEY_F15 0x66
#define VXL_KEY_KANA 0x70
#define VXL_KEY_ABNT_C1 0x73
#define VXL_KEY_CONVERT 0x79
#define VXL_KEY_NOCONVERT 0x7B
#define VXL_KEY_YEN 0x7D
#define VXL_KEY_ABNT_C2 0x7E
#define VXL_KEY_NUMPADEQUALS 0x8D
#define VXL_KEY_PREVTRACK 0x90
#define VXL_KEY_STOP 0x95
#define VXL_KEY_NEXTTRACK 0x99
#define VXL_KEY_NUMPADENTER 0x9C
#define VXL_KEY_RCONTROL 0x9D
#define VXL_KEY_MUTE 0xA0
#define VXL_KEY_CALCULATOR 0xA1
#define VXL_KEY_PLAYPAUSE 0xA2
#define VXL_KEY_MEDIASTOP 0xA4
#define VXL_KEY_VOLUMEDOWN 0xAE
#define VXL_KEY_VOLUMEUP 0xB0
#define VXL_KEY_WEBHOME 0xB2
#define VXL_KEY_NUMPADCOMMA 0xB3
#define VXL_KEY_NUMPADSLASH 0xB5
#define VXL_KEY_SYSRQ 0xB7
#define VXL_KEY_RALT 0xB8
#define VXL_KEY_PAUSE 0xC5
#define VXL_KEY_HOME 0xC7
#define VXL_KEY_UP 0xC8
#define VXL_KEY_PAGEUP 0xC9
#define VXL_KEY_LEFT 0xCB
#define VXL_KEY_RIGHT 0xCD
#define VXL_KEY_END 0xCF
#define VXL_KEY_DOWN 0xD0
#define VXL_KEY_PAGEDOWN 0xD1
#define VXL_KEY_INSERT 0xD2
#define VXL_KEY_DELETE 0xD3
#define VXL_KEY_LWIN 0xDB
#define VXL_KEY_RWIN 0xDC
#define VXL_KEY_APPS 0xDD
#define VXL_KEY_POWER 0xDE
#define VXL_KEY_SLEEP 0xDF
#define VXL_KEY_WAKE 0xE3
#define VXL_KEY_WEBSEARCH 0xE5
#define VXL_KEY_WEBFAVORITES 0xE6
#define VXL_KEY_WEBREFRESH 0xE7
#define VXL_KEY_WEBSTOP 0xE8
#define VXL_KEY_WEBFORWARD 0xE9
#define VXL_KEY_WEBBACK 0xEA
#define VXL_KEY_MYCOMPUTER 0xEB
#define VXL_KEY_MAIL 0xEC
#define VXL_KEY_MEDIASELECT 0xED

#endif /* VXL_H */

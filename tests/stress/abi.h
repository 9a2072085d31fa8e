// The exports the stress program calls: one row per export of the original interface and the Vxl
// extensions, with how often it is picked, its flags and one argument kind per parameter. The
// parameter types are the declarations of `vxl.h`; the program looks each export up in the library
// under test and calls only those it finds.
//
// Flags: L the call may end in a fatal error; Q a dead handle answers it with 0.
// Kinds: h d the call's buffer and a second one (a copy's destination), x y X Y coordinates around h
// and d, r R half of one, s t m M coordinates on a 320 x 240 and a 1024 x 768 screen, c colour,
// o opacity, f flag, z zoom, a angle, T text, F any file name, P S A a name a loader, a saver and the
// alpha loader accept (mostly), N font, p font size, V vertex array with its top vertex k and count n,
// K key, b curve steps, e pad, axis or button, g error mode, u v D l W a display or buffer request's
// width, height, depth, full-screen flag and window, O q an out text and its size, * an out value.
#pragma once

#include "vxl.h"

// clang-format off
#define VXL_STRESS_EXPORTS(X)                                                                                  \
    X(unRGB, 2, "", "c***") X(RGB, 2, "", "ooo") X(GetImageSize, 3, "L", "P**") X(GetDLLInfo, 2, "", "**")     \
    X(GetDLLVersion, 2, "", "") X(Timer, 2, "", "") X(ResetTimer, 2, "", "") X(StopTimer, 2, "", "")           \
    X(StartTimer, 2, "", "") X(KeyTexturePoly, 8, "", "dhVknc") X(TexturePoly, 8, "", "dhVkn")                 \
    X(GouraudPoly, 8, "", "dVkn") X(FlatPoly, 8, "", "dVknc") X(Greyscale, 8, "", "h") X(Negative, 8, "", "h") \
    X(Blur2x, 8, "", "h") X(CopyAlphaChannel, 8, "", "hdXY") X(CopyBlueChannel, 8, "", "hdXY")                 \
    X(CopyGreenChannel, 8, "", "hdXY") X(CopyRedChannel, 8, "", "hdXY") X(CopyGreyscale, 8, "", "hdXY")        \
    X(CopyNegative, 8, "", "hdXY") X(CopyDissolve, 8, "", "hdXY") X(CopyBlur, 8, "", "hdXY")                   \
    X(CopyAlphaSprite, 8, "", "hdXYoc") X(CopyAlphaMap, 8, "", "hdXY") X(CopyAlpha, 8, "", "hdXYo")            \
    X(CopyXor, 8, "", "hdXY") X(CopySub, 8, "", "hdXY") X(CopyAdd, 8, "", "hdXY")                              \
    X(CopyRotateSprite, 8, "", "hdXYzac") X(CopyRotate, 8, "", "hdXYza") X(CopyScaleSprite, 8, "", "hdXYXYc")  \
    X(CopyScale, 8, "", "hdXYXY") X(CopyBitSprite, 8, "", "hdxyxyXYc") X(CopyBit, 8, "", "hdxyxyXY")           \
    X(CopySprite, 8, "", "hdXYc") X(CopyBuffer, 8, "", "hdXY") X(Flip, 8, "", "hf")                            \
    X(DrawBitSprite, 8, "", "hxyxystc") X(DrawBit, 8, "", "hxyxyst") X(DrawScaleSprite, 8, "", "hststc")       \
    X(DrawScale, 8, "", "hstst") X(DrawSprite, 8, "", "hstc") X(DrawBuffer, 8, "", "hst")                      \
    X(PutStr, 8, "L", "hxyTc") X(ShadedRect, 8, "", "hxyxycccc") X(CubicBezierLine, 8, "", "hxyxyxyxybc")      \
    X(FillEllipse, 8, "", "hxyrRc") X(Ellipse, 8, "", "hxyrRc") X(FillCircle, 8, "", "hxyrc")                  \
    X(Circle, 8, "", "hxyrc") X(FillRect, 8, "", "hxyxyc") X(Rect, 8, "", "hxyxyc") X(VLine, 8, "", "hyyxc")   \
    X(HLine, 8, "", "hxxyc") X(Line, 8, "", "hxyxyc") X(LineTo, 8, "", "hxyc") X(MoveTo, 8, "", "hxy")         \
    X(GetAlphaPixel, 8, "Q", "hxy") X(PutAlphaPixel, 8, "", "hxyo") X(GetPixel, 8, "Q", "hxy")                 \
    X(PutPixel, 8, "", "hxyc") X(Fill, 8, "", "hc") X(SaveRAW, 3, "", "hF") X(LoadRAW, 3, "", "hF")            \
    X(SaveTGA, 3, "L", "hS") X(LoadAlpha, 6, "L", "hA") X(AlphaPointer, 8, "Q", "h")                           \
    X(BufferPointer, 8, "Q", "h") X(BufferSizeY, 8, "Q", "h") X(BufferSizeX, 8, "Q", "h")                      \
    X(CloseBuffer, 6, "", "h") X(SetupImageBuffer, 6, "L", "Pf") X(SetupBuffer, 10, "L", "uvf")                \
    X(GetMouseButtons, 2, "", "***") X(MouseRight, 2, "", "") X(MouseMiddle, 2, "", "")                        \
    X(MouseLeft, 2, "", "") X(GetMouseAccel, 2, "", "**") X(MouseAY, 2, "", "") X(MouseAX, 2, "", "")          \
    X(SetMousePos, 2, "", "st") X(GetMousePos, 2, "", "**") X(MouseY, 2, "", "") X(MouseX, 2, "", "")          \
    X(Inkey, 2, "", "K") X(DoEvents, 2, "", "") X(GlobalBpp, 2, "", "") X(VexelSizeY, 2, "", "")               \
    X(VexelSizeX, 2, "", "") X(ClearVexel, 8, "", "c") X(SetVexelWindowPos, 3, "", "mM")                       \
    X(CloseVexel, 1, "", "") X(InitVexelWindow, 1, "L", "uvDlT") X(InitVexel, 1, "L", "WuvDl")                 \
    X(VxlSetErrorMode, 2, "", "g") X(VxlLastError, 2, "", "") X(VxlClearError, 2, "", "")                      \
    X(VxlKeyHit, 2, "", "K") X(VxlMouseHit, 2, "", "e") X(VxlMouseWheel, 2, "", "") X(VxlTextInput, 2, "", "Oq")\
    X(VxlPadCount, 2, "", "") X(VxlPadAxis, 2, "", "ee") X(VxlPadButton, 2, "", "ee") X(VxlPadHit, 2, "", "ee")\
    X(VxlTextSize, 2, "", "T**") X(VxlSetFont, 1, "L", "Np")
// clang-format on

namespace vxl::stress {

namespace sig {
#define VXL_STRESS_SIGNATURE(name, ...) using name = decltype(::name);
VXL_STRESS_EXPORTS(VXL_STRESS_SIGNATURE)
#undef VXL_STRESS_SIGNATURE
}  // namespace sig

enum class Id : int {
#define VXL_STRESS_ID(name, ...) name,
    VXL_STRESS_EXPORTS(VXL_STRESS_ID)
#undef VXL_STRESS_ID
        kCount
};

constexpr int kExportCount = int(Id::kCount);

struct ExportRow {
    const char* name;
    int weight;
    const char *flags, *kinds;
};

inline constexpr ExportRow kExports[] = {
#define VXL_STRESS_ROW(name, weight, flags, kinds) {#name, weight, flags, kinds},
    VXL_STRESS_EXPORTS(VXL_STRESS_ROW)
#undef VXL_STRESS_ROW
};

inline const char* ExportName(Id id) {
    return kExports[int(id)].name;
}

}  // namespace vxl::stress

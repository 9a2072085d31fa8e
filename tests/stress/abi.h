// The 96 exports as the stress program calls them: name, result and argument types. The program looks
// each one up by name in the library under test and calls only those it finds.
#pragma once

#include <cstdint>

#include "vxl.h"  // TPolyVertex

#define VXL_STRESS_EXPORTS(X)                                                                                  \
    X(unRGB, void, (uint32_t, uint8_t*, uint8_t*, uint8_t*))                                                   \
    X(RGB, uint32_t, (int32_t, int32_t, int32_t))                                                              \
    X(GetImageSize, void, (const char*, int32_t*, int32_t*))                                                   \
    X(GetDLLInfo, void, (const char**, const char**))                                                          \
    X(GetDLLVersion, int32_t, ())                                                                              \
    X(Timer, float, ())                                                                                        \
    X(ResetTimer, void, ())                                                                                    \
    X(StopTimer, void, ())                                                                                     \
    X(StartTimer, void, ())                                                                                    \
    X(KeyTexturePoly, void, (int32_t, int32_t, const TPolyVertex*, int32_t, int32_t, uint32_t))                \
    X(TexturePoly, void, (int32_t, int32_t, const TPolyVertex*, int32_t, int32_t))                             \
    X(GouraudPoly, void, (int32_t, const TPolyVertex*, int32_t, int32_t))                                      \
    X(FlatPoly, void, (int32_t, const TPolyVertex*, int32_t, int32_t, uint32_t))                               \
    X(Greyscale, void, (int32_t))                                                                              \
    X(Negative, void, (int32_t))                                                                               \
    X(Blur2x, void, (int32_t))                                                                                 \
    X(CopyAlphaChannel, void, (int32_t, int32_t, int32_t, int32_t))                                            \
    X(CopyBlueChannel, void, (int32_t, int32_t, int32_t, int32_t))                                             \
    X(CopyGreenChannel, void, (int32_t, int32_t, int32_t, int32_t))                                            \
    X(CopyRedChannel, void, (int32_t, int32_t, int32_t, int32_t))                                              \
    X(CopyGreyscale, void, (int32_t, int32_t, int32_t, int32_t))                                               \
    X(CopyNegative, void, (int32_t, int32_t, int32_t, int32_t))                                                \
    X(CopyDissolve, void, (int32_t, int32_t, int32_t, int32_t))                                                \
    X(CopyBlur, void, (int32_t, int32_t, int32_t, int32_t))                                                    \
    X(CopyAlphaSprite, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                          \
    X(CopyAlphaMap, void, (int32_t, int32_t, int32_t, int32_t))                                                \
    X(CopyAlpha, void, (int32_t, int32_t, int32_t, int32_t, int32_t))                                          \
    X(CopyXor, void, (int32_t, int32_t, int32_t, int32_t))                                                     \
    X(CopySub, void, (int32_t, int32_t, int32_t, int32_t))                                                     \
    X(CopyAdd, void, (int32_t, int32_t, int32_t, int32_t))                                                     \
    X(CopyRotateSprite, void, (int32_t, int32_t, int32_t, int32_t, float, float, uint32_t))                    \
    X(CopyRotate, void, (int32_t, int32_t, int32_t, int32_t, float, float))                                    \
    X(CopyScaleSprite, void, (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                 \
    X(CopyScale, void, (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t))                                 \
    X(CopyBitSprite, void, (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t)) \
    X(CopyBit, void, (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t))                 \
    X(CopySprite, void, (int32_t, int32_t, int32_t, int32_t, uint32_t))                                        \
    X(CopyBuffer, void, (int32_t, int32_t, int32_t, int32_t))                                                  \
    X(Flip, void, (int32_t, int32_t))                                                                          \
    X(DrawBitSprite, void, (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))          \
    X(DrawBit, void, (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t))                          \
    X(DrawScaleSprite, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                          \
    X(DrawScale, void, (int32_t, int32_t, int32_t, int32_t, int32_t))                                          \
    X(DrawSprite, void, (int32_t, int32_t, int32_t, uint32_t))                                                 \
    X(DrawBuffer, void, (int32_t, int32_t, int32_t))                                                           \
    X(PutStr, void, (int32_t, int32_t, int32_t, const char*, uint32_t))                                        \
    X(ShadedRect, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t, uint32_t)) \
    X(CubicBezierLine, void,                                                                                   \
      (int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))    \
    X(FillEllipse, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                              \
    X(Ellipse, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                                  \
    X(FillCircle, void, (int32_t, int32_t, int32_t, int32_t, uint32_t))                                        \
    X(Circle, void, (int32_t, int32_t, int32_t, int32_t, uint32_t))                                            \
    X(FillRect, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                                 \
    X(Rect, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                                     \
    X(VLine, void, (int32_t, int32_t, int32_t, int32_t, uint32_t))                                             \
    X(HLine, void, (int32_t, int32_t, int32_t, int32_t, uint32_t))                                             \
    X(Line, void, (int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t))                                     \
    X(LineTo, void, (int32_t, int32_t, int32_t, uint32_t))                                                     \
    X(MoveTo, void, (int32_t, int32_t, int32_t))                                                               \
    X(GetAlphaPixel, int32_t, (int32_t, int32_t, int32_t))                                                     \
    X(PutAlphaPixel, void, (int32_t, int32_t, int32_t, int32_t))                                               \
    X(GetPixel, uint32_t, (int32_t, int32_t, int32_t))                                                         \
    X(PutPixel, void, (int32_t, int32_t, int32_t, uint32_t))                                                   \
    X(Fill, void, (int32_t, uint32_t))                                                                         \
    X(SaveRAW, void, (int32_t, const char*))                                                                   \
    X(LoadRAW, void, (int32_t, const char*))                                                                   \
    X(SaveTGA, void, (int32_t, const char*))                                                                   \
    X(LoadAlpha, void, (int32_t, const char*))                                                                 \
    X(AlphaPointer, uint8_t*, (int32_t))                                                                       \
    X(BufferPointer, void*, (int32_t))                                                                         \
    X(BufferSizeY, int32_t, (int32_t))                                                                         \
    X(BufferSizeX, int32_t, (int32_t))                                                                         \
    X(CloseBuffer, void, (int32_t))                                                                            \
    X(SetupImageBuffer, int32_t, (const char*, int32_t))                                                       \
    X(SetupBuffer, int32_t, (int32_t, int32_t, int32_t))                                                       \
    X(GetMouseButtons, void, (int32_t*, int32_t*, int32_t*))                                                   \
    X(MouseRight, int32_t, ())                                                                                 \
    X(MouseMiddle, int32_t, ())                                                                                \
    X(MouseLeft, int32_t, ())                                                                                  \
    X(GetMouseAccel, void, (int32_t*, int32_t*))                                                               \
    X(MouseAY, int32_t, ())                                                                                    \
    X(MouseAX, int32_t, ())                                                                                    \
    X(SetMousePos, void, (int32_t, int32_t))                                                                   \
    X(GetMousePos, void, (int32_t*, int32_t*))                                                                 \
    X(MouseY, int32_t, ())                                                                                     \
    X(MouseX, int32_t, ())                                                                                     \
    X(Inkey, int32_t, (int32_t))                                                                               \
    X(DoEvents, int32_t, ())                                                                                   \
    X(GlobalBpp, int32_t, ())                                                                                  \
    X(VexelSizeY, int32_t, ())                                                                                 \
    X(VexelSizeX, int32_t, ())                                                                                 \
    X(ClearVexel, void, (uint32_t))                                                                            \
    X(SetVexelWindowPos, void, (int32_t, int32_t))                                                             \
    X(CloseVexel, void, ())                                                                                    \
    X(InitVexelWindow, uint32_t, (int32_t, int32_t, int32_t, int32_t, const char*))                            \
    X(InitVexel, void, (uint32_t, int32_t, int32_t, int32_t, int32_t))

namespace vxl::stress {

namespace sig {
#define VXL_STRESS_SIGNATURE(name, result, args) using name = result args;
VXL_STRESS_EXPORTS(VXL_STRESS_SIGNATURE)
#undef VXL_STRESS_SIGNATURE
}  // namespace sig

enum class Id : int {
#define VXL_STRESS_ID(name, result, args) name,
    VXL_STRESS_EXPORTS(VXL_STRESS_ID)
#undef VXL_STRESS_ID
        kCount
};

constexpr int kExportCount = int(Id::kCount);

inline const char* ExportName(Id id) {
    static const char* const kNames[] = {
#define VXL_STRESS_NAME(name, result, args) #name,
        VXL_STRESS_EXPORTS(VXL_STRESS_NAME)
#undef VXL_STRESS_NAME
    };
    return kNames[int(id)];
}

}  // namespace vxl::stress

// The exports the stress program calls, by name: the 96 of the original interface and the Vxl
// extensions. Their signatures are the declarations of `vxl.h`; the program looks each one up in the
// library under test and calls only those it finds.
#pragma once

#include "vxl.h"

// clang-format off
#define VXL_STRESS_EXPORTS(X)                                                                                  \
    X(unRGB) X(RGB) X(GetImageSize) X(GetDLLInfo) X(GetDLLVersion) X(Timer) X(ResetTimer) X(StopTimer)         \
    X(StartTimer) X(KeyTexturePoly) X(TexturePoly) X(GouraudPoly) X(FlatPoly) X(Greyscale) X(Negative)         \
    X(Blur2x) X(CopyAlphaChannel) X(CopyBlueChannel) X(CopyGreenChannel) X(CopyRedChannel) X(CopyGreyscale)    \
    X(CopyNegative) X(CopyDissolve) X(CopyBlur) X(CopyAlphaSprite) X(CopyAlphaMap) X(CopyAlpha) X(CopyXor)     \
    X(CopySub) X(CopyAdd) X(CopyRotateSprite) X(CopyRotate) X(CopyScaleSprite) X(CopyScale) X(CopyBitSprite)   \
    X(CopyBit) X(CopySprite) X(CopyBuffer) X(Flip) X(DrawBitSprite) X(DrawBit) X(DrawScaleSprite) X(DrawScale) \
    X(DrawSprite) X(DrawBuffer) X(PutStr) X(ShadedRect) X(CubicBezierLine) X(FillEllipse) X(Ellipse)           \
    X(FillCircle) X(Circle) X(FillRect) X(Rect) X(VLine) X(HLine) X(Line) X(LineTo) X(MoveTo) X(GetAlphaPixel) \
    X(PutAlphaPixel) X(GetPixel) X(PutPixel) X(Fill) X(SaveRAW) X(LoadRAW) X(SaveTGA) X(LoadAlpha)             \
    X(AlphaPointer) X(BufferPointer) X(BufferSizeY) X(BufferSizeX) X(CloseBuffer) X(SetupImageBuffer)          \
    X(SetupBuffer) X(GetMouseButtons) X(MouseRight) X(MouseMiddle) X(MouseLeft) X(GetMouseAccel) X(MouseAY)    \
    X(MouseAX) X(SetMousePos) X(GetMousePos) X(MouseY) X(MouseX) X(Inkey) X(DoEvents) X(GlobalBpp)             \
    X(VexelSizeY) X(VexelSizeX) X(ClearVexel) X(SetVexelWindowPos) X(CloseVexel) X(InitVexelWindow)            \
    X(InitVexel) X(VxlSetErrorMode) X(VxlLastError) X(VxlClearError) X(VxlKeyHit) X(VxlMouseHit)              \
    X(VxlMouseWheel) X(VxlTextInput) X(VxlPadCount) X(VxlPadAxis) X(VxlPadButton) X(VxlPadHit) X(VxlTextSize) \
    X(VxlSetFont)
// clang-format on

namespace vxl::stress {

namespace sig {
#define VXL_STRESS_SIGNATURE(name) using name = decltype(::name);
VXL_STRESS_EXPORTS(VXL_STRESS_SIGNATURE)
#undef VXL_STRESS_SIGNATURE
}  // namespace sig

enum class Id : int {
#define VXL_STRESS_ID(name) name,
    VXL_STRESS_EXPORTS(VXL_STRESS_ID)
#undef VXL_STRESS_ID
        kCount
};

constexpr int kExportCount = int(Id::kCount);

inline const char* ExportName(Id id) {
    static const char* const kNames[] = {
#define VXL_STRESS_NAME(name) #name,
        VXL_STRESS_EXPORTS(VXL_STRESS_NAME)
#undef VXL_STRESS_NAME
    };
    return kNames[int(id)];
}

}  // namespace vxl::stress

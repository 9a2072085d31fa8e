// One generated call per export, with the checks that apply to its answer. Every export of the
// library's interface has its case here, whether or not the library under test has it yet.
#include <cstring>

#include "run.h"

namespace vxl::stress {

bool MayFailLoudly(Id id) {
    switch (id) {
        // clang-format off
        case Id::InitVexel: case Id::InitVexelWindow: case Id::SetupBuffer: case Id::SetupImageBuffer:
        case Id::LoadAlpha: case Id::GetImageSize: case Id::SaveTGA: case Id::PutStr: case Id::VxlSetFont:
            return true;
        // clang-format on
        default:
            return false;
    }
}

// How often an export is picked against the others.
int Weight(Id id) {
    switch (id) {
        // clang-format off
        case Id::CloseVexel: case Id::InitVexel: case Id::InitVexelWindow:  // each a screen-sized surface
            return 1;
        case Id::SetVexelWindowPos: case Id::SaveRAW: case Id::SaveTGA: case Id::LoadRAW: case Id::GetImageSize:
            return 3;
        case Id::SetupBuffer:
            return 10;
        case Id::SetupImageBuffer: case Id::CloseBuffer: case Id::LoadAlpha:
            return 6;
        case Id::GetDLLVersion: case Id::GetDLLInfo: case Id::RGB: case Id::unRGB: case Id::Timer:
        case Id::ResetTimer: case Id::StopTimer: case Id::StartTimer: case Id::GetMouseButtons: case Id::MouseRight:
        case Id::MouseMiddle: case Id::MouseLeft: case Id::GetMouseAccel: case Id::MouseAY: case Id::MouseAX:
        case Id::SetMousePos: case Id::GetMousePos: case Id::MouseY: case Id::MouseX: case Id::Inkey:
        case Id::DoEvents: case Id::GlobalBpp: case Id::VexelSizeX: case Id::VexelSizeY:
        case Id::VxlSetErrorMode: case Id::VxlLastError: case Id::VxlClearError: case Id::VxlKeyHit:
        case Id::VxlMouseHit: case Id::VxlMouseWheel: case Id::VxlTextInput: case Id::VxlPadCount:
        case Id::VxlPadAxis: case Id::VxlPadButton: case Id::VxlPadHit: case Id::VxlTextSize:
            return 2;
        case Id::VxlSetFont:  // fontconfig reads its whole configuration each time
            return 1;
        // clang-format on
        default:
            return 8;
    }
}

void Context::Generate(Id id) {
    using namespace sig;
    // The buffer a call works on; two-buffer calls copy from `h` onto `dst`, now and then itself.
    const int32_t h = Handle(), dst = rng.Chance(10) ? h : Handle();
    switch (id) {
        // ---- colours, version, timer ----
        case Id::unRGB:
            Call<unRGB>(id, Colour(), Out<uint8_t>(), Out<uint8_t>(), Out<uint8_t>());
            break;
        case Id::RGB:
            Call<RGB>(id, Opacity(), Opacity(), Opacity());
            break;
        case Id::GetImageSize:
            Call<GetImageSize>(id, Named(files.pictures, careful() ? 90 : 35), Out<int32_t>(), Out<int32_t>());
            break;
        case Id::GetDLLInfo: {
            const char** name = Out<const char*>();
            const char** notice = Out<const char*>();
            Call<GetDLLInfo>(id, name, notice);
            for (const char** s : {name, notice}) {
                if (s && (!*s || std::strlen(*s) > 4096)) Fail("GetDLLInfo gave no readable text");
            }
            break;
        }
        case Id::GetDLLVersion:
            Call<GetDLLVersion>(id);
            break;
        case Id::Timer:
            Call<Timer>(id);
            break;
        case Id::ResetTimer:
        case Id::StopTimer:
        case Id::StartTimer:
            Call<ResetTimer>(id);  // all of these take and answer nothing
            break;

        // ---- polygons, onto `dst`, textured from `h` ----
        case Id::KeyTexturePoly:
        case Id::TexturePoly:
        case Id::GouraudPoly:
        case Id::FlatPoly: {
            const bool textured = id == Id::KeyTexturePoly || id == Id::TexturePoly;
            int32_t count = 0, high = 0;
            const TPolyVertex* v = Vertices(dst, textured ? h : dst, &count, &high);
            if (id == Id::KeyTexturePoly) {
                Call<KeyTexturePoly>(id, dst, h, v, high, count, Colour());
            } else if (id == Id::TexturePoly) {
                Call<TexturePoly>(id, dst, h, v, high, count);
            } else if (id == Id::GouraudPoly) {
                Call<GouraudPoly>(id, dst, v, high, count);
            } else {
                Call<FlatPoly>(id, dst, v, high, count, Colour());
            }
            break;
        }

        // ---- filters, blends and copies ----
        case Id::Greyscale:
        case Id::Negative:
        case Id::Blur2x:
            Call<Greyscale>(id, h);  // all of these take one buffer
            break;
        case Id::CopyAlphaChannel:
        case Id::CopyBlueChannel:
        case Id::CopyGreenChannel:
        case Id::CopyRedChannel:
        case Id::CopyGreyscale:
        case Id::CopyNegative:
        case Id::CopyDissolve:
        case Id::CopyBlur:
        case Id::CopyAlphaMap:
        case Id::CopyXor:
        case Id::CopySub:
        case Id::CopyAdd:
        case Id::CopyBuffer:
            Call<CopyAdd>(id, h, dst, X(dst), Y(dst));  // all of these share CopyAdd's signature
            break;
        case Id::CopyAlphaSprite:
            Call<CopyAlphaSprite>(id, h, dst, X(dst), Y(dst), Opacity(), Colour());
            break;
        case Id::CopyAlpha:
            Call<CopyAlpha>(id, h, dst, X(dst), Y(dst), Opacity());
            break;
        case Id::CopyRotateSprite:
            Call<CopyRotateSprite>(id, h, dst, X(dst), Y(dst), Float(0.1f, 3.0f), Float(-7.0f, 7.0f), Colour());
            break;
        case Id::CopyRotate:
            Call<CopyRotate>(id, h, dst, X(dst), Y(dst), Float(0.1f, 3.0f), Float(-7.0f, 7.0f));
            break;
        case Id::CopyScaleSprite:
            Call<CopyScaleSprite>(id, h, dst, X(dst), Y(dst), X(dst), Y(dst), Colour());
            break;
        case Id::CopyScale:
            Call<CopyScale>(id, h, dst, X(dst), Y(dst), X(dst), Y(dst));
            break;
        case Id::CopyBitSprite:
            Call<CopyBitSprite>(id, h, dst, X(h), Y(h), X(h), Y(h), X(dst), Y(dst), Colour());
            break;
        case Id::CopyBit:
            Call<CopyBit>(id, h, dst, X(h), Y(h), X(h), Y(h), X(dst), Y(dst));
            break;
        case Id::CopySprite:
            Call<CopySprite>(id, h, dst, X(dst), Y(dst), Colour());
            break;

        // ---- display blits ----
        case Id::Flip:
            Call<Flip>(id, h, Flag());
            break;
        case Id::DrawBitSprite:
            Call<DrawBitSprite>(id, h, X(h), Y(h), X(h), Y(h), Coordinate(320), Coordinate(240), Colour());
            break;
        case Id::DrawBit:
            Call<DrawBit>(id, h, X(h), Y(h), X(h), Y(h), Coordinate(320), Coordinate(240));
            break;
        case Id::DrawScaleSprite:
            Call<DrawScaleSprite>(id, h, Coordinate(320), Coordinate(240), Coordinate(320), Coordinate(240), Colour());
            break;
        case Id::DrawScale:
            Call<DrawScale>(id, h, Coordinate(320), Coordinate(240), Coordinate(320), Coordinate(240));
            break;
        case Id::DrawSprite:
            Call<DrawSprite>(id, h, Coordinate(320), Coordinate(240), Colour());
            break;
        case Id::DrawBuffer:
            Call<DrawBuffer>(id, h, Coordinate(320), Coordinate(240));
            break;

        // ---- text and shapes ----
        case Id::PutStr:
            pending_handle = h;
            Call<PutStr>(id, h, X(h), Y(h), Text(), Colour());
            break;
        case Id::ShadedRect:
            Call<ShadedRect>(id, h, X(h), Y(h), X(h), Y(h), Colour(), Colour(), Colour(), Colour());
            break;
        case Id::CubicBezierLine:
            Call<CubicBezierLine>(id, h, X(h), Y(h), X(h), Y(h), X(h), Y(h), X(h), Y(h), Steps(), Colour());
            break;
        case Id::FillEllipse:
        case Id::Ellipse:
            Call<Ellipse>(id, h, X(h), Y(h), X(h) / 2, Y(h) / 2, Colour());
            break;
        case Id::FillCircle:
        case Id::Circle:
            Call<Circle>(id, h, X(h), Y(h), X(h) / 2, Colour());
            break;
        case Id::FillRect:
        case Id::Rect:
        case Id::Line:
            Call<Line>(id, h, X(h), Y(h), X(h), Y(h), Colour());
            break;
        case Id::VLine:
            Call<VLine>(id, h, Y(h), Y(h), X(h), Colour());
            break;
        case Id::HLine:
            Call<HLine>(id, h, X(h), X(h), Y(h), Colour());
            break;
        case Id::LineTo:
            Call<LineTo>(id, h, X(h), Y(h), Colour());
            break;
        case Id::MoveTo:
            Call<MoveTo>(id, h, X(h), Y(h));
            break;

        // ---- pixels and buffers ----
        case Id::GetAlphaPixel:
            ExpectDeadAnswer("GetAlphaPixel", h, uint32_t(Call<GetAlphaPixel>(id, h, X(h), Y(h))));
            break;
        case Id::PutAlphaPixel:
            Call<PutAlphaPixel>(id, h, X(h), Y(h), Opacity());
            break;
        case Id::GetPixel:
            ExpectDeadAnswer("GetPixel", h, Call<GetPixel>(id, h, X(h), Y(h)));
            break;
        case Id::PutPixel:
            Call<PutPixel>(id, h, X(h), Y(h), Colour());
            break;
        case Id::Fill:
            Call<Fill>(id, h, Colour());
            break;
        case Id::SaveRAW:
        case Id::LoadRAW:
            Call<SaveRAW>(id, h, File());  // both take a buffer and a file name
            break;
        case Id::SaveTGA:
            pending_handle = h;
            Call<SaveTGA>(id, h, Named(files.saves, careful() ? 95 : 50));
            break;
        case Id::LoadAlpha:
            pending_handle = h;
            Call<LoadAlpha>(id, h, Named(files.alphas, careful() ? 90 : 50));
            break;
        case Id::AlphaPointer:
        case Id::BufferPointer: {
            const bool alpha = id == Id::AlphaPointer;
            void* p = alpha ? Call<AlphaPointer>(id, h) : Call<BufferPointer>(id, h);
            ExpectDeadAnswer(ExportName(id), h, reinterpret_cast<uintptr_t>(p));
            MaybeTouch(h, p, alpha);
            break;
        }
        case Id::BufferSizeY:
        case Id::BufferSizeX: {
            const int32_t size = Call<BufferSizeX>(id, h);
            ExpectDeadAnswer(ExportName(id), h, uint32_t(size));
            if (const BufferInfo* b = Find(h)) {
                const int32_t want = id == Id::BufferSizeX ? b->width : b->height;
                if (size != want) Fail("%s(%d) answered %d, the buffer was made %d", ExportName(id), h, size, want);
            }
            break;
        }
        case Id::CloseBuffer:
            Call<CloseBuffer>(id, h);
            Closed(h);
            break;
        case Id::SetupImageBuffer:
        case Id::SetupBuffer: {
            if (live.size() >= kMaxLiveBuffers) {
                const int32_t old = live[rng.Below(uint32_t(live.size()))].handle;
                Call<CloseBuffer>(Id::CloseBuffer, old);
                Closed(old);
            }
            if (id == Id::SetupImageBuffer) {
                Created(Call<SetupImageBuffer>(id, Named(files.pictures, careful() ? 90 : 35), Flag()));
                break;
            }
            int32_t w = 0, ht = 0;
            SizePair(careful(), &w, &ht);
            Created(Call<SetupBuffer>(id, w, ht, Flag()));
            break;
        }

        // ---- input ----
        case Id::GetMouseButtons:
            Call<GetMouseButtons>(id, Out<int32_t>(), Out<int32_t>(), Out<int32_t>());
            break;
        case Id::MouseRight:
        case Id::MouseMiddle:
        case Id::MouseLeft:
        case Id::MouseAY:
        case Id::MouseAX:
        case Id::MouseY:
        case Id::MouseX:
        case Id::DoEvents:
        case Id::GlobalBpp:
        case Id::VexelSizeY:
        case Id::VexelSizeX:
            Call<MouseX>(id);  // all of these take nothing and answer a number
            break;
        case Id::GetMouseAccel:
        case Id::GetMousePos:
            Call<GetMousePos>(id, Out<int32_t>(), Out<int32_t>());
            break;
        case Id::SetMousePos:
            Call<SetMousePos>(id, Coordinate(320), Coordinate(240));
            break;
        case Id::Inkey:
            Call<Inkey>(id, Key());
            break;

        // ---- display ----
        case Id::ClearVexel:
            Call<ClearVexel>(id, Colour());
            break;
        case Id::SetVexelWindowPos:
            Call<SetVexelWindowPos>(id, Coordinate(1024), Coordinate(768));
            break;
        case Id::CloseVexel:
            Call<CloseVexel>(id);
            // A closed display answers 0 to every question about it.
            for (Id query : {Id::VexelSizeX, Id::VexelSizeY, Id::GlobalBpp, Id::DoEvents}) {
                if (Has(query)) {
                    const int32_t answer = Call<GlobalBpp>(query);
                    if (answer != 0) Fail("after CloseVexel, %s answered %d instead of 0", ExportName(query), answer);
                }
            }
            break;
        case Id::InitVexelWindow:
        case Id::InitVexel: {
            int32_t w = 0, ht = 0;
            SizePair(true, &w, &ht);
            int32_t bpp = Depth(), full = 0;
            uint32_t window = id == Id::InitVexel ? Window() : 0;
            if (careful() ? rng.Chance(80) : rng.Below(1000) < 5) {
                w = 640, ht = 480, full = 1, window = host_id;
                bpp = careful() ? options.full_screen_depth : 16 + 8 * int32_t(rng.Below(3));
            } else if (hostile) {
                SizePair(false, &w, &ht);
            }
            if (id == Id::InitVexel) {
                Call<InitVexel>(id, window, w, ht, bpp, full);
            } else if (const uint32_t made = Call<InitVexelWindow>(id, w, ht, bpp, full, Text())) {
                library_windows.push_back(made);
            }
            break;
        }

        // ---- extensions ----
        case Id::VxlSetErrorMode: {
            const int32_t modes[] = {0, 1, 1, -1, 2, INT32_MIN};  // modes other than 0 and 1 are ignored
            const int32_t mode = modes[rng.Below(hostile ? 6 : 3)];
            Call<VxlSetErrorMode>(id, mode);
            if (mode == 0 || mode == 1) error_mode = record->error_mode = mode;
            break;
        }
        case Id::VxlLastError: {
            const char* text = Call<VxlLastError>(id);
            if (!text || std::strlen(text) > 8192) Fail("VxlLastError gave no readable text");
            break;
        }
        case Id::VxlClearError:
            Call<VxlClearError>(id);
            if (Has(Id::VxlLastError) && *Call<VxlLastError>(Id::VxlLastError) != '\0') {
                Fail("VxlLastError is not empty after VxlClearError");
            }
            break;
        case Id::VxlKeyHit: {
            const int32_t key = Key();
            const int32_t hits = Call<VxlKeyHit>(id, key);
            if (hits < 0 || ((key < 0 || key > 255) && hits != 0)) Fail("VxlKeyHit(%d) answered %d", key, hits);
            break;
        }
        case Id::VxlMouseHit:
        case Id::VxlPadHit:
        case Id::VxlPadButton:
        case Id::VxlPadAxis: {
            const int32_t values[] = {0, 1, 2, 3, 5, 20, 21, -1, INT32_MIN, INT32_MAX};
            const int32_t a = values[rng.Below(hostile ? 10 : 5)], b = values[rng.Below(hostile ? 10 : 7)];
            if (id == Id::VxlMouseHit) {
                const int32_t hits = Call<VxlMouseHit>(id, a);
                if (hits < 0 || ((a < 0 || a > 2) && hits != 0)) Fail("VxlMouseHit(%d) answered %d", a, hits);
            } else if (id == Id::VxlPadHit) {
                if (Call<VxlPadHit>(id, a, b) < 0) Fail("VxlPadHit(%d, %d) answered less than 0", a, b);
            } else if (id == Id::VxlPadButton) {
                const int32_t state = Call<VxlPadButton>(id, a, b);
                if (state != 0 && state != -1) Fail("VxlPadButton(%d, %d) answered %d", a, b, state);
            } else {
                const int32_t value = Call<VxlPadAxis>(id, a, b);
                if (value < -32768 || value > 32767 || ((b < 0 || b > 5) && value != 0)) {
                    Fail("VxlPadAxis(%d, %d) answered %d", a, b, value);
                }
            }
            break;
        }
        case Id::VxlMouseWheel:
        case Id::VxlPadCount: {
            const int32_t n = Call<VxlPadCount>(id);  // both take nothing and answer a number
            if (id == Id::VxlPadCount && n < 0) Fail("VxlPadCount answered %d", n);
            break;
        }
        case Id::VxlTextInput: {
            const int32_t sizes[] = {1, 2, 3, 8, 64, 0, -1, INT32_MIN};
            const int32_t size = sizes[rng.Below(hostile ? 8 : 5)];
            char* out = OutText(size);
            const int32_t n = Call<VxlTextInput>(id, out, size);
            if (n < 0 || (out && (n >= size || out[n] != '\0' || int32_t(std::strlen(out)) != n)) || (!out && n != 0)) {
                Fail("VxlTextInput(%s, %d) answered %d", out ? "&out" : "NULL", size, n);
            }
            break;
        }
        case Id::VxlTextSize: {
            int32_t* width = Out<int32_t>();
            int32_t* height = Out<int32_t>();
            Call<VxlTextSize>(id, Text(), width, height);
            if ((width && *width < 0) || (height && *height < 0)) Fail("VxlTextSize answered a negative size");
            break;
        }
        case Id::VxlSetFont: {
            const char* fonts[] = {nullptr,
                                   "DejaVu Sans",
                                   "monospace",
                                   "DejaVu Serif:bold",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                   "No Such Font",
                                   "",
                                   File()};
            const int32_t sizes[] = {0, 10, 14, 24, 64, -1, 1025, INT32_MIN};
            Call<VxlSetFont>(id, fonts[rng.Below(hostile ? 8 : 5)], sizes[rng.Below(hostile ? 8 : 5)]);
            break;
        }

        case Id::kCount:
            break;
    }
}

}  // namespace vxl::stress

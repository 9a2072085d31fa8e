// One generated call per export, with the checks that apply to its answer. Every export of the
// library's interface has its case here, whether or not the library under test has it yet.
#include <cstring>

#include "run.h"

namespace vxl::stress {

bool MayFailLoudly(Id id) {
    switch (id) {
        case Id::InitVexel:
        case Id::InitVexelWindow:
        case Id::SetupBuffer:
        case Id::SetupImageBuffer:
        case Id::LoadAlpha:
        case Id::GetImageSize:
        case Id::SaveTGA:
        case Id::PutStr:
            return true;
        default:
            return false;
    }
}

int Weight(Id id) {
    switch (id) {
        case Id::CloseVexel:
        case Id::InitVexel:  // each one costs a fresh screen-sized surface
        case Id::InitVexelWindow:
            return 1;
        case Id::SetVexelWindowPos:
        case Id::SaveRAW:
        case Id::SaveTGA:
        case Id::LoadRAW:
        case Id::GetImageSize:
            return 3;
        case Id::SetupBuffer:
            return 10;
        case Id::SetupImageBuffer:
        case Id::CloseBuffer:
        case Id::LoadAlpha:
            return 6;
        case Id::GetDLLVersion:
        case Id::GetDLLInfo:
        case Id::RGB:
        case Id::unRGB:
        case Id::Timer:
        case Id::ResetTimer:
        case Id::StopTimer:
        case Id::StartTimer:
        case Id::GetMouseButtons:
        case Id::MouseRight:
        case Id::MouseMiddle:
        case Id::MouseLeft:
        case Id::GetMouseAccel:
        case Id::MouseAY:
        case Id::MouseAX:
        case Id::SetMousePos:
        case Id::GetMousePos:
        case Id::MouseY:
        case Id::MouseX:
        case Id::Inkey:
        case Id::DoEvents:
        case Id::GlobalBpp:
        case Id::VexelSizeX:
        case Id::VexelSizeY:
            return 2;
        default:
            return 8;
    }
}

void Context::Generate(Id id) {
    using namespace sig;
    switch (id) {
        // ---- colours, version, timer ----
        case Id::unRGB:
            Call<unRGB>(id, Colour(), Out<uint8_t>(), Out<uint8_t>(), Out<uint8_t>());
            break;
        case Id::RGB:
            Call<RGB>(id, Opacity(), Opacity(), Opacity());
            break;
        case Id::GetImageSize:
            Call<GetImageSize>(id, Picture(careful()), Out<int32_t>(), Out<int32_t>());
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
            Call<ResetTimer>(id);
            break;
        case Id::StopTimer:
            Call<StopTimer>(id);
            break;
        case Id::StartTimer:
            Call<StartTimer>(id);
            break;

        // ---- polygons ----
        case Id::KeyTexturePoly: {
            const int32_t dst = Handle(), tex = Handle();
            int32_t count = 0, high = 0;
            const TPolyVertex* v = Vertices(dst, tex, &count, &high);
            Call<KeyTexturePoly>(id, dst, tex, v, high, count, Colour());
            break;
        }
        case Id::TexturePoly: {
            const int32_t dst = Handle(), tex = Handle();
            int32_t count = 0, high = 0;
            const TPolyVertex* v = Vertices(dst, tex, &count, &high);
            Call<TexturePoly>(id, dst, tex, v, high, count);
            break;
        }
        case Id::GouraudPoly: {
            const int32_t h = Handle();
            int32_t count = 0, high = 0;
            const TPolyVertex* v = Vertices(h, h, &count, &high);
            Call<GouraudPoly>(id, h, v, high, count);
            break;
        }
        case Id::FlatPoly: {
            const int32_t h = Handle();
            int32_t count = 0, high = 0;
            const TPolyVertex* v = Vertices(h, h, &count, &high);
            Call<FlatPoly>(id, h, v, high, count, Colour());
            break;
        }

        // ---- filters and blends ----
        case Id::Greyscale:
            Call<Greyscale>(id, Handle());
            break;
        case Id::Negative:
            Call<Negative>(id, Handle());
            break;
        case Id::Blur2x:
            Call<Blur2x>(id, Handle());
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
        case Id::CopyBuffer: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyAdd>(id, src, dst, X(dst), Y(dst));  // all of these share CopyAdd's signature
            break;
        }
        case Id::CopyAlphaSprite: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyAlphaSprite>(id, src, dst, X(dst), Y(dst), Opacity(), Colour());
            break;
        }
        case Id::CopyAlpha: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyAlpha>(id, src, dst, X(dst), Y(dst), Opacity());
            break;
        }

        // ---- copies ----
        case Id::CopyRotateSprite: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyRotateSprite>(id, src, dst, X(dst), Y(dst), Float(0.1f, 3.0f), Float(-7.0f, 7.0f), Colour());
            break;
        }
        case Id::CopyRotate: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyRotate>(id, src, dst, X(dst), Y(dst), Float(0.1f, 3.0f), Float(-7.0f, 7.0f));
            break;
        }
        case Id::CopyScaleSprite: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyScaleSprite>(id, src, dst, X(dst), Y(dst), X(dst), Y(dst), Colour());
            break;
        }
        case Id::CopyScale: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyScale>(id, src, dst, X(dst), Y(dst), X(dst), Y(dst));
            break;
        }
        case Id::CopyBitSprite: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyBitSprite>(id, src, dst, X(src), Y(src), X(src), Y(src), X(dst), Y(dst), Colour());
            break;
        }
        case Id::CopyBit: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopyBit>(id, src, dst, X(src), Y(src), X(src), Y(src), X(dst), Y(dst));
            break;
        }
        case Id::CopySprite: {
            const int32_t src = Handle(), dst = rng.Chance(10) ? src : Handle();
            Call<CopySprite>(id, src, dst, X(dst), Y(dst), Colour());
            break;
        }

        // ---- display blits ----
        case Id::Flip:
            Call<Flip>(id, Handle(), Flag());
            break;
        case Id::DrawBitSprite: {
            const int32_t h = Handle();
            Call<DrawBitSprite>(id, h, X(h), Y(h), X(h), Y(h), Coordinate(320), Coordinate(240), Colour());
            break;
        }
        case Id::DrawBit: {
            const int32_t h = Handle();
            Call<DrawBit>(id, h, X(h), Y(h), X(h), Y(h), Coordinate(320), Coordinate(240));
            break;
        }
        case Id::DrawScaleSprite:
            Call<DrawScaleSprite>(id, Handle(), Coordinate(320), Coordinate(240), Coordinate(320), Coordinate(240),
                                  Colour());
            break;
        case Id::DrawScale:
            Call<DrawScale>(id, Handle(), Coordinate(320), Coordinate(240), Coordinate(320), Coordinate(240));
            break;
        case Id::DrawSprite:
            Call<DrawSprite>(id, Handle(), Coordinate(320), Coordinate(240), Colour());
            break;
        case Id::DrawBuffer:
            Call<DrawBuffer>(id, Handle(), Coordinate(320), Coordinate(240));
            break;

        // ---- text and shapes ----
        case Id::PutStr: {
            const int32_t h = Handle();
            pending_handle = h;
            Call<PutStr>(id, h, X(h), Y(h), Text(), Colour());
            break;
        }
        case Id::ShadedRect: {
            const int32_t h = Handle();
            Call<ShadedRect>(id, h, X(h), Y(h), X(h), Y(h), Colour(), Colour(), Colour(), Colour());
            break;
        }
        case Id::CubicBezierLine: {
            const int32_t h = Handle();
            Call<CubicBezierLine>(id, h, X(h), Y(h), X(h), Y(h), X(h), Y(h), X(h), Y(h), Steps(), Colour());
            break;
        }
        case Id::FillEllipse:
        case Id::Ellipse: {
            const int32_t h = Handle();
            Call<Ellipse>(id, h, X(h), Y(h), X(h) / 2, Y(h) / 2, Colour());
            break;
        }
        case Id::FillCircle:
        case Id::Circle: {
            const int32_t h = Handle();
            Call<Circle>(id, h, X(h), Y(h), X(h) / 2, Colour());
            break;
        }
        case Id::FillRect:
        case Id::Rect:
        case Id::Line: {
            const int32_t h = Handle();
            Call<Line>(id, h, X(h), Y(h), X(h), Y(h), Colour());
            break;
        }
        case Id::VLine: {
            const int32_t h = Handle();
            Call<VLine>(id, h, Y(h), Y(h), X(h), Colour());
            break;
        }
        case Id::HLine: {
            const int32_t h = Handle();
            Call<HLine>(id, h, X(h), X(h), Y(h), Colour());
            break;
        }
        case Id::LineTo: {
            const int32_t h = Handle();
            Call<LineTo>(id, h, X(h), Y(h), Colour());
            break;
        }
        case Id::MoveTo: {
            const int32_t h = Handle();
            Call<MoveTo>(id, h, X(h), Y(h));
            break;
        }

        // ---- pixels and buffers ----
        case Id::GetAlphaPixel: {
            const int32_t h = Handle();
            ExpectDeadAnswer("GetAlphaPixel", h, uint32_t(Call<GetAlphaPixel>(id, h, X(h), Y(h))));
            break;
        }
        case Id::PutAlphaPixel: {
            const int32_t h = Handle();
            Call<PutAlphaPixel>(id, h, X(h), Y(h), Opacity());
            break;
        }
        case Id::GetPixel: {
            const int32_t h = Handle();
            ExpectDeadAnswer("GetPixel", h, Call<GetPixel>(id, h, X(h), Y(h)));
            break;
        }
        case Id::PutPixel: {
            const int32_t h = Handle();
            Call<PutPixel>(id, h, X(h), Y(h), Colour());
            break;
        }
        case Id::Fill:
            Call<Fill>(id, Handle(), Colour());
            break;
        case Id::SaveRAW:
            Call<SaveRAW>(id, Handle(), File());
            break;
        case Id::LoadRAW:
            Call<LoadRAW>(id, Handle(), File());
            break;
        case Id::SaveTGA: {
            const int32_t h = Handle();
            pending_handle = h;
            Call<SaveTGA>(id, h, SaveName(careful()));
            break;
        }
        case Id::LoadAlpha: {
            const int32_t h = Handle();
            pending_handle = h;
            Call<LoadAlpha>(id, h, AlphaFile(careful()));
            break;
        }
        case Id::AlphaPointer: {
            const int32_t h = Handle();
            uint8_t* p = Call<AlphaPointer>(id, h);
            ExpectDeadAnswer("AlphaPointer", h, reinterpret_cast<uintptr_t>(p));
            MaybeTouch(h, p, true);
            break;
        }
        case Id::BufferPointer: {
            const int32_t h = Handle();
            void* p = Call<BufferPointer>(id, h);
            ExpectDeadAnswer("BufferPointer", h, reinterpret_cast<uintptr_t>(p));
            MaybeTouch(h, p, false);
            break;
        }
        case Id::BufferSizeY:
        case Id::BufferSizeX: {
            const int32_t h = Handle();
            const int32_t size = Call<BufferSizeX>(id, h);
            ExpectDeadAnswer(ExportName(id), h, uint32_t(size));
            if (const BufferInfo* b = Find(h)) {
                const int32_t want = id == Id::BufferSizeX ? b->width : b->height;
                if (size != want) Fail("%s(%d) answered %d, the buffer was made %d", ExportName(id), h, size, want);
            }
            break;
        }
        case Id::CloseBuffer: {
            const int32_t h = Handle();
            Call<CloseBuffer>(id, h);
            Closed(h);
            break;
        }
        case Id::SetupImageBuffer: {
            if (live.size() >= kMaxLiveBuffers) {
                const int32_t h = live[rng.Below(uint32_t(live.size()))].handle;
                Call<CloseBuffer>(Id::CloseBuffer, h);
                Closed(h);
            }
            Issued(Call<SetupImageBuffer>(id, Picture(careful()), Flag()));
            break;
        }
        case Id::SetupBuffer: {
            if (live.size() >= kMaxLiveBuffers) {
                const int32_t h = live[rng.Below(uint32_t(live.size()))].handle;
                Call<CloseBuffer>(Id::CloseBuffer, h);
                Closed(h);
            }
            int32_t w = 0, h = 0;
            SizePair(careful(), &w, &h);
            Issued(Call<SetupBuffer>(id, w, h, Flag()));
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
            Call<MouseX>(id);  // all of these take nothing and answer a number
            break;
        case Id::GetMouseAccel:
            Call<GetMouseAccel>(id, Out<int32_t>(), Out<int32_t>());
            break;
        case Id::SetMousePos:
            Call<SetMousePos>(id, Coordinate(320), Coordinate(240));
            break;
        case Id::GetMousePos:
            Call<GetMousePos>(id, Out<int32_t>(), Out<int32_t>());
            break;
        case Id::Inkey:
            Call<Inkey>(id, Key());
            break;

        // ---- display ----
        case Id::GlobalBpp:
        case Id::VexelSizeY:
        case Id::VexelSizeX:
            Call<GlobalBpp>(id);
            break;
        case Id::ClearVexel:
            Call<ClearVexel>(id, Colour());
            break;
        case Id::SetVexelWindowPos:
            Call<SetVexelWindowPos>(id, Coordinate(1024), Coordinate(768));
            break;
        case Id::CloseVexel: {
            Call<CloseVexel>(id);
            // A closed display answers 0 to every question about it.
            for (Id query : {Id::VexelSizeX, Id::VexelSizeY, Id::GlobalBpp, Id::DoEvents}) {
                if (Has(query)) {
                    const int32_t answer = Call<GlobalBpp>(query);
                    if (answer != 0) Fail("after CloseVexel, %s answered %d instead of 0", ExportName(query), answer);
                }
            }
            break;
        }
        case Id::InitVexelWindow: {
            int32_t w = 0, h = 0;
            SizePair(true, &w, &h);
            int32_t bpp = Depth(), full = 0;
            if (careful() ? rng.Chance(80) : rng.Below(1000) < 5) {
                w = 640, h = 480, full = 1;
                bpp = careful() ? options.full_screen_depth : 16 + 8 * int32_t(rng.Below(3));
            } else if (hostile) {
                SizePair(false, &w, &h);
            }
            const uint32_t window = Call<InitVexelWindow>(id, w, h, bpp, full, Text());
            if (window) library_windows.push_back(window);
            break;
        }
        case Id::InitVexel: {
            int32_t w = 0, h = 0;
            SizePair(true, &w, &h);
            int32_t bpp = Depth(), full = 0;
            uint32_t window = Window();
            if (careful() ? rng.Chance(80) : rng.Below(1000) < 5) {
                w = 640, h = 480, full = 1, window = host_id;
                bpp = careful() ? options.full_screen_depth : 16 + 8 * int32_t(rng.Below(3));
            } else if (hostile) {
                SizePair(false, &w, &h);
            }
            Call<InitVexel>(id, window, w, h, bpp, full);
            break;
        }
        case Id::kCount:
            break;
    }
}

}  // namespace vxl::stress

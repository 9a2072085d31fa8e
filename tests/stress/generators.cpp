// One generated call per export, its arguments drawn by the kinds in the export's row, and the
// checks that apply to its answer.
#include <cstring>

#include "run.h"

namespace vxl::stress {

// Every row names one kind per parameter of its export.
#define VXL_STRESS_ARITY(name, weight, flags, kinds) \
    static_assert(sizeof(kinds) - 1 == Arity<sig::name>::value, #name ": one kind per parameter");
VXL_STRESS_EXPORTS(VXL_STRESS_ARITY)
#undef VXL_STRESS_ARITY

bool MayFailLoudly(Id id) {
    return std::strchr(kExports[int(id)].flags, 'L') != nullptr;
}
int Weight(Id id) {
    return kExports[int(id)].weight;
}

int64_t Context::Number(char kind) {
    switch (kind) {
        // clang-format off
        case 'h': return h_;
        case 'd': return dst_;
        case 'x': return X(h_);
        case 'y': return Y(h_);
        case 'X': return X(dst_);
        case 'Y': return Y(dst_);
        case 'r': return X(h_) / 2;
        case 'R': return Y(h_) / 2;
        case 's': return Coordinate(320);
        case 't': return Coordinate(240);
        case 'm': return Coordinate(1024);
        case 'M': return Coordinate(768);
        case 'c': return Colour();
        case 'k': return high_;
        case 'n': return count_;
        case 'u': return request_[0];
        case 'v': return request_[1];
        case 'D': return request_[2];
        case 'l': return request_[3];
        case 'W': return request_[4];
        case 'q': return text_size_;
        case 'o': return hostile && rng.Chance(50) ? Pick({-1, 0, 255, 256, INT32_MAX, INT32_MIN, 128, 1000})
                                                   : rng.Between(0, 255);
        case 'f': return hostile ? Pick({0, 1, -1, 2, INT32_MIN, INT32_MAX}) : rng.Below(2);
        case 'K': return hostile ? Pick({-1, 256, INT32_MAX, INT32_MIN, 65536, 0, 255}) : rng.Between(0, 255);
        case 'b': return hostile ? Pick({0, -1, 1, INT32_MIN, INT32_MAX, 65536, 1 << 20, 2}) : rng.Between(0, 64);
        case 'e': return Pick({0, 1, 2, 3, 5, 20, 21, -1, INT32_MIN, INT32_MAX}, hostile ? 10 : 6);
        case 'g': return Pick({0, 1, 1, -1, 2, INT32_MIN}, hostile ? 6 : 3);  // only 0 and 1 are modes
        case 'p': return Pick({0, 10, 14, 24, 64, -1, 1025, INT32_MIN}, hostile ? 8 : 5);
            // clang-format on
    }
    Fail("no generator for the argument kind '%c'", kind);
}

const char* Context::Name(char kind) {
    switch (kind) {
        case 'T':
            return Text();
        case 'P':
            return Named(files.pictures, careful() ? 90 : 35);
        case 'S':
            return Named(files.saves, careful() ? 95 : 50);
        case 'A':
            return Named(files.alphas, careful() ? 90 : 50);
        case 'N': {
            const char* fonts[] = {nullptr,
                                   "DejaVu Sans",
                                   "monospace",
                                   "DejaVu Serif:bold",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                   "No Such Font",
                                   "",
                                   File()};
            return fonts[rng.Below(hostile ? 8 : 5)];
        }
    }
    return File();
}

// What a call needs decided before its arguments: room for a new buffer, a display's request.
void Context::Prepare(Id id) {
    if (id == Id::SetupBuffer || id == Id::SetupImageBuffer) {
        if (live.size() >= kMaxLiveBuffers) {
            const int32_t old = live[rng.Below(uint32_t(live.size()))].handle;
            Call<sig::CloseBuffer>(Id::CloseBuffer, old);
            Closed(old);
        }
        SizePair(careful(), &request_[0], &request_[1]);
    } else if (id == Id::InitVexel || id == Id::InitVexelWindow) {
        SizePair(true, &request_[0], &request_[1]);
        request_[2] = int32_t(hostile ? Pick({0, 8, 15, 16, 24, 32, -1, 33, INT32_MAX, INT32_MIN}) : Pick({0, 16, 32}));
        request_[3] = 0;
        request_[4] = int32_t(Window());
        if (careful() ? rng.Chance(80) : rng.Below(1000) < 5) {
            const int32_t depth = careful() ? options.full_screen_depth : 16 + 8 * int32_t(rng.Below(3));
            request_ = {640, 480, depth, 1, int32_t(host_id)};
        } else if (hostile) {
            SizePair(false, &request_[0], &request_[1]);
        }
    }
}

void Context::Generate(Id id) {
    const ExportRow& row = kExports[int(id)];
    h_ = Handle();
    dst_ = rng.Chance(10) ? h_ : Handle();
    if (MayFailLoudly(id) && row.kinds[0] == 'h') pending_handle = h_;
    Prepare(id);
    int64_t answer = 0;
    switch (id) {
#define VXL_STRESS_CASE(name, ...)                   \
    case Id::name:                                   \
        answer = CallWith<sig::name>(id, row.kinds); \
        break;
        VXL_STRESS_EXPORTS(VXL_STRESS_CASE)
#undef VXL_STRESS_CASE
        case Id::kCount:
            break;
    }
    if (std::strchr(row.flags, 'Q')) ExpectDeadAnswer(row.name, h_, uint64_t(answer));
    Check(id, answer);
}

// The rules every answer keeps, whatever the arguments; `args_` holds the call's arguments.
void Context::Check(Id id, int64_t answer) {
    const int32_t n = int32_t(answer), a = int32_t(args_[0]), b = int32_t(args_[1]);
    auto pointer = [this](int i) { return reinterpret_cast<void*>(uintptr_t(args_[i])); };
    switch (id) {
        case Id::GetDLLInfo:
            for (int i : {0, 1}) {
                const char** s = static_cast<const char**>(pointer(i));
                if (s && (!*s || std::strlen(*s) > 4096)) Fail("GetDLLInfo gave no readable text");
            }
            break;
        case Id::AlphaPointer:
        case Id::BufferPointer:
            MaybeTouch(h_, reinterpret_cast<void*>(uintptr_t(answer)), id == Id::AlphaPointer);
            break;
        case Id::BufferSizeY:
        case Id::BufferSizeX:
            if (const BufferInfo* buffer = Find(h_)) {
                const int32_t want = id == Id::BufferSizeX ? buffer->width : buffer->height;
                if (n != want) Fail("%s(%d) answered %d, the buffer was made %d", ExportName(id), h_, n, want);
            }
            break;
        case Id::CloseBuffer:
            Closed(h_);
            break;
        case Id::SetupImageBuffer:
        case Id::SetupBuffer:
            Created(n);
            break;
        case Id::InitVexelWindow:
            if (n) library_windows.push_back(uint32_t(n));
            break;
        case Id::CloseVexel:  // a closed display answers 0 to every question about it
            for (Id query : {Id::VexelSizeX, Id::VexelSizeY, Id::GlobalBpp, Id::DoEvents}) {
                if (Has(query) && Call<sig::GlobalBpp>(query) != 0) {
                    Fail("after CloseVexel, %s did not answer 0", ExportName(query));
                }
            }
            break;
        case Id::VxlSetErrorMode:
            if (a == 0 || a == 1) error_mode = record->error_mode = a;
            break;
        case Id::VxlLastError:
            if (!answer || std::strlen(reinterpret_cast<const char*>(answer)) > 8192) {
                Fail("VxlLastError gave no readable text");
            }
            break;
        case Id::VxlClearError:
            if (Has(Id::VxlLastError) && *Call<sig::VxlLastError>(Id::VxlLastError) != '\0') {
                Fail("VxlLastError is not empty after VxlClearError");
            }
            break;
        case Id::VxlKeyHit:
        case Id::VxlMouseHit:
            if (n < 0 || ((a < 0 || a > (id == Id::VxlKeyHit ? 255 : 2)) && n != 0)) {
                Fail("%s(%d) answered %d", ExportName(id), a, n);
            }
            break;
        case Id::VxlPadHit:
        case Id::VxlPadCount:
            if (n < 0) Fail("%s answered %d", ExportName(id), n);
            break;
        case Id::VxlPadButton:
            if (n != 0 && n != -1) Fail("VxlPadButton(%d, %d) answered %d", a, b, n);
            break;
        case Id::VxlPadAxis:
            if (n < -32768 || n > 32767 || ((b < 0 || b > 5) && n != 0))
                Fail("VxlPadAxis(%d, %d) answered %d", a, b, n);
            break;
        case Id::VxlTextInput: {
            const char* out = static_cast<const char*>(pointer(0));
            if (n < 0 || (out && (n >= b || out[n] != '\0' || int32_t(std::strlen(out)) != n)) || (!out && n != 0)) {
                Fail("VxlTextInput(%s, %d) answered %d", out ? "&out" : "NULL", b, n);
            }
            break;
        }
        case Id::VxlTextSize: {
            const int32_t* width = static_cast<const int32_t*>(pointer(1));
            const int32_t* height = static_cast<const int32_t*>(pointer(2));
            if ((width && *width < 0) || (height && *height < 0)) Fail("VxlTextSize answered a negative size");
            break;
        }
        default:
            break;
    }
}

}  // namespace vxl::stress

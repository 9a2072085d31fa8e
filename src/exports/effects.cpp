// Effect exports: in-place filters of one buffer and per-pixel transfer effects onto another.
#include "blend/filters.h"
#include "blend/transfer_effects.h"
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using blend::TransferKind;
using exports::Buffer;
using exports::Guarded;

extern "C" {

void Blur2x(int32_t handle) {
    Guarded([&] { blend::Blur2x(Buffer(handle)); });
}
void Negative(int32_t handle) {
    Guarded([&] { blend::Negative(Buffer(handle)); });
}
void Greyscale(int32_t handle) {
    Guarded([&] { blend::Greyscale(Buffer(handle)); });
}

void CopyBlur(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyTransfer(Buffer(src), Buffer(dst), x, y, TransferKind::Blur); });
}
void CopyDissolve(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyTransfer(Buffer(src), Buffer(dst), x, y, TransferKind::Dissolve); });
}
void CopyNegative(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyTransfer(Buffer(src), Buffer(dst), x, y, TransferKind::Negative); });
}
void CopyGreyscale(int32_t src, int32_t dst, int32_t x, int32_t y) {
    Guarded([&] { blend::CopyTransfer(Buffer(src), Buffer(dst), x, y, TransferKind::Greyscale); });
}

}  // extern "C"

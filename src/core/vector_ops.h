// The vector operations that plain vector arithmetic expresses, written once for any register width
// and compiled by each instruction-set file with its own flags. Each file adds only what needs its
// own instructions (saturation, high multiplies, packing, lane moves).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vxl {
namespace {

// N bytes a register: the same type as the instruction set's own integer register.
template <size_t N>
struct VectorOps {
    typedef long long V __attribute__((vector_size(N)));
    typedef uint16_t U16 __attribute__((vector_size(N)));
    typedef uint32_t U32 __attribute__((vector_size(N)));
    static constexpr size_t kBytes = N;

    static V Load(const uint8_t* p) {
        V v;
        std::memcpy(&v, p, kBytes);
        return v;
    }
    static void Store(uint8_t* p, V v) { std::memcpy(p, &v, kBytes); }
    static V Zero() { return V{}; }
    static V Set16(uint16_t v) { return (V)(U16{} + v); }
    static V Set32(uint32_t v) { return (V)(U32{} + v); }
    static V And(V a, V b) { return a & b; }
    static V Or(V a, V b) { return a | b; }
    static V Xor(V a, V b) { return a ^ b; }
    static V AndNot(V a, V b) { return ~a & b; }
    static V Add16(V a, V b) { return (V)((U16)a + (U16)b); }
    static V Sub16(V a, V b) { return (V)((U16)a - (U16)b); }
    static V Add32(V a, V b) { return (V)((U32)a + (U32)b); }
    static V Mullo16(V a, V b) { return (V)((U16)a * (U16)b); }
    static V CmpEq16(V a, V b) { return (V)((U16)a == (U16)b); }
    static V CmpEq32(V a, V b) { return (V)((U32)a == (U32)b); }
    // The value as one the compiler cannot see into: a constant multiplier then stays one multiply
    // instead of becoming a longer chain of shifts and adds.
    static V Opaque(V a) {
        asm("" : "+x"(a));
        return a;
    }
    template <int n>
    static V Srli16(V a) {
        return (V)((U16)a >> n);
    }
    template <int n>
    static V Slli16(V a) {
        return (V)((U16)a << n);
    }
    template <int n>
    static V Srli32(V a) {
        return (V)((U32)a >> n);
    }
    template <int n>
    static V Slli32(V a) {
        return (V)((U32)a << n);
    }
};

}  // namespace
}  // namespace vxl

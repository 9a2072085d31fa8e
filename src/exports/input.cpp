// Input exports: keys, mouse buttons and motion, the cursor. Before the first display there is no
// input object: queries answer 0 and write 0.
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Byte;
using exports::Guarded;
using exports::Input;

namespace {

int32_t Flag(bool on) {
    return on ? -1 : 0;
}

// An address the host left out is not written.
void Put(int32_t* out, int32_t value) {
    if (out) *out = value;
}

}  // namespace

extern "C" {

int32_t Inkey(int32_t key) {
    return Guarded([&] { return Input() ? Flag(Input()->Inkey(Byte(key))) : 0; });
}

int32_t MouseX(void) {
    return Guarded([&] { return Input() ? Input()->MouseX() : 0; });
}
int32_t MouseY(void) {
    return Guarded([&] { return Input() ? Input()->MouseY() : 0; });
}

void GetMousePos(int32_t* x, int32_t* y) {
    Guarded([&] {
        int32_t px = 0, py = 0;
        if (TInputVx* in = Input()) in->GetMousePos(&px, &py);
        Put(x, px);
        Put(y, py);
    });
}

void SetMousePos(int32_t x, int32_t y) {
    Guarded([&] {
        if (TInputVx* in = Input()) in->SetMousePos(x, y);
    });
}

int32_t MouseAX(void) {
    return Guarded([&] { return Input() ? Input()->MouseAX() : 0; });
}
int32_t MouseAY(void) {
    return Guarded([&] { return Input() ? Input()->MouseAY() : 0; });
}

void GetMouseAccel(int32_t* dx, int32_t* dy) {
    Guarded([&] {
        int32_t ax = 0, ay = 0;
        if (TInputVx* in = Input()) in->GetMouseAccel(&ax, &ay);
        Put(dx, ax);
        Put(dy, ay);
    });
}

int32_t MouseLeft(void) {
    return Guarded([&] { return Input() ? Flag(Input()->MouseLeft()) : 0; });
}
int32_t MouseMiddle(void) {
    return Guarded([&] { return Input() ? Flag(Input()->MouseMiddle()) : 0; });
}
int32_t MouseRight(void) {
    return Guarded([&] { return Input() ? Flag(Input()->MouseRight()) : 0; });
}

void GetMouseButtons(int32_t* left, int32_t* middle, int32_t* right) {
    Guarded([&] {
        bool l = false, m = false, r = false;
        if (TInputVx* in = Input()) in->GetMouseButtons(&l, &m, &r);
        Put(left, Flag(l));
        Put(middle, Flag(m));
        Put(right, Flag(r));
    });
}

}  // extern "C"

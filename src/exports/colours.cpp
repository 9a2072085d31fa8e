// Colour exports: packing in the open display's layout.
#include "buffers/pixel_format.h"
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Byte;
using exports::Guarded;

extern "C" {

uint32_t RGB(int32_t r, int32_t g, int32_t b) {
    return Guarded([&] { return PackColour(Byte(r), Byte(g), Byte(b)); });
}

void unRGB(uint32_t colour, uint8_t* r, uint8_t* g, uint8_t* b) {
    Guarded([&] {
        uint8_t unwanted[3];  // a missing output is simply not written
        UnpackColour(colour, r ? r : &unwanted[0], g ? g : &unwanted[1], b ? b : &unwanted[2]);
    });
}

}  // extern "C"

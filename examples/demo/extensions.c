/* The Vxl extensions: every tap of the space bar and every click counted however fast they come, the
 * wheel turning a dial, typed UTF-8 text (Backspace takes a character back), a game controller's left
 * stick and A button when one is attached, lines centred with VxlTextSize in a font of their own, and
 * a picture that is not there reported by error mode 1 instead of ending the demo. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "scenes.h"
#include "vxl.h"

enum { kTyped = 64 };

static int width_, height_;
static int taps_, clicks_, dial_, pad_a_, pad_x_, pad_y_;
static char typed_[kTyped] = "";
static char missing_[160] = "";
static int32_t title_ = -1;
static uint32_t key_;

static void Centred(int32_t canvas, int y, const char* text, uint32_t colour) {
    int32_t w = 0, h = 0;
    VxlTextSize(text, &w, &h);
    PutStr(canvas, (width_ - w) / 2 + 1, y + 1, text, RGB(0, 0, 0));
    PutStr(canvas, (width_ - w) / 2, y, text, colour);
}

/* Appends what was typed, dropping whole characters from the front when the line is full. */
static void TakeTyped(void) {
    char in[kTyped];
    for (int32_t n; (n = VxlTextInput(in, kTyped)) > 0;) {
        size_t have = strlen(typed_);
        while (have + (size_t)n >= kTyped) {
            size_t cut = 1;
            while ((typed_[cut] & 0xC0) == 0x80) ++cut;
            memmove(typed_, typed_ + cut, have - cut + 1);
            have -= cut;
        }
        memcpy(typed_ + have, in, (size_t)n + 1);
    }
    for (int32_t back = VxlKeyHit(VXL_KEY_BACKSPACE); back > 0 && typed_[0]; --back) {
        size_t end = strlen(typed_);
        do --end;
        while (end > 0 && (typed_[end] & 0xC0) == 0x80);
        typed_[end] = '\0';
    }
}

static void Start(int width, int height) {
    width_ = width;
    height_ = height;
    pad_x_ = width / 2;
    pad_y_ = height / 2;
    /* A C host cannot catch C++ exceptions: in error mode 1 a failure is a value and a text. */
    VxlSetErrorMode(1);
    VxlClearError();
    if (SetupImageBuffer("no-such-picture.png", 0) == -1) {
        snprintf(missing_, sizeof missing_, "error mode 1: %s", VxlLastError());
    }
    /* A title in a font of its own, drawn once into a sprite of exactly its size. */
    static const char kTitle[] = "Größe, ½ €, naïve café";
    int32_t w = 0, h = 0;
    VxlSetFont("DejaVu Serif", 22);
    VxlTextSize(kTitle, &w, &h);
    key_ = RGB(255, 0, 255);
    title_ = SetupBuffer(w + 1, h + 1, 0);
    Fill(title_, key_);
    PutStr(title_, 1, 1, kTitle, RGB(0, 0, 0));
    PutStr(title_, 0, 0, kTitle, RGB(255, 255, 160));
    VxlSetFont(NULL, 0);
}

static void Stop(void) {
    CloseBuffer(title_);
    title_ = -1;
}

static void Frame(int frame, int32_t canvas) {
    (void)frame;
    taps_ += VxlKeyHit(VXL_KEY_SPACE);
    clicks_ += VxlMouseHit(0);
    dial_ += VxlMouseWheel();
    TakeTyped();
    if (VxlPadCount() > 0) {
        pad_x_ += VxlPadAxis(0, 0) / 4096;
        pad_y_ += VxlPadAxis(0, 1) / 4096;
        pad_x_ = pad_x_ < 8 ? 8 : pad_x_ > width_ - 8 ? width_ - 8 : pad_x_;
        pad_y_ = pad_y_ < 8 ? 8 : pad_y_ > height_ - 8 ? height_ - 8 : pad_y_;
        pad_a_ += VxlPadHit(0, 0);
        FillCircle(canvas, pad_x_, pad_y_, VxlPadButton(0, 0) ? 10 : 7, RGB(0, 255, 128));
    }

    CopySprite(title_, canvas, (width_ - BufferSizeX(title_)) / 2, height_ - 192, key_);
    char line[160];
    snprintf(line, sizeof line, "space taps %d   clicks %d   wheel %d   pads %d (A pressed %d times)", taps_, clicks_,
             dial_, VxlPadCount(), pad_a_);
    Centred(canvas, height_ - 160, line, RGB(255, 255, 255));
    snprintf(line, sizeof line, "typed: %s_", typed_);
    Centred(canvas, height_ - 142, line, RGB(255, 255, 255));
    Centred(canvas, height_ - 124, missing_, RGB(255, 190, 190));
}

const DemoScene kExtensionsScene = {"extensions", Start, Frame, Stop};

/* Draws the pictures of the function reference (docs/reference.md) with the library itself, through its
 * public functions only, and writes them as PNG files into the folder named on the command line:
 *
 *     vxl_make_pictures docs/reference/pictures      (what `make docs` runs)
 *
 * Every scene is 96 x 64 pixels (sources 32 x 32) on a 32-bit display, shown three times enlarged with
 * CopyScale so that single pixels can be seen. The chequered ground has squares of 8 pixels, so
 * coordinates can be read off a picture. The display is headless (SDL's dummy driver), so the pictures
 * are the same on every machine that has the same default font. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vxl.h>

enum { kWidth = 96, kHeight = 64, kSprite = 32, kZoom = 3 };

static const char* out_dir;
static uint32_t key;    /* the sprites' leave-out colour */
static int32_t sprite;  /* 32 x 32: a disc, a frame and a bar on the key colour */
static int32_t tile;    /* 32 x 32: four coloured quarters with a ring and an alpha plane, no key */
static int32_t ramp;    /* 96 x 64: red grows to the right, green downward */

/* Writes `scene` enlarged kZoom times as OUT_DIR/NAME.png. */
static void save(int32_t scene, const char* name) {
    char path[4096];
    int32_t w = BufferSizeX(scene) * kZoom, h = BufferSizeY(scene) * kZoom;
    int32_t shown = SetupBuffer(w, h, 0);
    CopyScale(scene, shown, 0, 0, w, h);
    snprintf(path, sizeof path, "%s/%s.png", out_dir, name);
    SaveTGA(shown, path);
    CloseBuffer(shown);
}

/* A 96 x 64 scene on the chequered ground. */
static int32_t ground(void) {
    int32_t scene = SetupBuffer(kWidth, kHeight, 0);
    for (int32_t y = 0; y < kHeight; y += 8)
        for (int32_t x = 0; x < kWidth; x += 8)
            FillRect(scene, x, y, x + 8, y + 8, ((x ^ y) & 8) ? RGB(44, 48, 60) : RGB(32, 36, 46));
    return scene;
}

static void finish(int32_t scene, const char* name) {
    save(scene, name);
    CloseBuffer(scene);
}

/* An 8-bit grey BMP of 32 x 32 whose value grows from 0 at the left to 248 at the right. */
static void write_alpha_ramp(const char* path) {
    unsigned char header[54 + 1024] = {0};
    const uint32_t pixels = kSprite * kSprite, offset = sizeof header, size = offset + pixels;
    const uint32_t fields[] = {size, 0, offset, 40, kSprite, kSprite};
    header[0] = 'B';
    header[1] = 'M';
    for (int i = 0; i < 6; ++i)
        for (int b = 0; b < 4; ++b) header[2 + 4 * i + b] = (unsigned char)(fields[i] >> (8 * b));
    header[26] = 1; /* planes */
    header[28] = 8; /* bits per pixel */
    for (int i = 0; i < 256; ++i) memset(header + 54 + 4 * i, i, 3);
    FILE* f = fopen(path, "wb");
    if (f == NULL) {
        perror(path);
        exit(1);
    }
    fwrite(header, 1, sizeof header, f);
    for (uint32_t i = 0; i < pixels; ++i) fputc((int)(i % kSprite) * 8, f);
    fclose(f);
}

static void make_sources(void) {
    key = RGB(255, 0, 255);
    sprite = SetupBuffer(kSprite, kSprite, 0);
    Fill(sprite, key);
    FillCircle(sprite, 16, 16, 13, RGB(255, 200, 0));
    Rect(sprite, 0, 0, 31, 31, RGB(0, 160, 255));
    FillRect(sprite, 10, 14, 22, 18, RGB(200, 0, 0));
    save(sprite, "source_sprite");

    tile = SetupBuffer(kSprite, kSprite, 0);
    FillRect(tile, 0, 0, 16, 16, RGB(255, 64, 64));
    FillRect(tile, 16, 0, 32, 16, RGB(64, 255, 64));
    FillRect(tile, 0, 16, 16, 32, RGB(64, 64, 255));
    FillRect(tile, 16, 16, 32, 32, RGB(255, 255, 255));
    Circle(tile, 16, 16, 10, RGB(0, 0, 0));
    char alpha_file[4096];
    snprintf(alpha_file, sizeof alpha_file, "%s/alpha_ramp.bmp", out_dir);
    write_alpha_ramp(alpha_file);
    LoadAlpha(tile, alpha_file);
    remove(alpha_file);
    save(tile, "source_tile");

    ramp = SetupBuffer(kWidth, kHeight, 0);
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) PutPixel(ramp, x, y, RGB(x * 255 / 95, y * 255 / 63, 96));
    save(ramp, "source_ramp");
}

static void pixels(void) {
    int32_t s = ground();
    for (int32_t i = 0; i < 12; ++i) PutPixel(s, 6 + i * 7, 10 + (i % 4) * 12, RGB(255, 255, 255));
    PutPixel(s, -1, 5, RGB(255, 0, 0)); /* outside: ignored */
    finish(s, "PutPixel");
    s = SetupBuffer(kWidth, kHeight, 0);
    Fill(s, RGB(0, 128, 96));
    finish(s, "Fill");
}

static void lines(void) {
    int32_t s = ground();
    Line(s, 4, 4, 91, 59, RGB(255, 255, 255));
    Line(s, 4, 59, 40, 10, RGB(255, 200, 0));
    Line(s, 60, 50, 120, 20, RGB(0, 200, 255)); /* runs off the right edge */
    finish(s, "Line");

    s = ground();
    MoveTo(s, 48, 6);
    LineTo(s, 88, 32, RGB(255, 200, 0));
    LineTo(s, 48, 58, RGB(0, 200, 255));
    LineTo(s, 8, 32, RGB(255, 255, 255));
    LineTo(s, 48, 6, RGB(255, 80, 80));
    finish(s, "LineTo");

    s = ground();
    HLine(s, 8, 87, 8, RGB(255, 255, 255));
    HLine(s, 40, 8, 24, RGB(255, 200, 0)); /* ends in either order */
    HLine(s, -20, 200, 40, RGB(0, 200, 255));
    HLine(s, 30, 30, 56, RGB(255, 80, 80)); /* one pixel */
    finish(s, "HLine");

    s = ground();
    VLine(s, 8, 55, 8, RGB(255, 255, 255));
    VLine(s, 40, 8, 24, RGB(255, 200, 0));
    VLine(s, -20, 200, 48, RGB(0, 200, 255));
    VLine(s, 30, 30, 72, RGB(255, 80, 80));
    finish(s, "VLine");

    s = ground();
    Rect(s, 8, 8, 39, 31, RGB(255, 255, 255));
    Rect(s, 87, 55, 48, 16, RGB(255, 200, 0)); /* corners in either order */
    Rect(s, 20, 40, 28, 40, RGB(0, 200, 255)); /* flat: one row */
    finish(s, "Rect");

    s = ground();
    FillRect(s, 8, 8, 40, 32, RGB(255, 255, 255)); /* 32 x 24 pixels */
    FillRect(s, 88, 56, 48, 16, RGB(255, 200, 0));
    FillRect(s, 70, -10, 110, 8, RGB(0, 200, 255));
    finish(s, "FillRect");
}

static void curves(void) {
    int32_t s = ground();
    Circle(s, 24, 32, 20, RGB(255, 255, 255));
    Circle(s, 64, 32, 5, RGB(255, 200, 0));
    Circle(s, 90, 50, 16, RGB(0, 200, 255)); /* clipped */
    finish(s, "Circle");

    s = ground();
    FillCircle(s, 24, 32, 20, RGB(255, 255, 255));
    FillCircle(s, 64, 32, 5, RGB(255, 200, 0));
    FillCircle(s, 90, 50, 16, RGB(0, 200, 255));
    finish(s, "FillCircle");

    s = ground();
    Ellipse(s, 30, 32, 26, 14, RGB(255, 255, 255));
    Ellipse(s, 64, 32, 5, 5, RGB(255, 200, 0));
    Ellipse(s, 84, 32, 8, 28, RGB(0, 200, 255));
    finish(s, "Ellipse");

    s = ground();
    FillEllipse(s, 30, 32, 26, 14, RGB(255, 255, 255));
    FillEllipse(s, 64, 32, 5, 5, RGB(255, 200, 0));
    FillEllipse(s, 84, 32, 8, 28, RGB(0, 200, 255));
    finish(s, "FillEllipse");

    s = ground();
    CubicBezierLine(s, 4, 56, 92, 56, 20, -20, 76, 100, 24, RGB(255, 255, 255));
    CubicBezierLine(s, 4, 8, 92, 8, 48, 60, 48, 60, 4, RGB(255, 200, 0));
    finish(s, "CubicBezierLine");
}

static void copies(void) {
    int32_t s = ground();
    CopyBuffer(sprite, s, 8, 16);
    CopyBuffer(sprite, s, 76, 40); /* overhangs the corner */
    finish(s, "CopyBuffer");

    s = ground();
    CopySprite(sprite, s, 8, 16, key);
    CopySprite(sprite, s, 76, 40, key);
    finish(s, "CopySprite");

    s = ground();
    CopyBit(sprite, s, 8, 8, 23, 23, 8, 24);  /* the middle 16 x 16 */
    CopyBit(sprite, s, 31, 31, 16, 0, 56, 8); /* corners in either order: the right half */
    finish(s, "CopyBit");

    s = ground();
    CopyBitSprite(sprite, s, 8, 8, 23, 23, 8, 24, key);
    CopyBitSprite(sprite, s, 31, 31, 16, 0, 56, 8, key);
    finish(s, "CopyBitSprite");

    s = ground();
    CopyScale(sprite, s, 4, 4, 52, 60);   /* 48 x 56 */
    CopyScale(sprite, s, 60, 20, 76, 36); /* halved */
    CopyScale(sprite, s, 80, 8, 112, 24); /* cropped on the right */
    finish(s, "CopyScale");

    s = ground();
    CopyScaleSprite(sprite, s, 4, 4, 52, 60, key);
    CopyScaleSprite(sprite, s, 60, 20, 76, 36, key);
    CopyScaleSprite(sprite, s, 80, 8, 112, 24, key);
    finish(s, "CopyScaleSprite");

    s = ground();
    CopyRotate(sprite, s, 24, 32, 1.0f, 30.0f);
    CopyRotate(sprite, s, 70, 32, 0.75f, -45.0f);
    finish(s, "CopyRotate");

    s = ground();
    CopyRotateSprite(sprite, s, 24, 32, 1.0f, 30.0f, key);
    CopyRotateSprite(sprite, s, 70, 32, 0.75f, -45.0f, key);
    finish(s, "CopyRotateSprite");
}

static TPolyVertex corner(float x, float y, float u, float v, uint32_t colour) {
    TPolyVertex p;
    memset(&p, 0, sizeof p);
    p.x = x;
    p.y = y;
    p.u = u;
    p.v = v;
    p.colour = colour;
    return p;
}

static void polygons(void) {
    TPolyVertex tri[3] = {corner(20, 4, 0, 0, RGB(255, 0, 0)), corner(40, 58, 0, 0, RGB(0, 255, 0)),
                          corner(2, 50, 0, 0, RGB(0, 0, 255))};
    TPolyVertex star[5] = {corner(70, 4, 0, 0, RGB(255, 255, 0)), corner(80, 58, 0, 0, RGB(0, 255, 255)),
                           corner(50, 22, 0, 0, RGB(255, 0, 255)), corner(92, 22, 0, 0, RGB(255, 255, 255)),
                           corner(58, 58, 0, 0, RGB(0, 0, 0))};
    int32_t s = ground();
    FlatPoly(s, tri, 2, 3, RGB(255, 200, 0));
    FlatPoly(s, star, 4, 5, RGB(0, 200, 255));
    finish(s, "FlatPoly");

    s = ground();
    GouraudPoly(s, tri, 2, 3);
    TPolyVertex quad[4] = {corner(50, 6, 0, 0, RGB(255, 255, 255)), corner(92, 10, 0, 0, RGB(255, 0, 0)),
                           corner(86, 58, 0, 0, RGB(0, 0, 0)), corner(54, 50, 0, 0, RGB(0, 0, 255))};
    GouraudPoly(s, quad, 3, 4);
    finish(s, "GouraudPoly");

    s = ground();
    ShadedRect(s, 4, 4, 60, 60, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255));
    ShadedRect(s, 68, 8, 92, 56, RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 200, 0), RGB(255, 200, 0));
    finish(s, "ShadedRect");

    /* The sprite mapped onto a quadrilateral, its corners as texture coordinates. */
    TPolyVertex face[4] = {corner(10, 6, 0, 0, 0), corner(56, 12, 32, 0, 0), corner(44, 58, 32, 32, 0),
                           corner(4, 46, 0, 32, 0)};
    TPolyVertex wide[4] = {corner(60, 8, 0, 0, 0), corner(92, 8, 64, 0, 0), corner(92, 56, 64, 64, 0),
                           corner(60, 56, 0, 64, 0)}; /* past the texture: its edge texels repeat */
    s = ground();
    TexturePoly(s, sprite, face, 3, 4);
    TexturePoly(s, sprite, wide, 3, 4);
    finish(s, "TexturePoly");

    s = ground();
    KeyTexturePoly(s, sprite, face, 3, 4, key);
    KeyTexturePoly(s, sprite, wide, 3, 4, key);
    finish(s, "KeyTexturePoly");
}

/* A blend of the tile onto the ramp: at (8, 16) whole, at (72, 40) overhanging the corner. */
typedef void (*Blend)(int32_t src, int32_t dst, int32_t x, int32_t y);

static void blend_picture(Blend blend, const char* name) {
    int32_t s = SetupBuffer(kWidth, kHeight, 0);
    CopyBuffer(ramp, s, 0, 0);
    blend(tile, s, 8, 16);
    blend(tile, s, 72, 40);
    finish(s, name);
}

static void blends(void) {
    blend_picture(CopyAdd, "CopyAdd");
    blend_picture(CopySub, "CopySub");
    blend_picture(CopyXor, "CopyXor");
    blend_picture(CopyAlphaMap, "CopyAlphaMap");
    blend_picture(CopyRedChannel, "CopyRedChannel");
    blend_picture(CopyGreenChannel, "CopyGreenChannel");
    blend_picture(CopyBlueChannel, "CopyBlueChannel");
    blend_picture(CopyAlphaChannel, "CopyAlphaChannel");

    int32_t s = SetupBuffer(kWidth, kHeight, 0);
    CopyBuffer(ramp, s, 0, 0);
    CopyAlpha(tile, s, 8, 16, 64);
    CopyAlpha(tile, s, 56, 16, 192);
    finish(s, "CopyAlpha");

    s = SetupBuffer(kWidth, kHeight, 0);
    CopyBuffer(ramp, s, 0, 0);
    CopyAlphaSprite(sprite, s, 8, 16, 128, key);
    CopyAlphaSprite(sprite, s, 56, 16, 255, key);
    finish(s, "CopyAlphaSprite");
}

/* The in-place filters on the sprite laid on the ramp; the transfer effects copy that to (8, 16) and (72, 40). */
static int32_t picture_for_effects(void) {
    int32_t s = SetupBuffer(kWidth, kHeight, 0);
    CopyBuffer(ramp, s, 0, 0);
    CopySprite(sprite, s, 8, 16, key);
    CopySprite(sprite, s, 56, 16, key);
    return s;
}

static void effects(void) {
    int32_t s = picture_for_effects();
    Blur2x(s);
    finish(s, "Blur2x");
    s = picture_for_effects();
    Negative(s);
    finish(s, "Negative");
    s = picture_for_effects();
    Greyscale(s);
    finish(s, "Greyscale");

    blend_picture(CopyBlur, "CopyBlur");
    blend_picture(CopyDissolve, "CopyDissolve");
    blend_picture(CopyNegative, "CopyNegative");
    blend_picture(CopyGreyscale, "CopyGreyscale");
}

static void text(void) {
    int32_t s = ground();
    PutStr(s, 4, 4, "Hello, VXL!", RGB(255, 255, 255));
    /* UTF-8 (u with diaeresis, sharp s, Greek omega, Cyrillic zhe), then a lone Windows-1252 byte. */
    PutStr(s, 4, 22, "Gr\xc3\xbc\xc3\x9f\x65 \xce\xa9\xd0\x96 \xe9", RGB(255, 200, 0));
    PutStr(s, 50, 44, "cut at the edge", RGB(0, 200, 255));
    finish(s, "PutStr");

    /* The measured cell outlined, and a second text continuing the first at x + width. */
    s = ground();
    int32_t w = 0, h = 0;
    VxlTextSize("Size", &w, &h);
    PutStr(s, 4, 6, "Size", RGB(255, 255, 255));
    Rect(s, 4, 6, 4 + w - 1, 6 + h - 1, RGB(255, 80, 80));
    PutStr(s, 4 + w, 6, "d up", RGB(255, 200, 0));
    VxlSetFont("DejaVu Serif", 24);
    VxlTextSize("Wide", &w, &h);
    PutStr(s, 4, 28, "Wide", RGB(0, 200, 255));
    Rect(s, 4, 28, 4 + w - 1, 28 + h - 1, RGB(255, 80, 80));
    VxlSetFont(NULL, 0);
    finish(s, "VxlTextSize");

    s = ground();
    VxlSetFont("DejaVu Serif", 20);
    PutStr(s, 2, 0, "Serif 20", RGB(255, 255, 255));
    VxlSetFont("DejaVu Sans:bold", 0);
    PutStr(s, 2, 24, "Sans bold", RGB(255, 200, 0));
    VxlSetFont("DejaVu Sans Mono", 10);
    PutStr(s, 2, 46, "Mono 10 pixels", RGB(0, 200, 255));
    VxlSetFont(NULL, 0); /* back to the default for what follows */
    finish(s, "VxlSetFont");
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    out_dir = argv[1];
    /* Headless and at 32 bits wherever it runs, so that the pictures do not depend on the desktop. */
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!InitVexelWindow(kWidth * kZoom, kHeight * kZoom, 32, 0, "VXL reference pictures")) return 1;
    if (GlobalBpp() != 32) {
        fprintf(stderr, "the display has %d bits, not 32\n", GlobalBpp());
        return 1;
    }
    make_sources();
    pixels();
    lines();
    curves();
    copies();
    polygons();
    blends();
    effects();
    text();
    CloseBuffer(ramp);
    CloseBuffer(tile);
    CloseBuffer(sprite);
    CloseVexel();
    return 0;
}

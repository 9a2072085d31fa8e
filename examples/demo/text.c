/* Text and pictures: at start the scene paints three small pictures, saves them as BMP, PNG and JPEG
 * files with SaveTGA and loads them back with SetupImageBuffer; every frame it shows them with their
 * captions, the frame rate and a line of text that runs off both edges. */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "scenes.h"
#include "vxl.h"

enum { kPictures = 3, kTileW = 96, kTileH = 72 };

static const char* const kKinds[kPictures] = {"bmp", "png", "jpg"};
static char folder[64];
static char paths[kPictures][96];
static int32_t pictures[kPictures] = {-1, -1, -1};
static int32_t sizes[kPictures][2];
static int width = 0, height = 0;
static double started = 0;

static double Seconds(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* A caption in white with a dark shadow, readable on any background. */
static void Caption(int32_t canvas, int x, int y, const char* text) {
    PutStr(canvas, x + 1, y + 1, text, RGB(0, 0, 0));
    PutStr(canvas, x, y, text, RGB(255, 255, 255));
}

static void Start(int w, int h) {
    width = w;
    height = h;
    started = Seconds();
    snprintf(folder, sizeof folder, "/tmp/vxl-demo-XXXXXX");
    if (!mkdtemp(folder)) return;
    /* One painting, written in three formats: rings on a gradient, and a word drawn into it. */
    const int32_t tile = SetupBuffer(kTileW, kTileH, 0);
    for (int y = 0; y < kTileH; ++y) {
        for (int x = 0; x < kTileW; ++x) {
            const int dx = x - kTileW / 2, dy = y - kTileH / 2, ring = (dx * dx + dy * dy) / 90 % 2;
            PutPixel(tile, x, y, ring ? RGB(x * 2 + 60, 200 - y * 2, 90) : RGB(30, 40, 70 + y * 2));
        }
    }
    PutStr(tile, 8, 4, "VXL", RGB(255, 240, 0));
    for (int i = 0; i < kPictures; ++i) {
        snprintf(paths[i], sizeof paths[i], "%s/tile.%s", folder, kKinds[i]);
        SaveTGA(tile, paths[i]);
        pictures[i] = SetupImageBuffer(paths[i], 0);
        GetImageSize(paths[i], &sizes[i][0], &sizes[i][1]);
    }
    CloseBuffer(tile);
}

static void Frame(int frame, int32_t canvas) {
    char line[96];
    for (int i = 0; i < kPictures; ++i) {
        if (pictures[i] < 0) continue;
        const int x = 24 + i * (kTileW + 24), y = height - kTileH - 40;
        CopyBuffer(pictures[i], canvas, x, y);
        snprintf(line, sizeof line, "%s %dx%d", kKinds[i], (int)sizes[i][0], (int)sizes[i][1]);
        Caption(canvas, x, y + kTileH + 4, line);
    }
    const double elapsed = Seconds() - started;
    snprintf(line, sizeof line, "frame %d  %.1f frames per second", frame, elapsed > 0 ? (frame + 1) / elapsed : 0.0);
    Caption(canvas, 8, 8, line);
    /* A line that runs in from the right and out at the left: the text is cut at the edges. */
    const int run = width + 400;
    Caption(canvas, width - (frame * 4) % run, 28, "Pictures and text, drawn by VXL into the canvas");
}

static void Stop(void) {
    for (int i = 0; i < kPictures; ++i) {
        if (pictures[i] >= 0) CloseBuffer(pictures[i]);
        if (paths[i][0]) unlink(paths[i]);
    }
    if (folder[0]) rmdir(folder);
}

const DemoScene kTextScene = {"text", Start, Frame, Stop};

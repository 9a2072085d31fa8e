/* A host in plain C, which cannot catch C++ exceptions, in error mode 1: every kind of failure returns
 * the call's failure value with its text, windowed and full screen, and the process carries on. A
 * full-screen failure in error mode 0 still ends the process with exit code 1 (tried in a child). */
#include <SDL.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vxl.h>

static int failed;
#define CHECK(ok, ...) \
    ((ok) ? (void)0    \
          : (void)(failed = 1, fprintf(stderr, "FAILED: "), fprintf(stderr, __VA_ARGS__), fputc('\n', stderr)))

static uint32_t window;

static const char* ErrorLog(void) {
    static char text[512];
    FILE* f = fopen("VXL_ERR.txt", "rb");
    size_t n = f ? fread(text, 1, sizeof text - 1, f) : 0;
    if (f) fclose(f);
    text[n] = 0;
    return text;
}

/* Each row's call fails once its set-up has run; `failure` is that call's result when it fails (0
 * for calls that answer nothing); failures of the picture and file classes write no log line. */
static const struct {
    const char* name;
    const char* file; /* the picture the call reads or writes */
    int32_t failure;
    const char* text;
    int logged;
} kFailures[] = {
    {"SetupBuffer without a display", "", -1, "[TBufferVx]Create -> No display open...", 1},
    {"SetupBuffer of width 0", "", -1,
     "[TBufferVx]CreateSurface -> One or more of the parameters passed to the function are incorrect.", 1},
    {"SetupImageBuffer of a missing file", "missing.png", -1, "Cannot open file missing.png", 0},
    {"SetupImageBuffer of words", "words.png", -1, "[TBufferVx]LoadStreamImage -> Stream Image format not supported...",
     1},
    {"LoadAlpha of a 24-bit picture", "colour.bmp", 0,
     "[TBufferVx]LoadStreamAlpha -> Invalid alpha image, must be 8bit...", 1},
    {"GetImageSize of a missing file", "missing.bmp", 0, "[TVexel]GetImageInfo -> File missing.bmp not found...", 1},
    {"SaveTGA as TGA", "picture.tga", 0, "[TBufferVx]SaveImage -> Format not supported for saving...", 1},
    {"SaveTGA into a missing folder", "no/such/folder.bmp", 0, "Cannot create file no/such/folder.bmp", 0},
    {"InitVexel in a mode not listed", "", 0, "[TFullVexel]Create -> Selected display mode not supported...", 1},
    {"InitVexelWindow in a mode not listed", "", 0, "[TSelfFullVexel]Create -> Selected display mode not supported...",
     1},
};

static int32_t MakeFailure(size_t row) {
    const char* file = kFailures[row].file;
    int32_t w = 7, h = 7;
    switch (row) {
        case 0:
            CloseVexel();
            return SetupBuffer(8, 8, 0);
        case 1:
            return SetupBuffer(0, 8, 0);
        case 2:
        case 3:
            return SetupImageBuffer(file, 0);
        case 4:
            h = SetupBuffer(4, 4, 0);
            SaveTGA(h, file);
            LoadAlpha(h, file);
            CHECK(BufferSizeX(h) == 0, "the buffer whose alpha failed is gone");
            return 0;
        case 5:
            GetImageSize(file, &w, &h);
            return w == 7 && h == 7 ? 0 : 1;
        case 6:
        case 7:
            SaveTGA(SetupBuffer(4, 4, 0), file);
            return 0;
        case 8:
            InitVexel(window, 800, 601, 32, 1);
            return 0;
        default:
            return (int32_t)InitVexelWindow(800, 601, 32, 1, "x");
    }
}

/* In a child: error mode 1 and back to 0, then a full-screen failure ends the process. */
static void FullScreenFailureInModeZero(void) {
    SDL_Window* w = SDL_CreateWindow("child", 0, 0, 64, 64, 0);
    window = SDL_GetWindowID(w);
    InitVexel(window, 640, 480, 16, 1);
    VxlSetErrorMode(1);
    SaveTGA(SetupBuffer(4, 4, 0), "first.tga");
    VxlSetErrorMode(0);
    SaveTGA(SetupBuffer(4, 4, 0), "second.tga");
    _exit(0); /* not reached when mode 0 still ends the process */
}

int main(void) {
    char folder[] = "/tmp/vxl_c_host_XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return 2;
    FILE* words = fopen("words.png", "wb");
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !words || fputs("no picture at all", words) < 0 || fclose(words) != 0)
        return 2;

    const pid_t child = fork();
    if (child == 0) FullScreenFailureInModeZero();
    int status = 0;
    waitpid(child, &status, 0);
    CHECK(WIFEXITED(status) && WEXITSTATUS(status) == 1, "full screen in mode 0: status %d", status);
    CHECK(strcmp(ErrorLog(), "[TBufferVx]SaveImage -> Format not supported for saving...\r\n") == 0,
          "full screen in mode 0: log \"%s\"", ErrorLog());

    /* Every failure as a value, windowed and full screen, and the library works on afterwards. */
    SDL_Window* w = SDL_CreateWindow("host", 0, 0, 64, 64, 0);
    window = SDL_GetWindowID(w);
    VxlSetErrorMode(1);
    VxlSetErrorMode(2); /* not a mode: ignored */
    for (int full = 0; full <= 1; ++full) {
        for (size_t i = 0; i < sizeof kFailures / sizeof kFailures[0]; ++i) {
            char row[128];
            snprintf(row, sizeof row, "%s (%s)", kFailures[i].name, full ? "full screen" : "windowed");
            InitVexel(window, 640, 480, full ? 16 : 0, full);
            remove("VXL_ERR.txt");
            VxlClearError();
            CHECK(strcmp(VxlLastError(), "") == 0, "%s: no failure after VxlClearError", row);

            const int32_t result = MakeFailure(i);
            CHECK(result == kFailures[i].failure, "%s: answered %d", row, (int)result);
            CHECK(strcmp(VxlLastError(), kFailures[i].text) == 0, "%s: last error \"%s\"", row, VxlLastError());
            char line[512] = "";
            if (kFailures[i].logged) snprintf(line, sizeof line, "%s\r\n", kFailures[i].text);
            CHECK(strcmp(ErrorLog(), line) == 0, "%s: log \"%s\"", row, ErrorLog());
            const int desktop = !(SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP);
            CHECK(desktop || !kFailures[i].logged, "%s: the desktop is back", row);

            InitVexel(window, 64, 48, 0, 0); /* the library still opens displays and draws */
            const int32_t h = SetupBuffer(4, 4, 0);
            PutPixel(h, 1, 1, RGB(255, 0, 0));
            CHECK(h >= 0 && GetPixel(h, 1, 1) == RGB(255, 0, 0), "%s: the library works on afterwards", row);
            CloseBuffer(h);
        }
    }
    CloseVexel();
    SDL_DestroyWindow(w);
    SDL_Quit();

    char clean[64];
    snprintf(clean, sizeof clean, "rm -rf %s", folder);
    if (chdir("/") == 0 && system(clean) != 0) return 2;
    printf("error mode from C: %s\n", failed ? "FAILED" : "ok");
    return failed;
}

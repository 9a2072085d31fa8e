/* The reference's pictures are what the library draws now: runs the picture program into a fresh
 * folder and compares it with the committed one, picture by picture and pixel by pixel (decoded, so
 * that a different but equal PNG encoding does not count). A picture missing on either side fails.
 *
 *     vxl_pictures_current PICTURE_PROGRAM COMMITTED_FOLDER WORK_FOLDER */
#define _POSIX_C_SOURCE 200809L
#include <dirent.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Calls `each` on every PNG file's name in `folder`; answers the sum of its answers, or -1 when there
 * are no pictures at all. */
static int each_picture(const char* folder, int (*each)(const char*, const char*, const char*), const char* other) {
    DIR* dir = opendir(folder);
    int count = 0, sum = 0;
    for (struct dirent* e; dir != NULL && (e = readdir(dir)) != NULL;) {
        size_t n = strlen(e->d_name);
        if (n > 4 && strcmp(e->d_name + n - 4, ".png") == 0) {
            sum += each(folder, other, e->d_name);
            ++count;
        }
    }
    if (dir != NULL) closedir(dir);
    return count > 0 ? sum : -1;
}

/* Decodes folder/name to 8-bit RGB; NULL if it cannot be read. */
static unsigned char* decode(const char* folder, const char* name, png_image* image) {
    char path[4096];
    snprintf(path, sizeof path, "%s/%s", folder, name);
    memset(image, 0, sizeof *image);
    image->version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(image, path)) return NULL;
    image->format = PNG_FORMAT_RGB;
    unsigned char* rgb = malloc(PNG_IMAGE_SIZE(*image));
    if (rgb == NULL || !png_image_finish_read(image, NULL, rgb, 0, NULL)) {
        free(rgb);
        return NULL;
    }
    return rgb;
}

/* 1 where `name` differs between the folders or is missing from `now`. */
static int differs(const char* committed, const char* now, const char* name) {
    png_image a, b;
    unsigned char* old_rgb = decode(committed, name, &a);
    unsigned char* new_rgb = decode(now, name, &b);
    int same = 0;
    if (old_rgb == NULL || new_rgb == NULL) {
        printf("%s: cannot be read (or no longer drawn)\n", name);
    } else if (a.width != b.width || a.height != b.height) {
        printf("%s: committed %ux%u, drawn now %ux%u\n", name, a.width, a.height, b.width, b.height);
    } else {
        same = 1;
        for (size_t i = 0; i < (size_t)a.width * a.height * 3 && same; ++i) {
            if (old_rgb[i] != new_rgb[i]) {
                size_t pixel = i / 3;
                printf("%s: differs first at (%zu, %zu)\n", name, pixel % a.width, pixel / a.width);
                same = 0;
            }
        }
    }
    free(old_rgb);
    free(new_rgb);
    return !same;
}

/* 1 where a picture drawn now is not committed. */
static int extra(const char* now, const char* committed, const char* name) {
    (void)now;
    char path[4096];
    snprintf(path, sizeof path, "%s/%s", committed, name);
    FILE* f = fopen(path, "rb");
    if (f != NULL) {
        fclose(f);
        return 0;
    }
    printf("%s: drawn but not committed (run `make docs`)\n", name);
    return 1;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s PICTURE_PROGRAM COMMITTED_FOLDER WORK_FOLDER\n", argv[0]);
        return 2;
    }
    const char *program = argv[1], *committed = argv[2], *now = argv[3];
    char command[8192];
    snprintf(command, sizeof command, "rm -rf '%s' && mkdir -p '%s' && '%s' '%s'", now, now, program, now);
    if (system(command) != 0) {
        printf("the picture program failed: %s\n", command);
        return 1;
    }
    const int different = each_picture(committed, differs, now), extras = each_picture(now, extra, committed);
    if (different < 0 || extras < 0) {
        printf("no pictures: committed or drawn now\n");
        return 1;
    }
    const int failures = different + extras;
    printf("%d pictures missing, extra or different\n", failures);
    return failures == 0 ? 0 : 1;
}

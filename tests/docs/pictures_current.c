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

enum { kMaxPictures = 256, kMaxName = 256 };

typedef char Name[kMaxName];

static int by_name(const void* a, const void* b) {
    return strcmp((const char*)a, (const char*)b);
}

/* The sorted names of the PNG files in `folder`; their count, or -1 if the folder cannot be read. */
static int list_pictures(const char* folder, Name* names) {
    DIR* dir = opendir(folder);
    if (dir == NULL) return -1;
    int count = 0;
    for (struct dirent* e; (e = readdir(dir)) != NULL && count < kMaxPictures;) {
        size_t n = strlen(e->d_name);
        if (n > 4 && n < kMaxName && strcmp(e->d_name + n - 4, ".png") == 0) memcpy(names[count++], e->d_name, n + 1);
    }
    closedir(dir);
    qsort(names, (size_t)count, sizeof *names, by_name);
    return count;
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

static int same_picture(const char* committed, const char* now, const char* name) {
    png_image a, b;
    unsigned char* old_rgb = decode(committed, name, &a);
    unsigned char* new_rgb = decode(now, name, &b);
    int same = 0;
    if (old_rgb == NULL || new_rgb == NULL) {
        printf("%s: cannot be read\n", name);
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
    return same;
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
    static Name old_names[kMaxPictures], new_names[kMaxPictures];
    int old_count = list_pictures(committed, old_names), new_count = list_pictures(now, new_names);
    if (old_count <= 0 || new_count <= 0) {
        printf("no pictures: %d committed, %d drawn now\n", old_count, new_count);
        return 1;
    }
    int failures = 0, i = 0, j = 0;
    while (i < old_count || j < new_count) {
        int order = i == old_count ? 1 : j == new_count ? -1 : strcmp(old_names[i], new_names[j]);
        if (order < 0) {
            printf("%s: committed but no longer drawn\n", old_names[i++]);
            ++failures;
        } else if (order > 0) {
            printf("%s: drawn but not committed (run `make docs`)\n", new_names[j++]);
            ++failures;
        } else {
            failures += !same_picture(committed, now, old_names[i]);
            ++i;
            ++j;
        }
    }
    printf("%d pictures missing, extra or different (%d committed)\n", failures, old_count);
    return failures == 0 ? 0 : 1;
}

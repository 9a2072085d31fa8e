/* The demo's scenes. Each feature family shows itself in a scene file of its own; main.c calls every
 * scene of the table once at start, once per frame and once at the end, in table order. Every frame
 * the scenes draw into `canvas`, a buffer of the display's size that main.c shows at the frame's end. */
#ifndef VXL_DEMO_SCENES_H
#define VXL_DEMO_SCENES_H

#include <stdint.h>

typedef struct DemoScene {
    const char* name;
    void (*start)(int width, int height);
    void (*frame)(int frame, int32_t canvas);
    void (*stop)(void);
} DemoScene;

extern const DemoScene kPolygonsScene;   /* polygons.c */
extern const DemoScene kShapesScene;     /* shapes.c */
extern const DemoScene kSpritesScene;    /* sprites.c */
extern const DemoScene kBlendScene;      /* blend.c */
extern const DemoScene kInputScene;      /* input.c */
extern const DemoScene kTextScene;       /* text.c */
extern const DemoScene kExtensionsScene; /* extensions.c */

#endif

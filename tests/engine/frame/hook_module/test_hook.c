/* A tiny video hook module for the engine's hook list tests.
 * Arguments: numbers set the value written over the first plane, "fail" makes Configure refuse
 * (after allocating its context, which Release must then free).
 * Built three times: complete, without Process (NO_PROCESS), without Configure (NO_CONFIGURE). */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    uint8_t *data[4];
    int linesize[4];
} HookPicture;

typedef struct {
    int fill;
} HookContext;

static int released;
static int64_t last_pts = -1;
static int last_pix_fmt = -1;

int ReleasedCount(void) { return released; }
int64_t LastPts(void) { return last_pts; }
int LastPixFmt(void) { return last_pix_fmt; }

#ifndef NO_CONFIGURE
int Configure(void **ctxp, int argc, char *argv[])
{
    HookContext *ctx = calloc(1, sizeof *ctx);
    if (!ctx)
        return 1;
    *ctxp = ctx;
    ctx->fill = 1;
    if (argv[argc] != NULL)
        return 2; /* the vector must end with a null pointer */
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "fail") == 0)
            return 3;
        ctx->fill = atoi(argv[i]);
    }
    return 0;
}
#endif

#ifndef NO_PROCESS
void Process(void *ctx, HookPicture *picture, int pix_fmt, int width, int height, int64_t pts)
{
    const int fill = ctx ? ((HookContext *)ctx)->fill : 7;
    for (int y = 0; y < height; ++y)
        memset(picture->data[0] + (size_t)y * picture->linesize[0], fill, (size_t)width);
    last_pts = pts;
    last_pix_fmt = pix_fmt;
}
#endif

void Release(void *ctx)
{
    free(ctx);
    ++released;
}

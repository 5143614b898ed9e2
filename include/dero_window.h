/* Window handles and numbered window messages shared by the program and its libraries.
 *
 * A library never sees a widget. It gets a DeroWindowHandle and posts (message, wParam, lParam)
 * through it from any thread; the program delivers the message on its user-interface thread to
 * the window's message map under the same number, in the order posted.
 */
#ifndef DERO_WINDOW_H
#define DERO_WINDOW_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DERO_WM_USER 1024

#define WM_PLAYER_HOOK (DERO_WM_USER + 130)    /* 1154: register the preview event function */
#define WM_PLAYER_IGNORED (DERO_WM_USER + 131) /* 1155 */
#define WM_PREVIEW_CLIP (DERO_WM_USER + 132)   /* 1156: preview the chosen clip */
#define WM_CLIP_SELECTED (DERO_WM_USER + 133)  /* 1157: wParam is the clip item or 0 */
#define WM_PLAYER_EVENT (DERO_WM_USER + 134)   /* 1158: wParam code 0..4, lParam a value */
#define WM_RANGE_MARKER (DERO_WM_USER + 135)   /* 1159: wParam 1 start marker, 0 end marker */
#define WM_CONVERT_NEXT (DERO_WM_USER + 188)   /* 1212: a clip's conversion ended */

typedef struct DeroWindowHandle DeroWindowHandle;

struct DeroWindowHandle {
    /* Opaque to libraries: the program's object behind the handle. */
    void* owner;
    /* Queues a message for the window. Safe from any thread; never blocks on the UI thread. */
    void (*post)(void* owner, uint32_t message, uintptr_t wParam, intptr_t lParam);
    /* Preview panels only (null elsewhere): hands over one frame of 32-bit pixels laid out as
     * 0xffRRGGBB words (little-endian "bgr0"); the program copies it before returning. Safe from
     * any thread. */
    void (*present)(void* owner, const void* pixels, int width, int height, size_t stride);
    /* Preview panels only: the panel's current size in pixels. Safe from any thread. */
    void (*size)(void* owner, int* width, int* height);
};

/* Frame rules of a preview panel, binding on both sides of present and size:
 *   Rate: a library presents each new picture once, at the video's own rate, paced by the
 *     pictures' display times; a redraw (a new panel, a paused file moved) adds a single frame.
 *     It never presents faster than the video runs, so a panel need not throttle.
 *   Newest wins: a panel keeps at most one frame waiting for its window system. A frame that
 *     arrives while another still waits replaces it; the replaced one is never shown. So a
 *     slow window system drops pictures instead of falling behind the sound.
 *   Size from a cache: size is asked once for every frame, on the library's render thread. The
 *     panel answers from a copy it keeps up to date when it is resized (never by asking its
 *     window system or waiting for its user-interface thread), so a render never waits on the
 *     user-interface thread. A frame rendered just before a resize may arrive at the old size;
 *     the panel scales it.
 */

static inline void DeroPostMessage(const DeroWindowHandle* window, uint32_t message,
                                   uintptr_t wParam, intptr_t lParam) {
    if (window && window->post) {
        window->post(window->owner, message, wParam, lParam);
    }
}

#ifdef __cplusplus
}
#endif

#endif /* DERO_WINDOW_H */

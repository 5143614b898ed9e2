/* The player library (libPlayFile.so): preview playback into a panel of the program.
 *
 * The program links the library at build time and calls its entries by these names. Each entry
 * is declared once, through its function type, so the library's definitions and every binder
 * are checked against the same declaration. C linkage; texts are NUL-terminated UTF-8.
 *
 * Threads
 *   The program calls every entry from one thread (its user-interface thread); no entry is
 *   re-entrant. No entry waits for media work: commands are queued to the player and their
 *   outcome arrives later as a notification. Only PlayerClose waits, for the library's threads
 *   to end.
 *   The library runs threads of its own while a player exists (between a successful PlayerInit
 *   and PlayerClose): an event thread, a render thread and the media engine's threads. The
 *   messages below are posted, the event function is called and frames are presented from those
 *   threads, never from the caller's thread.
 *
 * Messages posted to the window given to PlayerInit (wParam is the code, lParam the value)
 *   WM_PLAYER_HOOK  (1154)  posted once each time PlayerInit starts a player: the program is to
 *                           register its event function with PlayerSetCallback.
 *   WM_PLAYER_EVENT (1158), codes named below
 *     PLAYER_EVENT_OPENING, value 0
 *                           a file begins to open. Nothing to do.
 *     PLAYER_EVENT_LOADED, value = a pointer to a DeroPlayerFileInfo
 *                           the file is open, paused on its first frame, and can play. The
 *                           record lies in the library's static storage, so reading it late is
 *                           never unsafe; it describes the file until the next PlayerOpenFile.
 *     PLAYER_EVENT_RUNNING, value >= 0
 *                           playback runs (after PlayerPlay); the value is the position in
 *                           milliseconds. Start polling PlayerGetPosition.
 *     PLAYER_EVENT_RUNNING, value PLAYER_VALUE_GONE
 *                           the end of the file was reached; nothing is open any more.
 *     PLAYER_EVENT_PAUSED, value 0
 *                           playback paused (PlayerPause, or a pause asked before a seek).
 *                           Polling may stop; the file stays open.
 *     PLAYER_EVENT_SEEK, value >= 0
 *                           a seek has landed; the value is the new position in milliseconds.
 *                           Nothing to do.
 *     PLAYER_EVENT_SEEK, value PLAYER_VALUE_GONE
 *                           the file cannot be opened or played; nothing is open any more.
 *   A file that ends because of PlayerStop, PlayerClose or the next PlayerOpenFile sends nothing.
 *
 * The event function given to PlayerSetCallback is called (code, value1, value2)
 *   (PLAYER_CALL_END, 0, 0) at the end of the file (beside PLAYER_EVENT_RUNNING with
 *                           PLAYER_VALUE_GONE);
 *   (PLAYER_CALL_ERROR, error, 0)
 *                           when a file cannot be opened or played (beside PLAYER_EVENT_SEEK
 *                           with PLAYER_VALUE_GONE); the error is the media engine's negative
 *                           error number.
 *   (PLAYER_CALL_SILENT, 0, 0)
 *                           when a file's sound found no audio device and goes to the silent
 *                           output instead: the file plays on without sound. Once for each
 *                           time the sound output is set up silent after it was not (at the
 *                           player's first file with sound, as a rule).
 *
 * Seeking
 *   PlayerSeek always ends on the exact frame at the asked time. A seek asked while another is
 *   still under way replaces any waiting one and goes first to the nearest keyframe, which is
 *   fast; once no newer seek is waiting, the exact frame follows. So dragging a position thumb
 *   shows keyframes live and the place where the drag rests shows exactly.
 *
 * Pictures
 *   Frames are rendered at the panel's current size and handed to its present function as
 *   0xffRRGGBB words, under the frame rules of dero_window.h. With the keep-aspect
 *   flag the picture keeps its display aspect (sample aspect and rotation applied) and is
 *   letter-boxed in black; without it the picture fills the panel. Rotated files show upright.
 *   No hardware decoding. Sound goes to the desktop's audio output; without an audio device
 *   the file plays silently.
 */
#ifndef DERO_PLAYER_H
#define DERO_PLAYER_H

#include <stdint.h>

#include "dero_window.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(DERO_PLAYER_BUILD)
#define DERO_PLAYER_API __attribute__((visibility("default")))
#else
#define DERO_PLAYER_API
#endif

/* WM_PLAYER_EVENT codes (wParam). The numbers are fixed: they are what the messages carry. */
#define PLAYER_EVENT_OPENING 0
#define PLAYER_EVENT_RUNNING 1
#define PLAYER_EVENT_SEEK 2
#define PLAYER_EVENT_LOADED 3
#define PLAYER_EVENT_PAUSED 4
/* The value of PLAYER_EVENT_RUNNING and PLAYER_EVENT_SEEK once nothing is open any more. */
#define PLAYER_VALUE_GONE (-1)

/* The event function's codes (its first argument). */
#define PLAYER_CALL_END 1
#define PLAYER_CALL_ERROR 3
#define PLAYER_CALL_SILENT 4

/* The record of WM_PLAYER_EVENT PLAYER_EVENT_LOADED. Layout fixed:
 *   offset  0  Duration  double  seconds; 0 when the file does not tell
 *   offset  8  Seekable  uint8   nonzero when the position may be moved
 *   size 16 */
typedef struct DeroPlayerFileInfo {
    double Duration;
    uint8_t Seekable;
    uint8_t Reserved[7];
} DeroPlayerFileInfo;

/* The program's event function; see above. Called from the library's event thread. */
typedef void DeroPlayerEventFunction(int32_t code, int32_t value1, int32_t value2);

/* Each entry is declared once, as the encoder's are: its function type (..._fn), the pointer
 * type binders hold (..._t), and the entry itself. Flags come back as 1 (true) or 0 (false). */

/* Starts the player if none runs (a media engine, the event and render threads) and makes
 * window the receiver of the messages above; window must stay valid until PlayerClose. A
 * running player only takes the new window. False when window is null or the engine cannot
 * start. */
typedef int32_t PlayerInit_fn(DeroWindowHandle* window);
/* Opens path, replacing what is open; reserved must be 0. Success is reported by code 3,
 * failure by code 2 with -1. False only when no player runs or path is null. */
typedef int32_t PlayerOpenFile_fn(const char* path, int32_t reserved);
/* Plays (or resumes) the open file at speed times the normal rate (1.0 normally; values of 0
 * or below count as 1.0). True when a file is open or opening; false when nothing is open, as
 * after PlayerStop or at the end of a file. */
typedef int32_t PlayerPlay_fn(double speed);
/* Ends playback and releases the open file; the player keeps running. Always 1. */
typedef int32_t PlayerStop_fn(void);
/* Ends playback and the player: every thread of the library has ended when it returns, and no
 * message, call or frame follows. Harmless when nothing runs. Always 1. */
typedef int32_t PlayerClose_fn(void);
/* Pauses the open file. False when nothing is open. */
typedef int32_t PlayerPause_fn(void);
/* Makes panel the receiver of the frames (null: none) and sets the keep-aspect flag (its low
 * byte); reserved must be 0. The flag applies at once, open file or not, and to later files.
 * After it returns the previous panel is never called again. The panel must stay valid until
 * the next PlayerSetVideoWindow or PlayerClose. Always 1. */
typedef int32_t PlayerSetVideoWindow_fn(DeroWindowHandle* panel, int32_t reserved,
                                        int32_t keepAspect);
/* Moves the open file to seconds (see Seeking). False when nothing open can seek. */
typedef int32_t PlayerSeek_fn(double seconds);
/* Writes the duration, the position in seconds and the position in percent of the duration
 * (0 to 100) of the open file. False, and nothing written, when nothing is open or the
 * position is not known yet. Any pointer may be null. */
typedef int32_t PlayerGetPosition_fn(double* duration, double* seconds, double* percent);
/* Sets the event function (null: none). Always 1. */
typedef int32_t PlayerSetCallback_fn(DeroPlayerEventFunction* function);

typedef PlayerInit_fn* PlayerInit_t;
typedef PlayerOpenFile_fn* PlayerOpenFile_t;
typedef PlayerPlay_fn* PlayerPlay_t;
typedef PlayerStop_fn* PlayerStop_t;
typedef PlayerClose_fn* PlayerClose_t;
typedef PlayerPause_fn* PlayerPause_t;
typedef PlayerSetVideoWindow_fn* PlayerSetVideoWindow_t;
typedef PlayerSeek_fn* PlayerSeek_t;
typedef PlayerGetPosition_fn* PlayerGetPosition_t;
typedef PlayerSetCallback_fn* PlayerSetCallback_t;

DERO_PLAYER_API PlayerInit_fn PlayerInit;
DERO_PLAYER_API PlayerOpenFile_fn PlayerOpenFile;
DERO_PLAYER_API PlayerPlay_fn PlayerPlay;
DERO_PLAYER_API PlayerStop_fn PlayerStop;
DERO_PLAYER_API PlayerClose_fn PlayerClose;
DERO_PLAYER_API PlayerPause_fn PlayerPause;
DERO_PLAYER_API PlayerSetVideoWindow_fn PlayerSetVideoWindow;
DERO_PLAYER_API PlayerSeek_fn PlayerSeek;
DERO_PLAYER_API PlayerGetPosition_fn PlayerGetPosition;
DERO_PLAYER_API PlayerSetCallback_fn PlayerSetCallback;

/* The entries as a table, for binders that hold them by pointer (X is given the function type and
 * the name). */
#define DERO_PLAYER_ENTRIES(X)                       \
    X(PlayerInit_fn, PlayerInit)                     \
    X(PlayerOpenFile_fn, PlayerOpenFile)             \
    X(PlayerPlay_fn, PlayerPlay)                     \
    X(PlayerStop_fn, PlayerStop)                     \
    X(PlayerClose_fn, PlayerClose)                   \
    X(PlayerPause_fn, PlayerPause)                   \
    X(PlayerSetVideoWindow_fn, PlayerSetVideoWindow) \
    X(PlayerSeek_fn, PlayerSeek)                     \
    X(PlayerGetPosition_fn, PlayerGetPosition)       \
    X(PlayerSetCallback_fn, PlayerSetCallback)

#ifdef __cplusplus
}
#endif

#endif /* DERO_PLAYER_H */

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
 *   WM_PLAYER_EVENT (1158)
 *     code 0, value 0       a file begins to open. Nothing to do.
 *     code 3, value = a pointer to a DeroPlayerFileInfo
 *                           the file is open, paused on its first frame, and can play. The
 *                           record lies in the library's static storage, so reading it late is
 *                           never unsafe; it describes the file until the next PlayerOpenFile.
 *     code 1, value >= 0    playback runs (after PlayerPlay); the value is the position in
 *                           milliseconds. Start polling PlayerGetPosition.
 *     code 1, value -1      the end of the file was reached; nothing is open any more.
 *     code 4, value 0       playback paused (PlayerPause, or a pause asked before a seek).
 *                           Polling may stop; the file stays open.
 *     code 2, value >= 0    a seek has landed; the value is the new position in milliseconds.
 *                           Nothing to do.
 *     code 2, value -1      the file cannot be opened or played; nothing is open any more.
 *   A file that ends because of PlayerStop, PlayerClose or the next PlayerOpenFile sends nothing.
 *
 * The event function given to PlayerSetCallback is called (code, value1, value2)
 *   (1, 0, 0)               at the end of the file (beside code 1 with -1);
 *   (3, error, 0)           when a file cannot be opened or played (beside code 2 with -1); the
 *                           error is the media engine's negative error number.
 *
 * Seeking
 *   PlayerSeek always ends on the exact frame at the asked time. A seek asked while another is
 *   still under way replaces any waiting one and goes first to the nearest keyframe, which is
 *   fast; once no newer seek is waiting, the exact frame follows. So dragging a position thumb
 *   shows keyframes live and the place where the drag rests shows exactly.
 *
 * Pictures
 *   Frames are rendered at the panel's current size (its handle's size function, asked for
 *   each frame) and handed to its present function as 0xffRRGGBB words. With the keep-aspect
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

/* The record of WM_PLAYER_EVENT code 3. Layout fixed:
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

/* Flags come back as 1 (true) or 0 (false). */

/* Starts the player if none runs (a media engine, the event and render threads) and makes
 * window the receiver of the messages above; window must stay valid until PlayerClose. A
 * running player only takes the new window. False when window is null or the engine cannot
 * start. */
typedef int32_t PlayerInit_t(DeroWindowHandle* window);
/* Opens path, replacing what is open; reserved must be 0. Success is reported by code 3,
 * failure by code 2 with -1. False only when no player runs or path is null. */
typedef int32_t PlayerOpenFile_t(const char* path, int32_t reserved);
/* Plays (or resumes) the open file at speed times the normal rate (1.0 normally; values of 0
 * or below count as 1.0). True when a file is open or opening; false when nothing is open, as
 * after PlayerStop or at the end of a file. */
typedef int32_t PlayerPlay_t(double speed);
/* Ends playback and releases the open file; the player keeps running. Always 1. */
typedef int32_t PlayerStop_t(void);
/* Ends playback and the player: every thread of the library has ended when it returns, and no
 * message, call or frame follows. Harmless when nothing runs. Always 1. */
typedef int32_t PlayerClose_t(void);
/* Pauses the open file. False when nothing is open. */
typedef int32_t PlayerPause_t(void);
/* Makes panel the receiver of the frames (null: none) and sets the keep-aspect flag (its low
 * byte); reserved must be 0. The flag applies at once, open file or not, and to later files.
 * After it returns the previous panel is never called again. The panel must stay valid until
 * the next PlayerSetVideoWindow or PlayerClose. Always 1. */
typedef int32_t PlayerSetVideoWindow_t(DeroWindowHandle* panel, int32_t reserved,
                                       int32_t keepAspect);
/* Moves the open file to seconds (see Seeking). False when nothing open can seek. */
typedef int32_t PlayerSeek_t(double seconds);
/* Writes the duration, the position in seconds and the position in percent of the duration
 * (0 to 100) of the open file. False, and nothing written, when nothing is open or the
 * position is not known yet. Any pointer may be null. */
typedef int32_t PlayerGetPosition_t(double* duration, double* seconds, double* percent);
/* Sets the event function (null: none). Always 1. */
typedef int32_t PlayerSetCallback_t(DeroPlayerEventFunction* function);

DERO_PLAYER_API PlayerInit_t PlayerInit;
DERO_PLAYER_API PlayerOpenFile_t PlayerOpenFile;
DERO_PLAYER_API PlayerPlay_t PlayerPlay;
DERO_PLAYER_API PlayerStop_t PlayerStop;
DERO_PLAYER_API PlayerClose_t PlayerClose;
DERO_PLAYER_API PlayerPause_t PlayerPause;
DERO_PLAYER_API PlayerSetVideoWindow_t PlayerSetVideoWindow;
DERO_PLAYER_API PlayerSeek_t PlayerSeek;
DERO_PLAYER_API PlayerGetPosition_t PlayerGetPosition;
DERO_PLAYER_API PlayerSetCallback_t PlayerSetCallback;

/* The entries as a table, for binders that hold them by pointer (X is given type and name). */
#define DERO_PLAYER_ENTRIES(X)                      \
    X(PlayerInit_t, PlayerInit)                     \
    X(PlayerOpenFile_t, PlayerOpenFile)             \
    X(PlayerPlay_t, PlayerPlay)                     \
    X(PlayerStop_t, PlayerStop)                     \
    X(PlayerClose_t, PlayerClose)                   \
    X(PlayerPause_t, PlayerPause)                   \
    X(PlayerSetVideoWindow_t, PlayerSetVideoWindow) \
    X(PlayerSeek_t, PlayerSeek)                     \
    X(PlayerGetPosition_t, PlayerGetPosition)       \
    X(PlayerSetCallback_t, PlayerSetCallback)

#ifdef __cplusplus
}
#endif

#endif /* DERO_PLAYER_H */

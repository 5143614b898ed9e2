/* The encoder library's entries (libEncoder.so), bound by the program at run time by these
 * export names. C linkage; texts are NUL-terminated UTF-8.
 */
#ifndef DERO_ENCODER_H
#define DERO_ENCODER_H

#include <stdint.h>

#include "dero_window.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What Mydll_GetFileinfo reports about a file. Field order is fixed; pointers have the native
 * width, so on x86-64 the layout is:
 *   offset  0  FileName     char*   the path as given
 *   offset  8  Duration     int32   whole seconds, rounded up from the container's duration
 *   offset 16  VideoFormat  char*   codec short name ("h264", "mpeg4"...); contains "unknown"
 *                                   when there is no decodable video stream
 *   offset 24  AudioFormat  char*   codec short name, or "none" without audio
 *   offset 32  Width        int32   display width (sample aspect applied, rotation applied)
 *   offset 36  Height       int32   display height
 *   offset 40  Reserved[6]  int32   zero
 *   size 64
 * The texts belong to the library and stay valid until the next Mydll_GetFileinfo call on the
 * same thread.
 */
typedef struct MediaFileInfo {
    char* FileName;
    int32_t Duration;
    char* VideoFormat;
    char* AudioFormat;
    int32_t Width;
    int32_t Height;
    int32_t Reserved[6];
} MediaFileInfo;

/* Progress text, e.g. "frame=  250 fps= 50 q=2.0 size=    1024kB time=10.00 bitrate= 838.9kbits/s".
 * May be called from the library's worker thread; the text is valid only during the call. */
typedef int (*DeroInfoCallback)(const char* text);
/* Percent of the current clip, 0..100. May be called from the library's worker thread. */
typedef int (*DeroPercentCallback)(int32_t percent);

/* Each entry is declared once, here: its function type (..._fn), the pointer type binders hold
 * (..._t), and the entry itself. The library's definitions are checked against these
 * declarations by the compiler, and binders name entries through DERO_ENCODER_NAME, which
 * refuses to compile for a name that is not a declared entry.
 * Results: 0 on success, non-zero otherwise (the program reads none of them). */
typedef int MyDll_Init_fn(void);
/* Stops a running conversion and waits for the library's thread to end. */
typedef int MyDll_UnInit_fn(void);
/* Always fills info; non-zero when the file has no decodable video. Safe from any thread. */
typedef int Mydll_GetFileinfo_fn(const char* fileName, MediaFileInfo* info);
/* Writes a JPEG of size "WxH" (the frame at `second`, or the middle of a shorter clip,
 * letter-boxed with its display aspect) to picturePath: at least 1024 bytes, or no file at all. */
typedef int Mydll_GetPicure_fn(const char* fileName, int32_t second, const char* size,
                               const char* picturePath);
typedef int SetGetInfoCallBackFun_fn(DeroInfoCallback callback);
typedef int SetGetPercentCallBackFun_fn(DeroPercentCallback callback);
/* Starts converting on the library's worker thread and returns at once; WM_CONVERT_NEXT is
 * posted to window when the clip ends. With a null window the conversion runs on the calling
 * thread and the result is 0 on success, non-zero on failure. */
typedef int X_fn(DeroWindowHandle* window, int32_t argc, char** argv);
/* Ends the running conversion promptly (its message still follows); harmless when idle. */
typedef int Mydll_Stop_fn(void);

typedef MyDll_Init_fn* MyDll_Init_t;
typedef MyDll_UnInit_fn* MyDll_UnInit_t;
typedef Mydll_GetFileinfo_fn* Mydll_GetFileinfo_t;
typedef Mydll_GetPicure_fn* Mydll_GetPicure_t;
typedef SetGetInfoCallBackFun_fn* SetGetInfoCallBackFun_t;
typedef SetGetPercentCallBackFun_fn* SetGetPercentCallBackFun_t;
typedef X_fn* X_t;
typedef Mydll_Stop_fn* Mydll_Stop_t;

MyDll_Init_fn MyDll_Init;
MyDll_UnInit_fn MyDll_UnInit;
Mydll_GetFileinfo_fn Mydll_GetFileinfo;
Mydll_GetPicure_fn Mydll_GetPicure;
SetGetInfoCallBackFun_fn SetGetInfoCallBackFun;
SetGetPercentCallBackFun_fn SetGetPercentCallBackFun;
X_fn _X;
Mydll_Stop_fn Mydll_Stop;

/* The export name of a declared entry, as binders pass it to the dynamic loader. */
#define DERO_ENCODER_NAME(entry) ((void)sizeof(&(entry)), #entry)

#ifdef __cplusplus
}
#endif

#endif /* DERO_ENCODER_H */

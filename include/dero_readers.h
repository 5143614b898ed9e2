/* The container readers a clip may be opened with, shared by the encoder and the player library
 * so that a clip the list accepts is the clip that plays and converts.
 *
 * C++ only, and only for code that links libavformat: the list is built from the readers that
 * library holds.
 */
#ifndef DERO_READERS_H
#define DERO_READERS_H

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace dero {

/* Readers that open further files (playlists, concatenation lists, manifests, picture sequences,
 * subtitle pairs), take a live device, or run a filter graph that can read files itself: a
 * crafted ".mp4" must not pull another file of the user into what is shown or written. */
inline constexpr auto kRefusedReaders =
    std::to_array<std::string_view>({"concat",  "hls",     "dash",
                                     "imf",     "image2",  "webm_dash_manifest",
                                     "vobsub",  "lavfi",   "sdp",
                                     "rtsp",    "rtp",     "sap",
                                     "alsa",    "fbdev",   "iec61883",
                                     "jack",    "kmsgrab", "openal",
                                     "oss",     "pulse",   "video4linux2,v4l2",
                                     "x11grab", "libcdio", "libdc1394"});

/* Every other reader libavformat holds, comma-separated, as its "format_whitelist" option takes
 * them. */
inline std::string SingleFileReaders() {
    std::string list;
    void* opaque = nullptr;
    while (const AVInputFormat* format = av_demuxer_iterate(&opaque)) {
        const std::string_view name(format->name);
        if (std::find(kRefusedReaders.begin(), kRefusedReaders.end(), name) ==
            kRefusedReaders.end()) {
            list += list.empty() ? "" : ",";
            list += name;
        }
    }
    return list;
}

}  // namespace dero

#endif /* DERO_READERS_H */

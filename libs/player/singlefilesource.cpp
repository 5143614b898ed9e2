#include "singlefilesource.h"

#include <array>

#include "dero_readers.h"

namespace dero {

namespace {

// The engine's own readers (its playlist, edit-list and container parsers) follow references
// to other files; the general-purpose reader is the one the encoder probes with.
const char* const kOptions[][2] = {
    {"demuxer", "lavf"},
    {"access-references", "no"},
    {"ordered-chapters", "no"},
    {"load-unsafe-playlists", "no"},
    {"autoload-files", "no"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"cover-art-auto", "no"},
    {"load-scripts", "no"},
    {"osc", "no"},
    {"ytdl", "no"},
    {"use-filedir-conf", "no"},
    {"cache", "no"},
    {"demuxer-max-bytes", "32MiB"},
    {"demuxer-max-back-bytes", "16MiB"},
    {"demuxer-readahead-secs", "2"},
};

// Handed to the general-purpose reader as its own options; a map, so the list's commas need no
// quoting.
void SetReaderOptions(mpv_handle* core) {
    // The encoder's readers, so a clip the list accepts is the clip that plays.
    std::string formats = SingleFileReaders();
    std::array<char*, 2> keys = {const_cast<char*>("protocol_whitelist"),
                                 const_cast<char*>("format_whitelist")};
    std::array<mpv_node, 2> values{};
    values[0].format = MPV_FORMAT_STRING;
    values[0].u.string = const_cast<char*>("file");
    values[1].format = MPV_FORMAT_STRING;
    values[1].u.string = formats.data();
    mpv_node_list list{};
    list.num = static_cast<int>(keys.size());
    list.keys = keys.data();
    list.values = values.data();
    mpv_node map{};
    map.format = MPV_FORMAT_NODE_MAP;
    map.u.list = &list;
    mpv_set_option(core, "demuxer-lavf-o", MPV_FORMAT_NODE, &map);
}

}  // namespace

void TSingleFileSource::Confine(mpv_handle* core) {
    for (const auto& option : kOptions) {
        mpv_set_option_string(core, option[0], option[1]);
    }
    SetReaderOptions(core);
}

std::string TSingleFileSource::EngineName(const char* path) {
    // A name that begins with a folder part cannot begin with a protocol.
    return path[0] == '/' ? std::string(path) : "./" + std::string(path);
}

}  // namespace dero

#pragma once

#include <mpv/client.h>

#include <string>

namespace dero {

// Keeps the engine to what a clip of the list is: one local, regular file read by the same
// readers the encoder uses. Nothing the file names (playlist entries, edit lists, concatenation
// lists, manifests, references) and nothing beside it (subtitles, sound tracks, covers) is
// opened, and the engine's read-ahead is bounded.
class TSingleFileSource {
  public:
    // Sets the options; before the engine is initialised.
    static void Confine(mpv_handle* core);
    // The name to hand the engine for path: one that starts with a folder, so no part of it
    // reads as a protocol or as the standard input.
    static std::string EngineName(const char* path);
};

}  // namespace dero

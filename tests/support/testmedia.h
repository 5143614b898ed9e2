#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Makes small media files for tests with the `ffmpeg` command (a test-only tool). Every clip shows
// a moving test pattern, so thumbnails and encoded frames are never flat.
class TestMedia {
  public:
    struct Recipe {
        int width = 160;
        int height = 120;
        double seconds = 2.0;
        std::string frameRate = "25";
        // Audio channels (6 makes a 5.1 track); 0 leaves the clip without audio.
        int audioChannels = 1;
        int sampleRate = 22050;
        // Display rotation in degrees (90, 180, 270), written as container metadata.
        int rotation = 0;
        // Sample aspect ratio as "num:den", written into the stream.
        std::string sampleAspect = "1:1";
        std::string videoCodec = "mpeg4";
        // Further encoder arguments, such as {"-bf", "2"} for B-pictures.
        std::vector<std::string> videoOptions;
        // Empty: the codec's default. Odd sizes need a format without chroma subsampling
        // ("yuv444p" with "libx264").
        std::string pixelFormat;
        std::string audioCodec = "aac";
        // Flags the video as interlaced (top field first).
        bool interlaced = false;
    };

    // True when the `ffmpeg` command can be run.
    static bool Available();
    // Writes a clip to path; the container follows the extension (.mp4, .avi, .mkv, .mpg...).
    // True when the command succeeded and the file exists.
    static bool Make(const std::string& path, const Recipe& recipe);
    static bool Make(const std::string& path) { return Make(path, Recipe()); }
    // Copies the first keepFraction (0..1) of source to path: a cut-off download.
    static bool MakeTruncatedCopy(const std::string& source, const std::string& path,
                                  double keepFraction);
    // Writes `bytes` pseudo-random bytes (a fixed seed, so runs repeat).
    static bool MakeRandomFile(const std::string& path, std::size_t bytes);
    // Runs a program with arguments (no shell), output discarded; true when it exits with 0.
    static bool Run(const std::string& program, const std::vector<std::string>& arguments);
};

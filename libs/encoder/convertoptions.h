#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dero {

// One conversion as the argument vector describes it. Parse is strict: an unknown option, a
// missing or malformed value, or a value outside what the encoders accept throws TEncodeError.
//
// Meanings: -ss start in hh:mm:ss (or seconds; fractions allowed), -t seconds of output, -vol
// percent (100 = unchanged), -bitexact reproducible output, -s the final frame size with the four
// pads inside it (sizes and pads are rounded down to even numbers, as 4:2:0 video needs), -r the
// output frame rate, -b and -ab kbit/s, -ar Hz, -ac channels (1 or 2), -vcodec mpeg4, -acodec
// aac, -f 3gp|psp|mp4, -y overwrite an existing output file. Without -s or -r the source's
// display size and frame rate are kept.
struct TConvertOptions {
    bool overwrite = false;
    double startSeconds = 0;
    std::optional<double> durationSeconds;
    std::string inputFile;
    int volumePercent = 100;
    bool bitExact = false;
    int padTop = 0;
    int padBottom = 0;
    int padLeft = 0;
    int padRight = 0;
    int width = 0;  // 0: the source's display size
    int height = 0;
    double frameRate = 0;  // 0: the source's frame rate
    int videoKbps = 800;
    int audioChannels = 2;
    int sampleRate = 44100;
    int audioKbps = 128;
    std::string format = "mp4";
    std::string outputFile;
    // Not part of the vector: leaves pictures the rate conversion drops undecoded where the
    // decoder allows it. Off only to check that skipping changes nothing.
    bool skipDroppedPictures = true;
    // Not part of the vector: lets the decoder make pictures at a half or a quarter of their
    // size where the output is that small and nothing visible is lost.
    bool decodeSmall = true;

    // arguments[0] is the program name, as in a command line.
    static TConvertOptions Parse(const std::vector<std::string>& arguments);
};

}  // namespace dero

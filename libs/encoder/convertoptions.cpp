#include "convertoptions.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

#include "encodeerror.h"

namespace dero {
namespace {

[[noreturn]] void Malformed(const std::string& option, const std::string& value,
                            const std::string& expected) {
    throw TEncodeError("bad value \"" + value + "\" for " + option + ": expected " + expected);
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ParseInteger(const std::string& option, const std::string& value, int low, int high) {
    // Nine digits always fit an int, so the conversion below cannot overflow.
    if (!AllDigits(value) || value.size() > 9 || std::atoi(value.c_str()) < low ||
        std::atoi(value.c_str()) > high) {
        Malformed(option, value,
                  "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return std::atoi(value.c_str());
}

// Plain decimal: digits with at most one point, no sign, no exponent.
std::optional<double> ParseDecimal(const std::string& text) {
    if (text.empty() || text.size() > 20 || std::count(text.begin(), text.end(), '.') > 1 ||
        text == "." || !std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '.';
        })) {
        return std::nullopt;
    }
    return std::strtod(text.c_str(), nullptr);
}

constexpr double kLongestClockTime = 1e7;

double ParseClockTime(const std::string& option, const std::string& value) {
    std::vector<std::string> fields;
    std::string::size_type begin = 0;
    for (;;) {
        const auto colon = value.find(':', begin);
        fields.push_back(value.substr(begin, colon - begin));
        if (colon == std::string::npos) {
            break;
        }
        begin = colon + 1;
    }
    if (fields.size() != 1 && fields.size() != 3) {
        Malformed(option, value, "hh:mm:ss or seconds");
    }
    double seconds = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const bool last = i + 1 == fields.size();
        const auto number = last ? ParseDecimal(fields[i])
                                 : (AllDigits(fields[i]) ? ParseDecimal(fields[i]) : std::nullopt);
        if (!number || (fields.size() == 3 && i > 0 && *number >= 60)) {
            Malformed(option, value, "hh:mm:ss or seconds");
        }
        seconds = seconds * 60 + *number;
    }
    // Times become microseconds in 64 bits; far beyond any real clip is refused, not wrapped.
    if (seconds > kLongestClockTime) {
        Malformed(option, value,
                  "at most " + std::to_string(int64_t(kLongestClockTime)) + " seconds");
    }
    return seconds;
}

void ParseFrameSize(const std::string& value, TConvertOptions& options) {
    const auto x = value.find_first_of("xX");
    if (x == std::string::npos || !AllDigits(value.substr(0, x)) ||
        !AllDigits(value.substr(x + 1)) || x > 5 || value.size() - x - 1 > 5) {
        Malformed("-s", value, "width x height, such as 320x240");
    }
    const int width = std::atoi(value.substr(0, x).c_str());
    const int height = std::atoi(value.substr(x + 1).c_str());
    if (width < 16 || height < 16 || width > 4096 || height > 4096) {
        Malformed("-s", value, "a size from 16x16 to 4096x4096");
    }
    options.width = width & ~1;
    options.height = height & ~1;
}

double ParseFrameRate(const std::string& value) {
    const auto rate = ParseDecimal(value);
    if (!rate || *rate < 1 || *rate > 120) {
        Malformed("-r", value, "frames per second from 1 to 120");
    }
    return *rate;
}

int ParseSampleRate(const std::string& value) {
    static constexpr std::array<int, 12> kRates = {96000, 88200, 64000, 48000, 44100, 32000,
                                                   24000, 22050, 16000, 12000, 11025, 8000};
    if (!AllDigits(value) || value.size() > 5 ||
        std::find(kRates.begin(), kRates.end(), std::atoi(value.c_str())) == kRates.end()) {
        Malformed("-ar", value, "an AAC sample rate in Hz (8000 ... 96000, such as 22050)");
    }
    return std::atoi(value.c_str());
}

std::string ParseChoice(const std::string& option, const std::string& value,
                        const std::vector<std::string>& choices) {
    if (std::find(choices.begin(), choices.end(), value) == choices.end()) {
        std::string list;
        for (const auto& choice : choices) {
            list += (list.empty() ? "" : " or ") + choice;
        }
        Malformed(option, value, list);
    }
    return value;
}

using ValueParser = std::function<void(const std::string&, TConvertOptions&)>;

const std::map<std::string, ValueParser>& ValueOptions() {
    static const std::map<std::string, ValueParser> parsers = {
        {"-ss", [](const std::string& v,
                   TConvertOptions& o) { o.startSeconds = ParseClockTime("-ss", v); }},
        {"-t", [](const std::string& v,
                  TConvertOptions& o) { o.durationSeconds = ParseClockTime("-t", v); }},
        {"-i",
         [](const std::string& v, TConvertOptions& o) {
             if (v.empty()) {
                 Malformed("-i", v, "a file name");
             }
             o.inputFile = v;
         }},
        {"-vol", [](const std::string& v,
                    TConvertOptions& o) { o.volumePercent = ParseInteger("-vol", v, 0, 1000); }},
        {"-vcodec",
         [](const std::string& v, TConvertOptions&) { ParseChoice("-vcodec", v, {"mpeg4"}); }},
        {"-padtop",
         [](const std::string& v, TConvertOptions& o) {
             o.padTop = ParseInteger("-padtop", v, 0, 4096) & ~1;
         }},
        {"-padbottom",
         [](const std::string& v, TConvertOptions& o) {
             o.padBottom = ParseInteger("-padbottom", v, 0, 4096) & ~1;
         }},
        {"-padleft",
         [](const std::string& v, TConvertOptions& o) {
             o.padLeft = ParseInteger("-padleft", v, 0, 4096) & ~1;
         }},
        {"-padright",
         [](const std::string& v, TConvertOptions& o) {
             o.padRight = ParseInteger("-padright", v, 0, 4096) & ~1;
         }},
        {"-s", [](const std::string& v, TConvertOptions& o) { ParseFrameSize(v, o); }},
        {"-r", [](const std::string& v, TConvertOptions& o) { o.frameRate = ParseFrameRate(v); }},
        {"-b", [](const std::string& v,
                  TConvertOptions& o) { o.videoKbps = ParseInteger("-b", v, 8, 100000); }},
        {"-acodec",
         [](const std::string& v, TConvertOptions&) { ParseChoice("-acodec", v, {"aac"}); }},
        {"-ac", [](const std::string& v,
                   TConvertOptions& o) { o.audioChannels = ParseInteger("-ac", v, 1, 2); }},
        {"-ar",
         [](const std::string& v, TConvertOptions& o) { o.sampleRate = ParseSampleRate(v); }},
        {"-ab", [](const std::string& v,
                   TConvertOptions& o) { o.audioKbps = ParseInteger("-ab", v, 8, 512); }},
        {"-f",
         [](const std::string& v, TConvertOptions& o) {
             o.format = ParseChoice("-f", v, {"3gp", "psp", "mp4"});
         }},
    };
    return parsers;
}

void CheckConsistency(const TConvertOptions& options) {
    if (options.inputFile.empty()) {
        throw TEncodeError("no input file given (-i)");
    }
    if (options.outputFile.empty()) {
        throw TEncodeError("no output file given");
    }
    if (options.width > 0 && (options.padLeft + options.padRight > options.width - 2 ||
                              options.padTop + options.padBottom > options.height - 2)) {
        throw TEncodeError("the pads leave no room for the picture inside the frame size");
    }
    if (options.width == 0 &&
        options.padLeft + options.padRight + options.padTop + options.padBottom > 0) {
        throw TEncodeError("pads need a frame size (-s)");
    }
}

}  // namespace

TConvertOptions TConvertOptions::Parse(const std::vector<std::string>& arguments) {
    TConvertOptions options;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-y") {
            options.overwrite = true;
        } else if (argument == "-bitexact") {
            options.bitExact = true;
        } else if (const auto parser = ValueOptions().find(argument);
                   parser != ValueOptions().end()) {
            if (i + 1 >= arguments.size()) {
                throw TEncodeError("missing value for " + argument);
            }
            parser->second(arguments[++i], options);
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw TEncodeError("unknown option " + argument);
        } else if (argument.empty()) {
            throw TEncodeError("empty argument where the output file was expected");
        } else if (!options.outputFile.empty()) {
            throw TEncodeError("more than one output file: \"" + options.outputFile + "\" and \"" +
                               argument + "\"");
        } else {
            options.outputFile = argument;
        }
    }
    CheckConsistency(options);
    return options;
}

}  // namespace dero

// encoder-vs-ffmpeg: compares dero-encode with the `ffmpeg` command doing the same job.
//
//   encoder-vs-ffmpeg [work folder [program folder [selection [runs]]]]
//                        (defaults /tmp/dero-bench/, the build's own bin folder, everything, 5)
//
// A selection is a comma-separated list of parts of job names ("phone,hevc"); only those jobs
// run, and nothing else. "rates" runs only the stock profiles' rate table.
//
// The jobs: 720p H.264 to a 3GP phone's 320 x 240 at 15 fps; a DVD's MPEG-2 with AC-3 sound to
// the handheld's 320 x 240 at 29.97; 120 s of 640 x 480 with stereo sound at full size, 25 fps;
// 10-bit HEVC 1080p, and 1080p HEVC at 30 fps, to 320 x 240 at 15. Makes its sources once in the
// work folder with the `ffmpeg` command, then for each job runs both programs alternately and
// prints the median wall time, CPU time (user + system of the child) and peak memory (the
// children's maximum resident set), the ratios dero / ffmpeg, and the load average before and
// after, after checking that both outputs hold as many pictures and last as long. Each job also
// gets its physical floor on two cores: every unavoidable stage timed alone on one thread by the
// `ffmpeg` command (decoding the pictures a frame-exact engine must decode, scaling the kept ones,
// MPEG-4 from raw pictures, sound decoding, AAC from raw samples, mux); the wall floor is the
// larger of half their CPU sum and the longest stage that cannot be split, and both programs'
// wall and CPU are printed over it, and their peak memory over the largest stage's alone. Also:
// the last 10 s of a 10-minute source against a whole 10-second file, and probe + thumbnail time
// per source through the library's entries. Ratios, not absolute times, are the result: on a
// shared machine absolute times wander. Last, the video rate of every stock profile on two
// detailed 8-second sources: the average against the asked rate and the busiest second against
// the maximum of the level written.
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

#include "dero_arguments.h"
#include "dero_encoder.h"
#include "pictureplan.h"
#include "profiles/devicefamily.h"

namespace {

using Arguments = std::vector<std::string>;

// The clip settings of one dero-encode run, named as the program's argument table names them,
// with the program's usual values.
struct DeroSettings {
    std::string StartText = "00:00:00", LengthText, InputFile, Volume = "100";
    std::string VideoCodec = "mpeg4", PadTop = "0", PadBottom = "0", PadLeft = "0", PadRight = "0";
    std::string FrameSize, FrameRate = "15", VideoBitRate = "300";
    std::string AudioCodec = "aac", AudioChannels = "2", SampleRate = "22050", AudioBitRate = "64";
    std::string Format = "mp4", OutputFile;
};

// dero-encode's arguments: the program's vector without its argv[0], which the driver supplies.
Arguments DeroArguments(const DeroSettings& s) {
#define BENCH_FLAG(text) std::string(text),
#define BENCH_VALUE(field) s.field,
    Arguments arguments = {DERO_ENCODER_ARGUMENTS(BENCH_FLAG, BENCH_VALUE)};
#undef BENCH_FLAG
#undef BENCH_VALUE
    arguments.erase(arguments.begin());
    return arguments;
}

struct Measurement {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

Measurement RunChild(const std::string& program, const Arguments& arguments) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    for (auto& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    // Children inherit unflushed output and would print it again.
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Measurement measurement;
    measurement.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measurement.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                             usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    measurement.peakKilobytes = usage.ru_maxrss;
    measurement.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return measurement;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Source {
    std::string file;
    Arguments make;  // ffmpeg arguments after -y, before the file name
};

void MakeSource(const std::string& folder, const Source& source) {
    const std::string path = folder + source.file;
    if (Exists(path)) {
        return;
    }
    std::printf("making %s ...\n", path.c_str());
    std::fflush(stdout);
    Arguments arguments = {"-hide_banner", "-nostdin", "-loglevel", "error", "-y"};
    arguments.insert(arguments.end(), source.make.begin(), source.make.end());
    arguments.push_back(path);
    if (!RunChild("ffmpeg", arguments).ok) {
        std::fprintf(stderr, "could not make %s\n", path.c_str());
        std::exit(1);
    }
}

// A tone in both channels, unless a sound source is given.
Arguments Lavfi(const std::string& size, int seconds, const Arguments& codecs, int rate = 25,
                const std::string& sound = "") {
    Arguments arguments = {
        "-f",
        "lavfi",
        "-i",
        "testsrc2=size=" + size + ":rate=" + std::to_string(rate) +
            ":duration=" + std::to_string(seconds),
        "-f",
        "lavfi",
        "-i",
        !sound.empty() ? sound
                       : "sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds),
        "-ac",
        "2"};
    arguments.insert(arguments.end(), codecs.begin(), codecs.end());
    return arguments;
}

// What one job asks of the output, as a profile of the program's profile file gives it.
struct Output {
    std::string format = "mp4";  // the encoder's container name, also the command's muxer
    int width = 320, height = 240;
    std::string fps = "15";  // as the profile text writes it: 29.97 for 30000/1001
    int videoKbps = 300;
    int channels = 2, sampleRate = 22050, audioKbps = 64;

    std::string Size() const { return std::to_string(width) + "x" + std::to_string(height); }
    // The exact rate the encoder makes of the profile's text, for the command's filters.
    std::string ExactFps() const {
        static const std::map<std::string, std::string> ntsc = {
            {"14.985", "15000/1001"}, {"23.976", "24000/1001"}, {"29.97", "30000/1001"}};
        const auto found = ntsc.find(fps);
        return found == ntsc.end() ? fps : found->second;
    }
    double Fps() const {
        const std::string exact = ExactFps();
        const auto slash = exact.find('/');
        return slash == std::string::npos
                   ? std::stod(exact)
                   : std::stod(exact.substr(0, slash)) / std::stod(exact.substr(slash + 1));
    }
};

struct Case {
    std::string name;
    Arguments dero;    // dero-encode's arguments
    Arguments ffmpeg;  // the like-for-like command
    // What the stages of the bound need.
    std::string input, output, chain;
    Output settings;
    int startSeconds = 0;
    int length = 0;
};

DeroSettings DeroSettingsOf(const Case& c, const std::string& start, int padTop, int padLeft) {
    const Output& o = c.settings;
    DeroSettings dero;
    dero.StartText = start;
    dero.LengthText = std::to_string(c.length);
    dero.InputFile = c.input;
    dero.PadTop = dero.PadBottom = std::to_string(padTop);
    dero.PadLeft = dero.PadRight = std::to_string(padLeft);
    dero.FrameSize = o.Size();
    dero.FrameRate = o.fps;
    dero.VideoBitRate = std::to_string(o.videoKbps);
    dero.AudioChannels = std::to_string(o.channels);
    dero.SampleRate = std::to_string(o.sampleRate);
    dero.AudioBitRate = std::to_string(o.audioKbps);
    dero.Format = o.format;
    dero.OutputFile = c.output + ".dero.MP4";
    return dero;
}

Arguments CommandOf(const Case& c) {
    const Output& o = c.settings;
    return {"-hide_banner",
            "-nostdin",
            "-loglevel",
            "error",
            "-y",
            "-ss",
            std::to_string(c.startSeconds),
            "-t",
            std::to_string(c.length),
            "-i",
            c.input,
            "-map",
            "0:v:0",
            "-map",
            "0:a:0?",
            "-vf",
            c.chain,
            "-c:v",
            "mpeg4",
            "-b:v",
            std::to_string(o.videoKbps) + "k",
            "-bf",
            "0",
            "-c:a",
            "aac",
            "-ac",
            std::to_string(o.channels),
            "-ar",
            std::to_string(o.sampleRate),
            "-b:a",
            std::to_string(o.audioKbps) + "k",
            "-bitexact",
            "-movflags",
            "+faststart",
            "-f",
            o.format,
            c.output + ".ffmpeg.MP4"};
}

// One job in both forms: the library's vector, and the modern command's options for it. The
// picture is scaled into the output less the bars on either side.
Case MakeCase(const std::string& name, const std::string& input, const std::string& output,
              const std::string& start, int startSeconds, int length, int padTop, int padLeft,
              const Output& settings = {}) {
    Case c;
    c.name = name;
    c.input = input;
    c.output = output;
    c.settings = settings;
    c.startSeconds = startSeconds;
    c.length = length;
    const int innerWidth = settings.width - 2 * padLeft;
    const int innerHeight = settings.height - 2 * padTop;
    c.chain = "scale=" + std::to_string(innerWidth) + ":" + std::to_string(innerHeight) +
              ",pad=" + std::to_string(settings.width) + ":" + std::to_string(settings.height) +
              ":" + std::to_string(padLeft) + ":" + std::to_string(padTop) +
              ",setsar=1,fps=" + settings.ExactFps();
    c.dero = DeroArguments(DeroSettingsOf(c, start, padTop, padLeft));
    c.ffmpeg = CommandOf(c);
    return c;
}

Arguments Quiet(const Arguments& rest) {
    Arguments arguments = {"-hide_banner", "-nostdin", "-loglevel", "error", "-y"};
    arguments.insert(arguments.end(), rest.begin(), rest.end());
    return arguments;
}

// The CPU seconds of one stage; its peak memory raises *peak.
double StageCpu(const std::string& what, const Arguments& arguments, long* peak) {
    const Measurement measurement = RunChild("ffmpeg", Quiet(arguments));
    if (!measurement.ok) {
        std::printf("  stage %s FAILED\n", what.c_str());
    }
    *peak = std::max(*peak, measurement.peakKilobytes);
    return measurement.cpuSeconds;
}

// CPU seconds of each stage alone, on one thread, as the command does it.
struct Stages {
    double decode = 0;
    // Decoding with every non-reference picture left out.
    double decodeReferences = 0;
    double decodeScale = 0;
    double video = 0;
    double soundDecode = 0;
    double audio = 0;
    double mux = 0;
    // The largest peak memory of one stage alone: no engine that runs them all holds less.
    long peakKilobytes = 0;

    double Scale() const { return std::max(0.0, decodeScale - decode); }
};

// Raw pictures and samples are made first, untimed, in memory: read from a disk, the long job's
// gigabyte and more of pictures would add its reading to the encoder's CPU. (The difference
// between decoding and scaling with and without the encoder is no better: on a small output it is
// lost in the noise of the two larger figures.)
Stages TimeStages(const Case& c, bool withReferenceDecode) {
    Stages stages;
    const Arguments cut = {
        "-threads", "1",    "-ss", std::to_string(c.startSeconds), "-t", std::to_string(c.length),
        "-i",       c.input};
    auto with = [&](Arguments rest, Arguments before = {}) {
        rest.insert(rest.begin(), cut.begin(), cut.end());
        rest.insert(rest.begin(), before.begin(), before.end());
        return rest;
    };
    const std::string scratch = Exists("/dev/shm/") ? "/dev/shm/dero-bench" : c.output;
    const std::string pictures = scratch + ".stage.yuv";
    const std::string samples = scratch + ".stage.pcm";
    const std::string muxed = c.output + ".stage.MP4";
    const Output& o = c.settings;
    const std::string channels = std::to_string(o.channels), rate = std::to_string(o.sampleRate);
    long* const peak = &stages.peakKilobytes;
    // The encoder takes 8-bit pictures: a 10-bit source's conversion is the scaler's work.
    const std::string chain = c.chain + ",format=yuv420p";
    const Arguments scaled = {"-filter_threads", "1", "-map", "0:v:0", "-vf", chain};
    RunChild("ffmpeg", Quiet(with({"-map", "0:v:0", "-vf", chain, "-f", "rawvideo", pictures})));
    RunChild("ffmpeg",
             Quiet(with({"-map", "0:a:0", "-ac", channels, "-ar", rate, "-f", "f32le", samples})));
    const Arguments decodeOnly = {"-map", "0:v:0", "-f", "null", "-"};
    stages.decode = StageCpu("decode", with(decodeOnly), peak);
    if (withReferenceDecode) {
        stages.decodeReferences =
            StageCpu("decode references", with(decodeOnly, {"-skip_frame", "noref"}), peak);
    }
    Arguments scaleOnly = scaled;
    scaleOnly.insert(scaleOnly.end(), {"-f", "null", "-"});
    stages.decodeScale = StageCpu("decode+scale", with(scaleOnly), peak);
    stages.soundDecode = StageCpu("sound decode", with({"-map", "0:a:0", "-f", "null", "-"}), peak);
    stages.video =
        StageCpu("mpeg4", {"-f",   "rawvideo", "-pix_fmt",  "yuv420p",
                           "-s",   o.Size(),   "-r",        o.ExactFps(),
                           "-i",   pictures,   "-threads",  "1",
                           "-c:v", "mpeg4",    "-b:v",      std::to_string(o.videoKbps) + "k",
                           "-bf",  "0",        "-bitexact", "-f",
                           "null", "-"},
                 peak);
    stages.audio =
        StageCpu("aac",
                 {"-f", "f32le", "-ar", rate, "-ac", channels, "-i", samples, "-c:a", "aac", "-b:a",
                  std::to_string(o.audioKbps) + "k", "-bitexact", "-f", "null", "-"},
                 peak);
    stages.mux = StageCpu("mux",
                          {"-i", c.output + ".ffmpeg.MP4", "-map", "0", "-c", "copy", "-movflags",
                           "+faststart", "-f", o.format, muxed},
                          peak);
    unlink(pictures.c_str());
    unlink(samples.c_str());
    unlink(muxed.c_str());
    std::printf(
        "  stages (one thread each): decode %.2f, scale %.2f, mpeg4 %.2f, sound decode %.2f, "
        "aac %.2f, mux %.2f s CPU\n",
        stages.decode, stages.Scale(), stages.video, stages.soundDecode, stages.audio, stages.mux);
    return stages;
}

// Frame count and length of an output's video, read back.
struct OutputFacts {
    int64_t frames = 0;
    double seconds = 0;
    bool opened = false;
};

OutputFacts FactsOf(const std::string& path) {
    OutputFacts facts;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) {
        return facts;
    }
    if (avformat_find_stream_info(context, nullptr) >= 0) {
        const int index = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        AVPacket* packet = av_packet_alloc();
        while (index >= 0 && av_read_frame(context, packet) >= 0) {
            facts.frames += packet->stream_index == index;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
        facts.seconds = context->duration > 0 ? double(context->duration) / AV_TIME_BASE : 0;
        facts.opened = index >= 0;
    }
    avformat_close_input(&context);
    return facts;
}

// A ratio means something only when both programs made the same output: as many pictures, as
// long (within one output picture).
void CheckEquivalent(const Case& c) {
    const OutputFacts dero = FactsOf(c.output + ".dero.MP4");
    const OutputFacts command = FactsOf(c.output + ".ffmpeg.MP4");
    const bool same = dero.opened && command.opened && dero.frames == command.frames &&
                      std::abs(dero.seconds - command.seconds) <= 1.0 / c.settings.Fps();
    std::printf("  outputs %s: dero %lld pictures %.3f s, ffmpeg %lld pictures %.3f s\n",
                same ? "equivalent" : "DIFFER", static_cast<long long>(dero.frames), dero.seconds,
                static_cast<long long>(command.frames), command.seconds);
}

struct Medians {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
};

Medians MedianOf(const std::vector<Measurement>& runs) {
    std::vector<double> times, cpu;
    std::vector<long> memory;
    for (const Measurement& run : runs) {
        times.push_back(run.seconds);
        cpu.push_back(run.cpuSeconds);
        memory.push_back(run.peakKilobytes);
    }
    return {Median(times), Median(cpu), Median(memory)};
}

// The machine is shared: every timing is quoted with the load it was taken under.
std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    double one = 0, five = 0, fifteen = 0;
    file >> one >> five >> fifteen;
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", one, five, fifteen);
    return text;
}

// How many alternating runs of each program a comparison takes; its medians are printed.
int runsPerProgram = 5;

// Medians of program A and program B; empty after a failure.
std::optional<std::pair<Medians, Medians>> Compare(const std::string& label,
                                                   const std::string& programA, const Arguments& a,
                                                   const std::string& programB,
                                                   const Arguments& b) {
    std::vector<Measurement> runsA, runsB;
    const std::string loadBefore = LoadAverage();
    for (int run = 0; run < runsPerProgram; ++run) {
        runsA.push_back(RunChild(programA, a));
        runsB.push_back(RunChild(programB, b));
        if (!runsA.back().ok || !runsB.back().ok) {
            std::printf("%-40s FAILED (%s)\n", label.c_str(),
                        !runsA.back().ok ? "first" : "second");
            return std::nullopt;
        }
    }
    const Medians first = MedianOf(runsA), second = MedianOf(runsB);
    std::printf("%s (medians of %d alternating runs; load average %s before, %s after)\n",
                label.c_str(), runsPerProgram, loadBefore.c_str(), LoadAverage().c_str());
    std::printf(
        "  wall %6.2f %6.2f s ratio %.2f | cpu %6.2f %6.2f s ratio %.2f | peak %6ld %6ld "
        "kB ratio %.2f\n",
        first.seconds, second.seconds, first.seconds / second.seconds, first.cpuSeconds,
        second.cpuSeconds, first.cpuSeconds / second.cpuSeconds, first.peakKilobytes,
        second.peakKilobytes, double(first.peakKilobytes) / second.peakKilobytes);
    std::fflush(stdout);
    return std::make_pair(first, second);
}

// The physical floor on two cores: what an engine that keeps every output picture must still
// do, each stage priced on one thread: decoding the kept pictures and those they refer to,
// scaling the kept ones, MPEG-4, sound decoding, AAC and muxing. Two cores need at least half
// their sum, and no wall time beats the longest stage that cannot be split (one slice of MPEG-4,
// the sound decoder, AAC, the muxer). Decoding a non-reference picture is priced at the average
// the two decode runs give.
void PrintFloor(const Stages& stages, const TPictureCounts& pictures, const Medians& dero,
                const Medians& command) {
    const double otherPictures = stages.decode - stages.decodeReferences;
    const double undecoded =
        pictures.Other() > 0 ? otherPictures * pictures.droppedOther / pictures.Other() : 0;
    const double kept =
        pictures.Total() > 0 ? double(pictures.Total() - pictures.Dropped()) / pictures.Total() : 1;
    const double cpuFloor = stages.decode - undecoded + stages.Scale() * kept + stages.video +
                            stages.soundDecode + stages.audio + stages.mux;
    const double serial = std::max({stages.video, stages.soundDecode, stages.audio, stages.mux});
    const double wallFloor = std::max(cpuFloor / 2, serial);
    const double memoryFloor = double(stages.peakKilobytes);
    std::printf(
        "  pictures: %d kept, %d dropped (%d of them referred to by nothing)\n"
        "  floor: CPU %.2f s, two-core wall %.2f s (%s), peak %ld kB (largest stage alone)\n"
        "  over the floor:  dero wall %.2f cpu %.2f peak %.2f | ffmpeg wall %.2f cpu %.2f peak "
        "%.2f\n",
        pictures.keptReference + pictures.keptOther, pictures.Dropped(), pictures.droppedOther,
        cpuFloor, wallFloor, serial > cpuFloor / 2 ? "longest serial stage" : "CPU / 2",
        stages.peakKilobytes, dero.seconds / wallFloor, dero.cpuSeconds / cpuFloor,
        dero.peakKilobytes / memoryFloor, command.seconds / wallFloor,
        command.cpuSeconds / cpuFloor, command.peakKilobytes / memoryFloor);
    std::fflush(stdout);
}

void CompareWithBound(const Case& c, const std::string& encoder) {
    const auto medians = Compare(c.name, encoder, c.dero, "ffmpeg", c.ffmpeg);
    if (!medians) {
        return;
    }
    CheckEquivalent(c);
    const TPictureCounts pictures =
        CountPictures(c.input, c.startSeconds, c.length, c.settings.Fps());
    const Stages stages = TimeStages(c, pictures.droppedOther > 0);
    PrintFloor(stages, pictures, medians->first, medians->second);
}

void ProbeAndThumbnail(const std::string& folder, const std::string& programs,
                       const std::vector<Source>& sources) {
    void* library = dlopen((programs + "libEncoder.so").c_str(), RTLD_NOW);
    if (!library) {
        std::printf("cannot load libEncoder.so: %s\n", dlerror());
        return;
    }
    // Each entry's type and export name come from its one declaration in the header.
#define BIND_ENTRY(entry) reinterpret_cast<entry##_t>(dlsym(library, DERO_ENCODER_NAME(entry)))
    auto init = BIND_ENTRY(MyDll_Init);
    auto uninit = BIND_ENTRY(MyDll_UnInit);
    auto probe = BIND_ENTRY(Mydll_GetFileinfo);
    auto picture = BIND_ENTRY(Mydll_GetPicure);
#undef BIND_ENTRY
    if (!init || !uninit || !probe || !picture) {
        std::printf("libEncoder.so lacks an entry: %s\n", dlerror());
        dlclose(library);
        return;
    }
    init();
    const std::string snapshot = folder + "snap0.pic";
    for (const Source& source : sources) {
        const std::string path = folder + source.file;
        std::vector<double> times;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            MediaFileInfo info{};
            probe(path.c_str(), &info);
            picture(path.c_str(), 5, "80x60", snapshot.c_str());
            times.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            unlink(snapshot.c_str());
        }
        std::printf("probe + thumbnail %-24s %7.3f s\n", source.file.c_str(), Median(times));
    }
    uninit();
    dlclose(library);
}

struct StockProfile {
    std::string family, name, size, fps, sampleRate, channels;
    int kbps = 0;
};

// The stock profile lines of the profile file, e.g.
// "Phone Small : Video: 128x96, 48 kbps, 10 fps, Audio: 16 kbps, 8 khps, 1 Channel Mono".
std::vector<StockProfile> ReadStockProfiles() {
    std::ifstream file(DERO_PROFILE_FILE);
    const std::regex section(R"(\[(\w+)\]\s*)");
    const std::regex line(
        R"(Profile\d+=(.*) : Video: (\d+x\d+), (\d+) kbps, ([\d.]+) fps, Audio: \d+ kbps, ([\d.]+) khps, (\d) .*)");
    std::vector<StockProfile> profiles;
    std::string family, text;
    std::smatch match;
    while (std::getline(file, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (std::regex_match(text, match, section)) {
            family = match[1];
        } else if (std::regex_match(text, match, line)) {
            const int hertz = static_cast<int>(std::stod(match[5]) * 1000 + 0.5);
            profiles.push_back({family, match[1], match[2], match[4], std::to_string(hertz),
                                match[6], std::stoi(match[3])});
        }
    }
    return profiles;
}

struct VideoRate {
    double averageKbps = 0;
    double peakSecondKbps = 0;
    int level = 0;
};

VideoRate ReadVideoRate(const std::string& path) {
    VideoRate rate;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) {
        return rate;
    }
    // The level is read from the stream's headers, which only the stream info step parses.
    avformat_find_stream_info(context, nullptr);
    av_seek_frame(context, -1, 0, AVSEEK_FLAG_BACKWARD);
    const int index = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    std::vector<std::pair<double, double>> packets;  // seconds, bits
    AVPacket* packet = av_packet_alloc();
    while (index >= 0 && av_read_frame(context, packet) >= 0) {
        if (packet->stream_index == index) {
            packets.emplace_back(packet->dts * av_q2d(context->streams[index]->time_base),
                                 packet->size * 8.0);
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    if (index >= 0 && !packets.empty()) {
        const AVStream* stream = context->streams[index];
        rate.level = stream->codecpar->level;
        double total = 0, window = 0;
        std::size_t last = 0;
        for (std::size_t first = 0; first < packets.size(); ++first) {
            while (last < packets.size() && packets[last].first < packets[first].first + 1 - 1e-6) {
                window += packets[last++].second;
            }
            rate.peakSecondKbps = std::max(rate.peakSecondKbps, window / 1000);
            window -= packets[first].second;
            total += packets[first].second;
        }
        const double seconds = double(packets.size()) / av_q2d(stream->avg_frame_rate);
        rate.averageKbps = total / seconds / 1000;
    }
    avformat_close_input(&context);
    return rate;
}

void StockProfileRates(const std::string& folder, const std::string& encoder,
                       const std::vector<std::string>& sources) {
    // Maximum rate of each MPEG-4 Simple Profile level, kbit/s.
    const std::map<int, double> levelKbps = {{1, 64},   {2, 128},  {3, 384},
                                             {4, 4000}, {5, 8000}, {6, 12000}};
    std::map<std::string, std::string> container;
    for (const TDeviceFamily& family : kDeviceFamilies) {
        container[family.Section] = family.OutputFormat;
    }
    std::printf("\n%-16s %-5s %-16s %6s %9s %6s %5s %10s %6s\n", "source", "", "profile", "asked",
                "got", "ratio", "level", "peak 1 s", "ratio");
    for (const std::string& source : sources) {
        for (const StockProfile& profile : ReadStockProfiles()) {
            const std::string format = container.at(profile.family);
            const std::string output = folder + "rate." + format;
            DeroSettings dero;
            dero.LengthText = "8";
            dero.InputFile = folder + source;
            dero.FrameSize = profile.size;
            dero.FrameRate = profile.fps;
            dero.VideoBitRate = std::to_string(profile.kbps);
            dero.AudioChannels = profile.channels;
            dero.SampleRate = profile.sampleRate;
            dero.Format = format;
            dero.OutputFile = output;
            const Arguments arguments = DeroArguments(dero);
            if (!RunChild(encoder, arguments).ok) {
                std::printf("%-16s %-5s %-16s FAILED\n", source.c_str(), profile.family.c_str(),
                            profile.name.c_str());
                continue;
            }
            const VideoRate rate = ReadVideoRate(output);
            const auto level = levelKbps.find(rate.level);
            const double ceiling = level == levelKbps.end() ? 0 : level->second;
            std::printf("%-16s %-5s %-16s %6d %9.1f %6.2f %5d %10.1f %6.2f\n", source.c_str(),
                        profile.family.c_str(), profile.name.c_str(), profile.kbps,
                        rate.averageKbps, rate.averageKbps / profile.kbps, rate.level,
                        rate.peakSecondKbps, ceiling > 0 ? rate.peakSecondKbps / ceiling : 0);
            std::fflush(stdout);
            unlink(output.c_str());
        }
    }
}

// Two channels that differ, with a little noise: an encoder cannot code them as one.
std::string StereoSound(int seconds) {
    return "aevalsrc=0.3*sin(440*2*PI*t)+0.02*(random(0)-0.5)|0.3*sin(554*2*PI*t)+0.02*(random(1)-"
           "0.5):s=44100:d=" +
           std::to_string(seconds);
}

const Arguments kHevc8 = {
    "-c:v",     "libx265", "-preset", "veryfast", "-x265-params", "log-level=error",
    "-pix_fmt", "yuv420p", "-c:a",    "aac"};
const Arguments kHevc10 = {
    "-c:v",     "libx265",     "-preset", "veryfast", "-x265-params", "log-level=error",
    "-pix_fmt", "yuv420p10le", "-c:a",    "aac"};

// The jobs the comparison covers, each a stock profile on a source of its kind: a phone job from
// 720p, a DVD's MPEG-2 to the handheld, a long stereo job at full size, and 1080p HEVC (10-bit,
// and 30 fps halved) to a small screen.
std::vector<Case> Jobs(const std::string& folder, std::vector<Source>* sources) {
    const Source phone = {
        "h264-1280x720-60s.mp4",
        Lavfi("1280x720", 60, {"-c:v", "libx264", "-preset", "fast", "-c:a", "aac"})};
    const Source dvd = {"dvd-mpeg2-720x576-60s.vob",
                        Lavfi("720x576", 60, {"-target", "pal-dvd", "-aspect", "4:3"})};
    const Source long_ = {
        "avi-640x480-120s-stereo.avi",
        Lavfi("640x480", 120, {"-c:v", "mpeg4", "-q:v", "3", "-c:a", "libmp3lame", "-b:a", "192k"},
              25, StereoSound(120))};
    const Source hevc10 = {"hevc10-1920x1080-30s.mp4", Lavfi("1920x1080", 30, kHevc10)};
    const Source hevc30 = {"hevc-1920x1080-30fps-30s.mp4", Lavfi("1920x1080", 30, kHevc8, 30)};
    *sources = {phone, dvd, long_, hevc10, hevc30};
    const Output phoneQvga = {"3gp", 320, 240, "15", 384, 2, 22050, 64};
    const Output pspStandard = {"psp", 320, 240, "29.97", 640, 2, 48000, 128};
    const Output mp4Vga = {"mp4", 640, 480, "25", 1500, 2, 44100, 128};
    const Output ipodSmall = {"mp4", 320, 240, "15", 384, 2, 44100, 96};
    const Output pspSmall = {"psp", 320, 240, "15", 300, 2, 24000, 64};
    const std::string start = "00:00:00";
    return {
        MakeCase("phone: 720p H.264 -> 3GP 320x240 @15", folder + phone.file, folder + "phone",
                 start, 0, 60, 30, 0, phoneQvga),
        MakeCase("dvd: 720x576 MPEG-2/AC-3 -> PSP 320x240 @29.97", folder + dvd.file,
                 folder + "dvd", start, 0, 60, 0, 0, pspStandard),
        MakeCase("long: 640x480 120 s stereo -> 640x480 @25", folder + long_.file, folder + "long",
                 start, 0, 120, 0, 0, mp4Vga),
        MakeCase("hevc10: HEVC 10-bit 1080p -> 320x240 @15", folder + hevc10.file,
                 folder + "hevc10", start, 0, 30, 30, 0, ipodSmall),
        MakeCase("hevc30: HEVC 1080p 30 fps -> 320x240 @15", folder + hevc30.file,
                 folder + "hevc30", start, 0, 30, 30, 0, pspSmall),
    };
}

// A selection is a comma-separated list of parts of job names; empty selects everything.
bool Selected(const std::string& name, const std::string& selection) {
    std::size_t from = 0;
    while (from <= selection.size()) {
        const std::size_t comma = std::min(selection.find(',', from), selection.size());
        if (name.find(selection.substr(from, comma - from)) != std::string::npos) {
            return true;
        }
        from = comma + 1;
    }
    return false;
}

void TrimmedAgainstWhole(const std::string& folder, const std::string& encoder) {
    const std::vector<Source> sources = {
        {"h264-640x360-600s.mp4",
         Lavfi("640x360", 600, {"-c:v", "libx264", "-preset", "veryfast", "-c:a", "aac"})},
        {"h264-640x360-10s.mp4",
         Lavfi("640x360", 10, {"-c:v", "libx264", "-preset", "veryfast", "-c:a", "aac"})},
    };
    for (const Source& source : sources) {
        MakeSource(folder, source);
    }
    const Case trimmed =
        MakeCase("", folder + sources[0].file, folder + "trimmed", "00:09:50", 590, 10, 30, 0);
    const Case whole =
        MakeCase("", folder + sources[1].file, folder + "whole", "00:00:00", 0, 10, 30, 0);
    Compare("last 10 s of 10 min vs 10 s file", encoder, trimmed.dero, encoder, whole.dero);
}

}  // namespace

int main(int argc, char** argv) {
    // The read-backs' demuxer warnings are no part of the table.
    av_log_set_level(AV_LOG_ERROR);
    std::string folder = argc > 1 ? argv[1] : "/tmp/dero-bench/";
    if (folder.back() != '/') {
        folder += '/';
    }
    mkdir(folder.c_str(), 0755);
    std::string programs = argc > 2 ? argv[2] : DERO_BIN_DIR;
    if (programs.back() != '/') {
        programs += '/';
    }
    const std::string only = argc > 3 ? argv[3] : "";
    if (argc > 4) {
        runsPerProgram = std::max(1, std::atoi(argv[4]));
    }
    const std::string encoder = programs + "dero-encode";
    std::vector<Source> sources;
    const std::vector<Case> cases = Jobs(folder, &sources);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (only.empty() || Selected(cases[i].name, only)) {
            MakeSource(folder, sources[i]);
            CompareWithBound(cases[i], encoder);
        }
    }
    // "rates" runs only the stock profiles' rate table; any other selection only its jobs.
    if (!only.empty() && only != "rates") {
        return 0;
    }
    if (only.empty()) {
        TrimmedAgainstWhole(folder, encoder);
        ProbeAndThumbnail(folder, programs, sources);
    }
    // Moving noise and a fractal zoom: detail the rate control cannot get for free.
    const std::vector<Source> detailed = {
        {"detailed-h264-1280x720-8s.mp4",
         {"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=8,noise=alls=24:allf=t",
          "-c:v", "libx264", "-preset", "veryfast", "-crf", "20"}},
        {"detailed-h264-640x480-8s.mp4",
         {"-f", "lavfi", "-i", "mandelbrot=size=640x480:rate=25,trim=duration=8", "-c:v", "libx264",
          "-preset", "veryfast", "-crf", "20"}},
    };
    for (const Source& source : detailed) {
        MakeSource(folder, source);
    }
    StockProfileRates(folder, encoder, {detailed[0].file, detailed[1].file});
    return 0;
}

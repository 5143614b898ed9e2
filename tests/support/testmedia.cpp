#include "testmedia.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

extern char** environ;

namespace {

std::string Number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::vector<std::string> EncodeArguments(const std::string& path, const TestMedia::Recipe& recipe) {
    std::vector<std::string> args = {"-hide_banner", "-nostdin", "-loglevel", "error", "-y"};
    args.insert(args.end(), {"-f", "lavfi", "-i",
                             "testsrc2=size=320x240:rate=" + recipe.frameRate +
                                 ":duration=" + Number(recipe.seconds)});
    if (recipe.audioChannels > 0) {
        args.insert(args.end(),
                    {"-f", "lavfi", "-i",
                     "sine=frequency=440:sample_rate=" + std::to_string(recipe.sampleRate) +
                         ":duration=" + Number(recipe.seconds)});
    }
    std::string sar = recipe.sampleAspect;
    std::replace(sar.begin(), sar.end(), ':', '/');
    args.insert(args.end(), {"-vf", "scale=" + std::to_string(recipe.width) + ":" +
                                        std::to_string(recipe.height) + ",setsar=" + sar});
    args.insert(args.end(), {"-c:v", recipe.videoCodec});
    args.insert(args.end(), recipe.videoOptions.begin(), recipe.videoOptions.end());
    if (!recipe.pixelFormat.empty()) {
        args.insert(args.end(), {"-pix_fmt", recipe.pixelFormat});
    }
    if (recipe.interlaced) {
        args.insert(args.end(), {"-flags", "+ildct+ilme", "-top", "1"});
    }
    if (recipe.audioChannels > 0) {
        args.insert(args.end(),
                    {"-c:a", recipe.audioCodec, "-ac", std::to_string(recipe.audioChannels)});
    }
    args.push_back(path);
    return args;
}

std::string Extension(const std::string& path) {
    const auto dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

}  // namespace

bool TestMedia::Run(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    std::vector<std::string> copies = arguments;
    for (auto& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool TestMedia::Available() {
    return Run("ffmpeg", {"-hide_banner", "-version"});
}

bool TestMedia::Make(const std::string& path, const Recipe& recipe) {
    if (recipe.rotation == 0) {
        return Run("ffmpeg", EncodeArguments(path, recipe)) && Exists(path);
    }
    // The command writes rotation metadata only when it copies streams, so encode first and then
    // copy with the rotation added.
    const std::string plain = path + ".plain" + Extension(path);
    bool made = Run("ffmpeg", EncodeArguments(plain, recipe)) &&
                Run("ffmpeg",
                    {"-hide_banner", "-nostdin", "-loglevel", "error", "-y", "-i", plain, "-c",
                     "copy", "-metadata:s:v:0", "rotate=" + std::to_string(recipe.rotation), path});
    std::remove(plain.c_str());
    return made && Exists(path);
}

bool TestMedia::MakeTruncatedCopy(const std::string& source, const std::string& path,
                                  double keepFraction) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const double fraction = std::clamp(keepFraction, 0.0, 1.0);
    bytes.resize(static_cast<std::size_t>(static_cast<double>(bytes.size()) * fraction));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool TestMedia::MakeRandomFile(const std::string& path, std::size_t bytes) {
    std::mt19937 generator(20261208u);
    std::string data(bytes, '\0');
    for (auto& byte : data) {
        byte = static_cast<char>(generator() & 0xff);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

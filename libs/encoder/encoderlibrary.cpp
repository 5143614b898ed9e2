#include "encoderlibrary.h"

#include <cstdlib>

#include "avhandles.h"
#include "convertjob.h"

namespace dero {

TEncoderLibrary& TEncoderLibrary::Instance() {
    static TEncoderLibrary library;
    return library;
}

void TEncoderLibrary::Init() {
    // Failures are reported through the info callback; FFmpeg's own chatter would only reach a
    // terminal nobody reads.
    av_log_set_level(AV_LOG_QUIET);
    decodeEveryPicture_ = std::getenv("DERO_DECODE_EVERY_PICTURE") != nullptr;
}

void TEncoderLibrary::UnInit() {
    Stop();
    std::thread worker;
    {
        std::lock_guard lock(mutex_);
        worker.swap(worker_);
    }
    if (worker.joinable()) {
        worker.join();
    }
}

bool TEncoderLibrary::Claim() {
    std::thread finished;
    {
        std::lock_guard lock(mutex_);
        if (busy_) {
            return false;
        }
        busy_ = true;
        stop_ = false;
        finished.swap(worker_);
    }
    // The previous worker has posted its message and is on its way out.
    if (finished.joinable()) {
        finished.join();
    }
    return true;
}

void TEncoderLibrary::Release() {
    std::lock_guard lock(mutex_);
    busy_ = false;
}

bool TEncoderLibrary::RunJob(const std::vector<std::string>& arguments) {
    TConvertJob job(arguments, info_.load(), percent_.load(), stop_, decodeEveryPicture_.load());
    return job.Run() == TConvertJob::TOutcome::Finished;
}

int TEncoderLibrary::Convert(const DeroWindowHandle* window, int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; argv && i < argc; ++i) {
        arguments.emplace_back(argv[i] ? argv[i] : "");
    }
    if (!Claim()) {
        if (DeroInfoCallback info = info_.load()) {
            info("error: a conversion is already running");
        }
        return 1;
    }
    if (!window) {
        const bool finished = RunJob(arguments);
        Release();
        return finished ? 0 : 1;
    }
    const DeroWindowHandle handle = *window;
    std::lock_guard lock(mutex_);
    worker_ = std::thread([this, arguments = std::move(arguments), handle]() {
        RunJob(arguments);
        Release();
        DeroPostMessage(&handle, WM_CONVERT_NEXT, 0, 0);
    });
    return 0;
}

void TEncoderLibrary::Stop() {
    stop_ = true;
}

}  // namespace dero

#include "encoderlibrary.h"

#include <cstdlib>
#include <system_error>

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
    decodeFullSize_ = std::getenv("DERO_DECODE_FULL_SIZE") != nullptr;
}

void TEncoderLibrary::UnInit() {
    Stop();
    std::thread worker;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        worker.swap(worker_);
    }
    wake_.notify_all();
    if (worker.joinable()) {
        worker.join();
    }
}

bool TEncoderLibrary::Claim() {
    std::lock_guard lock(mutex_);
    if (busy_) {
        return false;
    }
    busy_ = true;
    stop_ = false;
    return true;
}

void TEncoderLibrary::Release() {
    std::lock_guard lock(mutex_);
    busy_ = false;
}

bool TEncoderLibrary::RunJob(const std::vector<std::string>& arguments) {
    TConvertJob job(arguments, info_.load(), percent_.load(), stop_,
                    TDecodeShortcuts{!decodeEveryPicture_.load(), !decodeFullSize_.load()});
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
    bool running = true;
    {
        std::lock_guard lock(mutex_);
        queued_ = TQueuedJob{std::move(arguments), *window};
        if (!worker_.joinable() && !StartWorker()) {
            queued_.reset();
            busy_ = false;
            running = false;
        }
    }
    if (!running) {
        // The caller waits for the end of every conversion it started, failed ones included.
        if (DeroInfoCallback info = info_.load()) {
            info("error: out of resources: the conversion thread could not be started");
        }
        DeroPostMessage(window, WM_CONVERT_NEXT, 0, 0);
        return 1;
    }
    wake_.notify_one();
    return 0;
}

// With mutex_ held.
bool TEncoderLibrary::StartWorker() {
    try {
        quit_ = false;
        worker_ = std::thread(&TEncoderLibrary::Work, this);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void TEncoderLibrary::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || queued_.has_value(); });
        // A job queued just before UnInit still runs: it was stopped, so it ends at once and
        // its caller gets the message it waits for.
        if (!queued_) {
            return;
        }
        const TQueuedJob job = std::move(*queued_);
        queued_.reset();
        lock.unlock();
        RunJob(job.arguments);
        Release();
        DeroPostMessage(&job.window, WM_CONVERT_NEXT, 0, 0);
        lock.lock();
    }
}

void TEncoderLibrary::Stop() {
    stop_ = true;
}

}  // namespace dero

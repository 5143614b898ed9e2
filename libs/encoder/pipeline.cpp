#include "pipeline.h"

#include <system_error>
#include <thread>

#include "encodeerror.h"

namespace dero {
namespace {

// A source that yields no decoded picture or sound and no encoded packet for this long is
// damaged in a way that would otherwise keep the run waiting forever.
constexpr std::chrono::seconds kStallLimit{15};
constexpr auto kReportInterval = std::chrono::milliseconds(250);
constexpr auto kStopPollInterval = std::chrono::milliseconds(20);

}  // namespace

TPipeline::TPipeline(const std::atomic<bool>& stop, TThreadStart startThread)
    : stop_(stop), startThread_(std::move(startThread)) {
    if (!startThread_) {
        startThread_ = [](TStage stage) { return std::thread(std::move(stage)); };
    }
}

void TPipeline::Run(const std::vector<TStage>& stages, TStage wakeStages, const TStage& report) {
    wakeStages_ = std::move(wakeStages);
    std::vector<std::thread> threads;
    // A joinable thread that is destroyed ends the whole program: whatever leaves this function,
    // the stages are aborted and joined first.
    struct TJoinAll {
        TPipeline& pipeline;
        std::vector<std::thread>& threads;
        ~TJoinAll() {
            for (auto& thread : threads) {
                if (thread.joinable()) {
                    pipeline.Abort();
                    thread.join();
                }
            }
        }
    } joinAll{*this, threads};
    StartStages(stages, threads);
    Supervise(report);
}

void TPipeline::StartStages(const std::vector<TStage>& stages, std::vector<std::thread>& threads) {
    running_ = static_cast<int>(stages.size());
    threads.reserve(stages.size());
    try {
        for (const TStage& stage : stages) {
            threads.push_back(startThread_([this, &stage] { RunStage(stage); }));
        }
    } catch (const std::system_error& error) {
        // Under a memory or thread limit: the stages that did start are ended and joined.
        {
            std::lock_guard lock(mutex_);
            running_ -= static_cast<int>(stages.size() - threads.size());
        }
        Fail(std::string("out of resources: a worker thread could not be started (") +
             error.what() + ")");
    }
}

void TPipeline::Report(const TStage& report) {
    try {
        report();
    } catch (const std::exception& error) {
        Fail(std::string("internal failure: ") + error.what());
    }
}

// Until every stage has ended: turns a stop request into an abort within a few milliseconds and
// reports progress at a steady pace.
void TPipeline::Supervise(const TStage& report) {
    auto nextReport = std::chrono::steady_clock::now();
    lastAdvance_ = nextReport;
    lastMarks_ = marks_.load();
    std::unique_lock lock(mutex_);
    while (running_ > 0) {
        stageEnded_.wait_for(lock, kStopPollInterval);
        lock.unlock();
        if (stop_.load() && !abort_.load()) {
            Abort();
        }
        const auto now = std::chrono::steady_clock::now();
        if (Stalled(now) && !abort_.load()) {
            Fail("the source gives nothing to convert: no picture or sound could be decoded for " +
                 std::to_string(kStallLimit.count()) + " s (a damaged file?)");
        }
        lock.lock();
        if (now >= nextReport && running_ > 0) {
            nextReport += kReportInterval;
            lock.unlock();
            Report(report);
            lock.lock();
        }
    }
}

bool TPipeline::Stalled(std::chrono::steady_clock::time_point now) {
    if (const int64_t marks = marks_.load(); marks != lastMarks_) {
        lastMarks_ = marks;
        lastAdvance_ = now;
        return false;
    }
    return now - lastAdvance_ > kStallLimit;
}

void TPipeline::RunStage(const TStage& stage) {
    try {
        stage();
    } catch (const TEncodeError& error) {
        Fail(error.what());
    } catch (const std::exception& error) {
        Fail(std::string("internal failure: ") + error.what());
    } catch (...) {
        // Anything else would end the program from this thread.
        Fail("internal failure");
    }
    std::lock_guard lock(mutex_);
    --running_;
    stageEnded_.notify_all();
}

void TPipeline::Fail(const std::string& message) {
    {
        std::lock_guard lock(mutex_);
        if (error_.empty() && !stop_.load()) {
            error_ = message;
        }
    }
    Abort();
}

void TPipeline::Abort() {
    abort_ = true;
    if (wakeStages_) {
        wakeStages_();
    }
}

std::string TPipeline::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

}  // namespace dero

#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dero {

// Runs the stages of one conversion, each on its own thread, and watches them: a stop request or
// the first failure of any stage aborts them all, and a run that stops advancing fails instead
// of waiting forever.
class TPipeline {
  public:
    using TStage = std::function<void()>;
    // Starts one stage's thread; throws std::system_error when the system has none to give.
    using TThreadStart = std::function<std::thread(TStage)>;

    explicit TPipeline(const std::atomic<bool>& stop, TThreadStart startThread = {});
    TPipeline(const TPipeline&) = delete;
    TPipeline& operator=(const TPipeline&) = delete;

    // Runs every stage to its end, calling report on this thread several times a second. Returns
    // only once every started thread has been joined, whatever fails.
    // wakeStages must make every stage that waits return promptly (abort its queues).
    void Run(const std::vector<TStage>& stages, TStage wakeStages, const TStage& report);
    // Ends the run with message as its error; the first failure wins, a stop wins over all.
    void Fail(const std::string& message);
    void Abort();
    // Signs of life: decoded pictures or sounds, or written packets.
    void Mark(int count = 1) { marks_ += count; }
    bool Aborted() const { return abort_.load(); }
    // Raised on abort; for reads that should end with the run.
    const std::atomic<bool>& AbortFlag() const { return abort_; }
    // After Run: why the run failed, empty when it did not.
    std::string Error() const;

  private:
    void StartStages(const std::vector<TStage>& stages, std::vector<std::thread>& threads);
    void Supervise(const TStage& report);
    void Report(const TStage& report);
    void RunStage(const TStage& stage);
    bool Stalled(std::chrono::steady_clock::time_point now);

    const std::atomic<bool>& stop_;
    TThreadStart startThread_;
    std::atomic<bool> abort_{false};
    std::atomic<int64_t> marks_{0};
    int64_t lastMarks_ = 0;
    std::chrono::steady_clock::time_point lastAdvance_;
    TStage wakeStages_;

    mutable std::mutex mutex_;
    std::condition_variable stageEnded_;
    int running_ = 0;
    std::string error_;
};

}  // namespace dero

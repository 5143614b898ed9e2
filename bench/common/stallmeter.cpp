#include "stallmeter.h"

#include <time.h>

#include <cstdio>

qint64 TStallMeter::ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// The kernel's scheduler statistics of this thread: the second figure is the time spent waiting
// on a run queue.
qint64 TStallMeter::ThreadQueuedNs() {
    std::FILE* file = std::fopen("/proc/thread-self/schedstat", "r");
    if (!file) {
        return 0;
    }
    unsigned long long running = 0;
    unsigned long long queued = 0;
    const int read = std::fscanf(file, "%llu %llu", &running, &queued);
    std::fclose(file);
    return read == 2 ? static_cast<qint64>(queued) : 0;
}

TStallMeter::TStallMeter() {
    // A coarse timer may legally fire up to 5 % late, which would read as a stall of our own.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TStallMeter::Tick);
}

void TStallMeter::Start() {
    longestNs_ = 0;
    longestCpuNs_ = 0;
    longestQueuedNs_ = 0;
    over50_ = 0;
    clock_.start();
    lastNs_ = 0;
    lastCpuNs_ = ThreadCpuNs();
    lastQueuedNs_ = ThreadQueuedNs();
    timer_.start();
}

void TStallMeter::Stop() {
    Tick();
    timer_.stop();
}

void TStallMeter::Tick() {
    const qint64 now = clock_.nsecsElapsed();
    const qint64 cpu = ThreadCpuNs();
    const qint64 queued = ThreadQueuedNs();
    const qint64 late = now - lastNs_ - qint64{kIntervalMs} * 1000000;
    if (late > longestNs_) {
        longestNs_ = late;
        longestCpuNs_ = cpu - lastCpuNs_;
        longestQueuedNs_ = queued - lastQueuedNs_;
    }
    lastNs_ = now;
    lastCpuNs_ = cpu;
    lastQueuedNs_ = queued;
    if (late > qint64{50} * 1000000) {
        ++over50_;
    }
}

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

// Measures how long the thread it lives on is kept from its event loop: a precise timer ticks at
// a short interval, and the largest gap between ticks beyond that interval is the longest stall.
class TStallMeter : public QObject {
    Q_OBJECT
  public:
    static constexpr int kIntervalMs = 5;

    TStallMeter();

    // Starts afresh; the gap before the first tick counts, so work done right after Start (on the
    // same thread, before the event loop runs again) shows as a stall.
    void Start();
    void Stop();
    // The largest gap beyond the interval since Start, in milliseconds.
    double LongestStallMs() const { return longestNs_ / 1e6; }
    // The thread's own CPU time between the two ticks of that gap (interval included): near the
    // gap, the thread was busy; near 0, it waited (for a lock, or for a core on a loaded machine).
    double LongestStallCpuMs() const { return longestCpuNs_ / 1e6; }
    // The time between those two ticks the thread was ready but had no core. What neither this
    // nor the CPU time accounts for, the thread was blocked (a lock, a join, a sleep) or idle.
    double LongestStallQueuedMs() const { return longestQueuedNs_ / 1e6; }
    // How many gaps since Start went more than 50 ms beyond the interval.
    int StallsOver50Ms() const { return over50_; }

    // The calling thread's own CPU time, and its time spent ready on a run queue without a core
    // (0 where the kernel keeps no scheduler statistics); both in nanoseconds since it started.
    static qint64 ThreadCpuNs();
    static qint64 ThreadQueuedNs();

  private:
    void Tick();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastNs_ = 0;
    qint64 longestNs_ = 0;
    qint64 lastCpuNs_ = 0;
    qint64 longestCpuNs_ = 0;
    qint64 lastQueuedNs_ = 0;
    qint64 longestQueuedNs_ = 0;
    int over50_ = 0;
};

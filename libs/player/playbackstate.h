#pragma once

#include <cstdint>
#include <mutex>

#include "seekplanner.h"

namespace dero {

struct TPosition {
    double Duration = 0;
    double Seconds = 0;
    double Percent = 0;
};

// What the program's thread and the event thread both know about the open file. Every member
// function takes the lock; nothing is handed out by reference.
class TPlaybackState {
  public:
    // Program's thread: a file was asked for.
    void Opening();
    // Program's thread: the file was let go; its end is not reported.
    void Released();
    // The file is open or still opening (and not released).
    bool Active() const;
    bool Loaded() const;
    bool Seekable() const;
    // False until the first position of the open file is known.
    bool Position(TPosition& position) const;
    TSeekStep RequestSeek(double target);

    // Event thread.
    void Started(int64_t entry);
    void FileLoaded(double duration, bool seekable, bool paused);
    // Whether the end of that entry is the program's business; the file is over either way.
    bool Ended(int64_t entry);
    void SetSeconds(double seconds);
    void SetPercent(double percent);
    void SetDuration(double duration);
    // Whether the change of the pause flag is to be reported.
    bool PauseChanged(bool paused);
    TSeekStep SeekLanded();

  private:
    mutable std::mutex mutex_;
    bool wanted_ = false;
    bool loaded_ = false;
    bool seekable_ = false;
    bool reportedPause_ = true;
    bool havePosition_ = false;
    int64_t entry_ = -1;
    TPosition position_;
    TSeekPlanner planner_;
};

}  // namespace dero

#pragma once

#include <optional>

namespace dero {

enum class TSeekKind { None, Keyframe, Exact };

struct TSeekStep {
    TSeekKind Kind = TSeekKind::None;
    double Target = 0;
};

// Decides which seek to hand the engine next. A seek asked while none runs goes straight to the
// exact frame. Seeks asked while one runs are a drag in progress: only the newest waits, and it
// goes to the nearest keyframe, which the engine reaches without decoding up to the target; once
// nothing newer waits, the exact frame of the last target follows. Not thread-safe.
class TSeekPlanner {
  public:
    // The step to start now (None while a seek runs: the target then waits).
    TSeekStep Request(double target);
    // The running seek has landed; the step to start next (None: at rest).
    TSeekStep Landed();
    // Forgets everything, e.g. when the file changes.
    void Reset();
    bool Busy() const { return running_.Kind != TSeekKind::None; }

  private:
    TSeekStep Start(TSeekKind kind, double target);

    TSeekStep running_;
    std::optional<double> waiting_;
};

}  // namespace dero

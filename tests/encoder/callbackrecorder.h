#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "dero_encoder.h"

// Collects what the library reports through its two callbacks. The callbacks are plain C
// functions without a context, so the recorder is one shared instance that each test clears.
class TCallbackRecorder {
  public:
    static TCallbackRecorder& Instance();
    static int OnInfo(const char* text);
    static int OnPercent(int32_t percent);

    void Clear();
    std::vector<std::string> Lines() const;
    std::vector<int> Percents() const;
    std::string LastLine() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<int> percents_;
};

#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "clips/cliprecord.h"
#include "app/clipsource.h"
#include "app/encoderbinding.h"
#include "platform/messagemap.h"

class TProgressWindow;
class TWindowHandle;

namespace runfixtures {

// A clip list held in a vector, in list order.
class TVectorClips : public TClipSource {
  public:
    std::vector<ClipRecord> clips;
    const ClipRecord* ClipAt(int32_t index) const override;
    void Add(const QString& file, int32_t start, int32_t stop, int32_t width = 320,
             int32_t height = 240);
};

// Stands in for the main window: owns the handle the library posts 1212 through, and hands each
// 1212 to the progress window, as the main window's message map does.
class TConvertHost : public QWidget, public TMessageMap {
  public:
    explicit TConvertHost(TProgressWindow* window);
    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    DeroWindowHandle* Handle();
    int NextMessages() const { return nextMessages_; }

  private:
    TProgressWindow* window_;
    TWindowHandle* handle_;
    int nextMessages_ = 0;
};

// Replaces the library entries the run uses for the life of the object, then puts the bound ones
// back: the real library may be bound in the same test program.
class TEntryOverride {
  public:
    TEntryOverride();
    ~TEntryOverride();

  private:
    X_t convert_;
    SetGetInfoCallBackFun_t info_;
    SetGetPercentCallBackFun_t percent_;
    Mydll_Stop_t stop_;
};

// Binds the real encoder library once for the rest of the test program, as the application
// keeps it for its whole run. False when it is not part of the build.
bool BindEncoderOnce();

// What a converted file holds, read back with libavformat.
struct TOutputFacts {
    bool readable = false;
    bool hasVideo = false;
    bool hasAudio = false;
    int width = 0;
    int height = 0;
    double seconds = 0;
};
TOutputFacts ReadOutput(const QString& path);

}  // namespace runfixtures

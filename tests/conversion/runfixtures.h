#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "app/cliprecord.h"
#include "app/clipsource.h"
#include "app/encoderbinding.h"

namespace runfixtures {

// A clip list held in a vector, in list order.
class TVectorClips : public TClipSource {
  public:
    std::vector<ClipRecord> clips;
    const ClipRecord* ClipAt(int32_t index) const override;
    void Add(const QString& file, int32_t start, int32_t stop, int32_t width = 320,
             int32_t height = 240);
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
    MyDll_UnInit_t unInit_;
};

// What the stand-in library was asked to do, and what it does.
struct TFakeLibrary {
    QStringList calls;  // "_X", "info", "info-null", "percent", "percent-null", "stop", "uninit"
    QStringList outputs;
    QStringList inputs;
    DeroInfoCallback info = nullptr;
    DeroPercentCallback percent = nullptr;
    // Write each clip's output file, as a conversion that succeeds does.
    bool writeFiles = true;
};
TFakeLibrary& Fake();
// Binds the library entries a run uses to the stand-in, which returns at once from each call
// (the test posts 1212 itself), and clears its record. Use beside a TEntryOverride.
void UseFakeLibrary();

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

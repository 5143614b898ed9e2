#pragma once

#include <QObject>

#include "preview/playerbinding.h"

// The player library linked into the program (libPlayFile.so). Its event function carries no
// context and is called on the library's own threads, so the binding that set a function is the
// receiver of a TCallbackRegistry; each call is queued to it (queuedcall.h) and the registered
// function runs on the user-interface thread.
class TPlayFileLibrary : public QObject, public TPlayerBinding {
    Q_OBJECT
  public:
    TPlayFileLibrary();
    // Unregisters the event function; calls still queued are dropped.
    ~TPlayFileLibrary() override;

    bool Init(DeroWindowHandle* window) override;
    bool OpenFile(const char* path, int32_t reserved) override;
    bool Play(double speed) override;
    bool Stop() override;
    bool Close() override;
    bool Pause() override;
    bool SetVideoWindow(DeroWindowHandle* panel, int32_t reserved, int32_t keepAspect) override;
    bool Seek(double seconds) override;
    bool GetPosition(double* duration, double* seconds, double* percent) override;
    bool SetCallback(TEventFunction function) override;

  private:
    static void EventThunk(int32_t code, int32_t value1, int32_t value2);
    void Deliver(int32_t code, int32_t value1, int32_t value2);

    TEventFunction function_;
};

#pragma once

#include <QObject>

#include "preview/playerbinding.h"

// The player library linked into the program (libPlayFile.so). Its event function carries no
// context and is called on the library's own threads, so each call is posted to the application
// object as an event and picked up here, on the user-interface thread, by an application-wide
// event filter; the registered function then runs there.
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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static void EventThunk(int32_t code, int32_t value1, int32_t value2);

    TEventFunction function_;
};

#pragma once

#include <QWidget>

#include "conversion/encoderbinding.h"
#include "platform/messagemap.h"

class TWindowHandle;

// The conversion window. It holds the encoder library from its creation to its destruction and
// answers the numbered messages of the clip list, the position bar and the libraries.
class TMainWindow : public QWidget, public TMessageMap {
    Q_OBJECT
  public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    intptr_t WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // The handle the libraries post their messages through.
    DeroWindowHandle* Handle();
    // False when the encoder library could not be bound; the window is then never used.
    bool EncoderBound() const { return encoder_.IsLoaded(); }

  private:
    void FormCreate();
    void FormDestroy();

    TEncoderBinding encoder_;
    bool settingsRead_ = false;
    TWindowHandle* handle_;
};

extern TMainWindow* MainWindow;

#pragma once

#include <QWidget>

// The profile editor: a modal window in which the user composes or changes an output profile.
class TProfileWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TProfileWindow(QWidget* parent = nullptr);
    ~TProfileWindow() override;
};

extern TProfileWindow* ProfileWindow;

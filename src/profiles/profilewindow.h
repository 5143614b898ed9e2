#pragma once

#include <QWidget>

#include "skin/skin.h"

// The profile editor: a modal window in which the user composes or changes an output profile.
class TProfileWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    explicit TProfileWindow(QWidget* parent = nullptr);
    std::vector<TSkinComponent> SkinComponents() override { return {}; }
    ~TProfileWindow() override;
};

extern TProfileWindow* ProfileWindow;

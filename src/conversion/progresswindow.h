#pragma once

#include <QWidget>

#include "skin/skin.h"

// The window a conversion run happens in, opened modally from the main window.
class TProgressWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    explicit TProgressWindow(QWidget* parent = nullptr);
    std::vector<TSkinComponent> SkinComponents() override { return {}; }
    ~TProgressWindow() override;
};

extern TProgressWindow* ProgressWindow;

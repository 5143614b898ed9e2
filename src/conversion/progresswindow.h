#pragma once

#include <QWidget>

// The window a conversion run happens in, opened modally from the main window.
class TProgressWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TProgressWindow(QWidget* parent = nullptr);
    ~TProgressWindow() override;
};

extern TProgressWindow* ProgressWindow;

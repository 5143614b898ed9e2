#pragma once

#include <QWidget>

// The device chooser: the first window made at start-up and the application's main window, so
// closing it ends the application.
class TSelectWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TSelectWindow(QWidget* parent = nullptr);
    ~TSelectWindow() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
};

extern TSelectWindow* SelectWindow;

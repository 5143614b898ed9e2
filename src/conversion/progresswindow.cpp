#include "progresswindow.h"

#include "platform/windowplacement.h"

TProgressWindow* ProgressWindow = nullptr;

TProgressWindow::TProgressWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setFixedSize(546, 346);
    CenterOnScreen(this);
}

TProgressWindow::~TProgressWindow() = default;

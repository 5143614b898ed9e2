#include "profilewindow.h"

#include "platform/windowplacement.h"

TProfileWindow* ProfileWindow = nullptr;

TProfileWindow::TProfileWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("ProfileWindow"));
    setFixedSize(480, 366);
    CenterOnScreen(this);
}

TProfileWindow::~TProfileWindow() = default;

#include "selectwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "app/pubfunction.h"
#include "platform/windowplacement.h"

TSelectWindow* SelectWindow = nullptr;

TSelectWindow::TSelectWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SelectWindow"));
    setWindowTitle(QStringLiteral("Dero Video Converter"));
    setFixedSize(762, 510);
    CenterOnScreen(this);
    FormCreate();
}

TSelectWindow::~TSelectWindow() = default;

void TSelectWindow::FormCreate() {
    // Failures here are not reported: the output folder is checked again before each run.
    CreateWorkFolders();
    // Thumbnails left by an earlier run are of no use any more.
    ClearFolder(path_Snapshot, false);
}

void TSelectWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        QCoreApplication::quit();
    }
}

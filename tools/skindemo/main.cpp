// dero-skindemo OUTPUT.png: saves the demonstration window as OUTPUT.png and, on a platform with
// a screen to read back (X11, e.g. under xvfb-run), the screen around it as OUTPUT-screen.png,
// which shows the window's shape.
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>

#include "demoskin.h"
#include "demowindow.h"

namespace {

void ProcessEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dero-skindemo OUTPUT.png\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir skinDir;
    const QString dir = skinDir.path() + "/";
    WriteDemoSkin(dir);

    TDemoWindow window;
    if (!ApplySkin(&window, dir)) {
        std::fprintf(stderr, "the demonstration skin was refused\n");
        return 1;
    }
    // A real pointer resting on a button would animate it behind the demonstration's back.
    QCursor::setPos(0, 0);
    window.move(40, 40);
    window.show();
    ProcessEventsFor(300);
    window.ShowStates();
    window.repaint();

    if (!window.grab().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (QGuiApplication::platformName() != "offscreen") {
        const QRect around = window.frameGeometry().adjusted(-20, -20, 20, 20);
        QPixmap screen =
            window.screen()->grabWindow(0, around.x(), around.y(), around.width(), around.height());
        QString screenPath = output;
        screenPath.insert(screenPath.lastIndexOf('.'), "-screen");
        screen.save(screenPath);
    }
    return 0;
}

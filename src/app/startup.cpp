#include "startup.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QThread>

#include "platform/filesystem.h"
#include "platform/picture.h"
#include "platform/scaledpicture.h"
#include "platform/windowplacement.h"

TStartUp* StartUp = nullptr;

TStartUp::TStartUp(QString imagePath)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      imagePath_(std::move(imagePath)) {
    setObjectName(QStringLiteral("StartUp"));
    if (OpacitySupported()) {
        setWindowOpacity(0.0);
    }
    QCoreApplication::instance()->installEventFilter(this);
}

bool TStartUp::OpacitySupported() {
    return !CompositorPlacesWindows();
}

void TStartUp::ShowSplash() {
    shown_ = false;
    if (!FileExists(imagePath_)) {
        return;
    }
    try {
        image_ = LoadPictureForRatio(imagePath_, devicePixelRatioF(),
                                     [](const QString& path) { return LoadPicture(path); });
    } catch (const EPictureError&) {
        // A damaged splash picture is no reason to stop the program; start as without one.
        return;
    }
    shown_ = true;
    setFixedSize(PictureSize(image_));
    CenterOnScreen(this);
    show();
    repaint();
    if (!Fades()) {
        QCoreApplication::processEvents();
        return;
    }

    int alpha = 0;
    do {
        alpha += 10;
        if (alpha > 255) {
            SetAlpha(255);
            break;
        }
        SetAlpha(alpha);
        Pause(20, true);
    } while (alpha < 255);
}

void TStartUp::HideSplash() {
    if (!shown_ || isHidden()) {
        return;
    }
    if (!Fades()) {
        hide();
        return;
    }
    int alpha = 255;
    do {
        alpha -= 5;
        if (alpha < 0) {
            SetAlpha(0);
            break;
        }
        SetAlpha(alpha);
        Pause(10, false);
    } while (alpha > 0);
}

bool TStartUp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != this && isVisible()) {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget != nullptr && widget->isWindow()) {
            hide();
        }
    }
    return false;
}

void TStartUp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, image_);
}

void TStartUp::SetAlpha(int alpha) {
    setWindowOpacity(alpha / 255.0);
}

void TStartUp::Pause(int milliseconds, bool handleMessages) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
    if (handleMessages) {
        QCoreApplication::processEvents();
    }
}

#include "compositorscreen.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int kShotTimeoutMs = 10000;

}  // namespace

TCompositorScreen::TCompositorScreen() {
    bool ok = false;
    const QByteArray background = qgetenv("DERO_WESTON_BACKGROUND");
    background_ = qRgb(0, 0, 0) | background.toUInt(&ok, 16);
    outputFolder_ = QString::fromLocal8Bit(qgetenv("DERO_WAYLAND_OUTPUT"));
    available_ = ok && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::optional<QImage> TCompositorScreen::Shot() const {
    // The screenshooter names its file after the clock, in the folder it runs in; a folder of
    // its own per shot leaves exactly one picture to find.
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.setProcessChannelMode(QProcess::MergedChannels);
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(kShotTimeoutMs) || shooter.exitStatus() != QProcess::NormalExit ||
        shooter.exitCode() != 0) {
        return std::nullopt;
    }
    const QStringList pictures = QDir(folder.path()).entryList({QStringLiteral("*.png")});
    if (pictures.size() != 1) {
        return std::nullopt;
    }
    QImage shot(folder.filePath(pictures.front()));
    if (shot.isNull()) {
        return std::nullopt;
    }
    return shot.convertToFormat(QImage::Format_RGB32);
}

QRect TCompositorScreen::Covered(const QImage& shot) const {
    int left = shot.width();
    int right = -1;
    int top = shot.height();
    int bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            if ((row[x] | 0xFF000000u) != background_) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

void TCompositorScreen::Keep(const QImage& shot, const QRect& part, const QString& name) const {
    if (outputFolder_.isEmpty()) {
        return;
    }
    QDir().mkpath(outputFolder_);
    shot.copy(part).save(QDir(outputFolder_).filePath(name + QStringLiteral(".png")));
}

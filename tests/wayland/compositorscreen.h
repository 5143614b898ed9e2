#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

// The output of the compositor the check runs under, read back with weston-screenshooter: what
// the compositor really shows, after it has applied every window's buffer, position and
// shape. The launcher gives the background colour (DERO_WESTON_BACKGROUND, "rrggbb") and the
// folder pictures are kept in (DERO_WAYLAND_OUTPUT).
class TCompositorScreen {
  public:
    TCompositorScreen();

    // False outside the launcher: there is no compositor to read back.
    bool Available() const { return available_; }
    QRgb Background() const { return background_; }
    QString OutputFolder() const { return outputFolder_; }

    // The whole output as one picture; nothing when the screenshooter fails.
    std::optional<QImage> Shot() const;
    // The bounds of every pixel of shot that is not the background; empty when none is.
    QRect Covered(const QImage& shot) const;
    // Keeps part of shot in the output folder under name, for people to look at.
    void Keep(const QImage& shot, const QRect& part, const QString& name) const;

  private:
    bool available_ = false;
    QRgb background_ = 0;
    QString outputFolder_;
};

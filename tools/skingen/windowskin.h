#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include "buttonart.h"
#include "skinwriter.h"

// One window's section of the skin while it is drawn: its background (finished before the first
// button, since every state image is cut from it), its buttons and its mask. It also keeps a
// picture of the window as a user first sees it, for checking the art by eye.
class TWindowSkin {
  public:
    TWindowSkin(TSkinWriter& writer, QString section, QString folder, QImage background);

    const QImage& Background() const { return background_; }
    QString File(const QString& name) const { return folder_ + '/' + name; }
    TSkinWriter& Writer() { return writer_; }

    // Img_Background (sizing the window), the mask and MaskBmp.
    void WriteFrame();
    // A TDynamicImageButton: hover fades in over a few frames, or "static" where motion would
    // distract (title band buttons).
    void DynamicButton(const QString& key, const QRect& rect, const TButtonLook& look,
                       const QString& hint, bool hasDisabled, bool animate);
    void CheckButton(const QString& key, const QRect& rect, const TButtonLook& off,
                     const TButtonLook& on, const QString& offHint, const QString& onHint);
    // Draws a picture over the window's preview (for a part that a control shows inside it).
    void Overlay(const QPoint& at, const QImage& picture);

    // The window with every button in its normal look, one hovered and one pressed.
    QImage Preview() const;
    void MarkForPreview(const QString& hoveredKey, const QString& pressedKey);

  private:
    struct TPlaced {
        QString key;
        QRect rect;
        TButtonLook look;
    };

    TSkinWriter& writer_;
    QString section_;
    QString folder_;
    QImage background_;
    QList<TPlaced> buttons_;
    QList<QPair<QPoint, QImage>> overlays_;
    QString hoveredKey_;
    QString pressedKey_;
};

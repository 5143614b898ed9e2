#pragma once

#include <QImage>
#include <QWidget>

#include "app/cliprecord.h"
#include "clips/fittedtext.h"

// One clip of the list panel: a 388 x 64 picture showing the clip's thumbnail and facts, and the
// owner of its ClipRecord. The face is drawn once when the item is filled; afterwards only the
// outline and the trim line are redrawn. Mouse input is handed to the owning list panel.
class Image_Item : public QWidget {
    Q_OBJECT
  public:
    static constexpr int ItemWidth = 388;
    static constexpr int ItemHeight = 64;
    static constexpr int ItemLeft = 2;

    explicit Image_Item(QWidget* parent);

    // Copies the record, draws the face with the thumbnail at 2,2 and leaves the item hidden.
    // The trim range starts as the whole clip.
    void Fill(const ClipRecord& record, const QImage& thumbnail);

    const ClipRecord& Clip() const { return clip_; }
    bool Selected() const { return clip_.Selected; }
    void MarkSelected();
    void MarkUnselected();
    // Sets the trim range, keeping start <= stop; false (and nothing changed) when start is
    // negative or stop lies beyond the clip's end.
    bool SetTrim(int32_t start, int32_t stop);

    // The item's own picture, as it is painted.
    const QImage& Picture() const { return picture_; }

  signals:
    void MouseDown(Image_Item* item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void MouseUp(Image_Item* item, Qt::MouseButton button, const QPoint& globalPos);
    void DoubleClicked(Image_Item* item);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void AnnounceSelected();
    void DrawFace(const QImage& thumbnail);
    void DrawTrimLine();
    void DrawOutline(const QColor& colour);
    void DrawText(QPainter& painter, int x, int y, const QString& caption, const QString& value,
                  TFittedText::TFit fit) const;
    void DrawTimes(QPainter& painter) const;
    void UpdateToolTip();

    ClipRecord clip_;
    QImage picture_;
};

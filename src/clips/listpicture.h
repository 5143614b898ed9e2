#pragma once

#include <QImage>
#include <QWidget>

// A plain picture part of the list panel: the scroll track (stretched over the scroll bar)
// or the bottom image (drawn as it is, and transparent to the mouse so clicks reach the items
// beneath it).
class TListPicture : public QWidget {
    Q_OBJECT
  public:
    TListPicture(QWidget* parent, bool stretch);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

  signals:
    void MouseDown(const QPoint& pos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    bool stretch_;
};

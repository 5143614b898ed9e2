#pragma once

#include <QImage>
#include <QWidget>

// A picture control: shows a picture at its top-left corner, unscaled (or stretched over the
// control, or centred). Enabled, it takes mouse presses itself; disabled, presses pass through to
// its parent, which is how a window's background picture lets the window be dragged.
class TImage : public QWidget {
    Q_OBJECT
  public:
    explicit TImage(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    void ClearPicture();
    const QImage& Picture() const { return picture_; }

    void SetStretch(bool stretch);
    void SetCenter(bool center);
    // A transparent picture is drawn without the pixels that have the colour of its bottom-left
    // pixel.
    void SetTransparent(bool transparent);
    bool Transparent() const { return transparent_; }

  signals:
    void Click();
    void MouseDown(Qt::MouseButton button, const QPoint& pos, const QPoint& globalPos);
    void MouseUp(Qt::MouseButton button, const QPoint& pos, const QPoint& globalPos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void PrepareShown();

    QImage picture_;
    // The picture as painted: with the transparent colour cut out when Transparent is set.
    QImage shown_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

#pragma once

#include <QTimer>
#include <vector>

#include "skin/imagebutton.h"

// A bitmap button that plays a short frame animation while the mouse rests on it, in place of
// its hover image. On entering, the first frame shows one FrameInterval later, each frame plays
// once, and the hover image closes the sequence; when looping, the hover image stays LoopDelay
// ms and the frames play again, for as long as the mouse stays. A press stops the animation and
// shows the down image; leaving stops it and shows the normal image.
class TDynamicImageButton : public TImageButton {
    Q_OBJECT
  public:
    explicit TDynamicImageButton(QWidget* parent = nullptr);

    // Cuts strip into frames of the button's size, side by side from x = 0. No strip: the
    // animation stops and is dropped, the hover image returns and the result is false. A strip
    // whose width is not a whole multiple of the button's width, or a button of width 0 (which
    // would cut nothing forever), is refused: false and nothing changed. Frame interval and loop
    // delay are milliseconds; a loop delay of 0 plays the animation once.
    bool LoadAnimationStrip(const QImage& strip, int frameInterval, int loopDelay);

    // The timer's handler: shows the next frame, or closes the sequence with the hover image.
    void FrameTimerTick();

    const std::vector<QImage>& Frames() const { return frames_; }
    const QTimer& FrameTimer() const { return frameTimer_; }
    int FrameIndex() const { return frameIndex_; }
    int FrameInterval() const { return frameInterval_; }
    int LoopDelay() const { return loopDelay_; }
    bool Looping() const { return looping_; }

  protected:
    void MouseHook(TMouseCase mouseCase, const QPoint& pos) override;

  private:
    std::vector<QImage> frames_;
    QTimer frameTimer_;
    int frameIndex_ = 0;
    int frameInterval_ = 100;
    int loopDelay_ = 3000;
    bool looping_ = false;
};

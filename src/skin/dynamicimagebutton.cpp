#include "dynamicimagebutton.h"

#include "platform/scaledpicture.h"
#include "skin/colourkeyregion.h"

TDynamicImageButton::TDynamicImageButton(QWidget* parent) : TImageButton(parent) {
    frameTimer_.setInterval(frameInterval_);
    connect(&frameTimer_, &QTimer::timeout, this, &TDynamicImageButton::FrameTimerTick);
}

bool TDynamicImageButton::LoadAnimationStrip(const QImage& strip, int frameInterval,
                                             int loopDelay) {
    if (strip.isNull()) {
        // Frames of an earlier load would otherwise still play over the hover image.
        frameTimer_.stop();
        frames_.clear();
        looping_ = false;
        SetHoverEnabled(true);
        return false;
    }
    const int frameWidth = width();
    const int stripWidth = PictureSize(strip).width();
    if (frameWidth <= 0 || stripWidth % frameWidth != 0) {
        return false;
    }
    frameTimer_.stop();
    frameInterval_ = frameInterval;
    loopDelay_ = loopDelay;
    looping_ = loopDelay > 0;
    frames_.clear();
    for (int x = 0; x < stripWidth; x += frameWidth) {
        QImage frame = CopyPicture(strip, QRect(x, 0, frameWidth, height()))
                           .convertToFormat(QImage::Format_RGB32);
        if (Shaped() && devicePixelRatioF() > 1.0) {
            frame = WithoutKeyColour(frame, kShapeKeyColour);
        }
        frames_.push_back(std::move(frame));
    }
    SetHoverEnabled(false);
    return true;
}

void TDynamicImageButton::MouseHook(TMouseCase mouseCase, const QPoint& pos) {
    TImageButton::MouseHook(mouseCase, pos);
    if (mouseCase == TMouseCase::LeftUp) {
        return;
    }
    const bool wasRunning = frameTimer_.isActive();
    const bool animate = MouseOver() && !Pressed() && isEnabled();
    if (!animate) {
        frameTimer_.stop();
        if (!isEnabled()) {
            ShowFace(DisabledImage());
        } else if (MouseOver() && Pressed()) {
            ShowFace(DownImage());
        } else {
            ShowFace(MouseOver() ? HoverImage() : NormalImage());
        }
        return;
    }
    if (!wasRunning) {
        frameIndex_ = 0;
        frameTimer_.start(frameInterval_);
    }
}

void TDynamicImageButton::FrameTimerTick() {
    frameTimer_.setInterval(frameInterval_);
    if (frameIndex_ < static_cast<int>(frames_.size())) {
        ShowFace(frames_[static_cast<size_t>(frameIndex_)]);
        ++frameIndex_;
    } else {
        ShowFace(HoverImage());
        frameTimer_.stop();
        if (looping_) {
            frameIndex_ = 0;
            frameTimer_.start(loopDelay_);
        }
    }
    repaint();
}

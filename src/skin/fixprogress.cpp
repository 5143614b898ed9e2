#include "fixprogress.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "dero_window.h"
#include "platform/messagemap.h"
#include "platform/scaledpicture.h"
#include "skin/focusframe.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/positionbaraccessible.h"

namespace {

int Clamp(int value, int low, int high) {
    if (high < low || value < low) {
        return low;
    }
    return value > high ? high : value;
}

// Truncation toward zero that stays defined for NaN and for values beyond int.
int TruncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    return static_cast<int>(std::fmax(kLow, std::fmin(kHigh, value)));
}

void InstallPositionBarAccessibility() {
    QAccessible::installFactory(&TPositionBarAccessible::Create);
}

int HalfGap(int outer, int inner) {
    return (outer - inner) / 2;
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallPositionBarAccessibility)

TFixProgress::TFixProgress(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    new TFocusFrame(this);
}

void TFixProgress::SetDuration(double seconds) {
    duration_ = seconds > 0 ? seconds : 0;
}

double TFixProgress::SecondStepPercent() const {
    return duration_ > 0 ? 100.0 / duration_ : 1.0;
}

bool TFixProgress::StepToSeconds(double seconds) {
    return StepToPercent(duration_ > 0 ? seconds * 100.0 / duration_ : 0.0);
}

bool TFixProgress::StepToPercent(double percent) {
    if (!thumb_ || !thumb_->isEnabled() || std::isnan(percent)) {
        return false;
    }
    percent = std::clamp(percent, 0.0, 100.0);
    MoveThumbTo(TruncateToInt(percent * (thumbMax_ - thumbMin_) * 0.01 + thumbMin_));
    // The thumb moves in whole pixels; the owner and the reader hear the exact step.
    position_ = thumbMax_ > thumbMin_ ? percent : 0.0;
    NotifyPosition(0);
    AnnounceValue();
    return true;
}

void TFixProgress::AnnounceValue() {
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, Seconds());
        QAccessible::updateAccessibility(&event);
    }
}

void TFixProgress::keyPressEvent(QKeyEvent* event) {
    double target = position_;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            target -= SecondStepPercent();
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            target += SecondStepPercent();
            break;
        case Qt::Key_PageUp:
            target += 10;
            break;
        case Qt::Key_PageDown:
            target -= 10;
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = 100;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    StepToPercent(target);
}

bool TFixProgress::SetTrack(const QImage& bitmap) {
    if (bitmap.isNull()) {
        return false;
    }
    if (!track_) {
        track_ = new TImage(this);
        track_->move(0, 0);
        track_->setEnabled(false);
        track_->lower();
    }
    track_->SetPicture(bitmap.copy());
    track_->resize(PictureSize(bitmap));
    track_->show();
    return true;
}

bool TFixProgress::SetRangeFill(const QImage& bitmap) {
    if (bitmap.isNull()) {
        return false;
    }
    if (!rangeFill_) {
        rangeFill_ = new TImage(this);
        rangeFill_->SetStretch(true);
        rangeFill_->setEnabled(false);
    }
    rangeFill_->SetPicture(bitmap.copy());
    rangeFill_->resize(PictureSize(bitmap));
    rangeFill_->show();
    return true;
}

TImageButton* TFixProgress::MakePart(const char* name) {
    auto* part = new TImageButton(this);
    part->setAccessibleName(QLatin1String(name));
    // The bar is the keyboard's stop; its parts are for the mouse.
    part->setFocusPolicy(Qt::NoFocus);
    connect(part, &TImageButton::MouseDown, this,
            [this, part](Qt::MouseButton button, const QPoint&, const QPoint& globalPos) {
                part == thumb_ ? ThumbDown(button, globalPos)
                               : MarkerDown(button, *part, globalPos);
            });
    connect(part, &TImageButton::MouseMove, this,
            [this, part](Qt::MouseButtons buttons, const QPoint&, const QPoint& globalPos) {
                part == thumb_ ? ThumbMove(buttons, globalPos)
                               : MarkerMove(buttons, *part, globalPos);
            });
    connect(part, &TImageButton::MouseUp, this,
            [this, part](Qt::MouseButton button, const QPoint&, const QPoint&) {
                part == thumb_ ? ThumbUp(button) : MarkerUp(button, *part);
            });
    return part;
}

bool TFixProgress::LoadPart(TImageButton& part, const QImage& strip) {
    // Three images wide; the first two, normal and hover, are used. Shaped from magenta.
    const QSize size = PictureSize(strip);
    return part.LoadStateStrip(strip, size.width() / 3, size.height(), true, true, false, false);
}

void TFixProgress::RemoveMarkers() {
    delete startMarker_;
    delete endMarker_;
    startMarker_ = nullptr;
    endMarker_ = nullptr;
}

bool TFixProgress::SetThumbAndMarkers(const QImage& thumbStrip, const QImage& startStrip,
                                      const QImage& endStrip) {
    if (thumbStrip.isNull()) {
        return false;
    }
    if (!thumb_) {
        thumb_ = MakePart("Playback position");
    }
    const bool thumbLoaded = LoadPart(*thumb_, thumbStrip);
    if (startStrip.isNull() && endStrip.isNull()) {
        RemoveMarkers();
        return thumbLoaded;
    }
    if (startStrip.isNull() || endStrip.isNull()) {
        return false;
    }
    if (!startMarker_) {
        startMarker_ = MakePart("Trim start");
        endMarker_ = MakePart("Trim end");
    }
    const bool startLoaded = LoadPart(*startMarker_, startStrip);
    const bool endLoaded = LoadPart(*endMarker_, endStrip);
    return thumbLoaded && startLoaded && endLoaded;
}

bool TFixProgress::Arrange() {
    if (!thumb_ || !track_) {
        return false;
    }
    resize(track_->size());
    thumbMin_ = startMarker_ ? startMarker_->width() : 0;
    if (rangeFill_) {
        rangeFill_->move(thumbMin_, HalfGap(height(), rangeFill_->height()));
        rangeFill_->raise();
    }
    thumb_->move(thumbMin_, HalfGap(height(), thumb_->height()));
    for (TImageButton* marker : {startMarker_, endMarker_}) {
        if (marker) {
            marker->move(marker->x(), HalfGap(height(), marker->height()));
        }
    }
    thumbMax_ = width() - thumb_->width();
    markerLimit_ = width();
    if (endMarker_) {
        thumbMax_ -= endMarker_->width();
        markerLimit_ -= endMarker_->width();
    }
    SetRange(-1, -1);
    RaiseParts();
    return true;
}

void TFixProgress::RaiseParts() {
    thumb_->raise();
    for (TImageButton* marker : {startMarker_, endMarker_}) {
        if (marker) {
            marker->raise();
        }
    }
}

bool TFixProgress::MoveThumbTo(int x) {
    if (!thumb_) {
        return false;
    }
    x = Clamp(x, thumbMin_, thumbMax_);
    thumb_->move(x, thumb_->y());
    // A thumb with no room to travel sits at its only place, which counts as the start.
    const int travel = thumbMax_ - thumbMin_;
    position_ = travel > 0 ? static_cast<double>((x - thumbMin_) * 100) / travel : 0.0;
    return true;
}

bool TFixProgress::SetPosition(double percent) {
    if (!thumb_) {
        return false;
    }
    if (!(percent >= 0)) {
        MoveThumbTo(thumbMin_);
        position_ = 0;
        return true;
    }
    if (thumb_->Pressed() || dragging_) {
        return false;
    }
    MoveThumbTo(TruncateToInt(percent * (thumbMax_ - thumbMin_) * 0.01 + thumbMin_));
    position_ = percent;
    return true;
}

void TFixProgress::PlaceStartMarker(int left) {
    startMarker_->move(left, startMarker_->y());
}

void TFixProgress::PlaceEndMarker(int left) {
    endMarker_->move(left, endMarker_->y());
}

void TFixProgress::SpanFillOverMarkers() {
    if (!rangeFill_ || !startMarker_ || !endMarker_) {
        return;
    }
    const int left = startMarker_->x() + startMarker_->width();
    rangeFill_->move(left, rangeFill_->y());
    rangeFill_->resize(std::max(0, endMarker_->x() - left), rangeFill_->height());
}

void TFixProgress::SetRange(float start, float end) {
    if (!(start >= 0 || end >= 0)) {
        if (startMarker_) {
            PlaceStartMarker(0);
            PlaceEndMarker(markerLimit_);
            startMarker_->SetButtonEnabled(false);
            endMarker_->SetButtonEnabled(false);
        }
        if (rangeFill_) {
            rangeFill_->resize(0, rangeFill_->height());
        }
        return;
    }
    const int span = markerLimit_ - thumbMin_;
    const int d = TruncateToInt(static_cast<double>(start) * span + 0.5 + thumbMin_);
    const int e = TruncateToInt(static_cast<double>(end) * span + 0.5 + thumbMin_);
    if (startMarker_) {
        const int startWidth = startMarker_->width();
        PlaceStartMarker(Clamp(d - startWidth, 0, endMarker_->x() - startWidth));
        startMarker_->SetButtonEnabled(true);
        PlaceEndMarker(Clamp(e, startMarker_->x() + startWidth, width() - endMarker_->width()));
        endMarker_->SetButtonEnabled(true);
        SpanFillOverMarkers();
    } else if (rangeFill_) {
        rangeFill_->move(d, rangeFill_->y());
        rangeFill_->resize(std::max(0, e - d), rangeFill_->height());
    }
}

std::pair<float, float> TFixProgress::GetRange() const {
    const int span = markerLimit_ - thumbMin_;
    if (span <= 0) {
        return {0.0f, 0.0f};
    }
    const auto fraction = [&](int x) { return static_cast<float>(x - thumbMin_) / span; };
    if (startMarker_) {
        return {fraction(startMarker_->x() + startMarker_->width()), fraction(endMarker_->x())};
    }
    if (rangeFill_) {
        return {fraction(rangeFill_->x()), fraction(rangeFill_->x() + rangeFill_->width())};
    }
    return {0.0f, 0.0f};
}

void TFixProgress::NotifyPosition(int pressed) {
    if (onPositionChanged_) {
        onPositionChanged_(position_, pressed, this);
    }
}

void TFixProgress::ThumbDown(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::LeftButton) {
        return;
    }
    dragStartCursor_ = globalPos;
    dragStartLeft_ = thumb_->x();
    NotifyPosition(1);
}

void TFixProgress::ThumbMove(Qt::MouseButtons buttons, const QPoint& globalPos) {
    if (!(buttons & Qt::LeftButton) && !dragging_) {
        return;
    }
    MoveThumbTo(dragStartLeft_ + globalPos.x() - dragStartCursor_.x());
    NotifyPosition(1);
}

void TFixProgress::ThumbUp(Qt::MouseButton button) {
    EndBodyDrag();
    if (button == Qt::LeftButton) {
        NotifyPosition(0);
    }
}

void TFixProgress::EndBodyDrag() {
    dragging_ = false;
    if (thumb_ && QWidget::mouseGrabber() == thumb_) {
        thumb_->releaseMouse();
    }
}

void TFixProgress::MarkerDown(Qt::MouseButton button, TImageButton& marker,
                              const QPoint& globalPos) {
    if (button != Qt::LeftButton) {
        return;
    }
    dragStartCursor_ = globalPos;
    dragStartLeft_ = marker.x();
}

void TFixProgress::MarkerMove(Qt::MouseButtons buttons, TImageButton& marker,
                              const QPoint& globalPos) {
    if (!(buttons & Qt::LeftButton)) {
        return;
    }
    const int left = dragStartLeft_ + globalPos.x() - dragStartCursor_.x();
    if (&marker == startMarker_) {
        PlaceStartMarker(Clamp(left, 0, endMarker_->x() - startMarker_->width()));
    } else {
        PlaceEndMarker(
            Clamp(left, startMarker_->x() + startMarker_->width(), width() - endMarker_->width()));
    }
    SpanFillOverMarkers();
}

TImageButton* TFixProgress::MarkerAt(int x) const {
    TImageButton* nearest = nullptr;
    int nearestDistance = 0;
    for (TImageButton* marker : {startMarker_, endMarker_}) {
        if (!marker || !marker->isEnabled()) {
            continue;
        }
        const int distance = std::abs(x - (marker->x() + marker->width() / 2));
        const int reach = std::max(kMarkerGrabWidth, marker->width()) / 2;
        if (distance <= reach && (!nearest || distance < nearestDistance)) {
            nearest = marker;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void TFixProgress::MarkerUp(Qt::MouseButton button, TImageButton& marker) {
    if (QWidget::mouseGrabber() == &marker) {
        marker.releaseMouse();
    }
    if (button == Qt::LeftButton) {
        SendMessage(parentWidget(), WM_RANGE_MARKER, &marker == startMarker_ ? 1 : 0, 0);
    }
}

void TFixProgress::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !thumb_) {
        return;
    }
    if (TImageButton* marker = MarkerAt(event->position().toPoint().x())) {
        // A press beside the marker's thin picture drags the marker as if it had been hit.
        MarkerDown(Qt::LeftButton, *marker, event->globalPosition().toPoint());
        marker->grabMouse();
        return;
    }
    if (!thumb_->isEnabled()) {
        return;
    }
    MoveThumbTo(event->position().toPoint().x() - thumb_->width() / 2);
    dragging_ = true;
    dragStartCursor_ = event->globalPosition().toPoint();
    dragStartLeft_ = thumb_->x();
    // The following moves and the release belong to the thumb, as if it had been pressed.
    thumb_->grabMouse();
    NotifyPosition(1);
}

void TFixProgress::mouseReleaseEvent(QMouseEvent* event) {
    // Only reached when the thumb could not take the release (it was disabled mid-drag): end
    // the drag so the grab does not outlive the button.
    event->accept();
    EndBodyDrag();
}

#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>

class TImage;
class TImageButton;

// The skinned position bar: a track picture, a draggable thumb that shows and sets a position in
// percent, and optionally two range markers with a stretched fill picture between them. Built
// by the skin loader with SetTrack, SetRangeFill, SetThumbAndMarkers and Arrange, in that order.
//
// The owner feeds positions with SetPosition (ignored while the user holds or drags the thumb),
// hears the thumb through the position callback and the markers through WM_RANGE_MARKER, sent
// synchronously to the bar's parent widget's message map (wParam 1 start marker, 0 end marker)
// once per marker release; it then reads the range with GetRange. A disabled thumb also blocks
// presses on the bar body, except where they take a marker.
//
// A marker's picture is a narrow, partly cut-out shape; a press on the bar within
// kMarkerGrabWidth of its centre takes the marker rather than seeking, and the markers are drawn
// above the thumb so that a thumb parked on a range end never hides it.
//
// From the keyboard (the bar is a Tab stop while its thumb is enabled) the arrow keys step the
// thumb by one second of the clip's duration, Page Up and Page Down by a tenth of the bar, Home
// and End to the ends; each step is told to the owner as a finished drag (pressed 0).
class TFixProgress : public QWidget {
    Q_OBJECT
  public:
    // (percent, pressed, sender): pressed is 1 while the left button is down (press and every
    // move), 0 on the release.
    using TPositionCallback =
        std::function<void(double percent, int pressed, TFixProgress* sender)>;

    static constexpr int kMarkerGrabWidth = 12;

    explicit TFixProgress(QWidget* parent = nullptr);

    bool SetTrack(const QImage& bitmap);
    bool SetRangeFill(const QImage& bitmap);
    // thumbStrip is three images wide (normal, hover, unused); so are the marker strips. The
    // markers come both or neither: both null removes them, exactly one null is refused.
    bool SetThumbAndMarkers(const QImage& thumbStrip, const QImage& startStrip,
                            const QImage& endStrip);
    // Sizes the bar to the track and places every part; no range afterwards. False without a
    // thumb or a track.
    bool Arrange();

    // Moves the thumb from outside without calling the position callback. Negative or NaN: the
    // thumb goes to its left end and the position to 0.
    bool SetPosition(double percent);
    // Clamps x to [ThumbMin, ThumbMax], places the thumb and recomputes the position. When the
    // thumb has no room to move (ThumbMax <= ThumbMin) the position is 0.
    bool MoveThumbTo(int x);
    // Fractions 0..1 of the range scale [ThumbMin, MarkerLimit]; both negative (or NaN) means no
    // range: markers at the two ends and disabled, fill empty.
    void SetRange(float start, float end);
    // The range read back from the markers (or the fill) as fractions; 0, 0 when the scale has
    // no width.
    std::pair<float, float> GetRange() const;
    // The length in seconds of what the bar shows, for the keyboard's steps and for assistive
    // technology; 0 or less (or NaN) when unknown, and the arrow keys then step one percent.
    void SetDuration(double seconds);
    double Duration() const { return duration_; }
    // The position in seconds of Duration.
    double Seconds() const { return duration_ * position_ * 0.01; }
    // Moves the thumb to seconds (clamped to the bar) and tells the owner, as a key step does.
    // False when the thumb is missing or disabled.
    bool StepToSeconds(double seconds);
    // Moves the thumb to percent (clamped to 0 .. 100) and tells the owner; false as above.
    bool StepToPercent(double percent);
    void SetPositionCallback(TPositionCallback callback) {
        onPositionChanged_ = std::move(callback);
    }

    double Position() const { return position_; }
    int ThumbMin() const { return thumbMin_; }
    int ThumbMax() const { return thumbMax_; }
    int MarkerLimit() const { return markerLimit_; }
    bool Dragging() const { return dragging_; }
    TImageButton* Thumb() const { return thumb_; }
    TImageButton* StartMarker() const { return startMarker_; }
    TImageButton* EndMarker() const { return endMarker_; }
    TImage* Track() const { return track_; }
    TImage* RangeFill() const { return rangeFill_; }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    double SecondStepPercent() const;
    void AnnounceValue();
    TImageButton* MakePart(const char* name);
    bool LoadPart(TImageButton& part, const QImage& strip);
    void RemoveMarkers();
    void ThumbDown(Qt::MouseButton button, const QPoint& globalPos);
    void ThumbMove(Qt::MouseButtons buttons, const QPoint& globalPos);
    void ThumbUp(Qt::MouseButton button);
    void EndBodyDrag();
    void MarkerDown(Qt::MouseButton button, TImageButton& marker, const QPoint& globalPos);
    void MarkerMove(Qt::MouseButtons buttons, TImageButton& marker, const QPoint& globalPos);
    void MarkerUp(Qt::MouseButton button, TImageButton& marker);
    // The enabled marker whose grab area holds the bar point x, the nearer one when both do.
    TImageButton* MarkerAt(int x) const;
    void RaiseParts();
    void PlaceStartMarker(int left);
    void PlaceEndMarker(int left);
    void SpanFillOverMarkers();
    void NotifyPosition(int pressed);

    TImageButton* thumb_ = nullptr;
    TImageButton* startMarker_ = nullptr;
    TImageButton* endMarker_ = nullptr;
    TImage* track_ = nullptr;
    TImage* rangeFill_ = nullptr;
    double position_ = 0;
    double duration_ = 0;
    int thumbMin_ = 0;
    int thumbMax_ = 0;
    int markerLimit_ = 0;
    QPoint dragStartCursor_;
    int dragStartLeft_ = 0;
    bool dragging_ = false;
    TPositionCallback onPositionChanged_;
};

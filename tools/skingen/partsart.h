#pragma once

#include <QImage>

// The pieces that live inside controls: the position bar, the list panel's scroll bar and the
// progress window's bars. Sizes are in units; each is drawn at scale (art::NewPicture).
namespace parts {

inline constexpr int kBarWidth = 300;
inline constexpr int kBarHeight = 16;
inline constexpr int kThumbSize = 14;
inline constexpr int kMarkerWidth = 8;

// Position bar: track (the bar's size), range fill (stretched), thumb and markers (three images
// each: normal, hover, and a third the bar does not show).
QImage BarTrack(int scale);
QImage BarRangeFill(int scale);
QImage BarThumb(int scale);
QImage BarMarker(bool start, int scale);

inline constexpr int kScrollWidth = 12;
// List panel: thumb and buttons (normal, hover, down), track and the content colour.
QImage ListThumb(int scale);
QImage ListButton(bool up, int scale);
QImage ListTrack(int scale);
QImage ListBackground(int scale);

// Progress window: the panel's background with two grooves, and a fill of the panel's width
// whose outside is the transparent colour (its bottom-left pixel).
QImage ProgressGrooves(int width, int height, int firstTop, int secondTop, int barHeight,
                       int scale);
QImage ProgressFill(int width, int height, bool total, int scale);

}  // namespace parts

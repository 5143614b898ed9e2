#pragma once

#include <QImage>
#include <functional>
#include <optional>

// The four state images of a bitmap button, cut once from a horizontal strip that holds, side by
// side from x = 0, the normal image and then whichever of hover, down and disabled it has (absent
// images take no room). An absent image is the normal image itself; QImage shares the pixels, so
// an alias costs nothing and owns nothing of its own.
class TStateImages {
  public:
    // The strip's layout must be at least width x (1 + number of flags set) wide; otherwise, or
    // for a null strip or a negative size, nothing is cut. Every image is width x height, copied
    // 1:1 from the strip (rows the strip lacks stay black). Sizes are in 1 x units; the images
    // keep the strip's device pixel ratio.
    static std::optional<TStateImages> Cut(const QImage& strip, int width, int height, bool hover,
                                           bool down, bool disabled);
    // True when a strip of stripWidth pixels holds width x count images.
    static bool StripFits(int stripWidth, int width, bool hover, bool down, bool disabled);

    // Replaces every image by change(image); absent images stay aliases of the normal one.
    void Change(const std::function<QImage(const QImage&)>& change);

    bool IsEmpty() const { return normal_.isNull(); }
    const QImage& Normal() const { return normal_; }
    const QImage& Hover() const { return hover_ ? *hover_ : normal_; }
    const QImage& Down() const { return down_ ? *down_ : normal_; }
    const QImage& Disabled() const { return disabled_ ? *disabled_ : normal_; }
    bool HasHover() const { return hover_.has_value(); }
    bool HasDown() const { return down_.has_value(); }
    bool HasDisabled() const { return disabled_.has_value(); }

  private:
    QImage normal_;
    std::optional<QImage> hover_;
    std::optional<QImage> down_;
    std::optional<QImage> disabled_;
};

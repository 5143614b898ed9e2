#pragma once

#include <QFont>
#include <QString>

// Fits one "caption : value" line of a clip's face into the room it has. A path may lose its
// middle, where the folders are, and keeps its start and its file name. Any other value is a
// fact the user reads as a whole (a size, a time, a format), so the line's font shrinks first,
// then the caption gives way, and only a value that cannot fit alone is cut at its end.
class TFittedText {
  public:
    enum class TFit { ElideMiddle, KeepWhole };

    struct TLine {
        QFont Font;
        QString Text;
    };

    // Below this the face's text is no longer readable.
    static constexpr int kSmallestPixelSize = 8;

    static TLine Fit(const QString& caption, const QString& value, TFit fit, const QFont& font,
                     int width);

  private:
    static TLine FitPath(const QString& caption, const QString& value, const QFont& font,
                         int width);
    static TLine FitWhole(const QString& caption, const QString& value, const QFont& font,
                          int width);
};

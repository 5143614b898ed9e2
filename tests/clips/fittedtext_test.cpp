#include "clips/fittedtext.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace {

QFont FaceFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

int WidthOf(const TFittedText::TLine& line) {
    return QFontMetrics(line.Font).horizontalAdvance(line.Text);
}

TEST(FittedTextTest, TextThatFitsIsLeftAlone) {
    const auto line = TFittedText::Fit("Clip Resolution : ", "320x240",
                                       TFittedText::TFit::KeepWhole, FaceFont(), 300);
    EXPECT_EQ(line.Text, "Clip Resolution : 320x240");
    EXPECT_EQ(line.Font.pixelSize(), 11);
}

TEST(FittedTextTest, AValueStaysWholeInASmallerFontOrAtTheCaptionsCost) {
    const QString caption = "Clip Resolution : ";
    const QString value = "1920x1080";
    const int full = QFontMetrics(FaceFont()).horizontalAdvance(caption + value);
    // Just too narrow: a smaller font is enough.
    auto line =
        TFittedText::Fit(caption, value, TFittedText::TFit::KeepWhole, FaceFont(), full - 4);
    EXPECT_EQ(line.Text, caption + value);
    EXPECT_LT(line.Font.pixelSize(), 11);
    EXPECT_LE(WidthOf(line), full - 4);
    // Far too narrow even for the smallest font: the caption gives way, the value does not.
    line = TFittedText::Fit(caption, value, TFittedText::TFit::KeepWhole, FaceFont(), full / 2);
    EXPECT_TRUE(line.Text.endsWith(value)) << qPrintable(line.Text);
    EXPECT_EQ(line.Font.pixelSize(), TFittedText::kSmallestPixelSize);
    EXPECT_LE(WidthOf(line), full / 2);
    // Not even the value fits: it is cut at its end, never overflowing the room.
    line = TFittedText::Fit(caption, value, TFittedText::TFit::KeepWhole, FaceFont(), 20);
    EXPECT_LE(WidthOf(line), 20);
}

TEST(FittedTextTest, APathLosesItsMiddleAndKeepsItsStartAndFileName) {
    const QString path =
        "/home/someone/Videos/Holiday videos from the summer/Camera two/"
        "the long walk along the beach.mp4";
    const auto line =
        TFittedText::Fit("Clip Name : ", path, TFittedText::TFit::ElideMiddle, FaceFont(), 290);
    EXPECT_TRUE(line.Text.startsWith("Clip Name : /home")) << qPrintable(line.Text);
    EXPECT_TRUE(line.Text.endsWith("beach.mp4")) << qPrintable(line.Text);
    EXPECT_TRUE(line.Text.contains(QChar(0x2026)));
    EXPECT_EQ(line.Font.pixelSize(), 11);
    EXPECT_LE(WidthOf(line), 290);
}

}  // namespace

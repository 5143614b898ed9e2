#include <gtest/gtest.h>

#include <QImage>
#include <QMessageBox>

#include "app/startup.h"
#include "support/tempdir.h"

namespace {

// Records the fade instead of waiting it out.
class RecordingStartUp : public TStartUp {
  public:
    using TStartUp::TStartUp;
    struct Step {
        int alpha;
        int pause = 0;
        bool handledMessages = false;
    };
    std::vector<Step> steps;

  protected:
    void SetAlpha(int alpha) override {
        TStartUp::SetAlpha(alpha);
        steps.push_back({alpha});
    }
    void Pause(int milliseconds, bool handleMessages) override {
        steps.back().pause = milliseconds;
        steps.back().handledMessages = handleMessages;
    }
};

QString WriteJpeg(const TempDir& dir, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = dir.Path() + "startup.jpg";
    image.save(path, "JPG");
    return path;
}

}  // namespace

TEST(StartUp, FadesInThenOutInTheFixedSteps) {
    TempDir dir;
    RecordingStartUp splash(WriteJpeg(dir, QSize(123, 45)));
    splash.ShowSplash();
    ASSERT_TRUE(splash.Shown());
    EXPECT_EQ(splash.size(), QSize(123, 45));
    EXPECT_TRUE(splash.isVisible());

    ASSERT_EQ(splash.steps.size(), 26u);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(splash.steps[i].alpha, 10 * (i + 1));
        EXPECT_EQ(splash.steps[i].pause, 20);
        EXPECT_TRUE(splash.steps[i].handledMessages);
    }
    EXPECT_EQ(splash.steps[25].alpha, 255);
    EXPECT_EQ(splash.steps[25].pause, 0);  // the last value is set without a pause
    EXPECT_DOUBLE_EQ(splash.windowOpacity(), 1.0);

    splash.steps.clear();
    splash.HideSplash();
    ASSERT_EQ(splash.steps.size(), 51u);
    for (int i = 0; i < 51; ++i) {
        EXPECT_EQ(splash.steps[i].alpha, 250 - 5 * i);
        EXPECT_EQ(splash.steps[i].pause, 10);
        EXPECT_FALSE(splash.steps[i].handledMessages);
    }
}

TEST(StartUp, NoPictureNoSplashNoFades) {
    TempDir dir;
    RecordingStartUp missing(dir.Path() + "startup.jpg");
    missing.ShowSplash();
    missing.HideSplash();
    EXPECT_FALSE(missing.Shown());
    EXPECT_FALSE(missing.isVisible());
    EXPECT_TRUE(missing.steps.empty());

    // A damaged picture is treated as none rather than stopping the program.
    RecordingStartUp damaged(dir.Write("startup.jpg", "\xFF\xD8\xFF\xE0 broken"));
    damaged.ShowSplash();
    EXPECT_FALSE(damaged.Shown());
    EXPECT_TRUE(damaged.steps.empty());
}

TEST(StartUp, AnyWindowShownOverItHidesTheSplashForGood) {
    TempDir dir;
    RecordingStartUp splash(WriteJpeg(dir, QSize(60, 40)));
    splash.ShowSplash();
    ASSERT_TRUE(splash.isVisible());

    QWidget inner(&splash);  // a part of the splash itself is no reason to go
    inner.show();
    EXPECT_TRUE(splash.isVisible());

    QMessageBox box(QMessageBox::Critical, "Error", "the skin is broken");
    box.show();
    EXPECT_FALSE(splash.isVisible());

    // Its fade-out would only delay the box's end on a splash nobody sees.
    splash.steps.clear();
    splash.HideSplash();
    EXPECT_TRUE(splash.steps.empty());
    EXPECT_FALSE(splash.isVisible());
}

// The windows as a native Wayland client of a real compositor (a headless weston started by
// under_weston.py): what the compositor maps, where it takes input and what it shows. Outside
// that launcher every test here is skipped.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <QWindow>
#include <functional>

#include "app/startup.h"
#include "clips/listpanel.h"
#include "compositorlog.h"
#include "compositorscreen.h"
#include "conversion/progresswindow.h"
#include "platform/inifile.h"
#include "profiles/profilewindow.h"
#include "skin/dynamicimagebutton.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/windowdragger.h"
#include "windows/aboutwindow.h"
#include "windows/mainwindow.h"
#include "windows/selectwindow.h"
#include "windowsfixture.h"

namespace {

constexpr QRgb kKeyColour = 0xFF00FF;
constexpr int kSettleMs = 5000;

// The pixels of a skin mask that are not magenta, built row by row from runs.
QRegion ShapeOfMask(const QImage& mask) {
    QRegion shape;
    for (int y = 0; y < mask.height(); ++y) {
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && (mask.pixel(x, y) & RGB_MASK) == kKeyColour) {
                ++x;
            }
            const int start = x;
            while (x < mask.width() && (mask.pixel(x, y) & RGB_MASK) != kKeyColour) {
                ++x;
            }
            if (x > start) {
                shape += QRect(start, y, x - start, 1);
            }
        }
    }
    return shape;
}

// What one window looks like on the compositor's output.
struct TOnScreen {
    QRect bounds;           // every pixel that is not the background
    int outside = 0;        // pixels outside the shape that are not the background
    int inside = 0;         // pixels of the shape
    int insideDiffers = 0;  // pixels of the shape that are not what the window drew
};

TOnScreen Measure(const TCompositorScreen& screen, const QImage& shot, const QImage& drawn,
                  const QRegion& shape) {
    TOnScreen seen;
    seen.bounds = screen.Covered(shot);
    // The window's origin on the output: the compositor chose it, the client cannot know it.
    const QPoint origin = seen.bounds.topLeft() - shape.boundingRect().topLeft();
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            const QRgb shown = shot.valid(at) ? shot.pixel(at) : screen.Background();
            if (!shape.contains(QPoint(x, y))) {
                seen.outside += shown != screen.Background() ? 1 : 0;
                continue;
            }
            ++seen.inside;
            seen.insideDiffers += (shown & RGB_MASK) != (drawn.pixel(x, y) & RGB_MASK) ? 1 : 0;
        }
    }
    return seen;
}

bool LooksRight(const TOnScreen& seen, const QRegion& shape) {
    // A blinking text cursor may differ between the two pictures; nothing else should.
    return seen.bounds.size() == shape.boundingRect().size() && seen.outside == 0 &&
           seen.insideDiffers * 100 <= seen.inside;
}

// The compositor shows a new buffer a frame or two after the client hands it over; read the
// output back until the window is there as drawn, or the time is up.
TOnScreen FindOnScreen(const TCompositorScreen& screen, QWidget& window, const QRegion& shape,
                       const QString& name) {
    TOnScreen seen;
    QImage shot;
    QTest::qWaitFor(
        [&] {
            const std::optional<QImage> taken = screen.Shot();
            if (!taken) {
                return false;
            }
            shot = *taken;
            const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            seen = Measure(screen, shot, drawn, shape);
            return LooksRight(seen, shape);
        },
        kSettleMs);
    if (!shot.isNull()) {
        screen.Keep(shot, seen.bounds.adjusted(-8, -8, 8, 8), name);
    }
    return seen;
}

bool InputRegionReaches(const TCompositorLog& log, const QRegion& shape) {
    return QTest::qWaitFor(
        [&] {
            const std::vector<QRegion> inputs = log.InputRegions();
            return std::find(inputs.begin(), inputs.end(), shape) != inputs.end();
        },
        kSettleMs);
}

class WaylandTest : public WindowsTest {
  protected:
    void SetUp() override {
        WindowsTest::SetUp();
        if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
            !screen_.Available() || !log_.Available()) {
            GTEST_SKIP() << "needs a compositor of its own (run through under_weston.py)";
        }
        ASSERT_TRUE(StartWindows());
    }

    QRegion SkinShape(const QWidget& window) const {
        const TIniFile skin(SkinDir() + QStringLiteral("Skin.ini"));
        const QString mask = skin.ReadString(window.objectName(), QStringLiteral("MaskBmp"), {});
        return ShapeOfMask(QImage(SkinDir() + mask));
    }

    // Shown by open, the window is mapped at its skin's 1 x size, takes input only inside its
    // shape and shows nothing outside it.
    void CheckMapsWithItsShape(QWidget& window, const std::function<void()>& open, QSize skinSize) {
        SCOPED_TRACE(window.objectName().toStdString());
        open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.size(), skinSize);
        EXPECT_EQ(window.windowHandle()->devicePixelRatio(), 1.0);

        const QRegion shape = SkinShape(window);
        ASSERT_FALSE(shape.isEmpty());
        ASSERT_EQ(shape.boundingRect(), QRect(QPoint(), skinSize));
        ASSERT_NE(shape, QRegion(window.rect())) << "a shape with nothing cut off proves nothing";
        EXPECT_EQ(window.mask(), shape);
        EXPECT_EQ(window.windowHandle()->mask(), shape);
        EXPECT_TRUE(InputRegionReaches(log_, shape)) << "the compositor got no such input region";

        const TOnScreen seen = FindOnScreen(screen_, window, shape, window.objectName());
        EXPECT_EQ(seen.bounds.size(), skinSize);
        EXPECT_EQ(seen.outside, 0) << "pixels shown outside the shape";
        EXPECT_LE(seen.insideDiffers * 100, seen.inside) << "the shape shows something else";
        window.hide();
    }

    TCompositorScreen screen_;
    TCompositorLog log_;
};

TEST_F(WaylandTest, EveryWindowMapsAtItsSkinSizeAndKeepsItsShape) {
    CheckMapsWithItsShape(
        *SelectWindow, [] { SelectWindow->show(); }, formlayout::select::kWindow);
    CheckMapsWithItsShape(
        *MainWindow,
        [] {
            MainWindow->SelectDeviceFamily(4);
            MainWindow->show();
        },
        formlayout::main::kWindow);
    CheckMapsWithItsShape(
        *ProfileWindow, [] { ProfileWindow->ShowForNewProfile(4); }, formlayout::profile::kWindow);
    CheckMapsWithItsShape(
        *ProgressWindow,
        [] {
            ProgressWindow->PrepareRun(MainWindow->TP_ImageList,
                                       [](ConvertSettings&, TConvertTarget&) { return false; });
            ProgressWindow->ShowModal();
        },
        formlayout::progress::kWindow);

    // The about window is made by the help menu's last item, over the main window.
    MainWindow->SelectDeviceFamily(4);
    MainWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(MainWindow));
    MainWindow->ShowHelpMenu(MainWindow->mapToGlobal(MainWindow->TB_Help->geometry().center()));
    ASSERT_NE(MainWindow->HelpMenu(), nullptr);
    MainWindow->HelpMenu()->hide();
    MainWindow->HelpMenu()->actions().last()->trigger();
    ASSERT_NE(AboutWindow, nullptr);
    MainWindow->hide();
    CheckMapsWithItsShape(
        *AboutWindow, [] { AboutWindow->ShowModal(); }, formlayout::about::kWindow);
}

// Records what the splash does instead of pausing, so the check sees whether it faded.
class RecordingSplash : public TStartUp {
  public:
    using TStartUp::TStartUp;
    std::vector<int> alphas;
    int pauses = 0;

  protected:
    void SetAlpha(int alpha) override {
        alphas.push_back(alpha);
        TStartUp::SetAlpha(alpha);
    }
    void Pause(int, bool) override { ++pauses; }
};

TEST_F(WaylandTest, SplashShowsAndHidesWithoutFading) {
    RecordingSplash splash(SkinDir() + QStringLiteral("startup.jpg"));
    splash.ShowSplash();
    ASSERT_TRUE(splash.Shown());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    const QRegion whole(splash.rect());
    const TOnScreen seen = FindOnScreen(screen_, splash, whole, QStringLiteral("StartUp"));
    EXPECT_EQ(seen.bounds.size(), splash.size());
    EXPECT_LE(seen.insideDiffers * 100, seen.inside) << "the splash is not shown at full strength";

    splash.HideSplash();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_TRUE(splash.alphas.empty());
    EXPECT_EQ(splash.pauses, 0);
    EXPECT_EQ(splash.windowOpacity(), 1.0);
    // Gone from the output too, not left behind transparent.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const std::optional<QImage> shot = screen_.Shot();
            return shot && screen_.Covered(*shot).isEmpty();
        },
        kSettleMs));
}

class WaylandDragTest : public WaylandTest {
  protected:
    void SetUp() override {
        WaylandTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        SelectWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(SelectWindow));
        dragger_ = SelectWindow->findChild<TWindowDragger*>();
        ASSERT_NE(dragger_, nullptr);
        // The real hand-over, watched.
        dragger_->SetSystemMove([this](QWidget& window) {
            const bool taken = TWindowDragger::SystemMove(window);
            handOvers_.push_back(taken);
            return taken;
        });
        background_ = BackgroundPoint();
        ASSERT_FALSE(background_.isNull());
    }

    // A point of the window's own background, inside its shape and away from every button.
    static QPoint BackgroundPoint() {
        for (int y = 40; y < SelectWindow->height(); y += 7) {
            for (int x = 40; x < SelectWindow->width(); x += 7) {
                const QPoint at(x, y);
                QWidget* under = SelectWindow->childAt(at);
                if (SelectWindow->mask().contains(at) &&
                    (under == nullptr || under == SelectWindow->Img_Background)) {
                    return at;
                }
            }
        }
        return {};
    }

    TWindowDragger* dragger_ = nullptr;
    std::vector<bool> handOvers_;
    QPoint background_;
};

TEST_F(WaylandDragTest, FirstMovementHandsTheDragToTheCompositorAndNothingElseMovesTheWindow) {
    const QRect before = SelectWindow->geometry();
    QTest::mousePress(SelectWindow, Qt::LeftButton, {}, background_);
    EXPECT_TRUE(handOvers_.empty()) << "a press alone must not start a move";
    for (int step = 1; step <= 4; ++step) {
        QTest::mouseMove(SelectWindow, background_ + QPoint(10 * step, 6 * step));
    }
    ASSERT_EQ(handOvers_.size(), 1u) << "one hand-over, on the first movement";
    QTest::mouseRelease(SelectWindow, Qt::LeftButton, {}, background_ + QPoint(40, 24));
    EXPECT_FALSE(dragger_->DragActive());
    if (!handOvers_.front()) {
        // Refused (a compositor without a seat): the window stays where the compositor put it,
        // and the toolkit's idea of its place must not wander off with each event.
        EXPECT_EQ(SelectWindow->geometry(), before);
    }
    EXPECT_TRUE(SelectWindow->isVisible());
}

TEST_F(WaylandDragTest, PlainClicksStillClick) {
    QTest::mouseClick(SelectWindow, Qt::LeftButton, {}, background_);
    EXPECT_TRUE(handOvers_.empty());
    EXPECT_TRUE(SelectWindow->isVisible());

    Click(SelectWindow->DeviceButton(2));
    EXPECT_TRUE(handOvers_.empty());
    EXPECT_FALSE(SelectWindow->isVisible());
    EXPECT_TRUE(MainWindow->isVisible());
    EXPECT_EQ(MainWindow->DeviceFamily(), 2);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(MainWindow));
}

}  // namespace

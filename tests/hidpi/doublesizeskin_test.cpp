#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include "clips/image_item.h"
#include "defaultskin.h"
#include "platform/scaledpicture.h"
#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/skin.h"
#include "standinwindows.h"
#include "strips.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

// This program runs with QT_SCALE_FACTOR=2: every window is a 2 x window.
namespace {

const QColor kUnitBackground(90, 90, 90);
const QColor kDoubleBackground(30, 160, 220);
const QColor kCyan(0, 200, 200);
const QColor kOrange(250, 140, 0);
const QColor kPurple(120, 0, 160);
const QColor kNavy(0, 0, 90);

class TestWindow : public QWidget, public TSkinnedWindow {
  public:
    TestWindow() {
        setObjectName("MainWindow");
        setWindowFlags(Qt::FramelessWindowHint);
        resize(50, 50);
        background = Add<TImage>("Img_Background");
        play = Add<TDynamicImageButton>("TB_Play");
        keep = Add<TCheckImageButton>("TB_AS_Keep");
        bar = Add<TFixProgress>("TP_Progress");
    }
    std::vector<TSkinComponent> SkinComponents() override { return components; }

    TImage* background;
    TDynamicImageButton* play;
    TCheckImageButton* keep;
    TFixProgress* bar;

  private:
    template <class T>
    T* Add(const QString& name) {
        auto* control = new T(this);
        control->setObjectName(name);
        components.push_back(SkinComponent(control));
        return control;
    }
    std::vector<TSkinComponent> components;
};

// A 1 x skin in solid colours; Double() adds companions in other colours, so a test can tell
// which picture each control took.
class DoubleSizeSkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_DOUBLE_EQ(window.devicePixelRatioF(), 2.0) << "the test needs QT_SCALE_FACTOR=2";
        SaveBmp(dir, "bg.bmp", MakeStrip({kUnitBackground}, 320, 200));
        SaveBmp(dir, "play.bmp", MakeStrip({kRed, kGreen, kBlue}, 20, 10));
        SaveBmp(dir, "play_anim.bmp", MakeFrames(3, 20, 10));
        SaveBmp(dir, "keep.bmp", MakeStrip({kRed, kGreen}, 16, 16));
        SaveBmp(dir, "keep_on.bmp", MakeStrip({kBlue, kYellow}, 16, 16));
        SaveBmp(dir, "thumb.bmp", MakeStrip({kRed, kGreen, kBlue}, 20, 12));
        SaveBmp(dir, "fill.bmp", MakeStrip({kYellow}, 30, 6));
        SaveBmp(dir, "track.bmp", MakeStrip({kGrey}, 300, 12));
        // The window's corner is cut away.
        QImage mask = MakeStrip({Qt::white}, 320, 200);
        QPainter(&mask).fillRect(0, 0, 10, 10, kMagenta);
        SaveBmp(dir, "mask.bmp", mask);
        dir.Write("Skin.ini",
                  "[MainWindow]\r\n"
                  "Img_Background=bg.bmp,,,0,0,320,200,1,0,0,0,,1,1,\r\n"
                  "TB_Play=play.bmp,play_anim.bmp,,10,20,20,10,1,1,0,0,Play,100,0,0,\r\n"
                  "TB_AS_Keep=keep.bmp,keep_on.bmp,,40,20,16,16,1,1,0,0,Off#On,1,0,0,\r\n"
                  "TP_Progress=thumb.bmp,fill.bmp,track.bmp,10,150,0,0,1,1,0,0,Seek,,,\r\n"
                  "MaskBmp=mask.bmp\r\n");
    }

    void Double() {
        SaveBmp(dir, "bg@2x.bmp", MakeStrip({kDoubleBackground}, 640, 400));
        SaveBmp(dir, "play@2x.bmp", MakeStrip({kCyan, kOrange, kPurple}, 40, 20));
        SaveBmp(dir, "play_anim@2x.bmp", MakeStrip({kNavy, kCyan, kOrange}, 40, 20));
        SaveBmp(dir, "keep@2x.bmp", MakeStrip({kCyan, kOrange}, 32, 32));
        SaveBmp(dir, "keep_on@2x.bmp", MakeStrip({kPurple, kNavy}, 32, 32));
        SaveBmp(dir, "thumb@2x.bmp", MakeStrip({kCyan, kOrange, kPurple}, 40, 24));
        SaveBmp(dir, "fill@2x.bmp", MakeStrip({kOrange}, 60, 12));
        SaveBmp(dir, "track@2x.bmp", MakeStrip({kNavy}, 600, 24));
        // A window's shape is cut from the 1 x mask only; this one would hide the window.
        SaveBmp(dir, "mask@2x.bmp", MakeStrip({kMagenta}, 640, 400));
    }

    bool Apply() {
        TModalAnswerer answerer;
        const bool applied = ApplySkin(&window, dir.Path());
        EXPECT_TRUE(answerer.Texts().isEmpty());
        return applied;
    }

    // Whatever pictures were taken, sizes and places stay the skin's 1 x units.
    void ExpectUnitGeometry() {
        EXPECT_EQ(window.size(), QSize(320, 200));
        EXPECT_EQ(window.background->geometry(), QRect(0, 0, 320, 200));
        EXPECT_EQ(window.play->geometry(), QRect(10, 20, 20, 10));
        EXPECT_EQ(window.play->Frames().size(), 3u);
        EXPECT_EQ(window.keep->geometry(), QRect(40, 20, 16, 16));
        EXPECT_EQ(window.bar->geometry(), QRect(10, 150, 300, 12));
        EXPECT_EQ(window.bar->Thumb()->size(), QSize(20, 12));
        EXPECT_EQ(window.bar->ThumbMax(), 280);
        EXPECT_EQ(window.mask(), QRegion(0, 0, 320, 200).subtracted(QRegion(0, 0, 10, 10)));
    }

    TempDir dir;
    TestWindow window;
};

TEST_F(DoubleSizeSkinTest, TwoTimesWindowTakesTheDoubleSizePictures) {
    Double();
    ASSERT_TRUE(Apply());
    ExpectUnitGeometry();

    const QImage& background = window.background->Picture();
    EXPECT_EQ(background.devicePixelRatio(), 2.0);
    EXPECT_EQ(background.size(), QSize(640, 400));
    EXPECT_EQ(PixelAt(background), kDoubleBackground);
    // Each state is cut at its place in the 2 x strip, not at its 1 x place.
    EXPECT_EQ(window.play->NormalImage().size(), QSize(40, 20));
    EXPECT_EQ(PixelAt(window.play->NormalImage(), 39, 19), kCyan);
    EXPECT_EQ(PixelAt(window.play->HoverImage(), 0, 0), kOrange);
    EXPECT_EQ(PixelAt(window.play->DownImage(), 39, 19), kPurple);
    EXPECT_EQ(PixelAt(window.play->Frames().at(2), 0, 0), kOrange);
    EXPECT_EQ(PixelAt(window.keep->HoverImage()), kOrange);
    window.keep->SetChecked(true);
    EXPECT_EQ(PixelAt(window.keep->Face()), kPurple);
    EXPECT_EQ(PixelAt(window.bar->Thumb()->HoverImage(), 0, 0), kOrange);
    EXPECT_EQ(PixelAt(window.bar->Track()->Picture()), kNavy);
}

TEST_F(DoubleSizeSkinTest, WithoutDoubleSizePicturesTheSkinLoadsAsBefore) {
    ASSERT_TRUE(Apply());
    ExpectUnitGeometry();
    const QImage& background = window.background->Picture();
    EXPECT_EQ(background.devicePixelRatio(), 1.0);
    EXPECT_EQ(PixelAt(background), kUnitBackground);
    EXPECT_EQ(PixelAt(window.play->HoverImage()), kGreen);
    EXPECT_EQ(PixelAt(window.play->Frames().at(2)), FrameColour(2));

    // Painted on the 2 x screen the 1 x picture is enlarged, not cut to its pixel count.
    window.background->setEnabled(false);
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(640, 400));
    EXPECT_EQ(shown.pixelColor(600, 380), kUnitBackground);
}

TEST_F(DoubleSizeSkinTest, ADoubleSizePictureThatCannotStandInIsPassedOver) {
    // One of the wrong size, one damaged: the sound 1 x pictures are used, without an error.
    SaveBmp(dir, "bg@2x.bmp", MakeStrip({kDoubleBackground}, 639, 400));
    SaveBmp(dir, "play@2x.bmp", MakeStrip({kCyan, kOrange, kPurple}, 20, 10));
    dir.Write("keep@2x.bmp", "BM this is not a bitmap");
    ASSERT_TRUE(Apply());
    ExpectUnitGeometry();
    EXPECT_EQ(PixelAt(window.background->Picture()), kUnitBackground);
    EXPECT_EQ(PixelAt(window.play->HoverImage()), kGreen);
    EXPECT_EQ(PixelAt(window.keep->HoverImage()), kGreen);
}

TEST(DoubleSizeShapedButton, ShapeInUnitsAndKeyPixelsSeeThrough) {
    // A 2 x strip of one 10 x 10 image whose top-left 3 x 3 pixels are magenta: the units at
    // least half magenta are left out, and the one magenta pixel of unit (1, 1) must not show.
    QImage strip = MakeStrip({kCyan}, 20, 20);
    QPainter(&strip).fillRect(0, 0, 3, 3, kMagenta);
    strip.setDevicePixelRatio(2);
    QWidget parent;
    TImageButton button(&parent);
    ASSERT_TRUE(button.LoadStateStrip(strip, 10, 10, true, false, false, false));
    EXPECT_EQ(button.size(), QSize(10, 10));
    EXPECT_EQ(
        button.mask(),
        QRegion(0, 0, 10, 10).subtracted(QRegion(0, 0, 2, 1)).subtracted(QRegion(0, 1, 1, 1)));
    EXPECT_EQ(qAlpha(button.NormalImage().pixel(2, 2)), 0);
    EXPECT_EQ(button.NormalImage().pixelColor(3, 3), kCyan);
    EXPECT_FALSE(button.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(DoubleSizeDefaultSkin, EveryWindowIsDressedFromDoubleSizePictures) {
    TempDir dir;
    ASSERT_TRUE(WriteDefaultSkin(dir.Path()));
    using TMaker = std::unique_ptr<TStandInWindow> (*)();
    for (TMaker make : {&MakeSelectWindow, &MakeMainWindow, &MakeProgressWindow, &MakeProfileWindow,
                        &MakeAboutWindow}) {
        const std::unique_ptr<TStandInWindow> window = make();
        const QSize form = window->size();
        TModalAnswerer answerer;
        ASSERT_TRUE(ApplySkin(window.get(), dir.Path())) << qPrintable(window->objectName());
        int pictures = 0;
        for (const TImage* image : window->findChildren<TImage*>()) {
            if (!image->Picture().isNull()) {
                ++pictures;
                EXPECT_EQ(image->Picture().devicePixelRatio(), 2.0)
                    << qPrintable(window->objectName() + "/" + image->objectName());
            }
        }
        for (const TImageButton* button : window->findChildren<TImageButton*>()) {
            if (!button->NormalImage().isNull()) {
                ++pictures;
                EXPECT_EQ(button->NormalImage().devicePixelRatio(), 2.0)
                    << qPrintable(window->objectName() + "/" + button->objectName());
            }
        }
        EXPECT_GT(pictures, 3) << qPrintable(window->objectName());
        // The background sizes the window in units, as the form does at 1 x.
        EXPECT_EQ(window->size(), form) << qPrintable(window->objectName());
    }
}

TEST(DoubleSizeListItem, FaceIsDrawnAtTheScreensDensity) {
    QWidget list;
    Image_Item item(&list);
    ClipRecord clip;
    clip.SourceFile = "/videos/holiday.mp4";
    clip.Duration = 90;
    QImage thumbnail(80, 60, QImage::Format_RGB32);
    thumbnail.fill(kBlue);
    item.Fill(clip, thumbnail);
    const QImage& face = item.Picture();
    EXPECT_EQ(face.devicePixelRatio(), 2.0);
    EXPECT_EQ(face.size(), QSize(Image_Item::ItemWidth * 2, Image_Item::ItemHeight * 2));
    // The thumbnail fills its 80 x 60 units, enlarged with the face.
    EXPECT_EQ(PixelAt(face, 2 * (2 + 79), 2 * (2 + 59)), kBlue);
    EXPECT_EQ(item.size(), QSize(Image_Item::ItemWidth, Image_Item::ItemHeight));
}

}  // namespace

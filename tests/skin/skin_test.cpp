#include "skin/skin.h"

#include <gtest/gtest.h>

#include <QImageWriter>
#include <QLineEdit>

#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "strips.h"
#include "support/modalanswerer.h"
#include "support/tempdir.h"

namespace {

// Stands for a class derived from a skinned one (as a list item derives from a picture): the
// loader must not dress it as its base.
class DerivedImage : public TImage {
  public:
    using TImage::TImage;
};

class TestWindow : public QWidget, public TSkinnedWindow {
  public:
    TestWindow() {
        setObjectName("MainWindow");
        resize(50, 50);
        auto* edit = new QLineEdit(this);  // an unlisted control needs no key
        edit->setObjectName("Edit_Name");
    }
    template <class T>
    T* Add(const QString& name) {
        auto* control = new T(this);
        control->setObjectName(name);
        components.push_back(SkinComponent(control));
        return control;
    }
    std::vector<TSkinComponent> SkinComponents() override { return components; }
    std::vector<TSkinComponent> components;
};

class SkinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir(dir.Path()).mkdir("buttons");
        SaveBmp(dir, "bg.bmp", MakeStrip({kGrey}, 320, 200));
        SaveBmp(dir, "buttons/play.bmp", MakeStrip({kRed, kGreen, kBlue}, 20, 10));
        SaveBmp(dir, "play_anim.bmp", MakeFrames(4, 20, 10));
        SaveBmp(dir, "keep.bmp", MakeStrip({kRed, kGreen}, 16, 16));
        SaveBmp(dir, "keep_on.bmp", MakeStrip({kBlue, kYellow}, 16, 16));
        SaveBmp(dir, "thumb.bmp", MakeStrip({kRed, kGreen, kBlue}, 20, 12));
        SaveBmp(dir, "start.bmp", MakeStrip({kRed, kGreen, kBlue}, 10, 12));
        SaveBmp(dir, "end.bmp", MakeStrip({kRed, kGreen, kBlue}, 10, 12));
        SaveBmp(dir, "fill.bmp", MakeStrip({kYellow}, 30, 6));
        SaveBmp(dir, "track.bmp", MakeStrip({kGrey}, 300, 12));
        dir.Write("garbage.bmp", "BM this is not a bitmap");

        background = window.Add<TImage>("Img_Background");
        play = window.Add<TDynamicImageButton>("TB_Play");
        keep = window.Add<TCheckImageButton>("TB_AS_Keep");
        progress = window.Add<TFixProgress>("TP_Progress");
        stop = window.Add<TImageButton>("TB_Stop");
        auto* derived = new DerivedImage(&window);
        derived->setObjectName("Img_Item");
        window.components.push_back(SkinComponent(static_cast<TImage*>(derived)));
    }

    // The skin file with the given entries of section MainWindow over the good defaults.
    void WriteSkin(const std::map<QString, QString>& overrides = {}) {
        std::map<QString, QString> entries = {
            {"Img_Background", "bg.bmp,,,0,0,320,200,1,0,0,0,,1,1,"},
            {"TB_Play", "buttons/play.bmp,play_anim.bmp,,10,20,20,10,1,1,1,0,Play,100,0,0,"},
            {"TB_AS_Keep", "keep.bmp,keep_on.bmp,,40,20,16,16,1,1,0,0,Keep ratio#Stretch,1,0,0,"},
            {"TP_Progress",
             "thumb.bmp,fill.bmp,track.bmp,10,150,0,0,1,1,0,0,Seek,start.bmp,"
             "end.bmp,"},
            {"TB_Stop", "buttons/play.bmp,,,40,60,20,10,1,1,0,0,,1,1,0,"},
        };
        for (const auto& [key, value] : overrides) {
            entries[key] = value;
        }
        QByteArray text = "[MainWindow]\r\n";
        for (const auto& [key, value] : entries) {
            if (value != "<missing>") {
                text += (key + "=" + value + "\r\n").toUtf8();
            }
        }
        dir.Write("Skin.ini", text);
    }

    TempDir dir;
    TestWindow window;
    TImage* background = nullptr;
    TDynamicImageButton* play = nullptr;
    TCheckImageButton* keep = nullptr;
    TFixProgress* progress = nullptr;
    TImageButton* stop = nullptr;
};

TEST_F(SkinTest, WithoutASkinFileNothingIsShownOrChanged) {
    TModalAnswerer answerer;
    EXPECT_FALSE(ApplySkin(&window, dir.Path()));
    EXPECT_TRUE(answerer.Texts().isEmpty());
    EXPECT_TRUE(play->isHidden());
    EXPECT_EQ(window.size(), QSize(50, 50));
}

TEST_F(SkinTest, AGoodSkinDressesEveryListedControl) {
    WriteSkin();
    TModalAnswerer answerer;
    ASSERT_TRUE(ApplySkin(&window, dir.Path()));
    EXPECT_TRUE(answerer.Texts().isEmpty());

    EXPECT_EQ(window.size(), QSize(320, 200));  // fields 13 and 14 of the background
    EXPECT_EQ(background->geometry(), QRect(0, 0, 320, 200));
    EXPECT_FALSE(background->isEnabled());
    EXPECT_TRUE(window.mask().isEmpty());

    EXPECT_EQ(play->geometry(), QRect(10, 20, 20, 10));
    EXPECT_FALSE(play->isHidden());
    EXPECT_EQ(play->toolTip(), "Play");
    EXPECT_TRUE(play->Shaped());
    EXPECT_EQ(play->Frames().size(), 4u);
    EXPECT_EQ(PixelAt(play->DownImage()), kBlue);

    EXPECT_EQ(keep->toolTip(), "Keep ratio");
    keep->SetChecked(true);
    EXPECT_EQ(keep->toolTip(), "Stretch");
    EXPECT_EQ(PixelAt(keep->Face()), kBlue);

    EXPECT_EQ(progress->geometry(), QRect(10, 150, 300, 12));
    EXPECT_EQ(progress->toolTip(), "Seek");
    EXPECT_EQ(progress->ThumbMax(), 270);
    EXPECT_NE(progress->StartMarker(), nullptr);

    EXPECT_EQ(stop->pos(), QPoint(40, 60));
    EXPECT_EQ(stop->toolTip(), "");  // the twelfth field is empty
}

TEST_F(SkinTest, EntryErrorsStopAtTheFailingControlWithTheErrorBox) {
    SaveBmp(dir, "mask.bmp", MakeStrip({kMagenta, kRed}, 160, 200));
    const std::vector<std::pair<QString, QString>> failures = {
        {"missing key", "<missing>"},
        {"empty value", ""},
        {"invisible in lower case", "invisible"},
        {"missing strip", "nothere.bmp,play_anim.bmp,,10,20,20,10,1,1,0,0,,100,0,0,"},
        {"strip one pixel short", "buttons/play.bmp,play_anim.bmp,,10,20,21,10,1,1,0,0,,1,1,0,"},
        {"animation 3 x Width + 1", "buttons/play.bmp,anim_odd.bmp,,10,20,20,10,1,1,0,0,,1,1,0,"},
        {"missing animation", "buttons/play.bmp,nothere.bmp,,10,20,20,10,1,1,0,0,,100,0,0,"},
        {"undecodable strip", "garbage.bmp,play_anim.bmp,,10,20,20,10,1,1,0,0,,100,0,0,"},
    };
    SaveBmp(dir, "anim_odd.bmp", MakeFrames(3, 20, 10, 1));
    for (const auto& [what, value] : failures) {
        TestWindow fresh;
        auto* image = fresh.Add<TImage>("Img_Background");
        auto* button = fresh.Add<TDynamicImageButton>("TB_Play");
        auto* later = fresh.Add<TImageButton>("TB_Stop");
        WriteSkin({{"TB_Play", value}, {"MaskBmp", "mask.bmp"}});
        TModalAnswerer answerer;
        EXPECT_FALSE(ApplySkin(&fresh, dir.Path())) << what.toStdString();
        ASSERT_EQ(answerer.Texts().size(), 1) << what.toStdString();
        EXPECT_EQ(answerer.Captions()[0], "Error");
        EXPECT_EQ(answerer.Texts()[0],
                  "Some Errors In Skin File.\nRe-install program may solve this problem!");
        EXPECT_FALSE(image->Picture().isNull()) << what.toStdString();  // before: kept
        EXPECT_TRUE(later->isHidden()) << what.toStdString();           // after: untouched
        EXPECT_TRUE(fresh.mask().isEmpty()) << what.toStdString();      // no shape
        (void)button;
    }
}

TEST_F(SkinTest, SpecialWordsAndStaticStrips) {
    WriteSkin({{"TB_Play", "buttons/play.bmp,STATIC,,10,20,20,10,1,1,0,0,Play,100,0,0,"},
               {"TB_AS_Keep", "keep.bmp,Static,,40,20,16,16,1,1,0,0,a#b,1,0,0,"},
               {"TB_Stop", "Invisible"}});
    stop->setGeometry(5, 5, 30, 30);
    TModalAnswerer answerer;
    ASSERT_TRUE(ApplySkin(&window, dir.Path()));
    EXPECT_TRUE(play->Frames().empty());
    EXPECT_TRUE(play->HoverEnabled());
    keep->SetChecked(true);
    EXPECT_EQ(PixelAt(keep->Face()), kRed);
    EXPECT_TRUE(stop->isHidden());
    EXPECT_EQ(stop->geometry(), QRect(0, 0, 0, 0));

    WriteSkin({{"Img_Background", "Clear"}, {"TP_Progress", "Invisible"}});
    ASSERT_TRUE(ApplySkin(&window, dir.Path()));
    EXPECT_TRUE(background->Picture().isNull());
    EXPECT_EQ(background->geometry(), QRect(0, 0, 320, 200));
    EXPECT_TRUE(progress->isHidden());
    EXPECT_TRUE(answerer.Texts().isEmpty());
}

TEST_F(SkinTest, MaskShapesTheWindow) {
    QImage mask = MakeStrip({kRed}, 2, 2);
    mask.setPixel(0, 0, kMagenta.rgb());
    SaveBmp(dir, "mask.bmp", mask);
    SaveBmp(dir, "allmagenta.bmp", MakeStrip({kMagenta}, 8, 8));

    WriteSkin({{"MaskBmp", "mask.bmp"}});
    ASSERT_TRUE(ApplySkin(&window, dir.Path()));
    EXPECT_TRUE(window.mask().xored(QRegion(0, 0, 2, 2) - QRegion(0, 0, 1, 1)).isEmpty());

    WriteSkin({{"MaskBmp", "allmagenta.bmp"}});
    ASSERT_TRUE(ApplySkin(&window, dir.Path()));
    EXPECT_TRUE((window.mask() & window.rect()).isEmpty());
    EXPECT_FALSE(window.mask().isEmpty());

    TModalAnswerer answerer;
    WriteSkin({{"MaskBmp", "garbage.bmp"}});
    EXPECT_FALSE(ApplySkin(&window, dir.Path()));
    EXPECT_EQ(answerer.Texts().size(), 1);
}

TEST_F(SkinTest, PicturesEndingInJpgDecodeAsJpeg) {
    QImageWriter writer(dir.Path() + "bg.jpg", "jpeg");
    if (!writer.write(MakeStrip({kGrey}, 64, 32))) {
        GTEST_SKIP() << "no JPEG writer to make the test picture";
    }
    WriteSkin({{"Img_Background", "bg.jpg,,,0,0,64,32,1,0,0,1,,0,0,"}});
    ASSERT_TRUE(ApplySkin(&window, dir.Path()));
    EXPECT_EQ(background->Picture().size(), QSize(64, 32));
    EXPECT_TRUE(background->Transparent());
    EXPECT_EQ(window.size(), QSize(50, 50));  // fields 13 and 14 are 0
}

}  // namespace

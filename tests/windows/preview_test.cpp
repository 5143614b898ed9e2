#include <QTest>

#include "app/pubfunction.h"
#include "clips/addfilescommand.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "preview/previewpanel.h"
#include "preview/previewtransport.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "support/testmedia.h"
#include "windows/mainwindow.h"
#include "windowsfixture.h"

namespace {

bool Lit(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 60;
}

}  // namespace

TEST_F(WindowsTest, PlayButtonShowsTheClipInThePreviewPanelAndMarksTrimWhileWatching) {
    if (!TestMedia::Available()) {
        GTEST_SKIP() << "the ffmpeg command is needed to make clips";
    }
    TestMedia::Recipe recipe;
    recipe.width = 320;
    recipe.height = 240;
    recipe.seconds = 6;
    const QString path = Dir().Path() + QStringLiteral("preview.mp4");
    ASSERT_TRUE(TestMedia::Make(path.toStdString(), recipe));
    ASSERT_TRUE(StartWindows());
    MainWindow->SelectDeviceFamily(4);
    MainWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(MainWindow));
    ASSERT_TRUE(MainWindow->AddFilesCommand()->AddFiles({path}));
    ASSERT_TRUE(QTest::qWaitFor([] { return MainWindow->TP_ImageList->Count() == 1; }));
    Image_Item* clip = MainWindow->TP_ImageList->GetItem(0);
    EXPECT_TRUE(MainWindow->Img_VideoPic->isVisible());

    Click(MainWindow->TB_Play);
    TPreviewPanel* panel = MainWindow->Panel_Preview;
    ASSERT_TRUE(QTest::qWaitFor(
        [panel] {
            return !MainWindow->Img_VideoPic->isVisible() && !panel->Frame().isNull() &&
                   Lit(panel->Frame().pixel(150, 112));
        },
        20000));
    EXPECT_EQ(MainWindow->Preview()->PlayerClip(), clip);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return MainWindow->TP_Progress->Position() >= 100.0 / 6; }, 20000));

    Click(MainWindow->TB_Pause);
    Click(MainWindow->TB_Previous);
    EXPECT_GE(clip->Clip().StartTime, 1);
    EXPECT_LT(clip->Clip().StartTime, 6);
    EXPECT_EQ(clip->Clip().StopTime, 6);

    Click(MainWindow->TB_Stop);
    EXPECT_TRUE(MainWindow->Img_VideoPic->isVisible());
    EXPECT_EQ(MainWindow->Preview()->PlayerClip(), nullptr);
}

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app/pubfunction.h"
#include "clips/addfilescommand.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "platform/inifile.h"
#include "profiles/devicefamily.h"
#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/image.h"
#include "support/modalanswerer.h"
#include "support/testmedia.h"
#include "urlrecorder.h"
#include "windows/aboutwindow.h"
#include "windows/mainwindow.h"
#include "windows/selectwindow.h"
#include "windowsfixture.h"

namespace {

void AddClips(int count, const TempDir& dir) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << dir.Path() + QStringLiteral("clip %1.mp4").arg(i);
        ASSERT_TRUE(TestMedia::Make(paths.back().toStdString()));
    }
    ASSERT_TRUE(MainWindow->AddFilesCommand()->AddFiles(paths));
    ASSERT_TRUE(QTest::qWaitFor([count] { return MainWindow->TP_ImageList->Count() == count; }));
}

}  // namespace

TEST_F(WindowsTest, DeviceButtonsHandTheirFamilyAndSwapTheWindows) {
    ASSERT_TRUE(StartWindows());
    EXPECT_EQ(g_s_Version, QStringLiteral("2.1.5 Build on 20070501"));
    // Every family of the table but the pda one has its button, under the table's name.
    int buttons = 0;
    for (const TDeviceFamily& row : kDeviceFamilies) {
        const int32_t family = row.Family;
        TDynamicImageButton* button = SelectWindow->DeviceButton(family);
        if (!row.Button) {
            EXPECT_EQ(button, nullptr) << family;
            continue;
        }
        ASSERT_NE(button, nullptr) << family;
        EXPECT_EQ(button->objectName(), QLatin1String(row.Button));
        EXPECT_EQ(SelectWindow->DevicePicture(family)->objectName(), QLatin1String(row.Showcase));
        ++buttons;
        SelectWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(SelectWindow));
        Click(button);
        EXPECT_FALSE(SelectWindow->isVisible()) << family;
        EXPECT_TRUE(MainWindow->isVisible()) << family;
        EXPECT_EQ(MainWindow->DeviceFamily(), family);
        // The family's profiles, then the entry that composes a new one.
        EXPECT_GT(MainWindow->ComboBox_OutputSetting->count(), 1);
        EXPECT_FALSE(MainWindow->Img_VideoPic->Picture().isNull());
        MainWindow->close();
        EXPECT_TRUE(SelectWindow->isVisible());
    }
    EXPECT_EQ(buttons, 4);
}

TEST_F(WindowsTest, FamilyPicturesFollowTheMouseOverTheDeviceButtons) {
    ASSERT_TRUE(StartWindows());
    SelectWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(SelectWindow));
    EXPECT_EQ(SelectWindow->ShownPicture(), nullptr);

    MoveOver(SelectWindow->DeviceButton(0));
    EXPECT_TRUE(SelectWindow->DevicePicture(0)->isVisible());
    MoveOver(SelectWindow->DeviceButton(1));
    EXPECT_TRUE(SelectWindow->DevicePicture(1)->isVisible());
    EXPECT_FALSE(SelectWindow->DevicePicture(0)->isVisible());
    MoveOver(SelectWindow->DeviceButton(0));
    EXPECT_EQ(SelectWindow->ShownPicture(), SelectWindow->DevicePicture(0));
    EXPECT_FALSE(SelectWindow->DevicePicture(1)->isVisible());
    // Straight onto another button: the picture stays.
    MoveOver(SelectWindow->TB_Help);
    EXPECT_TRUE(SelectWindow->DevicePicture(0)->isVisible());

    // Chosen, the main window comes and goes; the picture is still there until the mouse
    // moves over the background.
    MoveOver(SelectWindow->DeviceButton(4));
    Click(SelectWindow->DeviceButton(4));
    MainWindow->close();
    EXPECT_TRUE(SelectWindow->DevicePicture(4)->isVisible());
    QTest::mouseMove(SelectWindow, QPoint(3, 3));
    EXPECT_FALSE(SelectWindow->DevicePicture(4)->isVisible());
    EXPECT_EQ(SelectWindow->ShownPicture(), nullptr);
}

TEST_F(WindowsTest, CloseButtonEmptiesTheListOtherClosesKeepIt) {
    ASSERT_TRUE(StartWindows());
    MainWindow->SelectDeviceFamily(4);
    MainWindow->show();
    AddClips(2, Dir());
    MainWindow->close();
    EXPECT_EQ(MainWindow->TP_ImageList->Count(), 2);
    EXPECT_TRUE(SelectWindow->isVisible());

    MainWindow->show();
    Click(MainWindow->TB_DelFile);  // the first clip was selected when it was added
    EXPECT_EQ(MainWindow->TP_ImageList->Count(), 1);
    Click(MainWindow->TB_Close);
    EXPECT_EQ(MainWindow->TP_ImageList->Count(), 0);
    EXPECT_FALSE(MainWindow->isVisible());
    EXPECT_TRUE(SelectWindow->isVisible());
}

TEST_F(WindowsTest, ConvertAsksForAProfileWhileAddMyProfileIsChosen) {
    ASSERT_TRUE(StartWindows());
    MainWindow->SelectDeviceFamily(0);
    MainWindow->show();
    QComboBox* box = MainWindow->ComboBox_OutputSetting;
    box->setCurrentIndex(box->count() - 1);
    TModalAnswerer answerer;
    Click(MainWindow->TB_Convert);
    ASSERT_EQ(answerer.Texts().size(), 1);
    EXPECT_EQ(answerer.Captions()[0], QStringLiteral("Information"));
    EXPECT_EQ(answerer.Texts()[0], QStringLiteral("Please select a Output Porfiles!"));
}

TEST_F(WindowsTest, HelpMenuIsOneMenuForBothWindowsAndAboutIsMadeOnce) {
    ASSERT_TRUE(StartWindows());
    SelectWindow->show();
    Click(SelectWindow->TB_Help);
    QMenu* menu = MainWindow->HelpMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    QStringList names;
    for (QAction* item : menu->actions()) {
        names << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    }
    EXPECT_EQ(names, (QStringList{"Home", "Contact", "Help", "-", "About"}));

    MainWindow->SelectDeviceFamily(4);
    MainWindow->show();
    Click(MainWindow->TB_Help);
    EXPECT_EQ(MainWindow->HelpMenu(), menu);
    menu->hide();

    menu->actions().last()->trigger();
    TAboutWindow* about = AboutWindow;
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->Label5->text(), QStringLiteral("Dero Video Converter 2.1"));
    EXPECT_EQ(about->Label2->text(), QStringLiteral("2.1.5 Build on 20070501"));
    Click(about->TB_Close);
    EXPECT_FALSE(about->isVisible());
    menu->actions().last()->trigger();
    EXPECT_EQ(AboutWindow, about);
    EXPECT_TRUE(about->isVisible());
    about->close();

    TUrlRecorder recorder;
    menu->actions()[0]->trigger();  // Home Page
    menu->actions()[1]->trigger();  // Contact us
    menu->actions()[2]->trigger();  // Help File
    ASSERT_EQ(recorder.Urls().size(), 3u);
    EXPECT_EQ(recorder.Urls()[0].toString(), QLatin1String(kHomePage));
    EXPECT_EQ(recorder.Urls()[1].scheme(), QStringLiteral("mailto"));
    EXPECT_FALSE(recorder.Urls()[1].query().contains(QStringLiteral("body")));
    EXPECT_EQ(recorder.Urls()[2].toLocalFile(), path_Config + QStringLiteral("Help File.html"));
}

TEST_F(WindowsTest, KeepRatioButtonFlipsTheSettingAndIsSavedAtTheEnd) {
    QDir().mkpath(QFileInfo(SettingsFile()).absolutePath());
    TIniFile(SettingsFile())
        .WriteInteger(QStringLiteral("SOFTWARE\\Derobox"), QStringLiteral("KeepRatio"), 1);
    ASSERT_TRUE(StartWindows());
    // Read from the settings at creation, and the button shows it once skinned.
    EXPECT_TRUE(b_KeepRatio);
    EXPECT_TRUE(MainWindow->TB_AS_Keep->Checked());
    MainWindow->SelectDeviceFamily(4);
    MainWindow->show();
    Click(MainWindow->TB_AS_Keep);
    EXPECT_FALSE(b_KeepRatio);
    EXPECT_FALSE(MainWindow->TB_AS_Keep->Checked());
    Click(MainWindow->TB_AS_Keep);
    EXPECT_TRUE(b_KeepRatio);
    EXPECT_TRUE(MainWindow->TB_AS_Keep->Checked());

    const QString workFolder = path_Work;
    DestroyWindows();
    const TIniFile settings(SettingsFile());
    EXPECT_EQ(
        settings.ReadInteger(QStringLiteral("SOFTWARE\\Derobox"), QStringLiteral("KeepRatio"), -1),
        1);
    EXPECT_EQ(settings.ReadString(QStringLiteral("SOFTWARE\\Derobox"),
                                  QStringLiteral("OutputFolder"), QString()),
              workFolder);
}

TEST_F(WindowsTest, MessagesOfTheMapAreTakenAndOthersPassed) {
    ASSERT_TRUE(StartWindows());
    MainWindow->SelectDeviceFamily(4);
    AddClips(1, Dir());
    for (uint32_t message : {563u, 1155u, 1154u, 1158u, 1159u}) {
        EXPECT_EQ(MainWindow->WindowMessage(message, 0, 0), 1) << message;
    }
    EXPECT_EQ(MainWindow->WindowMessage(1024, 0, 0), 0);
    // Nothing of the list changes on messages it did not send.
    EXPECT_EQ(MainWindow->TP_ImageList->Count(), 1);
}

TEST_F(WindowsTest, BrokenSkinEndsTheSkinningWithTheLoadersBox) {
    QFile skin(SkinDir() + QStringLiteral("Skin.ini"));
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(skin.readAll()).split('\n');
    skin.close();
    for (QString& line : lines) {
        if (line.startsWith(QStringLiteral("TB_Play="), Qt::CaseInsensitive)) {
            line = QStringLiteral("TB_Play=missing.bmp,");
        }
    }
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly | QIODevice::Truncate));
    skin.write(lines.join('\n').toUtf8());
    skin.close();
    TModalAnswerer answerer;
    EXPECT_FALSE(StartWindows());
    ASSERT_EQ(answerer.Texts().size(), 1);
    EXPECT_EQ(answerer.Texts()[0],
              QStringLiteral("Some Errors In Skin File.\nRe-install program may solve this "
                             "problem!"));
    EXPECT_TRUE(g_s_Version.isEmpty());
}

TEST_F(WindowsTest, DestroyingTheMainWindowClearsTheSnapshots) {
    ASSERT_TRUE(StartWindows());
    QDir().mkpath(SnapshotDir());
    QFile left(SnapshotDir() + QStringLiteral("snap7.pic"));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    DestroyWindows();
    EXPECT_TRUE(QDir(SnapshotDir()).isEmpty(QDir::Files));
    EXPECT_TRUE(QFile::exists(SettingsFile()));
}

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "clips/addfilescommand.h"
#include "clips/listpanel.h"
#include "conversion/progresswindow.h"
#include "preview/previewtransport.h"
#include "profiles/profilewindow.h"
#include "skin/dynamicimagebutton.h"
#include "support/testmedia.h"
#include "windows/aboutwindow.h"
#include "windows/mainwindow.h"
#include "windows/selectwindow.h"
#include "windowsfixture.h"

namespace {

bool ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The object names Tab visits from the window's first focus until it comes round again, each
// with the name assistive technology reads for it.
struct TTabStop {
    QString object;
    QString name;
};

std::vector<TTabStop> WalkTabOrder(QWidget* window) {
    std::vector<TTabStop> stops;
    QWidget* first = window->focusWidget();
    if (!first) {
        return stops;
    }
    QWidget* current = first;
    do {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(current);
        stops.push_back(
            {current->objectName(), access ? access->text(QAccessible::Name) : QString()});
        QTest::keyClick(window, Qt::Key_Tab);
        current = window->focusWidget();
    } while (current && current != first && stops.size() < 40);
    return stops;
}

QStringList Objects(const std::vector<TTabStop>& stops) {
    QStringList objects;
    for (const TTabStop& stop : stops) {
        objects << stop.object;
    }
    return objects;
}

void ExpectAllNamed(const std::vector<TTabStop>& stops) {
    for (const TTabStop& stop : stops) {
        EXPECT_FALSE(stop.name.isEmpty()) << stop.object.toStdString();
    }
}

}  // namespace

TEST_F(WindowsTest, TabVisitsEveryWindowsControlsInOrderAndEachHasAName) {
    ASSERT_TRUE(StartWindows());
    ASSERT_TRUE(ShowActive(SelectWindow));
    auto stops = WalkTabOrder(SelectWindow);
    EXPECT_EQ(Objects(stops), (QStringList{"TB_3GP", "TB_PSP", "TB_IPOD", "TB_MP4", "TB_Help",
                                           "TB_Min", "TB_Exit"}));
    ExpectAllNamed(stops);
    SelectWindow->hide();

    MainWindow->SelectDeviceFamily(0);
    ASSERT_TRUE(ShowActive(MainWindow));
    stops = WalkTabOrder(MainWindow);
    EXPECT_EQ(
        Objects(stops),
        (QStringList{"TP_ImageList", "TB_AddFile", "TB_DelFile", "TB_Play", "TB_Pause", "TB_Stop",
                     "TP_Progress", "TB_Previous", "TB_Next", "ComboBox_OutputSetting", "TB_Edit",
                     "TB_AS_Keep", "TB_Convert", "TB_Help", "TB_Min", "TB_Close"}));
    ExpectAllNamed(stops);

    ProfileWindow->PrepareForFamily(0);
    ASSERT_TRUE(ShowActive(ProfileWindow));
    stops = WalkTabOrder(ProfileWindow);
    EXPECT_EQ(
        Objects(stops),
        (QStringList{"Edit_Name", "ComboBox_VideoResolution", "Edit_VideoBitRate",
                     "ComboBox_VideoFramerate", "ComboBox_AudioChannel", "ComboBox_AudioBitRate",
                     "ComboBox_AudioFrameRate", "TB_Ok", "TB_Cancel", "TB_Close"}));
    ExpectAllNamed(stops);
    ProfileWindow->close();

    ProgressWindow->PrepareRun(MainWindow->TP_ImageList, {});
    ProgressWindow->ShowModal();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ProgressWindow));
    stops = WalkTabOrder(ProgressWindow);
    // Stop takes Start's place only while a run is on.
    EXPECT_EQ(Objects(stops),
              (QStringList{"TB_Start", "Edit_WorkingFolder", "TB_Browse", "TB_Close"}));
    ExpectAllNamed(stops);
    ProgressWindow->close();
}

TEST_F(WindowsTest, ProgressBarsSpeakAsProgressBarsInPercent) {
    ASSERT_TRUE(StartWindows());
    ProgressWindow->PrepareRun(MainWindow->TP_ImageList, {});
    ProgressWindow->SetProgress(42);
    QAccessibleInterface* clip = QAccessible::queryAccessibleInterface(ProgressWindow->Label_CP);
    QAccessibleInterface* total = QAccessible::queryAccessibleInterface(ProgressWindow->Label_TP);
    ASSERT_NE(clip, nullptr);
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(clip->role(), QAccessible::ProgressBar);
    EXPECT_EQ(clip->text(QAccessible::Name), QStringLiteral("Current clip progress"));
    EXPECT_FALSE(clip->state().disabled);
    ASSERT_NE(clip->valueInterface(), nullptr);
    EXPECT_EQ(clip->valueInterface()->currentValue().toInt(), 42);
    EXPECT_EQ(clip->valueInterface()->maximumValue().toInt(), 100);
    EXPECT_EQ(clip->text(QAccessible::Value), QStringLiteral("42 %"));
    // An empty list has no share to show.
    EXPECT_EQ(total->valueInterface()->currentValue().toInt(), 0);
    // The caption labels stay labels.
    QAccessibleInterface* caption = QAccessible::queryAccessibleInterface(ProgressWindow->Label1);
    EXPECT_EQ(caption->role(), QAccessible::StaticText);
    EXPECT_EQ(caption->text(QAccessible::Name), QStringLiteral("Current Clip :"));
}

TEST_F(WindowsTest, EscapeClosesTheEditorTheProgressWindowAndTheAboutWindow) {
    ASSERT_TRUE(StartWindows());
    ProfileWindow->PrepareForFamily(0);
    ASSERT_TRUE(ShowActive(ProfileWindow));
    QSignalSpy editorClosed(ProfileWindow, &TProfileWindow::Closed);
    // From a field: the field has no use for Escape and hands it to the window.
    QTest::keyClick(ProfileWindow->Edit_Name, Qt::Key_Escape);
    EXPECT_FALSE(ProfileWindow->isVisible());
    ASSERT_EQ(editorClosed.count(), 1);
    EXPECT_FALSE(editorClosed[0][0].toBool());

    ProgressWindow->PrepareRun(MainWindow->TP_ImageList, {});
    ProgressWindow->ShowModal();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ProgressWindow));
    QSignalSpy progressClosed(ProgressWindow, &TProgressWindow::Closed);
    QTest::keyClick(ProgressWindow, Qt::Key_Escape);
    EXPECT_FALSE(ProgressWindow->isVisible());
    EXPECT_EQ(progressClosed.count(), 1);

    MainWindow->show();
    MainWindow->ShowHelpMenu(QPoint());
    MainWindow->HelpMenu()->hide();
    MainWindow->HelpMenu()->actions().last()->trigger();
    TAboutWindow* about = AboutWindow;
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(WindowsTest, CtrlOOpensTheAddDialogFromAnyControlOfTheMainWindow) {
    ASSERT_TRUE(StartWindows());
    MainWindow->SelectDeviceFamily(0);
    ASSERT_TRUE(ShowActive(MainWindow));
    int asked = 0;
    MainWindow->AddFilesCommand()->SetOpenDialog([&asked](QWidget*) {
        ++asked;
        return QStringList();
    });
    QTest::keyClick(MainWindow->focusWidget(), Qt::Key_O, Qt::ControlModifier);
    MainWindow->ComboBox_OutputSetting->setFocus(Qt::TabFocusReason);
    QTest::keyClick(MainWindow->ComboBox_OutputSetting, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(asked, 2);
}

TEST_F(WindowsTest, SpacePlaysAndPausesThePreviewUnlessAControlTakesIt) {
    if (!TestMedia::Available()) {
        GTEST_SKIP() << "the ffmpeg command is needed to make clips";
    }
    TestMedia::Recipe recipe;
    recipe.seconds = 6;
    const QString path = Dir().Path() + QStringLiteral("space.mp4");
    ASSERT_TRUE(TestMedia::Make(path.toStdString(), recipe));
    ASSERT_TRUE(StartWindows());
    MainWindow->SelectDeviceFamily(4);
    ASSERT_TRUE(ShowActive(MainWindow));
    ASSERT_TRUE(MainWindow->AddFilesCommand()->AddFiles({path}));
    ASSERT_TRUE(QTest::qWaitFor([] { return MainWindow->TP_ImageList->Count() == 1; }));
    TListPanel* list = MainWindow->TP_ImageList;
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Home);
    ASSERT_NE(list->GetFirstSelected(), nullptr);

    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([] { return MainWindow->PreviewTimer->isActive(); }, 20000));
    EXPECT_NE(MainWindow->Preview()->PlayerClip(), nullptr);
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([] { return !MainWindow->PreviewTimer->isActive(); }, 20000));
    // Paused, not stopped: the clip stays open and Space runs it on.
    EXPECT_NE(MainWindow->Preview()->PlayerClip(), nullptr);
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([] { return MainWindow->PreviewTimer->isActive(); }, 20000));

    // A focused button takes Space for itself: Stop stops.
    MainWindow->TB_Stop->setFocus(Qt::TabFocusReason);
    QTest::keyClick(MainWindow->TB_Stop, Qt::Key_Space);
    EXPECT_FALSE(MainWindow->PreviewTimer->isActive());
    EXPECT_EQ(MainWindow->Preview()->PlayerClip(), nullptr);
}

#include "windowsfixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include "app/pubfunction.h"
#include "conversion/progresswindow.h"
#include "defaultskin.h"
#include "profiles/profilewindow.h"
#include "windows/mainwindow.h"
#include "windows/selectwindow.h"

WindowsTest::WindowsTest() = default;
WindowsTest::~WindowsTest() = default;

void WindowsTest::SetUp() {
    oldConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", (dir_.Path() + QStringLiteral("config")).toUtf8());
    ASSERT_TRUE(WriteDefaultSkin(SkinDir()));
    // The encoder library and the stock profile file (only read here) stay in the build's
    // program folder; everything the windows write goes to the scratch folder.
    path_Config = QStringLiteral(DERO_BIN_DIR "/");
    path_Skin = SkinDir();
    path_Snapshot = SnapshotDir();
    path_Work = dir_.Path() + QStringLiteral("out/");
    b_KeepRatio = false;
    g_s_Version.clear();
}

void WindowsTest::TearDown() {
    DestroyWindows();
    qputenv("XDG_CONFIG_HOME", oldConfigHome_);
}

bool WindowsTest::StartWindows() {
    select_ = std::make_unique<TSelectWindow>();
    SelectWindow = select_.get();
    main_ = std::make_unique<TMainWindow>();
    MainWindow = main_.get();
    profile_ = std::make_unique<TProfileWindow>();
    ProfileWindow = profile_.get();
    progress_ = std::make_unique<TProgressWindow>();
    ProgressWindow = progress_.get();
    return SelectWindow->ApplySkins();
}

void WindowsTest::DestroyWindows() {
    progress_.reset();
    ProgressWindow = nullptr;
    profile_.reset();
    ProfileWindow = nullptr;
    main_.reset();
    MainWindow = nullptr;
    select_.reset();
    SelectWindow = nullptr;
}

QString WindowsTest::SettingsFile() const {
    return dir_.Path() + QStringLiteral("config/Derobox/Derobox.ini");
}

void WindowsTest::Click(QWidget* control) {
    const QPoint centre = control->rect().center();
    QTest::mouseMove(control, centre);
    QTest::mousePress(control, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(control, Qt::LeftButton, Qt::NoModifier, centre);
}

void WindowsTest::MoveOver(QWidget* control) {
    QTest::mouseMove(control, control->rect().center());
}

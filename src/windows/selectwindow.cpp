#include "selectwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>

#include "app/application.h"
#include "app/crashreport.h"
#include "app/pubfunction.h"
#include "platform/terminaterequest.h"
#include "platform/windowplacement.h"
#include "skin/dynamicimagebutton.h"
#include "skin/image.h"
#include "skin/windowdragger.h"
#include "windows/mainwindow.h"

TSelectWindow* SelectWindow = nullptr;

namespace {

void AdvanceMainWindowSnapshotSerial() {
    if (MainWindow) {
        MainWindow->AdvanceSnapshotSerial();
    }
}

void InstallCrashReport() {
    if (TApplication* app = TApplication::Instance()) {
        app->SetExceptionHandler([report = TCrashReport(&AdvanceMainWindowSnapshotSerial)](
                                     const QString& message) { report.HandleException(message); });
    }
}

}  // namespace

TSelectWindow::TSelectWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SelectWindow"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(762, 510);
    CenterOnScreen(this);
    FormCreate();
}

TSelectWindow::~TSelectWindow() = default;

void TSelectWindow::FormCreate() {
    InstallCrashReport();
    CreateControls();
    new TWindowDragger(this);
    // Moves over the background must arrive without a button held, to hide the family picture.
    setMouseTracking(true);
    // Qt paints every widget off screen first, so the window is double-buffered already.
    shownPicture_ = nullptr;
    // Failures here are not reported: the output folder is checked again before each run.
    CreateWorkFolders();
    // Thumbnails left by an earlier run are of no use any more.
    ClearFolder(path_Snapshot, false);
}

void TSelectWindow::CreateControls() {
    Img_3gp = MakePicture("Img_3gp");
    Img_psp = MakePicture("Img_psp");
    Img_ipod = MakePicture("Img_ipod");
    Img_mp4 = MakePicture("Img_mp4");
    Img_Background = MakePicture("Img_Background");
    TB_Exit = MakeButton("TB_Exit");
    TB_Min = MakeButton("TB_Min");
    TB_Help = MakeButton("TB_Help");
    TB_3GP = MakeButton("TB_3GP");
    TB_PSP = MakeButton("TB_PSP");
    TB_IPOD = MakeButton("TB_IPOD");
    TB_MP4 = MakeButton("TB_MP4");

    connect(TB_Exit, &TImageButton::Click, this, &TSelectWindow::TB_ExitClick);
    connect(TB_Min, &TImageButton::Click, this, [] { MinimizeApplication(); });
    connect(TB_Help, &TImageButton::Click, this, [] {
        if (MainWindow) {
            MainWindow->ShowHelpMenu(QCursor::pos());
        }
    });
    WireDeviceButton(TB_3GP, 0, Img_3gp);
    WireDeviceButton(TB_PSP, 1, Img_psp);
    WireDeviceButton(TB_IPOD, 2, Img_ipod);
    // The pda family (3) has no button here.
    WireDeviceButton(TB_MP4, 4, Img_mp4);
}

TImage* TSelectWindow::MakePicture(const char* name) {
    auto* picture = new TImage(this);
    picture->setObjectName(QLatin1String(name));
    picture->move(0, 0);
    // Disabled, presses and moves on it reach the window: it drags and hides the family picture.
    picture->setEnabled(false);
    picture->setMouseTracking(true);
    picture->lower();
    return picture;
}

TDynamicImageButton* TSelectWindow::MakeButton(const char* name) {
    auto* button = new TDynamicImageButton(this);
    button->setObjectName(QLatin1String(name));
    return button;
}

void TSelectWindow::WireDeviceButton(TDynamicImageButton* button, int32_t family, TImage* picture) {
    connect(button, &TImageButton::Click, this, [this, family] { DeviceButtonClick(family); });
    connect(button, &TImageButton::MouseMove, this, [this, picture] { ShowPicture(picture); });
}

std::vector<TSkinComponent> TSelectWindow::SkinComponents() {
    return {SkinComponent(Img_3gp), SkinComponent(Img_psp),        SkinComponent(Img_ipod),
            SkinComponent(Img_mp4), SkinComponent(Img_Background), SkinComponent(TB_Exit),
            SkinComponent(TB_Min),  SkinComponent(TB_Help),        SkinComponent(TB_3GP),
            SkinComponent(TB_PSP),  SkinComponent(TB_IPOD),        SkinComponent(TB_MP4)};
}

bool TSelectWindow::ApplySkins() {
    if (!ApplySkin(this, path_Skin)) {
        return false;
    }
    return MainWindow && MainWindow->ApplyWindowSkins();
}

void TSelectWindow::ShowPicture(TImage* picture) {
    if (shownPicture_ == picture) {
        return;
    }
    if (shownPicture_) {
        shownPicture_->hide();
    }
    picture->show();
    shownPicture_ = picture;
}

void TSelectWindow::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (shownPicture_) {
        shownPicture_->hide();
    }
    shownPicture_ = nullptr;
}

void TSelectWindow::DeviceButtonClick(int32_t family) {
    hide();
    if (MainWindow) {
        MainWindow->SelectDeviceFamily(family);
        MainWindow->show();
    }
}

void TSelectWindow::TB_ExitClick() {
    close();
    QCoreApplication::quit();
}

void TSelectWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        QCoreApplication::quit();
    }
}

#include "selectwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>

#include "app/application.h"
#include "app/crashreport.h"
#include "app/pubfunction.h"
#include "platform/terminaterequest.h"
#include "platform/windowplacement.h"
#include "profiles/devicefamily.h"
#include "skin/dynamicimagebutton.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/windowaccess.h"
#include "skin/windowdragger.h"
#include "windows/mainwindow.h"

TSelectWindow* SelectWindow = nullptr;

namespace {

// What assistive technology calls the chooser's controls.
constexpr TControlName kControlNames[] = {{"TB_3GP", "3GP phones"}, {"TB_PSP", "PSP"},
                                          {"TB_IPOD", "iPod"},      {"TB_MP4", "Generic MP4"},
                                          {"TB_Help", "Help"},      {"TB_Min", "Minimize"},
                                          {"TB_Exit", "Exit"}};

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
    setFixedSize(formlayout::select::kWindow);
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
    // Each picture is sent to the back as it is made, so the background ends up behind all.
    for (const TDeviceFamily& family : kDeviceFamilies) {
        if (family.Button) {
            devices_.push_back({family.Family, nullptr, MakePicture(family.Showcase)});
        }
    }
    Img_Background = MakePicture("Img_Background");
    TB_Exit = MakeButton("TB_Exit");
    TB_Min = MakeButton("TB_Min");
    TB_Help = MakeButton("TB_Help");
    for (TDeviceChoice& choice : devices_) {
        choice.button = MakeButton(kDeviceFamilies[static_cast<size_t>(choice.family)].Button);
    }

    connect(TB_Exit, &TImageButton::Click, this, &TSelectWindow::TB_ExitClick);
    connect(TB_Min, &TImageButton::Click, this, [] { MinimizeApplication(); });
    connect(TB_Help, &TImageButton::Click, this, [] {
        if (MainWindow) {
            MainWindow->ShowHelpMenu(QCursor::pos());
        }
    });
    for (const TDeviceChoice& choice : devices_) {
        WireDeviceButton(choice.button, choice.family, choice.picture);
    }
    MakeAccessible();
}

void TSelectWindow::MakeAccessible() {
    NameControls(*this, kControlNames);
    // The choice the window is for comes first; the window's own buttons after it.
    std::vector<QWidget*> order;
    for (const TDeviceChoice& choice : devices_) {
        const TDeviceFamily& family = kDeviceFamilies[static_cast<size_t>(choice.family)];
        choice.button->setAccessibleDescription(QLatin1String(family.Description));
        order.push_back(choice.button);
    }
    order.insert(order.end(), {TB_Help, TB_Min, TB_Exit});
    ChainTabOrder(order);
}

const TSelectWindow::TDeviceChoice* TSelectWindow::FindChoice(int32_t family) const {
    for (const TDeviceChoice& choice : devices_) {
        if (choice.family == family) {
            return &choice;
        }
    }
    return nullptr;
}

TDynamicImageButton* TSelectWindow::DeviceButton(int32_t family) const {
    const TDeviceChoice* choice = FindChoice(family);
    return choice ? choice->button : nullptr;
}

TImage* TSelectWindow::DevicePicture(int32_t family) const {
    const TDeviceChoice* choice = FindChoice(family);
    return choice ? choice->picture : nullptr;
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
    // Moves without a button held must reach the button too: they show its family's picture.
    button->setMouseTracking(true);
    connect(button, &TImageButton::Click, this, [this, family] { DeviceButtonClick(family); });
    connect(button, &TImageButton::MouseMove, this, [this, picture] { ShowPicture(picture); });
}

std::vector<TSkinComponent> TSelectWindow::SkinComponents() {
    std::vector<TSkinComponent> components;
    for (const TDeviceChoice& choice : devices_) {
        components.push_back(SkinComponent(choice.picture));
    }
    components.push_back(SkinComponent(Img_Background));
    for (TDynamicImageButton* button : {TB_Exit, TB_Min, TB_Help}) {
        components.push_back(SkinComponent(button));
    }
    for (const TDeviceChoice& choice : devices_) {
        components.push_back(SkinComponent(choice.button));
    }
    return components;
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

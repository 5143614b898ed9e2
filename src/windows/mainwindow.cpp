#include "mainwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QTimer>
#include <cfenv>

#include "app/crashreport.h"
#include "app/pubfunction.h"
#include "clips/addfilescommand.h"
#include "clips/listpanel.h"
#include "clips/listpanelskin.h"
#include "conversion/progresswindow.h"
#include "platform/inifile.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/windowhandle.h"
#include "platform/windowplacement.h"
#include "preview/playfilelibrary.h"
#include "preview/previewpanel.h"
#include "preview/previewtransport.h"
#include "profiles/profileselection.h"
#include "profiles/profilewindow.h"
#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/windowdragger.h"
#include "windows/aboutwindow.h"
#include "windows/selectwindow.h"

TMainWindow* MainWindow = nullptr;

namespace {

// WM_DROPFILES: the window never registers for dropped files, so it only swallows the message.
constexpr uint32_t kDropFilesMessage = 563;

// Position arithmetic divides by clip durations without testing them for zero; with every
// floating-point exception masked that gives an infinity or a NaN instead of a trap.
void MaskFloatingPointExceptions() {
    fedisableexcept(FE_ALL_EXCEPT);
}

}  // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), handle_(nullptr) {
    MaskFloatingPointExceptions();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("MainWindow"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(formlayout::main::kWindow);
    setAutoFillBackground(true);
    QPalette cream = palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    setPalette(cream);
    CenterOnScreen(this);
    handle_ = new TWindowHandle(this);
    CreateFormParts();
    FormCreate();
}

TMainWindow::~TMainWindow() {
    FormDestroy();
}

void TMainWindow::CreateFormParts() {
    Panel_Preview = new TPreviewPanel(this);
    Panel_Preview->setObjectName(QStringLiteral("Panel_Preview"));
    Panel_Preview->setGeometry(formlayout::main::kPreview);

    ComboBox_OutputSetting = new QComboBox(this);
    ComboBox_OutputSetting->setObjectName(QStringLiteral("ComboBox_OutputSetting"));
    ComboBox_OutputSetting->setGeometry(formlayout::main::kProfileBox);
    profileSelection_ =
        new TProfileSelection(ComboBox_OutputSetting, ProfileFilePath(), path_Skin, this);
}

void TMainWindow::FormCreate() {
    // Without the encoder library nothing of this window can work: the user is told and the
    // application ends when start-up reaches the message loop.
    if (!encoder_.LoadAndInit(path_Config + TEncoderBinding::kLibraryName)) {
        return;
    }
    CreateControls();
    WireControls();
    LoadSettings();
    settingsRead_ = true;
    // After the settings: a stored output folder that cannot be made falls back to the default.
    CreateWorkFolders();
}

void TMainWindow::CreateControls() {
    TP_ImageList = new TListPanel(this);
    TP_ImageList->setObjectName(QStringLiteral("TP_ImageList"));
    Img_Background = new TImage(this);
    Img_Background->setObjectName(QStringLiteral("Img_Background"));
    Img_Background->move(0, 0);
    // Disabled, presses on it reach the window, which drags itself.
    Img_Background->setEnabled(false);
    Img_Background->lower();
    TB_Play = MakeButton("TB_Play");
    TB_Stop = MakeButton("TB_Stop");
    TB_Pause = MakeButton("TB_Pause");
    TB_Next = MakeButton("TB_Next");
    TB_Previous = MakeButton("TB_Previous");
    TP_Progress = new TFixProgress(this);
    TP_Progress->setObjectName(QStringLiteral("TP_Progress"));
    TB_Close = MakeButton("TB_Close");
    TB_AS_Keep = new TCheckImageButton(this);
    TB_AS_Keep->setObjectName(QStringLiteral("TB_AS_Keep"));
    TB_Min = MakeButton("TB_Min");
    TB_Help = MakeButton("TB_Help");
    TB_AddFile = MakeButton("TB_AddFile");
    TB_DelFile = MakeButton("TB_DelFile");
    TB_Edit = MakeButton("TB_Edit");
    TB_Convert = MakeButton("TB_Convert");
    CreateVideoPicture();
    PreviewTimer = new QTimer(this);
    PreviewTimer->setObjectName(QStringLiteral("PreviewTimer"));
    PreviewTimer->setInterval(500);
    addFiles_ = std::make_unique<TAddFilesCommand>(this, TP_ImageList);
    TPreviewTransport::TParts parts;
    parts.Window = Handle();
    parts.Panel = Panel_Preview;
    parts.List = TP_ImageList;
    parts.Bar = TP_Progress;
    parts.Picture = Img_VideoPic;
    parts.Timer = PreviewTimer;
    parts.AddingFiles = [this] { return AddingFiles(); };
    preview_ = std::make_unique<TPreviewTransport>(std::make_unique<TPlayFileLibrary>(), parts);
}

void TMainWindow::CreateVideoPicture() {
    Img_VideoPic = new TImage(Panel_Preview);
    Img_VideoPic->setObjectName(QStringLiteral("Img_VideoPic"));
    Img_VideoPic->setGeometry(0, 0, Panel_Preview->width(), Panel_Preview->height());
    Img_VideoPic->SetCenter(true);
    Img_VideoPic->setEnabled(false);
    Img_VideoPic->lower();
}

TDynamicImageButton* TMainWindow::MakeButton(const char* name) {
    auto* button = new TDynamicImageButton(this);
    button->setObjectName(QLatin1String(name));
    return button;
}

void TMainWindow::WireControls() {
    new TWindowDragger(this);
    TPreviewTransport* preview = preview_.get();
    connect(TB_Play, &TImageButton::Click, preview, &TPreviewTransport::Play);
    connect(TB_Stop, &TImageButton::Click, preview, &TPreviewTransport::Stop);
    connect(TB_Pause, &TImageButton::Click, preview, &TPreviewTransport::Pause);
    connect(TB_Next, &TImageButton::Click, preview, &TPreviewTransport::MarkStop);
    connect(TB_Previous, &TImageButton::Click, preview, &TPreviewTransport::MarkStart);
    TP_Progress->SetPositionCallback(
        [preview](double percent, int pressed, TFixProgress*) { preview->Seek(percent, pressed); });
    connect(TB_Close, &TImageButton::Click, this, &TMainWindow::TB_CloseClick);
    connect(TB_AS_Keep, &TImageButton::Click, this, &TMainWindow::TB_AS_KeepClick);
    connect(TB_Min, &TImageButton::Click, this, [] { MinimizeApplication(); });
    connect(TB_Help, &TImageButton::Click, this, [this] { ShowHelpMenu(QCursor::pos()); });
    connect(TB_AddFile, &TImageButton::Click, addFiles_.get(), &TAddFilesCommand::Execute);
    connect(TB_DelFile, &TImageButton::Click, TP_ImageList, &TListPanel::RemoveSelected);
    connect(TB_Edit, &TImageButton::Click, profileSelection_,
            &TProfileSelection::EditSelectedProfile);
    connect(TB_Convert, &TImageButton::Click, this, &TMainWindow::TB_ConvertClick);
    profileSelection_->SetProfileEditor(
        [this](int32_t family, int number) { EditProfile(family, number); });
    profileSelection_->SetNewProfileEditor([this](int32_t family) { ComposeProfile(family); });
}

std::vector<TSkinComponent> TMainWindow::SkinComponents() {
    if (!TP_ImageList) {
        return {};  // never built: the encoder library was missing
    }
    return {SkinComponent(TP_ImageList, &ApplyListPanelSkin),
            SkinComponent(Img_Background),
            SkinComponent(TB_Play),
            SkinComponent(TB_Stop),
            SkinComponent(TB_Pause),
            SkinComponent(TB_Next),
            SkinComponent(TB_Previous),
            SkinComponent(TP_Progress),
            SkinComponent(TB_Close),
            SkinComponent(TB_AS_Keep),
            SkinComponent(TB_Min),
            SkinComponent(TB_Help),
            SkinComponent(TB_AddFile),
            SkinComponent(TB_DelFile),
            SkinComponent(TB_Edit),
            SkinComponent(TB_Convert),
            SkinComponent(Img_VideoPic)};
}

bool TMainWindow::ApplyWindowSkins() {
    if (!ApplySkin(this, path_Skin) || !ApplySkin(ProgressWindow, path_Skin) ||
        !ApplySkin(ProfileWindow, path_Skin)) {
        return false;
    }
    g_s_Version = QString::fromLatin1(kVersionText);
    if (TB_AS_Keep) {
        TB_AS_Keep->SetChecked(b_KeepRatio);
    }
    return true;
}

void TMainWindow::FormDestroy() {
    SaveSettingsOnExit();
    DestroyControls();
    encoder_.Unload();
    PreviewShutdown();
    ClearFolder(path_Snapshot, false);
}

void TMainWindow::SaveSettingsOnExit() {
    // Settings never read (the encoder library was missing) are only defaults; writing them
    // would wipe the user's stored choices.
    if (!settingsRead_) {
        return;
    }
    try {
        SaveSettings();
    } catch (const EIniFileException& error) {
        ShowMessage(TMessageKind::Error, QString::fromStdString(error.what()));
    }
}

void TMainWindow::DestroyControls() {
    delete Img_VideoPic;
    Img_VideoPic = nullptr;
    delete AboutWindow;
    AboutWindow = nullptr;
    delete helpMenu_;
    // The add-files worker probes through the encoder library: it must end before the library.
    addFiles_.reset();
    for (QWidget* control : std::initializer_list<QWidget*>{
             TP_ImageList, Img_Background, TB_Play, TB_Stop, TB_Pause, TB_Next, TB_Previous,
             TP_Progress, TB_Close, TB_AS_Keep, TB_Min, TB_Help, TB_AddFile, TB_DelFile, TB_Edit,
             TB_Convert}) {
        delete control;
    }
    delete PreviewTimer;
    TP_ImageList = nullptr;
    PreviewTimer = nullptr;
}

DeroWindowHandle* TMainWindow::Handle() {
    return handle_->Handle();
}

void TMainWindow::SelectDeviceFamily(int32_t family) {
    profileSelection_->SelectDeviceFamily(family);
    ShowFamilyPicture();
}

int32_t TMainWindow::DeviceFamily() const {
    return profileSelection_->State().DeviceFamily;
}

void TMainWindow::ShowFamilyPicture() {
    if (!Img_VideoPic) {
        return;
    }
    const QImage& picture = profileSelection_->State().DevicePicture;
    if (picture.isNull()) {
        Img_VideoPic->ClearPicture();
    } else {
        Img_VideoPic->SetPicture(picture);
    }
}

bool TMainWindow::AddingFiles() const {
    return addFiles_ && addFiles_->AddingFiles();
}

int32_t TMainWindow::SnapshotSerial() const {
    return addFiles_ ? addFiles_->SnapshotSerial() : 0;
}

void TMainWindow::AdvanceSnapshotSerial() {
    if (addFiles_) {
        addFiles_->AdvanceSnapshotSerial();
    }
}

void TMainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    FormClose();
}

void TMainWindow::FormShow() {
    PreviewStop();
}

void TMainWindow::FormClose() {
    PreviewStop();
    if (SelectWindow) {
        SelectWindow->show();
    }
}

void TMainWindow::TB_CloseClick() {
    // The list announces the empty selection, which stops the preview.
    TP_ImageList->ClearAll();
    close();
}

void TMainWindow::TB_AS_KeepClick() {
    TB_AS_Keep->SetChecked(!TB_AS_Keep->Checked());
    b_KeepRatio = TB_AS_Keep->Checked();
    // A playing clip takes the new shape at once.
    PreviewSetVideoWindow();
}

void TMainWindow::TB_ConvertClick() {
    if (!profileSelection_->ConfirmProfileChosen()) {
        return;
    }
    PreviewStop();
    StartConversionRun();
}

void TMainWindow::ShowHelpMenu(const QPoint& globalPos) {
    if (!helpMenu_) {
        helpMenu_ = new QMenu(this);
        const std::pair<const char*, const char*> items[] = {
            {"Home Page", "Home"}, {"Contact us", "Contact"}, {"Help File", "Help"}};
        for (const auto& [caption, name] : items) {
            helpMenu_->addAction(QLatin1String(caption))->setObjectName(QLatin1String(name));
        }
        helpMenu_->addSeparator();
        helpMenu_->addAction(QStringLiteral("About"))->setObjectName(QStringLiteral("About"));
        connect(helpMenu_, &QMenu::triggered, this,
                [this](QAction* item) { HelpMenuClick(item->objectName()); });
    }
    // popup, not exec: the menu must not run an event loop of its own inside the click.
    helpMenu_->popup(globalPos);
}

void TMainWindow::HelpMenuClick(const QString& itemName) {
    if (itemName == QLatin1String("About")) {
        ShowAboutWindow();
    } else if (itemName == QLatin1String("Home")) {
        OpenHomePage();
    } else if (itemName == QLatin1String("Contact")) {
        MailReport(QString());
    } else if (itemName == QLatin1String("Help")) {
        ShellOpen(path_Config + QStringLiteral("Help File.html"));
    }
}

void TMainWindow::ShowAboutWindow() {
    if (!AboutWindow) {
        AboutWindow = new TAboutWindow(this);
        // A failed skin is not examined: the window shows as the loader left it.
        ApplySkin(AboutWindow, path_Skin);
    }
    AboutWindow->ShowModal();
}

intptr_t TMainWindow::WindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case kDropFilesMessage:
        case WM_PLAYER_IGNORED:
            return 1;
        case WM_PLAYER_HOOK:
        case WM_PREVIEW_CLIP:
        case WM_CLIP_SELECTED:
        case WM_PLAYER_EVENT:
        case WM_RANGE_MARKER:
            PreviewMessage(message, wParam, lParam);
            return 1;
        default:
            return 0;
    }
}

void TMainWindow::PreviewStop() {
    if (preview_) {
        preview_->Stop();
    }
}

void TMainWindow::PreviewSetVideoWindow() {
    if (preview_) {
        preview_->SetVideoWindow();
    }
}

void TMainWindow::PreviewMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (preview_) {
        preview_->Message(message, wParam, lParam);
    }
}

void TMainWindow::PreviewShutdown() {
    // The controls are gone by now; the panel and the window handle are not, and the library
    // has ended every thread that could still call them once this returns.
    if (preview_) {
        preview_->Shutdown();
    }
}

void TMainWindow::StartConversionRun() {
    ProgressWindow->PrepareRun(TP_ImageList,
                               [this](ConvertSettings& settings, TConvertTarget& target) {
                                   if (!profileSelection_->ApplySelectedProfile(settings)) {
                                       return false;
                                   }
                                   const TOutputState& state = profileSelection_->State();
                                   target.OutputExt = state.OutputExt;
                                   target.OutputWidth = state.OutputWidth;
                                   target.OutputHeight = state.OutputHeight;
                                   target.KeepRatio = TB_AS_Keep->Checked();
                                   return true;
                               });
    ProgressWindow->ShowModal();
}

void TMainWindow::ConnectProfileEditor() {
    // The editor is made after this window, so the connection waits for its first opening.
    connect(ProfileWindow, &TProfileWindow::Closed, profileSelection_,
            &TProfileSelection::ProfileEditorClosed, Qt::UniqueConnection);
}

void TMainWindow::EditProfile(int32_t family, int number) {
    if (ProfileWindow) {
        ConnectProfileEditor();
        ProfileWindow->ShowForChange(family, number);
    }
}

void TMainWindow::ComposeProfile(int32_t family) {
    if (ProfileWindow) {
        ConnectProfileEditor();
        ProfileWindow->ShowForNewProfile(family);
    }
}

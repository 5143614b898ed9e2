#include "conversion/progresswindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "app/clipsource.h"
#include "app/convertsettings.h"
#include "app/encoderbinding.h"
#include "app/pubfunction.h"
#include "conversion/infotext.h"
#include "conversion/sleepinhibitor.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/windowplacement.h"
#include "skin/dynamicimagebutton.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/windowdragger.h"

TProgressWindow* ProgressWindow = nullptr;

namespace {

const QString kZeroTime = QStringLiteral("00:00:00");
const QString kFolderFailedText = QStringLiteral("Can not create output folder!");
const QString kStoppedText = QStringLiteral("Stop converting process by user!");
const QString kBusyText = QStringLiteral("Converting clips now!\nPlease stop it first!");
const QString kBrowseTitle = QStringLiteral("Please select \"Output Folder\" :");

namespace layout = formlayout::progress;
constexpr int kPanelWidth = layout::kProgressPanel.width();
constexpr int kPanelHeight = layout::kProgressPanel.height();
constexpr int kBarHeight = 16;

QString FileNamePart(const QString& path) {
    return QFileInfo(path).fileName();
}

QString WithSeparator(QString folder) {
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder;
}

// The list a window that was never given one converts: nothing.
class TNoClips : public TClipSource {
  public:
    const ClipRecord* ClipAt(int32_t) const override { return nullptr; }
};
const TNoClips kNoClips;

}  // namespace

TProgressWindow::TProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window),
      converter_(MyConvertDef),
      inhibitor_(new TSleepInhibitor(this)) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("ProgressWindow"));
    setWindowModality(Qt::ApplicationModal);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(layout::kWindow);
    CenterOnScreen(this);
    CreateFormParts();
    FormCreate();
    WireControls();
    Reset();
}

TProgressWindow::~TProgressWindow() {
    // Before the library can be uninitialised: no callback may reach this window any more.
    relay_.Unregister();
}

void TProgressWindow::CreateFormParts() {
    Label1 =
        MakeLabel("Label1", QStringLiteral("Current Clip :"), layout::kCurrentClipCaption, this);
    Label2 = MakeLabel("Label2", QStringLiteral("Destination Name :"), layout::kDestinationCaption,
                       this);
    Label5 = MakeLabel("Label5", QStringLiteral("Start Time :"), layout::kStartTimeCaption, this);
    Label6 = MakeLabel("Label6", QStringLiteral("Stop Time :"), layout::kStopTimeCaption, this);
    Label3 = MakeLabel("Label3", QStringLiteral("Total Length :"), layout::kLengthCaption, this);
    Label4 =
        MakeLabel("Label4", QStringLiteral("Current Time :"), layout::kCurrentTimeCaption, this);
    Label_SrcName = MakeLabel("Label_SrcName", QString(), layout::kSrcName, this);
    Label_DesName = MakeLabel("Label_DesName", QString(), layout::kDesName, this);
    Label_StartTime = MakeLabel("Label_StartTime", kZeroTime, layout::kStartTime, this);
    Label_StopTime = MakeLabel("Label_StopTime", kZeroTime, layout::kStopTime, this);
    Label_Length = MakeLabel("Label_Length", kZeroTime, layout::kLength, this);
    Label_CurrentTime = MakeLabel("Label_CurrentTime", kZeroTime, layout::kCurrentTime, this);
    CreateProgressPanel();
    Edit_WorkingFolder = new QLineEdit(this);
    Edit_WorkingFolder->setObjectName(QStringLiteral("Edit_WorkingFolder"));
    Edit_WorkingFolder->setGeometry(layout::kWorkingFolder);
    Edit_WorkingFolder->setReadOnly(true);
}

void TProgressWindow::CreateProgressPanel() {
    Panel_Progress = new QWidget(this);
    Panel_Progress->setObjectName(QStringLiteral("Panel_Progress"));
    Panel_Progress->setGeometry(layout::kProgressPanel);
    // Disabled, like the background: presses on the bars drag the window.
    Panel_Progress->setEnabled(false);
    Label_CP = MakeLabel("Label_CP", QStringLiteral("0"), layout::kClipPercent, Panel_Progress);
    Label10 = MakeLabel("Label10", QStringLiteral("%"), layout::kClipPercentSign, Panel_Progress);
    Label_TP = MakeLabel("Label_TP", QStringLiteral("0"), layout::kTotalPercent, Panel_Progress);
    Label9 = MakeLabel("Label9", QStringLiteral("%"), layout::kTotalPercentSign, Panel_Progress);
    Label_CP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_TP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The panel is disabled only so that presses on it drag the window; its percentages are
    // still live values and keep the normal text colour.
    for (QLabel* label : {Label_CP, Label10, Label_TP, Label9}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Disabled, QPalette::WindowText,
                         palette.color(QPalette::Active, QPalette::WindowText));
        label->setPalette(palette);
    }
}

QLabel* TProgressWindow::MakeLabel(const char* name, const QString& caption, const QRect& bounds,
                                   QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(bounds);
    // Transparent: the skin's background shows through, and presses reach the window.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void TProgressWindow::FormCreate() {
    Img_Background = MakeImage("Img_Background", this, {0, 0, width(), height()});
    Img_Background->lower();
    // The panel's pictures stack in the order they are made: the fills over the grooves.
    Img_Progress = MakeImage("Img_Progress", Panel_Progress, {0, 0, kPanelWidth, kPanelHeight});
    Img_CP = MakeImage("Img_CP", Panel_Progress, {kBarOffset, 0, kPanelWidth, kBarHeight});
    Img_TP = MakeImage("Img_TP", Panel_Progress,
                       {kBarOffset, kPanelHeight - kBarHeight, kPanelWidth, kBarHeight});
    Img_CP->SetTransparent(true);
    Img_TP->SetTransparent(true);
    // The percent texts stay readable above the fills that slide under them.
    for (QLabel* label : {Label_CP, Label_TP, Label10, Label9}) {
        label->raise();
    }
    TB_Start = MakeButton("TB_Start");
    TB_Stop = MakeButton("TB_Stop");
    TB_Close = MakeButton("TB_Close");
    TB_Browse = MakeButton("TB_Browse");
}

TImage* TProgressWindow::MakeImage(const char* name, QWidget* parent, const QRect& bounds) {
    auto* image = new TImage(parent);
    image->setObjectName(QLatin1String(name));
    image->setGeometry(bounds);
    image->setEnabled(false);
    return image;
}

TDynamicImageButton* TProgressWindow::MakeButton(const char* name) {
    auto* button = new TDynamicImageButton(this);
    button->setObjectName(QLatin1String(name));
    return button;
}

void TProgressWindow::WireControls() {
    new TWindowDragger(this);
    connect(TB_Start, &TImageButton::Click, this, &TProgressWindow::TB_StartClick);
    connect(TB_Stop, &TImageButton::Click, this, &TProgressWindow::TB_StopClick);
    connect(TB_Close, &TImageButton::Click, this, &TProgressWindow::TB_CloseClick);
    connect(TB_Browse, &TImageButton::Click, this, &TProgressWindow::TB_BrowseClick);
    // The relay emits on this (the user-interface) thread only.
    connect(&relay_, &TProgressRelay::Text, this, &TProgressWindow::InfoText);
    converter_.SetBeforeConvert([this](const ConvertSettings& settings) { ShowClip(settings); });
}

std::vector<TSkinComponent> TProgressWindow::SkinComponents() {
    return {SkinComponent(Img_Background), SkinComponent(Img_Progress), SkinComponent(Img_CP),
            SkinComponent(Img_TP),         SkinComponent(TB_Start),     SkinComponent(TB_Stop),
            SkinComponent(TB_Close),       SkinComponent(TB_Browse)};
}

void TProgressWindow::PrepareRun(const TClipSource* clips, TApplyProfile applyProfile,
                                 DeroWindowHandle* convertWindow) {
    clips_ = clips;
    applyProfile_ = std::move(applyProfile);
    convertWindow_ = convertWindow;
    Reset();
}

void TProgressWindow::ShowModal() {
    Reset();
    show();
    raise();
    activateWindow();
}

void TProgressWindow::SetDesktopBuses(const QDBusConnection& session,
                                      const QDBusConnection& system) {
    delete inhibitor_;
    inhibitor_ = new TSleepInhibitor(session, system, this);
    notice_ = TDesktopNotice(session);
}

int32_t TProgressWindow::CountClips() const {
    const TClipSource& clips = clips_ ? *clips_ : kNoClips;
    int32_t count = 0;
    while (clips.ClipAt(count)) {
        ++count;
    }
    return count;
}

void TProgressWindow::Reset() {
    Label_SrcName->clear();
    Label_DesName->clear();
    for (QLabel* label : {Label_StartTime, Label_StopTime, Label_Length, Label_CurrentTime}) {
        label->setText(kZeroTime);
    }
    converter_.SetConvertIndex(0);
    clipCount_ = CountClips();
    path_Work = WithSeparator(path_Work);
    Edit_WorkingFolder->setText(path_Work);
    SetProgress(0);
    TB_Start->show();
    TB_Stop->hide();
}

void TProgressWindow::SetProgress(int32_t percent) {
    percent = Clamp<int32_t>(percent, 0, 100);
    Label_CP->setText(QString::number(percent));
    Img_CP->move(percent * Img_CP->width() / 100 + kBarOffset, Img_CP->y());
    if (clipCount_ == 0) {
        Label_TP->setText(QStringLiteral("0"));
        Img_TP->move(kBarOffset, Img_TP->y());
        return;
    }
    const int32_t total = (converter_.ConvertIndex() * 100 + percent) / clipCount_;
    Label_TP->setText(QString::number(total));
    Img_TP->move(total * Img_TP->width() / 100 + kBarOffset, Img_TP->y());
}

bool TProgressWindow::EnsureOutputFolder() {
    // A relative folder (a stored "file:/", say) would mean whatever the current folder is, and
    // the encoder takes only full paths: it is treated as one that cannot be made.
    if (QDir::isAbsolutePath(path_Work) && (FolderExists(path_Work) || CreateFolder(path_Work))) {
        return true;
    }
    path_Work = DefaultWorkFolder();
    if (!FolderExists(path_Work) && !CreateFolder(path_Work)) {
        ShowMessage(TMessageKind::Error, kFolderFailedText, this);
        return false;
    }
    Edit_WorkingFolder->setText(path_Work);
    return true;
}

void TProgressWindow::TB_StartClick() {
    if (converting_ || !EnsureOutputFolder()) {
        return;
    }
    relay_.Register();
    Reset();
    target_ = TConvertTarget{};
    if (!applyProfile_ || !applyProfile_(MyConvertDef, target_)) {
        return;
    }
    target_.WorkPath = path_Work;
    const TClipSource& clips = clips_ ? *clips_ : kNoClips;
    if (!converter_.PrepareClip(clips, 0, target_, this)) {
        return;
    }
    TB_Start->hide();
    TB_Stop->show();
    userStopped_ = false;
    converting_ = true;
    report_.Clear();
    inhibitor_->Acquire();
    converter_.ConvertClip(convertWindow_);
}

void TProgressWindow::ShowClip(const ConvertSettings& settings) {
    clipStart_ = settings.Start;
    clipLength_ = settings.Length;
    Label_SrcName->setText(FileNamePart(settings.InputFile));
    Label_DesName->setText(FileNamePart(settings.OutputFile));
    Label_StartTime->setText(settings.StartText);
    Label_StopTime->setText(settings.StopText);
    Label_Length->setText(TimeToText(clipLength_));
    Label_CurrentTime->setText(kZeroTime);
    report_.BeginClip(settings.InputFile, settings.OutputFile);
}

void TProgressWindow::InfoText(const QString& text) {
    report_.NoteText(text);
    const float seconds = InfoTextSeconds(text);
    if (!(seconds < static_cast<float>(clipLength_) + 1)) {
        return;
    }
    // A clip of length 0 has no share to show; its percent stays 0.
    const int32_t percent =
        clipLength_ > 0 ? CutTowardZero(seconds * 100 / static_cast<float>(clipLength_)) : 0;
    SetProgress(percent);
    Label_CurrentTime->setText(TimeToText(CutTowardZero(static_cast<float>(clipStart_) + seconds)));
}

void TProgressWindow::ConvertNext() {
    // Only the conversion this window started ends here; a stray message finds no run.
    if (!converting_) {
        return;
    }
    // The clip's last text (its "error:" line, if any) was sent before the message.
    relay_.Flush();
    report_.EndClip(userStopped_);
    const TClipSource& clips = clips_ ? *clips_ : kNoClips;
    if (!userStopped_ &&
        converter_.PrepareClip(clips, converter_.ConvertIndex() + 1, target_, this)) {
        converter_.ConvertClip(convertWindow_);
        return;
    }
    Finish();
}

void TProgressWindow::Finish() {
    const bool wasActive = isActiveWindow();
    converting_ = false;
    TB_Start->show();
    TB_Stop->hide();
    inhibitor_->Release();
    if (userStopped_) {
        if (FileExists(MyConvertDef.OutputFile)) {
            DeleteFile(MyConvertDef.OutputFile);
            report_.Unwrite(MyConvertDef.OutputFile);
        }
    } else {
        SetProgress(100);
        // The library's last progress line comes a little before the end; the time shown ends
        // where the bars do.
        Label_CurrentTime->setText(TimeToText(clipStart_ + clipLength_));
    }
    TellRunEnd(wasActive);
    if (userStopped_) {
        ShowMessage(TMessageKind::Information, kStoppedText, this);
    }
    const QString failures = report_.FailureText();
    if (!failures.isEmpty()) {
        ShowMessage(TMessageKind::Information, failures, this);
    }
    if (!userStopped_ && report_.Count(TRunReport::TOutcome::Written) > 0) {
        ShellOpen(path_Work);
    }
}

void TProgressWindow::TellRunEnd(bool wasActive) {
    if (wasActive) {
        return;
    }
    const int written = report_.Count(TRunReport::TOutcome::Written);
    const int failed = report_.Count(TRunReport::TOutcome::Failed);
    const QString summary =
        userStopped_ ? QStringLiteral("Converting stopped") : QStringLiteral("Converting finished");
    notice_.Send(summary, QStringLiteral("%1 converted, %2 failed").arg(written).arg(failed));
}

void TProgressWindow::TB_StopClick() {
    if (!converting_) {
        return;
    }
    userStopped_ = true;
    if (DllStop) {
        DllStop();
    }
}

void TProgressWindow::TB_CloseClick() {
    close();
}

void TProgressWindow::closeEvent(QCloseEvent* event) {
    if (converting_) {
        event->ignore();
        ShowMessage(TMessageKind::Information, kBusyText, this);
        return;
    }
    QWidget::closeEvent(event);
    emit Closed();
}

void TProgressWindow::TB_BrowseClick() {
    if (!TB_Stop->isHidden() || folderDialog_) {
        return;
    }
    auto* dialog = new QFileDialog(this, kBrowseTitle);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Above this application-modal window, and no nested event loop.
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &QFileDialog::fileSelected, this, &TProgressWindow::OutputFolderChosen);
    folderDialog_ = dialog;
    dialog->show();
}

void TProgressWindow::OutputFolderChosen(const QString& folder) {
    if (folder.isEmpty()) {
        return;
    }
    // Not created or tested here: Start does that.
    path_Work = WithSeparator(folder);
    Edit_WorkingFolder->setText(path_Work);
}

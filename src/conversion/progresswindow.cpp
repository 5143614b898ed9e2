#include "conversion/progresswindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>

#include "app/convertsettings.h"
#include "app/pubfunction.h"
#include "platform/localpath.h"
#include "platform/messagebox.h"
#include "platform/windowplacement.h"
#include "skin/dynamicimagebutton.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/percentlabel.h"
#include "skin/windowaccess.h"
#include "skin/windowdragger.h"

TProgressWindow* ProgressWindow = nullptr;

namespace {

const QString kZeroTime = QStringLiteral("00:00:00");
const QString kBusyText = QStringLiteral("Converting clips now!\nPlease stop it first!");
const QString kBrowseTitle = QStringLiteral("Please select \"Output Folder\" :");

// What assistive technology calls the window's controls; the captions and values are labels
// that speak their own texts.
constexpr TControlName kControlNames[] = {
    {"TB_Start", "Start"},
    {"TB_Stop", "Stop"},
    {"Edit_WorkingFolder", "Output folder"},
    {"TB_Browse", "Browse for the output folder"},
    {"TB_Close", "Close"},
    {"Label_CP", "Current clip progress"},
    {"Label_TP", "Total progress"},
};

namespace layout = formlayout::progress;
constexpr int kPanelWidth = layout::kProgressPanel.width();
constexpr int kPanelHeight = layout::kProgressPanel.height();
constexpr int kBarHeight = 16;

QString FileNamePart(const QString& path) {
    return TLocalPath::Display(TLocalPath::FileName(path));
}

QString WithSeparator(QString folder) {
    if (!folder.endsWith('/')) {
        folder += '/';
    }
    return folder;
}

}  // namespace

TProgressWindow::TProgressWindow(QWidget* parent)
    // A dialog to the window system: only those are kept above the window they belong to.
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("ProgressWindow"));
    setWindowModality(Qt::ApplicationModal);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(layout::kWindow);
    CenterOnScreen(this);
    CreateFormParts();
    FormCreate();
    WireControls();
    WireRun();
    Reset();
}

TProgressWindow::~TProgressWindow() = default;

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
    Label_CP = new TPercentLabel(Panel_Progress);
    DressLabel(Label_CP, "Label_CP", layout::kClipPercent);
    Label10 = MakeLabel("Label10", QStringLiteral("%"), layout::kClipPercentSign, Panel_Progress);
    Label_TP = new TPercentLabel(Panel_Progress);
    DressLabel(Label_TP, "Label_TP", layout::kTotalPercent);
    Label9 = MakeLabel("Label9", QStringLiteral("%"), layout::kTotalPercentSign, Panel_Progress);
    Label_CP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_TP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The panel is disabled only so that presses on it drag the window; its percentages are
    // still live values and keep the normal text colour.
    for (QLabel* label : std::initializer_list<QLabel*>{Label_CP, Label10, Label_TP, Label9}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Disabled, QPalette::WindowText,
                         palette.color(QPalette::Active, QPalette::WindowText));
        label->setPalette(palette);
    }
}

QLabel* TProgressWindow::MakeLabel(const char* name, const QString& caption, const QRect& bounds,
                                   QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    DressLabel(label, name, bounds);
    return label;
}

void TProgressWindow::DressLabel(QLabel* label, const char* name, const QRect& bounds) {
    label->setObjectName(QLatin1String(name));
    label->setGeometry(bounds);
    // Transparent: the skin's background shows through, and presses reach the window.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
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
    for (QLabel* label : std::initializer_list<QLabel*>{Label_CP, Label_TP, Label10, Label9}) {
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
    MakeAccessible();
}

void TProgressWindow::WireRun() {
    connect(&run_, &TConversionRun::Cleared, this, &TProgressWindow::ShowCleared);
    connect(&run_, &TConversionRun::Started, this, [this] { ShowRunning(true); });
    connect(&run_, &TConversionRun::ClipStarted, this, &TProgressWindow::ShowClip);
    connect(&run_, &TConversionRun::Progress, this, &TProgressWindow::ShowBars);
    connect(&run_, &TConversionRun::CurrentTime, this,
            [this](int32_t seconds) { Label_CurrentTime->setText(TimeToText(seconds)); });
    connect(&run_, &TConversionRun::Finished, this, [this] {
        ShowRunning(false);
        CloseStaleBoxes();
    });
    connect(&run_, &TConversionRun::Tell, this,
            [this](TMessageKind kind, const QString& text) { ShowMessage(kind, text, this); });
    run_.SetInView([this] { return isActiveWindow(); });
}

void TProgressWindow::MakeAccessible() {
    NameControls(*this, kControlNames);
    // Start and Stop share a place and show one at a time.
    ChainTabOrder({TB_Start, TB_Stop, Edit_WorkingFolder, TB_Browse, TB_Close});
}

std::vector<TSkinComponent> TProgressWindow::SkinComponents() {
    return {SkinComponent(Img_Background), SkinComponent(Img_Progress), SkinComponent(Img_CP),
            SkinComponent(Img_TP),         SkinComponent(TB_Start),     SkinComponent(TB_Stop),
            SkinComponent(TB_Close),       SkinComponent(TB_Browse)};
}

void TProgressWindow::PrepareRun(const TClipSource* clips,
                                 TConversionRun::TApplyProfile applyProfile) {
    run_.Prepare(clips, std::move(applyProfile));
}

void TProgressWindow::ShowModal() {
    Reset();
    KeepAboveOwner(this);
    show();
    raise();
    activateWindow();
}

void TProgressWindow::Reset() {
    run_.Reset();
}

void TProgressWindow::ShowCleared() {
    Label_SrcName->clear();
    Label_DesName->clear();
    for (QLabel* label : {Label_StartTime, Label_StopTime, Label_Length, Label_CurrentTime}) {
        label->setText(kZeroTime);
    }
    Edit_WorkingFolder->setText(path_Work);
    SetProgress(0);
    ShowRunning(false);
}

void TProgressWindow::SetProgress(int32_t percent) {
    percent = Clamp<int32_t>(percent, 0, 100);
    ShowBars(percent, run_.TotalPercent(percent));
}

void TProgressWindow::ShowBars(int32_t clipPercent, int32_t totalPercent) {
    Label_CP->SetPercent(clipPercent);
    Img_CP->move(clipPercent * Img_CP->width() / 100 + kBarOffset, Img_CP->y());
    Label_TP->SetPercent(totalPercent);
    Img_TP->move(totalPercent * Img_TP->width() / 100 + kBarOffset, Img_TP->y());
}

void TProgressWindow::ShowRunning(bool running) {
    TB_Start->setHidden(running);
    TB_Stop->setVisible(running);
}

void TProgressWindow::CloseStaleBoxes() {
    // A box still open when the run ends speaks of the run as it was ("converting now", say),
    // and the end's own boxes are about to open over it. Each box waits in an event loop of its
    // own (ShowMessage), and hiding it ends that loop as soon as the loops opened above it have.
    for (QMessageBox* box : findChildren<QMessageBox*>(Qt::FindDirectChildrenOnly)) {
        // Hidden rather than closed: a box closes only through a button it takes for Escape.
        box->hide();
    }
}

void TProgressWindow::ShowClip(const ConvertSettings& settings) {
    Label_SrcName->setText(FileNamePart(settings.InputFile));
    Label_DesName->setText(FileNamePart(settings.OutputFile));
    Label_StartTime->setText(settings.StartText);
    Label_StopTime->setText(settings.StopText);
    Label_Length->setText(TimeToText(settings.Length));
    Label_CurrentTime->setText(kZeroTime);
}

void TProgressWindow::TB_StartClick() {
    run_.Start();
}

void TProgressWindow::TB_StopClick() {
    run_.Stop();
}

void TProgressWindow::TB_CloseClick() {
    close();
}

void TProgressWindow::keyPressEvent(QKeyEvent* event) {
    // As the Close button: refused, with its box, while a run is on.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        TB_CloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TProgressWindow::closeEvent(QCloseEvent* event) {
    if (run_.Converting()) {
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

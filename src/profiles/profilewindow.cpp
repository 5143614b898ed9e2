#include "profilewindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/pubfunction.h"
#include "platform/inifile.h"
#include "platform/messagebox.h"
#include "platform/windowplacement.h"
#include "profiles/devicefamily.h"
#include "profiles/profilefile.h"
#include "profiles/profileline.h"
#include "profiles/updown.h"
#include "skin/dynamicimagebutton.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/windowaccess.h"
#include "skin/windowdragger.h"

TProfileWindow* ProfileWindow = nullptr;

const QString TProfileWindow::kMono = QStringLiteral("1 Channel Mono");
const QString TProfileWindow::kStereo = QStringLiteral("2 Channels Stereo");

namespace {

namespace layout = formlayout::profile;

// The rows of both group boxes: label, control, unit.
constexpr int kLabelLeft = layout::kCaptionLeft;
constexpr int kLabelWidth = 106;
constexpr int kControlLeft = layout::kListLeft;
constexpr int kControlWidth = layout::kListWidth;
constexpr int kUnitLeft = layout::kUnitLeft;
constexpr int kUnitWidth = 120;
constexpr int kRowHeight = 21;
constexpr int kUpDownWidth = 17;

int RowTop(int row) {
    return layout::kRowTop[row];
}

QRect LabelBounds(int row) {
    return {kLabelLeft, RowTop(row) + 3, kLabelWidth, kRowHeight - 4};
}

QRect ControlBounds(int row) {
    return {kControlLeft, RowTop(row), kControlWidth, kRowHeight};
}

QRect UnitBounds(int row) {
    return {kUnitLeft, RowTop(row) + 3, kUnitWidth, kRowHeight - 4};
}

// What assistive technology calls the editor's controls.
constexpr TControlName kControlNames[] = {
    {"Edit_Name", "Profile name"},
    {"ComboBox_VideoResolution", "Video resolution"},
    {"Edit_VideoBitRate", "Video quality in KB per second"},
    {"ComboBox_VideoFramerate", "Video frame rate"},
    {"ComboBox_AudioChannel", "Audio channels"},
    {"ComboBox_AudioBitRate", "Audio quality in KB per second"},
    {"ComboBox_AudioFrameRate", "Audio sample rate in kilohertz"},
    {"TB_Ok", "OK"},
    {"TB_Cancel", "Cancel"},
    {"TB_Close", "Close"},
};

// The first entry equal to text, case-sensitively; without one the list keeps its selection.
void SelectText(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        list->setCurrentIndex(index);
    }
}

QString UnreadableLineText(const QString& name) {
    for (const char* separator : {"Video: ", "Audio:", " : Video"}) {
        if (name.contains(QLatin1String(separator))) {
            return QStringLiteral(
                "Please choose another name: a profile name must not contain "
                "\"Video: \", \"Audio:\" or \" : Video\".");
        }
    }
    return QStringLiteral(
        "This profile cannot be saved: its values would not read back as "
        "chosen.");
}

}  // namespace

TProfileWindow::TProfileWindow() : TProfileWindow(ProfileFilePath()) {}

TProfileWindow::TProfileWindow(QString profilePath)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), profilePath_(std::move(profilePath)) {
    setObjectName(QStringLiteral("ProfileWindow"));
    setWindowTitle(QStringLiteral("Profile"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(layout::kWindow);
    setWindowModality(Qt::ApplicationModal);
    CenterOnScreen(this);
    CreateControls();
    FormCreate();
}

TProfileWindow::~TProfileWindow() = default;

void TProfileWindow::CreateControls() {
    Edit_Name = new QLineEdit(this);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    Edit_Name->setGeometry(layout::kName);
    Edit_Name->setFrame(false);
    Edit_Name->setMaxLength(kMaxNameLength);
    GroupBox1 = MakeGroupBox(QStringLiteral(" Video Setting "), layout::kVideoGroup);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    CreateVideoRows();
    GroupBox2 = MakeGroupBox(QStringLiteral(" Audio Setting "), layout::kAudioGroup);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    CreateAudioRows();
}

QGroupBox* TProfileWindow::MakeGroupBox(const QString& caption, const QRect& bounds) {
    auto* box = new QGroupBox(caption, this);
    box->setGeometry(bounds);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, QColor(234, 243, 250));
    box->setPalette(palette);
    box->setAutoFillBackground(true);
    return box;
}

QLabel* TProfileWindow::MakeLabel(QWidget* parent, const QString& text, const QRect& bounds) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(bounds);
    return label;
}

QComboBox* TProfileWindow::MakeList(QWidget* parent, const QRect& bounds) {
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    list->setGeometry(bounds);
    return list;
}

void TProfileWindow::CreateVideoRows() {
    QLabel* resolution = MakeLabel(GroupBox1, QStringLiteral("Video Resolution:"), LabelBounds(0));
    ComboBox_VideoResolution = MakeList(GroupBox1, ControlBounds(0));
    resolution->setBuddy(ComboBox_VideoResolution);
    ComboBox_VideoResolution->setObjectName(QStringLiteral("ComboBox_VideoResolution"));
    MakeLabel(GroupBox1, QStringLiteral("Width x Height"), UnitBounds(0));

    QLabel* quality = MakeLabel(GroupBox1, QStringLiteral("Video Quality:"), LabelBounds(1));
    Edit_VideoBitRate = new QLineEdit(QString::number(20), GroupBox1);
    quality->setBuddy(Edit_VideoBitRate);
    Edit_VideoBitRate->setObjectName(QStringLiteral("Edit_VideoBitRate"));
    Edit_VideoBitRate->setGeometry(ControlBounds(1).adjusted(0, 0, -kUpDownWidth, 0));
    UpDown = new TUpDown(GroupBox1);
    UpDown->setObjectName(QStringLiteral("UpDown"));
    UpDown->setGeometry(kControlLeft + kControlWidth - kUpDownWidth, RowTop(1), kUpDownWidth,
                        kRowHeight);
    UpDown->SetRange(kMinBitRate, kMaxBitRate);
    UpDown->SetPosition(20);
    MakeLabel(GroupBox1, QStringLiteral("KB / Second"), UnitBounds(1));

    QLabel* rate = MakeLabel(GroupBox1, QStringLiteral("Frame Rate:"), LabelBounds(2));
    ComboBox_VideoFramerate = MakeList(GroupBox1, ControlBounds(2));
    rate->setBuddy(ComboBox_VideoFramerate);
    ComboBox_VideoFramerate->setObjectName(QStringLiteral("ComboBox_VideoFramerate"));
    MakeLabel(GroupBox1, QStringLiteral("Frame / Second"), UnitBounds(2));

    connect(Edit_VideoBitRate, &QLineEdit::textChanged, this,
            &TProfileWindow::Edit_VideoBitRateChange);
    connect(UpDown, &TUpDown::Click, this, &TProfileWindow::UpDownClick);
}

void TProfileWindow::CreateAudioRows() {
    QLabel* channels = MakeLabel(GroupBox2, QStringLiteral("Audio Channels:"), LabelBounds(0));
    ComboBox_AudioChannel = MakeList(GroupBox2, ControlBounds(0));
    channels->setBuddy(ComboBox_AudioChannel);
    ComboBox_AudioChannel->setObjectName(QStringLiteral("ComboBox_AudioChannel"));
    ComboBox_AudioChannel->addItems({kMono, kStereo});

    QLabel* quality = MakeLabel(GroupBox2, QStringLiteral("Audio Quality:"), LabelBounds(1));
    ComboBox_AudioBitRate = MakeList(GroupBox2, ControlBounds(1));
    quality->setBuddy(ComboBox_AudioBitRate);
    ComboBox_AudioBitRate->setObjectName(QStringLiteral("ComboBox_AudioBitRate"));
    MakeLabel(GroupBox2, QStringLiteral("KB / Second"), UnitBounds(1));

    QLabel* rate = MakeLabel(GroupBox2, QStringLiteral("Frame Rate:"), LabelBounds(2));
    ComboBox_AudioFrameRate = MakeList(GroupBox2, ControlBounds(2));
    rate->setBuddy(ComboBox_AudioFrameRate);
    ComboBox_AudioFrameRate->setObjectName(QStringLiteral("ComboBox_AudioFrameRate"));
    MakeLabel(GroupBox2, QStringLiteral("KHertz"), UnitBounds(2));
}

void TProfileWindow::FormCreate() {
    Img_Background = new TImage(this);
    Img_Background->setObjectName(QStringLiteral("Img_Background"));
    Img_Background->move(0, 0);
    Img_Background->setEnabled(false);
    Img_Background->lower();
    TB_Ok = MakeButton("TB_Ok");
    TB_Cancel = MakeButton("TB_Cancel");
    TB_Close = MakeButton("TB_Close");
    connect(TB_Ok, &TImageButton::Click, this, &TProfileWindow::TB_OkClick);
    connect(TB_Cancel, &TImageButton::Click, this, &TProfileWindow::TB_CancelClick);
    connect(TB_Close, &TImageButton::Click, this, &TProfileWindow::TB_CloseClick);
    new TWindowDragger(this);
    NameControls(*this, kControlNames);
    ChainTabOrder({Edit_Name, ComboBox_VideoResolution, Edit_VideoBitRate, ComboBox_VideoFramerate,
                   ComboBox_AudioChannel, ComboBox_AudioBitRate, ComboBox_AudioFrameRate, TB_Ok,
                   TB_Cancel, TB_Close});
}

TDynamicImageButton* TProfileWindow::MakeButton(const char* name) {
    auto* button = new TDynamicImageButton(this);
    button->setObjectName(QLatin1String(name));
    return button;
}

std::vector<TSkinComponent> TProfileWindow::SkinComponents() {
    return {SkinComponent(Img_Background), SkinComponent(TB_Ok), SkinComponent(TB_Cancel),
            SkinComponent(TB_Close)};
}

void TProfileWindow::FillList(QComboBox* list, const QString& name) {
    const TProfileFile file(profilePath_);
    list->clear();
    list->addItems(file.ReadList(section_, name));
    // Adding selects the first entry by itself; an index out of range leaves none selected.
    const int index = file.ReadListIndex(section_, name);
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void TProfileWindow::PrepareForFamily(int32_t family) {
    if (const TDeviceFamily* found = FindDeviceFamily(family)) {
        section_ = found->Section;
    }
    FillList(ComboBox_VideoResolution, QStringLiteral("Resolution"));
    FillList(ComboBox_VideoFramerate, QStringLiteral("VideoFrameRate"));
    FillList(ComboBox_AudioBitRate, QStringLiteral("AudioQuality"));
    FillList(ComboBox_AudioFrameRate, QStringLiteral("AudioFrameRate"));

    const TProfileFile file(profilePath_);
    // The proposal of a new name obeys the limit the user types under.
    Edit_Name->setMaxLength(kMaxNameLength);
    Edit_Name->setText(file.DefaultName(section_));
    Edit_VideoBitRate->setText(file.DefaultBitRate(section_));
    UpDown->SetPosition(LeadingNumber(Edit_VideoBitRate->text()));
    profileNumber_ = file.ProfileCount(section_);
    Edit_Name->setReadOnly(false);
    ComboBox_AudioChannel->setCurrentIndex(1);
    saved_ = false;
}

void TProfileWindow::LoadProfile(int number) {
    if (number < 0) {
        return;
    }
    profileNumber_ = number;
    Edit_Name->setReadOnly(true);
    const QString line = TProfileFile(profilePath_).Profile(section_, number);
    if (line == TProfileFile::NoData) {
        return;
    }
    const TProfileLineParts parts = SplitProfileLine(line);
    // A name typed by hand beyond the typing limit is kept whole: saving a change must not
    // rename the profile.
    Edit_Name->setMaxLength(std::max<int>(kMaxNameLength, parts.Name.size()));
    Edit_Name->setText(parts.Name);
    SelectText(ComboBox_VideoResolution, parts.Resolution);
    Edit_VideoBitRate->setText(parts.VideoBitRate.toLower());
    SelectText(ComboBox_VideoFramerate, parts.FrameRate.toLower());
    SelectText(ComboBox_AudioBitRate, parts.AudioBitRate);
    SelectText(ComboBox_AudioFrameRate, parts.SampleRate.toLower());
    const int channel = LeadingNumber(parts.ChannelDigit) - 1;
    ComboBox_AudioChannel->setCurrentIndex(
        channel >= 0 && channel < ComboBox_AudioChannel->count() ? channel : -1);
}

void TProfileWindow::ShowModal() {
    show();
    raise();
    activateWindow();
}

void TProfileWindow::ShowForNewProfile(int32_t family) {
    PrepareForFamily(family);
    ShowModal();
}

void TProfileWindow::ShowForChange(int32_t family, int number) {
    PrepareForFamily(family);
    LoadProfile(number);
    ShowModal();
}

TProfileLineParts TProfileWindow::ShownParts() const {
    TProfileLineParts parts;
    parts.Name = TrimProfileText(Edit_Name->text());
    parts.Resolution = ComboBox_VideoResolution->currentText();
    parts.VideoBitRate = Edit_VideoBitRate->text();
    parts.FrameRate = ComboBox_VideoFramerate->currentText();
    parts.AudioBitRate = ComboBox_AudioBitRate->currentText();
    parts.SampleRate = ComboBox_AudioFrameRate->currentText();
    parts.Channels = ComboBox_AudioChannel->currentText();
    return parts;
}

bool TProfileWindow::Save() {
    const TProfileLineParts parts = ShownParts();
    const QString line = ComposeProfileLine(parts);
    // A line the readers would take apart differently could never be converted with or
    // changed again; it is not written.
    TProfileLineParts readBack = SplitProfileLine(line);
    readBack.ChannelDigit.clear();
    if (readBack != parts) {
        ShowMessage(TMessageKind::Information, UnreadableLineText(parts.Name), this);
        return false;
    }
    TProfileFile file(profilePath_);
    try {
        if (!file.WriteProfile(section_, profileNumber_, line)) {
            ShowMessage(TMessageKind::Error,
                        QStringLiteral("There is no room for another profile of this device."),
                        this);
            return false;
        }
    } catch (const EIniFileException& error) {
        // A refused write (a read-only profile file, a full disk) leaves the window open with
        // the user's choices, so nothing typed is lost.
        ShowMessage(TMessageKind::Error, QString::fromLocal8Bit(error.what()), this);
        return false;
    }
    saved_ = true;
    return true;
}

void TProfileWindow::TB_OkClick() {
    if (Save()) {
        close();
    }
}

void TProfileWindow::TB_CancelClick() {
    close();
}

void TProfileWindow::TB_CloseClick() {
    close();
}

void TProfileWindow::UpDownClick() {
    Edit_VideoBitRate->setText(QString::number(UpDown->Position()));
}

void TProfileWindow::Edit_VideoBitRateChange() {
    const int value =
        std::clamp(LeadingNumber(Edit_VideoBitRate->text()), kMinBitRate, kMaxBitRate);
    const QString text = QString::number(value);
    // Setting a different text calls this handler once more, which then finds it settled.
    if (Edit_VideoBitRate->text() != text) {
        Edit_VideoBitRate->setText(text);
    }
    UpDown->SetPosition(value);
}

void TProfileWindow::keyPressEvent(QKeyEvent* event) {
    // Reaches the window only when no field took it (an open list closes itself first).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        TB_CloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TProfileWindow::closeEvent(QCloseEvent* event) {
    const bool wasShown = isVisible();
    QWidget::closeEvent(event);
    if (event->isAccepted() && wasShown) {
        emit Closed(saved_);
    }
}

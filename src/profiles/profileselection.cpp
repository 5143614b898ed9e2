#include "profiles/profileselection.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>

#include "platform/messagebox.h"
#include "platform/picture.h"
#include "platform/scaledpicture.h"
#include "profiles/devicefamily.h"
#include "profiles/profilefile.h"
#include "profiles/profileline.h"

const QString TProfileSelection::AddMyProfile = QStringLiteral("Add my profile...");

TProfileSelection::TProfileSelection(QComboBox* box, QString profilePath, QString skinPath,
                                     QObject* parent)
    : QObject(parent),
      box_(box),
      profilePath_(std::move(profilePath)),
      skinPath_(std::move(skinPath)) {
    box_->setEditable(false);
    box_->setFont(QFont(QStringLiteral("Tahoma"), 8));
    QPalette palette = box_->palette();
    palette.setColor(QPalette::Button, QColor(160, 160, 160));
    palette.setColor(QPalette::Base, QColor(160, 160, 160));
    box_->setPalette(palette);
    // activated is the user's choice only; selecting from the program must not open the editor.
    connect(box_, &QComboBox::activated, this, &TProfileSelection::ComboBox_OutputSettingChange);
    // A profile line is longer than the box; the tooltip keeps the whole of the chosen one.
    connect(box_, &QComboBox::currentTextChanged, box_, &QWidget::setToolTip);
}

void TProfileSelection::SelectDeviceFamily(int32_t family) {
    state_.DeviceFamily = family;
    FillProfileList();
    if (const TDeviceFamily* found = FindDeviceFamily(family)) {
        state_.OutputExt = found->OutputExt;
        state_.OutputFormat = found->OutputFormat;
        LoadFamilyPicture(found->PictureFile);
    }
}

void TProfileSelection::FillProfileList() {
    const TProfileFile file(profilePath_);
    const QString section = DeviceFamilySection(state_.DeviceFamily);
    box_->clear();
    for (const TNumberedValue& profile : file.Profiles(section)) {
        box_->addItem(profile.Value, profile.Number);
    }
    box_->addItem(AddMyProfile);
    WidenDropDown();
    const int defaultIndex = file.DefaultIndex(section);
    // Adding items selects the first one by itself; an index out of range leaves nothing chosen.
    box_->setCurrentIndex(defaultIndex >= 0 && defaultIndex < box_->count() ? defaultIndex : -1);
}

void TProfileSelection::WidenDropDown() {
    // The drop-down shows every line whole, however narrow the box the form gives it.
    const QFontMetrics metrics(box_->view()->font());
    int widest = 0;
    for (int i = 0; i < box_->count(); ++i) {
        box_->setItemData(i, box_->itemText(i), Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(box_->itemText(i)));
    }
    // The items' own padding, and a scroll bar when the family has many profiles.
    constexpr int kItemMargins = 16;
    const int scrollBar = box_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    box_->view()->setMinimumWidth(widest + kItemMargins + scrollBar);
}

bool TProfileSelection::ConfirmProfileChosen() {
    if (box_->currentText() != AddMyProfile) {
        return true;
    }
    ShowMessage(TMessageKind::Information, QStringLiteral("Please select a Output Porfiles!"),
                box_->window());
    if (QLineEdit* edit = box_->lineEdit()) {
        edit->selectAll();
    }
    return false;
}

bool TProfileSelection::ApplySelectedProfile(ConvertSettings& settings) {
    if (!ConfirmProfileChosen()) {
        return false;
    }
    return TakeProfileLineApart(box_->currentText(), state_, settings);
}

int TProfileSelection::ProfileNumberAt(int position) const {
    const QVariant number = box_->itemData(position);
    return number.isValid() ? number.toInt() : -1;
}

void TProfileSelection::EditSelectedProfile() {
    editingFromAddEntry_ = false;
    const int number = ProfileNumberAt(box_->currentIndex());
    if (number < 0) {
        if (newProfileEditor_) {
            newProfileEditor_(state_.DeviceFamily);
        }
    } else if (profileEditor_) {
        profileEditor_(state_.DeviceFamily, number);
    }
}

void TProfileSelection::ComboBox_OutputSettingChange(int index) {
    if (index != box_->count() - 1) {
        return;
    }
    if (!newProfileEditor_) {
        ChooseLastButOne();
        return;
    }
    editingFromAddEntry_ = true;
    newProfileEditor_(state_.DeviceFamily);
}

void TProfileSelection::ProfileEditorClosed(bool saved) {
    if (saved) {
        FillProfileList();
    }
    if (editingFromAddEntry_) {
        editingFromAddEntry_ = false;
        ChooseLastButOne();
    }
}

void TProfileSelection::ChooseLastButOne() {
    if (box_->count() >= 2) {
        box_->setCurrentIndex(box_->count() - 2);
    }
}

void TProfileSelection::LoadFamilyPicture(const QString& pictureFile) {
    const QString path = skinPath_ + pictureFile;
    state_.DevicePicture = QImage();
    if (!QFileInfo(path).isFile()) {
        return;
    }
    // A picture that does not decode is shown like a missing one: it is decoration, and a
    // damaged skin file must not keep the user from reaching the main window.
    try {
        state_.DevicePicture = LoadPictureForRatio(
            path, box_->devicePixelRatioF(), [](const QString& file) { return LoadPicture(file); });
    } catch (const EPictureError&) {
    }
}

#include "skinappliers.h"

#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/skinentry.h"

namespace {

// Field 2 of a check or dynamic button: no second strip. Case does not matter here.
bool IsStatic(const TSkinEntry& entry) {
    return entry.Field(2).toLower() == u"static";
}

void HideAndCollapse(QWidget& control) {
    control.setGeometry(0, 0, 0, 0);
    control.hide();
}

void PlaceAndShow(QWidget& control, const TSkinEntry& entry) {
    control.move(entry.Number(4), entry.Number(5));
    control.setVisible(entry.Flag(8));
}

// The TImageButton stage, shared by the derived classes; force sets hover and down images.
bool ApplyButtonStage(TImageButton& button, const TSkinEntry& entry, bool forceHoverAndDown) {
    if (entry.Value() == TSkinEntry::kWrong) {
        return false;
    }
    if (entry.Value() == TSkinEntry::kInvisible) {
        HideAndCollapse(button);
        return true;
    }
    if (!entry.FileExists(1)) {
        return false;
    }
    const QImage strip = entry.LoadBitmap(1);
    const bool hover = forceHoverAndDown || entry.Flag(13);
    const bool down = forceHoverAndDown || entry.Flag(14);
    const bool result = button.LoadStateStrip(strip, entry.Number(6), entry.Number(7),
                                              entry.Flag(10), hover, down, entry.Flag(15));
    PlaceAndShow(button, entry);
    button.SetButtonEnabled(entry.Flag(9));
    button.setToolTip(entry.Field(12));
    button.update();
    return result;
}

}  // namespace

bool ApplyImageSkin(TImage& image, const TSkinEntry& entry) {
    if (entry.Value() == TSkinEntry::kWrong) {
        return false;
    }
    if (entry.Value() == TSkinEntry::kClear) {
        image.ClearPicture();
        return true;
    }
    if (entry.Value() == TSkinEntry::kInvisible) {
        image.ClearPicture();
        HideAndCollapse(image);
        return true;
    }
    if (!entry.FileExists(1)) {
        return false;
    }
    image.SetPicture(entry.LoadPicture(1));
    image.move(entry.Number(4), entry.Number(5));
    QWidget* parent = image.parentWidget();
    if (parent && (entry.Flag(13) || entry.Flag(14))) {
        // A window's background picture gives the window its size.
        const int width = entry.Flag(13) ? entry.Number(6) : parent->width();
        const int height = entry.Flag(14) ? entry.Number(7) : parent->height();
        parent->resize(width, height);
    }
    image.resize(entry.Number(6), entry.Number(7));
    image.setVisible(entry.Flag(8));
    image.setEnabled(entry.Flag(9));
    image.SetTransparent(entry.Flag(11));
    image.update();
    return true;
}

bool ApplyImageButtonSkin(TImageButton& button, const TSkinEntry& entry) {
    return ApplyButtonStage(button, entry, false);
}

bool ApplyCheckImageButtonSkin(TCheckImageButton& button, const TSkinEntry& entry) {
    if (!ApplyButtonStage(button, entry, false)) {
        return false;
    }
    if (entry.Value() == TSkinEntry::kInvisible) {
        return true;
    }
    if (IsStatic(entry)) {
        button.UseSingleLook();
        button.show();
        return true;
    }
    if (!entry.FileExists(2)) {
        return false;
    }
    const bool result = button.LoadCheckedStrip(entry.LoadBitmap(2), entry.Flag(13), entry.Flag(14),
                                                entry.Flag(15));
    button.SetHints(entry.Field(12));
    button.SetChecked(button.Checked());
    button.show();
    return result;
}

bool ApplyDynamicImageButtonSkin(TDynamicImageButton& button, const TSkinEntry& entry) {
    if (!ApplyButtonStage(button, entry, true)) {
        return false;
    }
    if (entry.Value() == TSkinEntry::kInvisible) {
        return true;
    }
    if (IsStatic(entry)) {
        button.LoadAnimationStrip(QImage(), 0, 0);
        button.show();
        return true;
    }
    if (!entry.FileExists(2)) {
        return false;
    }
    const bool result =
        button.LoadAnimationStrip(entry.LoadBitmap(2), entry.Number(13), entry.Number(14));
    button.show();
    return result;
}

bool ApplyFixProgressSkin(TFixProgress& bar, const TSkinEntry& entry) {
    if (entry.Value() == TSkinEntry::kInvisible) {
        HideAndCollapse(bar);
        return true;
    }
    if (!entry.FileExists(1) || !entry.FileExists(3) || !entry.FileExists(2)) {
        return false;
    }
    const bool trackSet = bar.SetTrack(entry.LoadBitmap(3));
    const bool fillSet = bar.SetRangeFill(entry.LoadBitmap(2));
    QImage startStrip;
    QImage endStrip;
    if (entry.FileExists(13) && entry.FileExists(14)) {
        startStrip = entry.LoadBitmap(13);
        endStrip = entry.LoadBitmap(14);
    }
    const bool partsSet = bar.SetThumbAndMarkers(entry.LoadBitmap(1), startStrip, endStrip);
    bar.Arrange();
    PlaceAndShow(bar, entry);
    bar.setEnabled(entry.Flag(9));
    bar.setToolTip(entry.Field(12));
    bar.show();
    return trackSet && fillSet && partsSet;
}

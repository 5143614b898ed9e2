#include "listpanelskin.h"

#include "clips/listpanel.h"
#include "skin/skinentry.h"

namespace {

// An optional picture: the field's bitmap when its file exists, otherwise none.
QImage OptionalBitmap(const TSkinEntry& entry, int field) {
    return entry.FileExists(field) ? entry.LoadBitmap(field) : QImage();
}

}  // namespace

bool ApplyListPanelSkin(TListPanel& panel, const TSkinEntry& entry) {
    if (entry.Value() == TSkinEntry::kInvisible) {
        panel.hide();
        return true;
    }
    // "Wrong" (no key) lands here too: its empty field 1 names no file.
    if (!entry.FileExists(1) || !entry.FileExists(13) || !entry.FileExists(14)) {
        return false;
    }
    panel.show();
    bool result = panel.SetBackgroundBitmap(entry.LoadBitmap(14));
    panel.SetBottomBitmap(OptionalBitmap(entry, 15));
    result = panel.SetThumbBitmap(entry.LoadBitmap(1)) && result;
    result = panel.SetTrackBitmap(entry.LoadBitmap(13)) && result;
    result = panel.SetUpButtonBitmap(OptionalBitmap(entry, 2)) && result;
    result = panel.SetDownButtonBitmap(OptionalBitmap(entry, 3)) && result;
    panel.resize(entry.Number(6), entry.Number(7));
    result = panel.LayOut() && result;
    panel.move(entry.Number(4), entry.Number(5));
    return result;
}

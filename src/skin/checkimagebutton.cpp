#include "checkimagebutton.h"

#include <QAccessible>

TCheckImageButton::TCheckImageButton(QWidget* parent) : TImageButton(parent) {}

bool TCheckImageButton::LoadCheckedStrip(const QImage& strip, bool hover, bool down,
                                         bool disabled) {
    if (strip.isNull() || NormalImage().isNull()) {
        return false;
    }
    auto checked = TStateImages::Cut(strip, width(), height(), hover, down, disabled);
    if (!checked) {
        return false;
    }
    uncheckedImages_ = Images();
    checkedImages_ = std::move(*checked);
    SeeThroughKey(checkedImages_);
    return true;
}

void TCheckImageButton::UseSingleLook() {
    uncheckedImages_ = Images();
    checkedImages_ = Images();
}

void TCheckImageButton::SetHints(const QString& text) {
    const qsizetype hash = text.indexOf('#');
    if (hash < 0) {
        uncheckedHint_.clear();
        checkedHint_ = text.trimmed();
        return;
    }
    uncheckedHint_ = text.left(hash).trimmed();
    checkedHint_ = text.mid(hash + 1).trimmed();
}

void TCheckImageButton::SetChecked(bool checked) {
    const bool changed = checked_ != checked;
    checked_ = checked;
    // A button whose looks were never loaded keeps what it shows rather than going blank.
    const TStateImages& look = checked ? checkedImages_ : uncheckedImages_;
    if (!look.IsEmpty()) {
        SetImages(look);
    }
    setToolTip(checked ? checkedHint_ : uncheckedHint_);
    if (!isEnabled()) {
        ShowFace(DisabledImage());
    } else {
        ShowFace(MouseOver() ? HoverImage() : NormalImage());
    }
    if (changed && QAccessible::isActive()) {
        QAccessible::State state;
        state.checked = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
}

#pragma once

#include "skin/imagebutton.h"

// A bitmap button with two looks, unchecked and checked, each a full set of state images. It
// never toggles itself: its owner handles Click and calls SetChecked with the negated state.
class TCheckImageButton : public TImageButton {
    Q_OBJECT
  public:
    explicit TCheckImageButton(QWidget* parent = nullptr);

    // The images the button holds now (cut by LoadStateStrip) become the unchecked look, and the
    // checked look is cut from strip with the same layout, using the button's current size. Does
    // not change the picture shown, the size or the shape. False, and nothing changed, without a
    // strip, before any LoadStateStrip, or when the strip is narrower than Width x count.
    bool LoadCheckedStrip(const QImage& strip, bool hover, bool down, bool disabled);
    // The images the button holds now become the unchecked look and there is no checked look of
    // its own: checked, the button looks as it does unchecked.
    void UseSingleLook();
    // "unchecked # checked": the text before the first "#" (trimmed) is the unchecked hint, the
    // text after it (trimmed) the checked hint. Without "#", only the checked state has a hint.
    void SetHints(const QString& text);
    // Switches the current state images and hint to the given look and shows the picture of the
    // current mouse state. The shape is not recomputed.
    void SetChecked(bool checked);

    bool Checked() const { return checked_; }
    const QString& UncheckedHint() const { return uncheckedHint_; }
    const QString& CheckedHint() const { return checkedHint_; }

  private:
    TStateImages uncheckedImages_;
    TStateImages checkedImages_;
    QString uncheckedHint_;
    QString checkedHint_;
    bool checked_ = false;
};

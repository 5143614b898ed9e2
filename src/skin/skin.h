#pragma once

#include <QString>
#include <QWidget>
#include <concepts>
#include <functional>
#include <typeindex>
#include <vector>

#include "skin/skinentry.h"

class TCheckImageButton;
class TDynamicImageButton;
class TFixProgress;
class TImage;
class TImageButton;

// Configures one control from its skin entry; false when the entry is in error.
using TSkinApplier = std::function<bool(QWidget& control, const TSkinEntry& entry)>;

// One skinned component of a window: the control (its objectName() is its key in the skin
// file), the exact class the applier is written for, and the applier. A control whose dynamic
// class is not exactly that class is skipped without error, so a class derived from a skinned
// class is never dressed as its base.
struct TSkinComponent {
    QWidget* control;
    std::type_index skinClass;
    TSkinApplier applier;
};

// How a subsystem adds the applier of its own control class, without touching the loader: it
// declares `bool ApplyXSkin(TX& control, const TSkinEntry& entry)` beside its class, and the
// window lists its control with SkinComponent(control, &ApplyXSkin). The list panel's applier
// (clips) is added this way.
template <class TControl>
requires std::derived_from<TControl, QWidget> TSkinComponent
SkinComponent(TControl* control, bool (*applier)(TControl&, const TSkinEntry&)) {
    return {control, typeid(TControl), [applier](QWidget& widget, const TSkinEntry& entry) {
                return applier(static_cast<TControl&>(widget), entry);
            }};
}

// The skin's own classes with their standard appliers ("TImage", "TImageButton",
// "TCheckImageButton", "TDynamicImageButton", "TFixProgress").
TSkinComponent SkinComponent(TImage* control);
TSkinComponent SkinComponent(TImageButton* control);
TSkinComponent SkinComponent(TCheckImageButton* control);
TSkinComponent SkinComponent(TDynamicImageButton* control);
TSkinComponent SkinComponent(TFixProgress* control);

// A window that the skin dresses. Its section in the skin file is its objectName(). A window
// lists its skinned controls once, in the order it created them:
//
//   class TMainWindow : public QWidget, public TSkinnedWindow {
//       std::vector<TSkinComponent> SkinComponents() override {
//           return {SkinComponent(Img_Background), SkinComponent(TB_Play),
//                   SkinComponent(TP_ImageList, &ApplyListPanelSkin), ...};
//       }
//   };
//
// and calls ApplySkin(MainWindow, path_Skin). Its background pictures are created disabled so
// that presses on them reach the window, which a TWindowDragger then moves.
class TSkinnedWindow {
  public:
    virtual ~TSkinnedWindow() = default;
    // The window's skinned components in creation order (form components first, then those its
    // code created). Components not listed (labels, edits, combo boxes, plain panels) keep their
    // own settings and need no key.
    virtual std::vector<TSkinComponent> SkinComponents() = 0;
};

inline const QString kSkinErrorText =
    QStringLiteral("Some Errors In Skin File.\nRe-install program may solve this problem!");

// Dresses window from skinDir + "Skin.ini" (skinDir ends in the separator), component by
// component in the given order, then shapes the window from its "MaskBmp" entry. Without a skin
// file: false, nothing shown, nothing changed. At the first failing entry (including a picture
// that exists but does not decode): the error box kSkinErrorText, false, later components
// untouched and no shape. A missing mask file leaves the window rectangular.
bool ApplySkin(QWidget& window, const std::vector<TSkinComponent>& components,
               const QString& skinDir);

template <class TWindow>
requires std::derived_from<TWindow, QWidget> && std::derived_from<TWindow, TSkinnedWindow>
bool ApplySkin(TWindow* window, const QString& skinDir) {
    return window && ApplySkin(*window, window->SkinComponents(), skinDir);
}

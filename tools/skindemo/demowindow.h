#pragma once

#include <QWidget>
#include <vector>

#include "skin/skin.h"

class TCheckImageButton;
class TDynamicImageButton;
class TFixProgress;
class TImage;
class TImageButton;

// A border-less window with one of each skinned control per state, dressed by the skin loader
// from section "SkinDemo" and movable by its background.
class TDemoWindow : public QWidget, public TSkinnedWindow {
    Q_OBJECT
  public:
    TDemoWindow();

    std::vector<TSkinComponent> SkinComponents() override;
    // Puts each control into the state its caption names, the way the mouse would.
    void ShowStates();

  private:
    template <class TControl>
    TControl* Create(const char* name);

    std::vector<TSkinComponent> components_;
    TImage* Img_Background;
    std::vector<TImageButton*> plainButtons_;
    std::vector<TCheckImageButton*> checkButtons_;
    std::vector<TDynamicImageButton*> dynamicButtons_;
    TFixProgress* TP_Progress;
};

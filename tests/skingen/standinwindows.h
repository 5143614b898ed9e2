#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "skin/skin.h"

// Windows that own the skinned components the real windows own, with the same names, classes,
// parents and creation order, and the form parts the skin is laid out around.
class TStandInWindow : public QWidget, public TSkinnedWindow {
  public:
    TStandInWindow(const QString& section, QSize formSize);

    std::vector<TSkinComponent> SkinComponents() override { return components_; }

    template <class TControl>
    TControl* Add(const QString& name, QWidget* parent = nullptr) {
        auto* control = new TControl(parent ? parent : this);
        control->setObjectName(name);
        components_.push_back(SkinComponent(control));
        return control;
    }
    template <class TControl, class TApplier>
    TControl* Add(const QString& name, TApplier applier) {
        auto* control = new TControl(this);
        control->setObjectName(name);
        components_.push_back(SkinComponent(control, applier));
        return control;
    }
    // A plain form part (panel, label, edit, list) that the skin must leave alone.
    QWidget* FormPart(const QString& name, const QRect& rect, QWidget* parent = nullptr);
    const std::vector<QWidget*>& FormParts() const { return formParts_; }

  private:
    std::vector<TSkinComponent> components_;
    std::vector<QWidget*> formParts_;
};

std::unique_ptr<TStandInWindow> MakeSelectWindow();
std::unique_ptr<TStandInWindow> MakeMainWindow();
std::unique_ptr<TStandInWindow> MakeProgressWindow();
std::unique_ptr<TStandInWindow> MakeProfileWindow();
std::unique_ptr<TStandInWindow> MakeAboutWindow();

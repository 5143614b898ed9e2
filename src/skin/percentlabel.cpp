#include "percentlabel.h"

#include <QAccessible>
#include <QCoreApplication>

#include "skin/percentaccessible.h"

namespace {

void InstallPercentAccessibility() {
    QAccessible::installFactory(&TPercentAccessible::Create);
}

}  // namespace

// Here, not beside the interface: a static library brings in only what is used, and every
// program that shows a percent label makes an application first.
Q_COREAPP_STARTUP_FUNCTION(InstallPercentAccessibility)

// The text is set here, not by QLabel's constructor: Qt makes and keeps an object's accessible
// interface at its first text, and during QLabel's constructor this is still a plain label.
TPercentLabel::TPercentLabel(QWidget* parent) : QLabel(parent) {
    SetPercent(0);
}

void TPercentLabel::SetPercent(int percent) {
    percent_ = percent;
    setText(QString::number(percent));
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, percent);
        QAccessible::updateAccessibility(&event);
    }
}

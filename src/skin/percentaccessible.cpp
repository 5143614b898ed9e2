#include "percentaccessible.h"

#include "skin/percentlabel.h"

TPercentAccessible::TPercentAccessible(TPercentLabel* label)
    : QAccessibleWidget(label, QAccessible::ProgressBar) {}

QAccessibleInterface* TPercentAccessible::Create(const QString&, QObject* object) {
    auto* label = qobject_cast<TPercentLabel*>(object);
    return label ? new TPercentAccessible(label) : nullptr;
}

const TPercentLabel* TPercentAccessible::Label() const {
    return static_cast<const TPercentLabel*>(widget());
}

void* TPercentAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QString TPercentAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        return QStringLiteral("%1 %").arg(Label()->Percent());
    }
    return QAccessibleWidget::text(type);
}

QAccessible::State TPercentAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    // A window may disable the bar's panel only to let presses through to its drag; the value
    // is live all the same.
    state.disabled = false;
    return state;
}

QVariant TPercentAccessible::currentValue() const {
    return Label()->Percent();
}

// The run moves the bar; nothing else may.
void TPercentAccessible::setCurrentValue(const QVariant&) {}

QVariant TPercentAccessible::maximumValue() const {
    return 100;
}

QVariant TPercentAccessible::minimumValue() const {
    return 0;
}

QVariant TPercentAccessible::minimumStepSize() const {
    return 1;
}

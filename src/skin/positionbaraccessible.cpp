#include "positionbaraccessible.h"

#include "skin/fixprogress.h"

TPositionBarAccessible::TPositionBarAccessible(TFixProgress* bar)
    : QAccessibleWidget(bar, QAccessible::Slider) {}

QAccessibleInterface* TPositionBarAccessible::Create(const QString&, QObject* object) {
    auto* bar = qobject_cast<TFixProgress*>(object);
    return bar ? new TPositionBarAccessible(bar) : nullptr;
}

TFixProgress* TPositionBarAccessible::Bar() const {
    return static_cast<TFixProgress*>(widget());
}

void* TPositionBarAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QString TPositionBarAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        return QStringLiteral("%1 s").arg(static_cast<int>(Bar()->Seconds()));
    }
    return QAccessibleWidget::text(type);
}

QVariant TPositionBarAccessible::currentValue() const {
    return Bar()->Seconds();
}

void TPositionBarAccessible::setCurrentValue(const QVariant& value) {
    Bar()->StepToSeconds(value.toDouble());
}

QVariant TPositionBarAccessible::maximumValue() const {
    return Bar()->Duration();
}

QVariant TPositionBarAccessible::minimumValue() const {
    return 0.0;
}

QVariant TPositionBarAccessible::minimumStepSize() const {
    return 1.0;
}

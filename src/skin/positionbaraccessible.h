#pragma once

#include <QAccessibleWidget>

class TFixProgress;

// The position bar as assistive technology hears it: a slider whose value is the position in
// seconds of the clip shown (0 .. its duration). Setting the value moves the thumb and tells
// the owner, as a step with the arrow keys does.
class TPositionBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit TPositionBarAccessible(TFixProgress* bar);

    static QAccessibleInterface* Create(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

  private:
    TFixProgress* Bar() const;
};

#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class TPercentLabel;

// What assistive technology hears of a percent label: a progress bar, named by the label's
// accessible name, its value the percent from 0 to 100.
class TPercentAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit TPercentAccessible(TPercentLabel* label);

    // The factory Qt asks for every object; answers for percent labels only.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;
    QAccessible::State state() const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

  private:
    const TPercentLabel* Label() const;
};

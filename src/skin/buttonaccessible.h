#pragma once

// The skin engine: the skin file and its pictures, bitmap buttons, the position bar, window
// shape, drag and form geometry. Includes platform/, app/ and include/.

#include <QAccessibleWidget>

class TImageButton;

// What assistive technology hears of a bitmap button: a push button, or a check box with its
// state for a check button. The name is the one the window gave the button, or else its hint.
// Pressing it through the interface clicks it as the mouse would.
class TButtonAccessible : public QAccessibleWidget {
  public:
    explicit TButtonAccessible(TImageButton* button);

    // The factory Qt asks for every object; answers for bitmap buttons only.
    static QAccessibleInterface* Create(const QString& className, QObject* object);

    QString text(QAccessible::Text type) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

  private:
    TImageButton* Button() const;
};

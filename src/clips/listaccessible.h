#pragma once

#include <QAccessibleWidget>

class TListPanel;

// The clip list as assistive technology hears it: a list whose children are the clips, in the
// list's order; the panels that scroll them and the scroll bar's parts are not shown.
class TListAccessible : public QAccessibleWidget {
  public:
    explicit TListAccessible(TListPanel* list);

    static QAccessibleInterface* Create(const QString& className, QObject* object);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessible::State state() const override;

  private:
    TListPanel* List() const;
};

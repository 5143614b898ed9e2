#include "listaccessible.h"

#include "clips/image_item.h"
#include "clips/listpanel.h"

TListAccessible::TListAccessible(TListPanel* list) : QAccessibleWidget(list, QAccessible::List) {}

QAccessibleInterface* TListAccessible::Create(const QString&, QObject* object) {
    auto* list = qobject_cast<TListPanel*>(object);
    return list ? new TListAccessible(list) : nullptr;
}

TListPanel* TListAccessible::List() const {
    return static_cast<TListPanel*>(widget());
}

int TListAccessible::childCount() const {
    return List()->Count();
}

QAccessibleInterface* TListAccessible::child(int index) const {
    Image_Item* item = List()->GetItem(index);
    return item ? QAccessible::queryAccessibleInterface(item) : nullptr;
}

int TListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child) {
        return -1;
    }
    for (int i = 0; i < List()->Count(); ++i) {
        if (List()->GetItem(i) == child->object()) {
            return i;
        }
    }
    return -1;
}

QAccessibleInterface* TListAccessible::focusChild() const {
    Image_Item* current = List()->hasFocus() ? List()->Current() : nullptr;
    return current ? QAccessible::queryAccessibleInterface(current) : nullptr;
}

QAccessible::State TListAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.multiSelectable = true;
    return state;
}

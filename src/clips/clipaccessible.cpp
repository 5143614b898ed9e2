#include "clipaccessible.h"

#include "app/pubfunction.h"
#include "clips/image_item.h"
#include "clips/listpanel.h"
#include "platform/localpath.h"

TClipAccessible::TClipAccessible(Image_Item* item)
    : QAccessibleWidget(item, QAccessible::ListItem) {}

QAccessibleInterface* TClipAccessible::Create(const QString&, QObject* object) {
    auto* item = qobject_cast<Image_Item*>(object);
    return item ? new TClipAccessible(item) : nullptr;
}

Image_Item* TClipAccessible::Item() const {
    return static_cast<Image_Item*>(widget());
}

QString TClipAccessible::NameOf(const Image_Item& item) {
    const ClipRecord& clip = item.Clip();
    return QStringLiteral("%1, start %2, stop %3")
        .arg(TLocalPath::Display(TLocalPath::FileName(clip.SourceFile)), TimeToText(clip.StartTime),
             TimeToText(clip.StopTime));
}

QAccessibleInterface* TClipAccessible::parent() const {
    for (QObject* up = widget()->parent(); up; up = up->parent()) {
        if (qobject_cast<TListPanel*>(up)) {
            return QAccessible::queryAccessibleInterface(up);
        }
    }
    return QAccessibleWidget::parent();
}

QString TClipAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Name) {
        return NameOf(*Item());
    }
    return QAccessibleWidget::text(type);
}

QAccessible::State TClipAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.selectable = true;
    state.selected = Item()->Selected();
    state.focusable = true;
    const auto* list = qobject_cast<const TListPanel*>(
        Item()->parentWidget() ? Item()->parentWidget()->parent() : nullptr);
    state.focused = list && list->hasFocus() && list->Current() == Item();
    return state;
}

#include "buttonaccessible.h"

#include "skin/checkimagebutton.h"

namespace {

QAccessible::Role RoleOf(const TImageButton* button) {
    return qobject_cast<const TCheckImageButton*>(button) ? QAccessible::CheckBox
                                                          : QAccessible::Button;
}

}  // namespace

TButtonAccessible::TButtonAccessible(TImageButton* button)
    : QAccessibleWidget(button, RoleOf(button)) {}

QAccessibleInterface* TButtonAccessible::Create(const QString&, QObject* object) {
    auto* button = qobject_cast<TImageButton*>(object);
    return button ? new TButtonAccessible(button) : nullptr;
}

TImageButton* TButtonAccessible::Button() const {
    return static_cast<TImageButton*>(widget());
}

QString TButtonAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Name) {
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? widget()->toolTip() : name;
    }
    return QAccessibleWidget::text(type);
}

QAccessible::State TButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (const auto* check = qobject_cast<const TCheckImageButton*>(Button())) {
        state.checkable = true;
        state.checked = check->Checked();
    }
    state.pressed = Button()->Pressed();
    return state;
}

QStringList TButtonAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled()) {
        names.prepend(role() == QAccessible::CheckBox ? toggleAction() : pressAction());
    }
    return names;
}

void TButtonAccessible::doAction(const QString& actionName) {
    if (widget()->isEnabled() && (actionName == pressAction() || actionName == toggleAction())) {
        Button()->Activate();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

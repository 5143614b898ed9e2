#include "windowaccess.h"

#include <QWidget>

void NameControls(QWidget& window, std::span<const TControlName> names) {
    for (const TControlName& entry : names) {
        const auto found = window.findChildren<QWidget*>(QLatin1String(entry.Object));
        for (QWidget* control : found) {
            // A window made as a child of this one keeps its own table.
            if (control->window() != &window) {
                continue;
            }
            control->setAccessibleName(QLatin1String(entry.Name));
        }
    }
}

void ChainTabOrder(const std::vector<QWidget*>& controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (!control) {
            continue;
        }
        if (previous) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
    // Moving controls about in the chain leaves its start wherever the last move put it; the
    // first control is the one a window focuses when it opens.
    for (QWidget* control : controls) {
        if (control && !control->window()->isVisible()) {
            control->setFocus();
        }
        if (control) {
            break;
        }
    }
}

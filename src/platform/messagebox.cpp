#include "messagebox.h"

#include <QMessageBox>

bool ShowMessage(TMessageKind kind, const QString& text, QWidget* owner) {
    QMessageBox box(owner);
    box.setText(text);
    switch (kind) {
        case TMessageKind::Error:
            box.setWindowTitle("Error");
            box.setIcon(QMessageBox::Critical);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case TMessageKind::Information:
            box.setWindowTitle("Information");
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case TMessageKind::Confirm:
            box.setWindowTitle("Confirm");
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

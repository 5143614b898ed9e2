#include "modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

TModalAnswerer::TModalAnswerer(bool answerYes) : answerYes_(answerYes) {
    connect(&timer_, &QTimer::timeout, this, &TModalAnswerer::Poll);
    timer_.start(5);
}

void TModalAnswerer::Poll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible()) {
            continue;
        }
        captions_ << box->windowTitle();
        texts_ << box->text();
        QAbstractButton* button = box->button(answerYes_ ? QMessageBox::Yes : QMessageBox::No);
        if (!button) {
            button = box->button(QMessageBox::Ok);
        }
        if (button) {
            button->click();
        } else {
            box->done(0);
        }
    }
}

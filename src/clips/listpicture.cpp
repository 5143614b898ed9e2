#include "listpicture.h"

#include <QMouseEvent>
#include <QPainter>

TListPicture::TListPicture(QWidget* parent, bool stretch) : QWidget(parent), stretch_(stretch) {}

void TListPicture::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void TListPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (stretch_) {
        painter.drawImage(rect(), picture_);
    } else {
        painter.drawImage(0, 0, picture_);
    }
}

void TListPicture::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->position().toPoint());
}

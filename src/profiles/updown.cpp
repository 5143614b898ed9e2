#include "profiles/updown.h"

#include <QToolButton>
#include <algorithm>

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
    up_ = MakeArrow(Qt::UpArrow, TButton::Up);
    down_ = MakeArrow(Qt::DownArrow, TButton::Down);
}

QToolButton* TUpDown::MakeArrow(Qt::ArrowType arrow, TButton button) {
    auto* tool = new QToolButton(this);
    tool->setArrowType(arrow);
    tool->setAutoRepeat(true);
    tool->setFocusPolicy(Qt::NoFocus);
    connect(tool, &QToolButton::clicked, this, [this, button] { Step(button); });
    return tool;
}

void TUpDown::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    SetPosition(position_);
}

void TUpDown::SetPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
}

void TUpDown::Step(TButton button) {
    SetPosition(button == TButton::Up ? position_ + (position_ < maximum_ ? 1 : 0)
                                      : position_ - (position_ > minimum_ ? 1 : 0));
    emit Click(button);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

#include "demowindow.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/image.h"
#include "skin/imagebutton.h"
#include "skin/windowdragger.h"

namespace {

void Enter(QWidget& widget) {
    const QPointF inside(4, 4);
    QEnterEvent event(inside, inside, widget.mapToGlobal(inside));
    QApplication::sendEvent(&widget, &event);
}

void PressLeft(QWidget& widget) {
    const QPointF inside(4, 4);
    QMouseEvent event(QEvent::MouseButtonPress, inside, widget.mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

TDemoWindow::TDemoWindow() {
    setObjectName("SkinDemo");
    setWindowTitle("Skin demonstration");
    setWindowFlags(Qt::FramelessWindowHint);
    Img_Background = Create<TImage>("Img_Background");
    Img_Background->setEnabled(false);
    for (const char* name : {"TB_Normal", "TB_Hover", "TB_Down", "TB_Disabled"}) {
        plainButtons_.push_back(Create<TImageButton>(name));
    }
    for (const char* name : {"TB_Unchecked", "TB_Checked", "TB_CheckedHover"}) {
        checkButtons_.push_back(Create<TCheckImageButton>(name));
    }
    for (const char* name : {"TB_Idle", "TB_Frame1", "TB_Frame3", "TB_Resting"}) {
        dynamicButtons_.push_back(Create<TDynamicImageButton>(name));
    }
    TP_Progress = Create<TFixProgress>("TP_Progress");
    new TWindowDragger(this);
}

template <class TControl>
TControl* TDemoWindow::Create(const char* name) {
    auto* control = new TControl(this);
    control->setObjectName(name);
    components_.push_back(SkinComponent(control));
    return control;
}

std::vector<TSkinComponent> TDemoWindow::SkinComponents() {
    return components_;
}

void TDemoWindow::ShowStates() {
    Enter(*plainButtons_[1]);
    Enter(*plainButtons_[2]);
    PressLeft(*plainButtons_[2]);

    checkButtons_[1]->SetChecked(true);
    checkButtons_[2]->SetChecked(true);
    Enter(*checkButtons_[2]);

    // Frames advance by the timer's handler, so the picture is exact rather than timed.
    const int ticks[] = {0, 2, 4, 5};
    for (size_t i = 1; i < dynamicButtons_.size(); ++i) {
        Enter(*dynamicButtons_[i]);
        for (int tick = 0; tick < ticks[i]; ++tick) {
            dynamicButtons_[i]->FrameTimerTick();
        }
    }

    TP_Progress->SetRange(0.2f, 0.7f);
    TP_Progress->SetPosition(40);
}

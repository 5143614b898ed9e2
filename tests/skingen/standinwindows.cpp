#include "standinwindows.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "clips/listpanel.h"
#include "clips/listpanelskin.h"
#include "profiles/devicefamily.h"
#include "skin/checkimagebutton.h"
#include "skin/dynamicimagebutton.h"
#include "skin/fixprogress.h"
#include "skin/formlayout.h"
#include "skin/image.h"

TStandInWindow::TStandInWindow(const QString& section, QSize formSize) {
    setObjectName(section);
    setWindowFlags(Qt::FramelessWindowHint);
    resize(formSize);
}

QWidget* TStandInWindow::FormPart(const QString& name, const QRect& rect, QWidget* parent) {
    auto* part = new QWidget(parent ? parent : this);
    part->setObjectName(name);
    part->setGeometry(rect);
    formParts_.push_back(part);
    return part;
}

namespace {

void AddButtons(TStandInWindow& window, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        window.Add<TDynamicImageButton>(name);
    }
}

}  // namespace

std::unique_ptr<TStandInWindow> MakeSelectWindow() {
    auto window = std::make_unique<TStandInWindow>("SelectWindow", formlayout::select::kWindow);
    for (const TDeviceFamily& family : kDeviceFamilies) {
        if (family.Showcase) {
            window->Add<TImage>(family.Showcase);
        }
    }
    window->Add<TImage>("Img_Background");
    AddButtons(*window, {"TB_Exit", "TB_Min", "TB_Help"});
    for (const TDeviceFamily& family : kDeviceFamilies) {
        if (family.Button) {
            window->Add<TDynamicImageButton>(family.Button);
        }
    }
    return window;
}

std::unique_ptr<TStandInWindow> MakeMainWindow() {
    namespace layout = formlayout::main;
    auto window = std::make_unique<TStandInWindow>("MainWindow", formlayout::main::kWindow);
    QWidget* preview = window->FormPart("Panel_Preview", layout::kPreview);
    window->FormPart("ComboBox_OutputSetting", layout::kProfileBox);
    window->Add<TListPanel>("TP_ImageList", &ApplyListPanelSkin);
    window->Add<TImage>("Img_Background");
    AddButtons(*window, {"TB_Play", "TB_Stop", "TB_Pause", "TB_Next", "TB_Previous"});
    window->Add<TFixProgress>("TP_Progress");
    window->Add<TDynamicImageButton>("TB_Close");
    window->Add<TCheckImageButton>("TB_AS_Keep");
    AddButtons(*window, {"TB_Min", "TB_Help", "TB_AddFile", "TB_DelFile", "TB_Edit", "TB_Convert"});
    window->Add<TImage>("Img_VideoPic", preview);
    return window;
}

std::unique_ptr<TStandInWindow> MakeProgressWindow() {
    namespace layout = formlayout::progress;
    auto window = std::make_unique<TStandInWindow>("ProgressWindow", formlayout::progress::kWindow);
    const std::pair<const char*, QRect> labels[] = {
        {"Label1", layout::kCurrentClipCaption},
        {"Label_SrcName", layout::kSrcName},
        {"Label2", layout::kDestinationCaption},
        {"Label_DesName", layout::kDesName},
        {"Label5", layout::kStartTimeCaption},
        {"Label_StartTime", layout::kStartTime},
        {"Label6", layout::kStopTimeCaption},
        {"Label_StopTime", layout::kStopTime},
        {"Label3", layout::kLengthCaption},
        {"Label_Length", layout::kLength},
        {"Label4", layout::kCurrentTimeCaption},
        {"Label_CurrentTime", layout::kCurrentTime},
        {"Edit_WorkingFolder", layout::kWorkingFolder},
    };
    for (const auto& [name, rect] : labels) {
        window->FormPart(name, rect);
    }
    QWidget* panel = window->FormPart("Panel_Progress", layout::kProgressPanel);
    window->Add<TImage>("Img_Background");
    window->Add<TImage>("Img_Progress", panel);
    window->Add<TImage>("Img_CP", panel);
    window->Add<TImage>("Img_TP", panel);
    AddButtons(*window, {"TB_Start", "TB_Stop", "TB_Close", "TB_Browse"});
    return window;
}

std::unique_ptr<TStandInWindow> MakeProfileWindow() {
    namespace layout = formlayout::profile;
    auto window = std::make_unique<TStandInWindow>("ProfileWindow", formlayout::profile::kWindow);
    window->FormPart("Label_Name", layout::kNameCaption);
    window->FormPart("Edit_Name", layout::kName);
    window->FormPart("GroupBox1", layout::kVideoGroup);
    window->FormPart("GroupBox2", layout::kAudioGroup);
    window->Add<TImage>("Img_Background");
    AddButtons(*window, {"TB_Ok", "TB_Cancel", "TB_Close"});
    return window;
}

std::unique_ptr<TStandInWindow> MakeAboutWindow() {
    namespace layout = formlayout::about;
    auto window = std::make_unique<TStandInWindow>("AboutWindow", formlayout::about::kWindow);
    window->FormPart("Label1", layout::kTitleShadow);
    window->FormPart("Label5", layout::kTitle);
    window->FormPart("Label2", layout::kVersion);
    window->Add<TImage>("Img_Background");
    AddButtons(*window, {"TB_Home", "TB_Contact", "TB_Close"});
    return window;
}

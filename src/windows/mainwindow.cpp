#include "mainwindow.h"

#include <cfenv>

#include "app/pubfunction.h"
#include "platform/inifile.h"
#include "platform/messagebox.h"
#include "platform/windowhandle.h"
#include "platform/windowplacement.h"

TMainWindow* MainWindow = nullptr;

namespace {

// Position arithmetic divides by clip durations without testing them for zero; with every
// floating-point exception masked that gives an infinity or a NaN instead of a trap.
void MaskFloatingPointExceptions() {
    fedisableexcept(FE_ALL_EXCEPT);
}

}  // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), handle_(nullptr) {
    MaskFloatingPointExceptions();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("MainWindow"));
    setFixedSize(792, 566);
    setAutoFillBackground(true);
    QPalette cream = palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    setPalette(cream);
    CenterOnScreen(this);
    handle_ = new TWindowHandle(this);
    FormCreate();
}

TMainWindow::~TMainWindow() {
    FormDestroy();
}

void TMainWindow::FormCreate() {
    // Without the encoder library nothing of this window can work: the user is told and the
    // application ends when start-up reaches the message loop.
    if (!encoder_.LoadAndInit(path_Config + TEncoderBinding::kLibraryName)) {
        return;
    }
    LoadSettings();
    settingsRead_ = true;
    // After the settings: a stored output folder that cannot be made falls back to the default.
    CreateWorkFolders();
}

void TMainWindow::FormDestroy() {
    // Settings never read (the encoder library was missing) are only defaults; writing them
    // would wipe the user's stored choices.
    if (settingsRead_) {
        try {
            SaveSettings();
        } catch (const EIniFileException& error) {
            ShowMessage(TMessageKind::Error, QString::fromStdString(error.what()));
        }
    }
    encoder_.Unload();
    ClearFolder(path_Snapshot, false);
}

DeroWindowHandle* TMainWindow::Handle() {
    return handle_->Handle();
}

intptr_t TMainWindow::WindowMessage(uint32_t, uintptr_t, intptr_t) {
    return 0;
}

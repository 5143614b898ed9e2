#include <QApplication>
#include <exception>
#include <memory>

#include "app/pubfunction.h"
#include "app/startup.h"
#include "conversion/progresswindow.h"
#include "platform/messagebox.h"
#include "platform/singleinstance.h"
#include "platform/terminaterequest.h"
#include "platform/terminationsignals.h"
#include "profiles/profilewindow.h"
#include "windows/mainwindow.h"
#include "windows/selectwindow.h"

namespace {

constexpr char kApplicationTitle[] = "Dero Video Converter";
// The main window's title, and so the key that keeps a second copy from starting.
constexpr char kMainWindowTitle[] = "Derobox Converter";

// A window global that owns its window for the run and is cleared when the window goes.
template <typename Window>
class TWindowGlobal {
  public:
    explicit TWindowGlobal(Window*& global) : global_(global) {
        window_ = std::make_unique<Window>();
        global_ = window_.get();
    }
    ~TWindowGlobal() {
        window_.reset();
        global_ = nullptr;
    }
    TWindowGlobal(const TWindowGlobal&) = delete;
    TWindowGlobal& operator=(const TWindowGlobal&) = delete;

  private:
    Window*& global_;
    std::unique_ptr<Window> window_;
};

void ShowSplash() {
    StartUp = new TStartUp(path_Skin + QStringLiteral("startup.jpg"));
    StartUp->ShowSplash();
}

void CloseSplash() {
    StartUp->HideSplash();
    StartUp->close();
    delete StartUp;
    StartUp = nullptr;
}

// Start-up after the single-instance test; the windows live until the message loop ends and
// go in the reverse order of their creation.
void Run(QApplication& app) {
    ShowSplash();
    TWindowGlobal<TSelectWindow> select(SelectWindow);
    TWindowGlobal<TMainWindow> main(MainWindow);
    TWindowGlobal<TProfileWindow> profile(ProfileWindow);
    TWindowGlobal<TProgressWindow> progress(ProgressWindow);
    MainWindow->setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    CloseSplash();

    if (!TerminateRequested()) {
        SelectWindow->show();
        app.exec();
    }
}

}  // namespace

int main(int argc, char** argv) {
    TSingleInstance instance(QString::fromLatin1(kMainWindowTitle));
    if (!instance.TryAcquire()) {
        return -1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // The device chooser is the main window: its closing ends the run, not the last window's.
    app.setQuitOnLastWindowClosed(false);
    TTerminationSignals termination;
    QObject::connect(&termination, &TTerminationSignals::Received, [] { RequestTerminate(); });
    try {
        Run(app);
    } catch (const std::exception& error) {
        ShowMessage(TMessageKind::Error, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowMessage(TMessageKind::Error, QString());
    }
    if (StartUp) {
        delete StartUp;
        StartUp = nullptr;
    }
    return 0;
}

#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/application.h"
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

// A window global that owns its window for the run and is cleared when the window goes.
template <typename Window>
class TWindowGlobal {
  public:
    explicit TWindowGlobal(Window*& global) : global_(global) {}
    ~TWindowGlobal() { Reset(); }
    TWindowGlobal(const TWindowGlobal&) = delete;
    TWindowGlobal& operator=(const TWindowGlobal&) = delete;

    template <typename... Args>
    void Create(Args&&... args) {
        window_ = std::make_unique<Window>(std::forward<Args>(args)...);
        global_ = window_.get();
    }
    void Reset() {
        window_.reset();
        global_ = nullptr;
    }

  private:
    Window*& global_;
    std::unique_ptr<Window> window_;
};

// The loader says nothing when the skin file is missing altogether; a build run without its
// skin would then end without a word, so one line says why.
void ReportMissingSkinFile() {
    const QString skinFile = path_Skin + QStringLiteral("Skin.ini");
    if (!QFileInfo(skinFile).isFile()) {
        std::fprintf(stderr, "dero-video-converter: the skin file %s is missing\n",
                     qPrintable(skinFile));
    }
}

void LoadSkins() {
    if (!SelectWindow->ApplySkins()) {
        ReportMissingSkinFile();
        RequestTerminate();
    }
}

// Start-up after the single-instance test; the windows live until the message loop ends and
// go in the reverse order of their creation.
void Run(TApplication& app) {
    TWindowGlobal<TStartUp> splash(StartUp);
    splash.Create(path_Skin + QStringLiteral("startup.jpg"));
    StartUp->ShowSplash();

    TWindowGlobal<TSelectWindow> select(SelectWindow);
    TWindowGlobal<TMainWindow> main(MainWindow);
    TWindowGlobal<TProfileWindow> profile(ProfileWindow);
    TWindowGlobal<TProgressWindow> progress(ProgressWindow);
    select.Create();
    main.Create();
    profile.Create();
    // A window of the main window's, so a window manager keeps it above the main window, and
    // the output folder's dialog above both.
    progress.Create(MainWindow);
    MainWindow->setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    if (!TerminateRequested()) {
        LoadSkins();
    }

    StartUp->HideSplash();
    StartUp->close();
    splash.Reset();

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
    TApplication app(argc, argv);
    TApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
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
    return 0;
}

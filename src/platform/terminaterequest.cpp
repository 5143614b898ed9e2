#include "terminaterequest.h"

#include <QCoreApplication>
#include <QVariant>

namespace {

// Kept on the application object, so it lives and dies with the application.
constexpr char kProperty[] = "dero.terminateRequested";

}  // namespace

void RequestTerminate() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return;
    }
    app->setProperty(kProperty, true);
    // Outside a running loop quit() is ignored; the entry routine reads the request instead.
    QCoreApplication::quit();
}

bool TerminateRequested() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && app->property(kProperty).toBool();
}

void ClearTerminateRequest() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->setProperty(kProperty, false);
    }
}

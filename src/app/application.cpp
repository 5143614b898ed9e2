#include "app/application.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    if (!handler_) {
        return QApplication::notify(receiver, event);
    }
    // The failed handler is abandoned and the program goes on with the next event.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        handler_(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        handler_(QString());
    }
    return false;
}

TApplication* TApplication::Instance() {
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

#include "desktopbus.h"

#include <poll.h>
#include <unistd.h>

#include <QStandardPaths>

namespace desktopbus {

uint TFakeScreenSaver::Inhibit(const QString& application, const QString& reason) {
    inhibits << application + '|' + reason;
    return nextCookie++;
}

void TFakeScreenSaver::UnInhibit(uint cookie) {
    uninhibits << cookie;
}

TFakeLogin::~TFakeLogin() {
    for (int fd : readEnds) {
        close(fd);
    }
}

QDBusUnixFileDescriptor TFakeLogin::Inhibit(const QString& what, const QString& who,
                                            const QString& why, const QString& mode) {
    inhibits << QStringList({what, who, why, mode}).join('|');
    int ends[2];
    if (pipe(ends) != 0) {
        return {};
    }
    readEnds << ends[0];
    // The descriptor object holds a copy; the bus passes another to the caller.
    QDBusUnixFileDescriptor handed(ends[1]);
    close(ends[1]);
    return handed;
}

bool TFakeLogin::Released(int index) const {
    if (index < 0 || index >= readEnds.size()) {
        return false;
    }
    pollfd watch{readEnds.at(index), POLLIN, 0};
    return poll(&watch, 1, 0) == 1 && (watch.revents & POLLHUP);
}

uint TFakeNotifications::Notify(const QString& application, uint, const QString&,
                                const QString& summary, const QString& body, const QStringList&,
                                const QVariantMap&, int) {
    notices << QStringList({application, summary, body}).join('|');
    return static_cast<uint>(notices.size());
}

TDesktopBus::~TDesktopBus() {
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    QDBusConnection::disconnectFromBus(QStringLiteral("services"));
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
}

bool TDesktopBus::Start() {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty()) {
        return false;
    }
    daemon_.start(program, {"--session", "--nofork", "--print-address=1"});
    if (!daemon_.waitForStarted(5000) || !daemon_.waitForReadyRead(5000)) {
        return false;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    QDBusConnection services = QDBusConnection::connectToBus(address_, QStringLiteral("services"));
    if (!services.isConnected()) {
        return false;
    }
    const auto exported = QDBusConnection::ExportAllSlots;
    return services.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) &&
           services.registerService(QStringLiteral("org.freedesktop.login1")) &&
           services.registerService(QStringLiteral("org.freedesktop.Notifications")) &&
           services.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver,
                                   exported) &&
           services.registerObject(QStringLiteral("/org/freedesktop/login1"), &login, exported) &&
           services.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                                   exported);
}

QDBusConnection TDesktopBus::Client() const {
    return QDBusConnection::connectToBus(address_, QStringLiteral("program"));
}

}  // namespace desktopbus

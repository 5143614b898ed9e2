#include "conversion/desktopnotice.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

TDesktopNotice::TDesktopNotice() : TDesktopNotice(QDBusConnection::sessionBus()) {}

TDesktopNotice::TDesktopNotice(const QDBusConnection& session) : session_(session) {}

bool TDesktopNotice::Send(const QString& summary, const QString& body) {
    if (!session_.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QString::fromLatin1(kApplicationName) << uint32_t{0} << QString() << summary << body
         << QStringList() << QVariantMap() << int32_t{kShowMilliseconds};
    // send, not call: the answer (the notice's id) is of no use, and waiting could stall the
    // user interface behind a busy service.
    return session_.send(call);
}

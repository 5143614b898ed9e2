#include "conversion/sleepinhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kLoginService = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kLoginInterface = QStringLiteral("org.freedesktop.login1.Manager");

void UnInhibit(QDBusConnection& session, uint32_t cookie) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kScreenSaverService, kScreenSaverPath, kScreenSaverService, QStringLiteral("UnInhibit"));
    call << cookie;
    // Fire and forget: nothing is waited for on the way out.
    session.send(call);
}

}  // namespace

TSleepInhibitor::TSleepInhibitor(QObject* parent)
    : TSleepInhibitor(QDBusConnection::sessionBus(), QDBusConnection::systemBus(), parent) {}

TSleepInhibitor::TSleepInhibitor(const QDBusConnection& session, const QDBusConnection& system,
                                 QObject* parent)
    : QObject(parent), session_(session), system_(system) {}

TSleepInhibitor::~TSleepInhibitor() {
    Release();
}

void TSleepInhibitor::Acquire() {
    if (wanted_) {
        return;
    }
    wanted_ = true;
    ++generation_;
    AskScreenSaver();
    AskLogin();
}

void TSleepInhibitor::Release() {
    wanted_ = false;
    ++generation_;
    if (cookie_ != 0) {
        UnInhibit(session_, cookie_);
        cookie_ = 0;
    }
    // Closing the last copy of the descriptor ends logind's inhibitor.
    loginLock_ = QDBusUnixFileDescriptor();
}

void TSleepInhibitor::AskScreenSaver() {
    if (!session_.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kScreenSaverService, kScreenSaverPath, kScreenSaverService, QStringLiteral("Inhibit"));
    call << QString::fromLatin1(kWho) << QString::fromLatin1(kWhy);
    auto* watcher = new QDBusPendingCallWatcher(session_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation = generation_](QDBusPendingCallWatcher* answer) {
                answer->deleteLater();
                const QDBusPendingReply<uint32_t> reply = *answer;
                if (reply.isValid() && reply.value() != 0) {
                    if (generation == generation_) {
                        cookie_ = reply.value();
                    } else {
                        // Granted for a run that has ended meanwhile: give it straight back.
                        UnInhibit(session_, reply.value());
                    }
                }
                emit Answered();
            });
}

void TSleepInhibitor::AskLogin() {
    if (!system_.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kLoginService, kLoginPath, kLoginInterface,
                                                       QStringLiteral("Inhibit"));
    // "idle" only: the desktop stays awake on its own, but a suspend the user asks for still
    // happens.
    call << QStringLiteral("idle") << QString::fromLatin1(kWho) << QString::fromLatin1(kWhy)
         << QStringLiteral("block");
    auto* watcher = new QDBusPendingCallWatcher(system_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation = generation_](QDBusPendingCallWatcher* answer) {
                answer->deleteLater();
                const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *answer;
                // A stale answer's descriptor closes when the reply goes.
                if (reply.isValid() && generation == generation_) {
                    loginLock_ = reply.value();
                }
                emit Answered();
            });
}

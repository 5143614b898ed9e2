#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>

// A private message bus for the test program's run, with stand-ins for the desktop services
// the program talks to. The stand-ins answer on the bus like the real services.
namespace desktopbus {

class TFakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
  public:
    QStringList inhibits;  // "application|reason"
    QList<uint> uninhibits;
    uint nextCookie = 41;

  public slots:
    uint Inhibit(const QString& application, const QString& reason);
    void UnInhibit(uint cookie);
};

class TFakeLogin : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  public:
    ~TFakeLogin() override;
    QStringList inhibits;  // "what|who|why|mode"
    // The read ends of the pipes handed out: each reports end of file once every copy of its
    // write end, the one given to the caller included, is closed.
    QList<int> readEnds;
    // True when the inhibitor handed out as number index has been let go.
    bool Released(int index) const;

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode);
};

class TFakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    QStringList notices;  // "application|summary|body"

  public slots:
    uint Notify(const QString& application, uint replaces, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout);
};

// A bus daemon of its own and the three services on it; both go with the object.
class TDesktopBus {
  public:
    TDesktopBus() = default;
    ~TDesktopBus();
    TDesktopBus(const TDesktopBus&) = delete;
    TDesktopBus& operator=(const TDesktopBus&) = delete;

    // False when no bus daemon can be started here.
    bool Start();
    // The program's side of the bus.
    QDBusConnection Client() const;

    TFakeScreenSaver screenSaver;
    TFakeLogin login;
    TFakeNotifications notifications;

  private:
    QProcess daemon_;
    QString address_;
};

}  // namespace desktopbus

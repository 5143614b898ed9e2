#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>
#include <cstdint>

// Keeps the desktop from idling into the screen saver or suspend while a conversion run works:
// the session's org.freedesktop.ScreenSaver inhibition (a cookie) and logind's "idle" block
// inhibitor on the system bus (a file descriptor, released by closing it). Requests go out
// asynchronously, so a slow or missing service never stalls the user interface; without a bus,
// or when a service does not answer, nothing is held and nothing is said. A Release that comes
// before an answer gives the inhibition back as soon as the answer arrives.
//
// User-interface thread only; Qt's D-Bus delivers the answers there.
class TSleepInhibitor : public QObject {
    Q_OBJECT
  public:
    static constexpr char kWho[] = "Dero Video Converter";
    static constexpr char kWhy[] = "Converting clips";

    explicit TSleepInhibitor(QObject* parent = nullptr);
    // For tests and other buses: the session connection for the screen saver, the system
    // connection for logind.
    TSleepInhibitor(const QDBusConnection& session, const QDBusConnection& system,
                    QObject* parent = nullptr);
    ~TSleepInhibitor() override;

    // Asks for both inhibitions; a second Acquire while held does nothing.
    void Acquire();
    // Gives back what is held or still being asked for.
    void Release();

    bool Wanted() const { return wanted_; }
    // What the services granted so far.
    bool HoldsScreenSaver() const { return cookie_ != 0; }
    bool HoldsLogin() const { return loginLock_.isValid(); }

  signals:
    // A service answered (granted or refused); for tests and diagnostics.
    void Answered();

  private:
    void AskScreenSaver();
    void AskLogin();

    QDBusConnection session_;
    QDBusConnection system_;
    bool wanted_ = false;
    uint32_t cookie_ = 0;
    QDBusUnixFileDescriptor loginLock_;
    // Answers of an earlier Acquire that arrive after a newer one are matched by generation.
    uint64_t generation_ = 0;
};

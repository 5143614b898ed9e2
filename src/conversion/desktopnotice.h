#pragma once

#include <QDBusConnection>
#include <QString>

// A notification of the desktop's notification service (org.freedesktop.Notifications on the
// session bus). Sent without waiting for an answer; without a bus or service nothing happens.
// User-interface thread only.
class TDesktopNotice {
  public:
    static constexpr char kApplicationName[] = "Dero Video Converter";
    static constexpr int kShowMilliseconds = 10000;

    TDesktopNotice();
    explicit TDesktopNotice(const QDBusConnection& session);

    // True when the request could be handed to the bus.
    bool Send(const QString& summary, const QString& body);

  private:
    QDBusConnection session_;
};

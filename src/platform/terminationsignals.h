#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a session ending, a terminal closing) into an orderly end of
// the message loop, so the windows are destroyed and the settings saved as on a normal exit.
// One instance at a time; the signals get their default handling back when it dies.
class TTerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

  signals:
    void Received(int signalNumber);

  private:
    void ReadSignal();
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

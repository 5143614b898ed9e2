#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <mutex>

// Carries the encoder library's progress texts to the user-interface thread. The library's
// callbacks are plain functions without a context argument, so one relay at a time is the
// receiver of a TCallbackRegistry: the one that registered last.
//
// Thread rule. The library calls InfoCallback (and PercentCallback) on its conversion worker
// thread, or on whichever thread called DllConvert without a window. That thread only copies the
// text into pending_ under mutex_ and, when no delivery is already due, queues one Deliver call
// to the relay's own thread (queuedcall.h); it never emits, never touches a widget and never waits for the user
// interface. Everything else (Register, Unregister, Flush, the timer and the Text signal) runs on
// the user-interface thread, which owns the relay. Texts that arrive while a delivery is due
// replace one another, so a burst reaches the screen as its newest text, at most once per
// kDeliveryInterval, and the last text of a clip is never lost. Remarks ("note:" lines) are
// never replaced: each is delivered, in order, before the newest text.
//
// Unregister (also run by the destructor) hands null callbacks to the library and detaches the
// relay before the library is uninitialised; a conversion that copied the old callback keeps
// calling it and its texts are dropped.
class TProgressRelay : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDeliveryInterval = 20;  // ms: faster than the eye, slower than bursts

    explicit TProgressRelay(QObject* parent = nullptr);
    ~TProgressRelay() override;
    TProgressRelay(const TProgressRelay&) = delete;
    TProgressRelay& operator=(const TProgressRelay&) = delete;

    // Makes this the relay the callbacks feed, then hands the info callback and the percent
    // callback, in that order, to the library (when it is bound).
    void Register();
    // Null callbacks to the library (when bound) and no relay fed; idempotent.
    void Unregister();
    bool Registered() const;
    // Emits the text still waiting, if any, at once: before the end of a clip is acted on.
    void Flush();

    // The callbacks as the library gets them; public so that a driver without the library can
    // feed a relay the same way. Both return 0; the percent is not used.
    static int InfoCallback(const char* text);
    static int PercentCallback(int32_t percent);

  signals:
    // The newest progress text; user-interface thread only.
    void Text(const QString& text);

  private:
    void Push(QString text);
    void Deliver();
    // Emits the pending texts; when there are none, the delivery ends and the next text queues.
    bool Drain();
    // Under mutex_: the remarks kept, then the newest text; empty when nothing is pending.
    QStringList TakePending();
    void Emit(const QStringList& texts);

    mutable std::mutex mutex_;
    QStringList remarks_;
    QString pending_;
    bool hasPending_ = false;
    // A Deliver call is queued or the interval timer runs: the worker need not queue another.
    bool deliveryDue_ = false;
    QTimer interval_;
};

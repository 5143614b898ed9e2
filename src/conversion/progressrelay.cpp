#include "conversion/progressrelay.h"

#include "app/encoderbinding.h"
#include "platform/callbackregistry.h"
#include "platform/queuedcall.h"

namespace {

// The relay the library's callbacks feed.
TCallbackRegistry<TProgressRelay>& Registry() {
    static TCallbackRegistry<TProgressRelay> registry;
    return registry;
}

const QLatin1String kRemarkPrefix("note:");
// A clip has a few remarks; a library that sent thousands would only flood the report.
constexpr qsizetype kMaxRemarks = 64;

}  // namespace

TProgressRelay::TProgressRelay(QObject* parent) : QObject(parent) {
    interval_.setSingleShot(true);
    interval_.setInterval(kDeliveryInterval);
    connect(&interval_, &QTimer::timeout, this, [this] {
        if (Drain()) {
            interval_.start();
        }
    });
}

TProgressRelay::~TProgressRelay() {
    Unregister();
}

void TProgressRelay::Register() {
    Registry().Set(this);
    if (DllSetInfoCallBack) {
        DllSetInfoCallBack(&TProgressRelay::InfoCallback);
    }
    if (DllSetPercentCallBack) {
        DllSetPercentCallBack(&TProgressRelay::PercentCallback);
    }
}

void TProgressRelay::Unregister() {
    if (!Registry().Clear(this)) {
        return;
    }
    if (DllSetInfoCallBack) {
        DllSetInfoCallBack(nullptr);
    }
    if (DllSetPercentCallBack) {
        DllSetPercentCallBack(nullptr);
    }
}

bool TProgressRelay::Registered() const {
    return Registry().Holds(this);
}

int TProgressRelay::InfoCallback(const char* text) {
    // The library's worker thread: the text is valid only during this call, so it is copied here.
    QString copy = QString::fromUtf8(text ? text : "");
    Registry().Reach([&copy](TProgressRelay* relay) { relay->Push(std::move(copy)); });
    return 0;
}

int TProgressRelay::PercentCallback(int32_t) {
    // The progress window reads the seconds of the info text; the percent adds nothing.
    return 0;
}

void TProgressRelay::Push(QString text) {
    // Any thread, inside the registry's hand-over: copy and at most one queued call.
    bool queue = false;
    {
        std::lock_guard lock(mutex_);
        if (text.startsWith(kRemarkPrefix)) {
            if (remarks_.size() < kMaxRemarks) {
                remarks_ << std::move(text);
            }
        } else {
            pending_ = std::move(text);
            hasPending_ = true;
        }
        queue = !deliveryDue_;
        deliveryDue_ = true;
    }
    if (queue) {
        QueueCall(this, [this] { Deliver(); });
    }
}

void TProgressRelay::Deliver() {
    if (Drain()) {
        interval_.start();
    }
}

QStringList TProgressRelay::TakePending() {
    QStringList texts = std::exchange(remarks_, {});
    if (hasPending_) {
        texts << std::exchange(pending_, {});
        hasPending_ = false;
    }
    return texts;
}

void TProgressRelay::Emit(const QStringList& texts) {
    for (const QString& text : texts) {
        emit Text(text);
    }
}

bool TProgressRelay::Drain() {
    QStringList texts;
    {
        std::lock_guard lock(mutex_);
        texts = TakePending();
        if (texts.isEmpty()) {
            // Nothing arrived since the last text: the next one queues a delivery of its own,
            // unless the interval timer is still to fire (a Flush emptied the slot meanwhile).
            deliveryDue_ = interval_.isActive();
            return false;
        }
    }
    Emit(texts);
    return true;
}

void TProgressRelay::Flush() {
    QStringList texts;
    {
        std::lock_guard lock(mutex_);
        texts = TakePending();
    }
    Emit(texts);
}

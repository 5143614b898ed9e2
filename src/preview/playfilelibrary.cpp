#include "playfilelibrary.h"

#include <QCoreApplication>
#include <QEvent>

#include "dero_player.h"

namespace {

// One event of the library's event function in flight to the user-interface thread.
class TPlayerCallEvent : public QEvent {
  public:
    TPlayerCallEvent(int32_t code, int32_t value1, int32_t value2)
        : QEvent(Kind()), code_(code), value1_(value1), value2_(value2) {}

    static QEvent::Type Kind() {
        // Taken from the top of Qt's user range, clear of the window message numbers.
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }

    int32_t code_;
    int32_t value1_;
    int32_t value2_;
};

}  // namespace

TPlayFileLibrary::TPlayFileLibrary() {
    TPlayerCallEvent::Kind();
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

TPlayFileLibrary::~TPlayFileLibrary() {
    if (function_) {
        PlayerSetCallback(nullptr);
    }
}

bool TPlayFileLibrary::Init(DeroWindowHandle* window) {
    return PlayerInit(window) != 0;
}

bool TPlayFileLibrary::OpenFile(const char* path, int32_t reserved) {
    return PlayerOpenFile(path, reserved) != 0;
}

bool TPlayFileLibrary::Play(double speed) {
    return PlayerPlay(speed) != 0;
}

bool TPlayFileLibrary::Stop() {
    return PlayerStop() != 0;
}

bool TPlayFileLibrary::Close() {
    return PlayerClose() != 0;
}

bool TPlayFileLibrary::Pause() {
    return PlayerPause() != 0;
}

bool TPlayFileLibrary::SetVideoWindow(DeroWindowHandle* panel, int32_t reserved,
                                      int32_t keepAspect) {
    return PlayerSetVideoWindow(panel, reserved, keepAspect) != 0;
}

bool TPlayFileLibrary::Seek(double seconds) {
    return PlayerSeek(seconds) != 0;
}

bool TPlayFileLibrary::GetPosition(double* duration, double* seconds, double* percent) {
    return PlayerGetPosition(duration, seconds, percent) != 0;
}

bool TPlayFileLibrary::SetCallback(TEventFunction function) {
    function_ = std::move(function);
    return PlayerSetCallback(function_ ? &TPlayFileLibrary::EventThunk : nullptr) != 0;
}

void TPlayFileLibrary::EventThunk(int32_t code, int32_t value1, int32_t value2) {
    // Runs on the library's event thread: only the three integers are copied into an event,
    // which postEvent queues to the user-interface thread; nothing else is touched here.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QCoreApplication::postEvent(application, new TPlayerCallEvent(code, value1, value2));
    }
}

bool TPlayFileLibrary::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != TPlayerCallEvent::Kind()) {
        return QObject::eventFilter(watched, event);
    }
    const auto* call = static_cast<TPlayerCallEvent*>(event);
    if (function_) {
        function_(call->code_, call->value1_, call->value2_);
    }
    return true;
}

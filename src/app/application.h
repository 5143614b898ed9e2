#pragma once

// What the whole program shares: the application object, splash, paths and settings, the
// encoder binding, the clip record. Includes platform/ and include/.

#include <QApplication>
#include <functional>

// The application object. Its notify is the one place every event and message handler of the
// program is called from (Qt's own event dispatch, and the window-message events the libraries
// post, all pass through it), so it is also the one place that catches what such a handler
// throws and hands it to the application's crash report. Without a handler installed it lets
// the exception go on, as Qt would.
class TApplication : public QApplication {
    Q_OBJECT
  public:
    // message is the exception's text (empty for exceptions that carry none).
    using TExceptionHandler = std::function<void(const QString& message)>;

    TApplication(int& argc, char** argv);

    // Replaces the handler; the one before it is never called again.
    void SetExceptionHandler(TExceptionHandler handler) { handler_ = std::move(handler); }
    bool HasExceptionHandler() const { return static_cast<bool>(handler_); }

    bool notify(QObject* receiver, QEvent* event) override;

    // The running application object, or null when the program made a plain QApplication.
    static TApplication* Instance();

  private:
    TExceptionHandler handler_;
};

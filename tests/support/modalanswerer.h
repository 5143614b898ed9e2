#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal message boxes that code under test opens (OK/Yes, or No when asked to),
// and records each box's caption and text, so tests of message paths never hang.
class TModalAnswerer : public QObject {
    Q_OBJECT
  public:
    explicit TModalAnswerer(bool answerYes = true);
    const QStringList& Captions() const { return captions_; }
    const QStringList& Texts() const { return texts_; }

  private:
    void Poll();
    QTimer timer_;
    bool answerYes_;
    QStringList captions_;
    QStringList texts_;
};

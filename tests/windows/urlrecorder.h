#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <vector>

// Stands in for the desktop's handlers of the given schemes while it lives: every address the
// program asks the desktop to open is recorded instead of reaching a browser or mail program.
class TUrlRecorder : public QObject {
    Q_OBJECT
  public:
    explicit TUrlRecorder(QStringList schemes = {QStringLiteral("mailto"), QStringLiteral("http"),
                                                 QStringLiteral("file")});
    ~TUrlRecorder() override;
    const std::vector<QUrl>& Urls() const { return urls_; }

  public slots:
    void Open(const QUrl& url);

  private:
    QStringList schemes_;
    std::vector<QUrl> urls_;
};

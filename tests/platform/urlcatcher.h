#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

// Stands in for the desktop: takes what would have been opened.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() {
        for (const char* scheme : {"http", "mailto", "file"}) {
            QDesktopServices::setUrlHandler(scheme, this, "Open");
        }
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"http", "mailto", "file"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QList<QUrl> opened;

  public slots:
    void Open(const QUrl& url) { opened << url; }
};

#include "urlrecorder.h"

#include <QDesktopServices>

TUrlRecorder::TUrlRecorder(QStringList schemes) : schemes_(std::move(schemes)) {
    for (const QString& scheme : schemes_) {
        QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
}

TUrlRecorder::~TUrlRecorder() {
    for (const QString& scheme : schemes_) {
        QDesktopServices::unsetUrlHandler(scheme);
    }
}

void TUrlRecorder::Open(const QUrl& url) {
    urls_.push_back(url);
}

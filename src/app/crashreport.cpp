#include "app/crashreport.h"

#include <QCoreApplication>
#include <QUrl>

#include "app/pubfunction.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

namespace {

QString Encoded(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

}  // namespace

TCrashReport::TCrashReport(std::function<void()> advanceSnapshotSerial)
    : advanceSnapshotSerial_(std::move(advanceSnapshotSerial)) {}

void TCrashReport::HandleException(const QString& message) const {
    // The encoder library reports its own failures; a second word about them would only alarm.
    if (message.contains(QStringLiteral("Encoder"))) {
        return;
    }
    const QString question = QString::fromLatin1(kApplicationTitle) + QLatin1String(kQuestion);
    if (ShowMessage(TMessageKind::Confirm, question)) {
        MailReport(QStringLiteral("There are some errors : ") + message +
                   QStringLiteral("\n@ Version : ") + g_s_Version);
    }
    if (advanceSnapshotSerial_) {
        advanceSnapshotSerial_();
    }
}

QString MailReportAddress(const QString& body) {
    QString address = QStringLiteral("mailto:") + QLatin1String(kSupportMail) +
                      QStringLiteral("?subject=") + Encoded(QLatin1String(kApplicationTitle));
    if (!body.isEmpty()) {
        address += QStringLiteral("&body=") + Encoded(body);
    }
    return address;
}

void MailReport(const QString& body) {
    ShellOpen(MailReportAddress(body));
}

#pragma once

#include <QString>
#include <functional>

// The application-wide answer to an error that escaped an event or message handler: unless it
// concerns the encoder library, the user is asked whether to mail a report, and the snapshot
// serial moves on either way (the failed probe may have left its snapshot file half written).
class TCrashReport {
  public:
    static constexpr char kQuestion[] =
        " has found an error.\nWould you be willing to send this data to us?\nPlease click "
        "\"Yes\" to send this message to us, thank you very much!";

    // advanceSnapshotSerial moves the main window's snapshot counter on.
    explicit TCrashReport(std::function<void()> advanceSnapshotSerial);

    void HandleException(const QString& message) const;

  private:
    std::function<void()> advanceSnapshotSerial_;
};

// The "mailto:" address of a report to the support mailbox: the application title as subject
// and, unless empty, body as body. Both are percent-encoded, so "&", "?", "#", "%" and line
// breaks in them arrive as text and never add or cut fields.
QString MailReportAddress(const QString& body);
// Opens the user's mail program on that address; the result is not examined.
void MailReport(const QString& body);

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QUrlQuery>
#include <stdexcept>

#include "app/application.h"
#include "app/crashreport.h"
#include "app/pubfunction.h"
#include "support/modalanswerer.h"
#include "urlrecorder.h"

namespace {

QString QueryValue(const QUrl& url, const QString& key) {
    return QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded);
}

struct TReportRun {
    int serialAdvances = 0;
    QStringList texts;
    std::vector<QUrl> urls;
};

TReportRun Report(const QString& message, bool answerYes) {
    TReportRun run;
    TUrlRecorder recorder;
    TModalAnswerer answerer(answerYes);
    TCrashReport([&run] { ++run.serialAdvances; }).HandleException(message);
    run.texts = answerer.Texts();
    run.urls = recorder.Urls();
    return run;
}

}  // namespace

TEST(CrashReport, EncoderErrorsAreLeftToTheLibraryOthersAsk) {
    const TReportRun encoder = Report(QStringLiteral("Encoder failed"), true);
    EXPECT_TRUE(encoder.texts.isEmpty());
    EXPECT_TRUE(encoder.urls.empty());
    EXPECT_EQ(encoder.serialAdvances, 0);

    // The test is case-sensitive: a lower-case "encoder" is an ordinary error.
    const TReportRun lower = Report(QStringLiteral("encoder failed"), false);
    ASSERT_EQ(lower.texts.size(), 1);
    EXPECT_EQ(lower.texts[0],
              QStringLiteral("Dero Video Converter has found an error.\nWould you be willing to "
                             "send this data to us?\nPlease click \"Yes\" to send this message "
                             "to us, thank you very much!"));
    EXPECT_TRUE(lower.urls.empty());
    EXPECT_EQ(lower.serialAdvances, 1);
}

TEST(CrashReport, YesMailsTheReportWithEveryCharacterIntact) {
    g_s_Version = QStringLiteral("2.1.5 Build on 20070501");
    const QString message = QStringLiteral("a&b=c?d#e%20f\nsecond line");
    const TReportRun run = Report(message, true);
    EXPECT_EQ(run.serialAdvances, 1);
    ASSERT_EQ(run.urls.size(), 1u);
    const QUrl& url = run.urls[0];
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), QLatin1String(kSupportMail));
    // Nothing in the message may add or cut a field of the address.
    EXPECT_EQ(QUrlQuery(url).queryItems().size(), 2);
    EXPECT_EQ(url.fragment(), QString());
    EXPECT_EQ(QueryValue(url, QStringLiteral("subject")), QStringLiteral("Dero Video Converter"));
    EXPECT_EQ(QueryValue(url, QStringLiteral("body")),
              QStringLiteral("There are some errors : ") + message +
                  QStringLiteral("\n@ Version : 2.1.5 Build on 20070501"));
}

TEST(CrashReport, ContactMailHasASubjectOnly) {
    const QUrl url(MailReportAddress(QString()));
    EXPECT_EQ(QUrlQuery(url).queryItems().size(), 1);
    EXPECT_EQ(QueryValue(url, QStringLiteral("subject")), QStringLiteral("Dero Video Converter"));
}

TEST(CrashReport, ExceptionsFromClickHandlersReachTheInstalledHandler) {
    TApplication* app = TApplication::Instance();
    ASSERT_NE(app, nullptr);
    QStringList caught;
    app->SetExceptionHandler([&caught](const QString& message) { caught << message; });
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked,
                     [] { throw std::runtime_error("Access violation"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    app->SetExceptionHandler(nullptr);
    EXPECT_EQ(caught, QStringList{QStringLiteral("Access violation")});
    // The program goes on: the button still answers.
    EXPECT_TRUE(button.isVisible());
}

// Idle inhibition and the end-of-run notice against stand-in desktop services on a private bus.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <memory>

#include "app/pubfunction.h"
#include "conversion/desktopnotice.h"
#include "conversion/progresswindow.h"
#include "conversion/sleepinhibitor.h"
#include "desktopbus.h"
#include "platform/urlcatcher.h"
#include "runfixtures.h"
#include "support/tempdir.h"

using namespace desktopbus;
using namespace runfixtures;

namespace {

constexpr int kAnswerTimeout = 10000;  // ms

class DesktopBusTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bus_ = std::make_unique<TDesktopBus>();
        if (!bus_->Start()) {
            bus_.reset();
        }
    }
    static void TearDownTestSuite() { bus_.reset(); }

    void SetUp() override {
        if (!bus_) {
            GTEST_SKIP() << "no message bus daemon can be started here";
        }
        bus_->screenSaver.inhibits.clear();
        bus_->screenSaver.uninhibits.clear();
        bus_->login.inhibits.clear();
        bus_->notifications.notices.clear();
    }

    static QDBusConnection NoBus() { return QDBusConnection(QStringLiteral("no such bus")); }

    static std::unique_ptr<TDesktopBus> bus_;
};
std::unique_ptr<TDesktopBus> DesktopBusTest::bus_;

TEST_F(DesktopBusTest, TheInhibitionIsHeldUntilReleased) {
    TSleepInhibitor inhibitor(bus_->Client(), bus_->Client());
    int answers = 0;
    QObject::connect(&inhibitor, &TSleepInhibitor::Answered, [&answers] { ++answers; });
    inhibitor.Acquire();
    inhibitor.Acquire();  // held already: not asked twice
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers == 2; }, kAnswerTimeout));

    EXPECT_EQ(bus_->screenSaver.inhibits, QStringList({"Dero Video Converter|Converting clips"}));
    EXPECT_EQ(bus_->login.inhibits,
              QStringList({"idle|Dero Video Converter|Converting clips|block"}));
    EXPECT_TRUE(inhibitor.HoldsScreenSaver());
    EXPECT_TRUE(inhibitor.HoldsLogin());
    const int lock = static_cast<int>(bus_->login.readEnds.size()) - 1;
    EXPECT_FALSE(bus_->login.Released(lock));
    const uint cookie = bus_->screenSaver.nextCookie - 1;

    inhibitor.Release();
    EXPECT_FALSE(inhibitor.HoldsScreenSaver());
    EXPECT_FALSE(inhibitor.HoldsLogin());
    EXPECT_TRUE(bus_->login.Released(lock));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !bus_->screenSaver.uninhibits.isEmpty(); }, kAnswerTimeout));
    EXPECT_EQ(bus_->screenSaver.uninhibits, QList<uint>({cookie}));
}

TEST_F(DesktopBusTest, AReleaseBeforeTheAnswerGivesTheGrantBack) {
    TSleepInhibitor inhibitor(bus_->Client(), bus_->Client());
    int answers = 0;
    QObject::connect(&inhibitor, &TSleepInhibitor::Answered, [&answers] { ++answers; });
    inhibitor.Acquire();
    inhibitor.Release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers == 2; }, kAnswerTimeout));
    EXPECT_FALSE(inhibitor.HoldsScreenSaver());
    EXPECT_FALSE(inhibitor.HoldsLogin());
    EXPECT_TRUE(bus_->login.Released(static_cast<int>(bus_->login.readEnds.size()) - 1));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return bus_->screenSaver.uninhibits.size() == 1; }, kAnswerTimeout));
}

TEST_F(DesktopBusTest, WithoutABusNothingIsAskedOrSaid) {
    TSleepInhibitor inhibitor(NoBus(), NoBus());
    inhibitor.Acquire();
    EXPECT_TRUE(inhibitor.Wanted());
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.HoldsScreenSaver());
    TDesktopNotice notice(NoBus());
    EXPECT_FALSE(notice.Send(QStringLiteral("summary"), QStringLiteral("body")));
    QTest::qWait(50);
    EXPECT_TRUE(bus_->screenSaver.inhibits.isEmpty());
    EXPECT_TRUE(bus_->notifications.notices.isEmpty());
}

// The library's part for the window's runs here: every clip converts at once into its file.
int WritingConvert(DeroWindowHandle*, int32_t argc, char** argv) {
    if (argc == 38) {
        QFile file(QString::fromUtf8(argv[37]));
        file.open(QIODevice::WriteOnly);
        file.write("converted");
    }
    return 0;
}
int NoCallbacks(DeroInfoCallback) {
    return 0;
}
int NoPercent(DeroPercentCallback) {
    return 0;
}

class RunOnTheDesktopTest : public DesktopBusTest {
  protected:
    void SetUp() override {
        DesktopBusTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        DllConvert = &WritingConvert;
        DllSetInfoCallBack = &NoCallbacks;
        DllSetPercentCallBack = &NoPercent;
        savedWork_ = path_Work;
        path_Work = out_.Path();
        clips_.Add(out_.Path() + QStringLiteral("a.avi"), 0, 5);
        clips_.Add(out_.Path() + QStringLiteral("b.avi"), 0, 5);
        window_.Run().SetDesktopBuses(bus_->Client(), bus_->Client());
        window_.PrepareRun(&clips_, [](ConvertSettings&, TConvertTarget& target) {
            target.OutputExt = QStringLiteral(".MP4");
            return true;
        });
    }
    void TearDown() override {
        if (!savedWork_.isEmpty()) {
            path_Work = savedWork_;
        }
    }
    void Run() {
        window_.ShowModal();
        window_.TB_StartClick();
        for (int i = 0; i < 2; ++i) {
            DeroPostMessage(window_.Run().Handle(), WM_CONVERT_NEXT, 0, 0);
            QCoreApplication::sendPostedEvents();
        }
    }

    TEntryOverride entries_;
    TempDir out_;
    QString savedWork_;
    TVectorClips clips_;
    TProgressWindow window_;
    UrlCatcher desktop_;
};

TEST_F(RunOnTheDesktopTest, ARunHoldsTheInhibitionUntilItEnds) {
    window_.ShowModal();
    window_.TB_StartClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_.Run().Inhibitor().HoldsScreenSaver(); },
                                kAnswerTimeout));
    EXPECT_TRUE(window_.Run().Inhibitor().Wanted());
    for (int i = 0; i < 2; ++i) {
        DeroPostMessage(window_.Run().Handle(), WM_CONVERT_NEXT, 0, 0);
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_FALSE(window_.Run().Converting());
    EXPECT_FALSE(window_.Run().Inhibitor().Wanted());
    EXPECT_FALSE(window_.Run().Inhibitor().HoldsScreenSaver());
    EXPECT_FALSE(window_.Run().Inhibitor().HoldsLogin());
}

TEST_F(RunOnTheDesktopTest, ARunEndingBehindAnotherWindowSendsOneNotice) {
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWaitFor([&] { return other.isActiveWindow(); }, 2000);
    Run();
    ASSERT_FALSE(window_.isActiveWindow());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !bus_->notifications.notices.isEmpty(); }, kAnswerTimeout));
    QTest::qWait(50);
    EXPECT_EQ(bus_->notifications.notices,
              QStringList({"Dero Video Converter|Converting finished|2 converted, 0 failed"}));
}

TEST_F(RunOnTheDesktopTest, ARunEndingInFrontSendsNoNotice) {
    window_.ShowModal();
    if (!QTest::qWaitForWindowActive(&window_)) {
        GTEST_SKIP() << "this platform does not activate windows";
    }
    window_.TB_StartClick();
    for (int i = 0; i < 2; ++i) {
        DeroPostMessage(window_.Run().Handle(), WM_CONVERT_NEXT, 0, 0);
        QCoreApplication::sendPostedEvents();
    }
    QTest::qWait(200);
    EXPECT_TRUE(bus_->notifications.notices.isEmpty());
}

}  // namespace

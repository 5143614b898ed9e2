// The relay between the library's thread and the user-interface thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "conversion/progressrelay.h"
#include "runfixtures.h"

using namespace runfixtures;

namespace {

class ProgressRelayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Registering must not reach a library bound by another test.
        DllSetInfoCallBack = nullptr;
        DllSetPercentCallBack = nullptr;
        QObject::connect(&relay_, &TProgressRelay::Text, &relay_, [this](const QString& text) {
            wrongThread_ += QThread::currentThread() != qApp->thread();
            texts_ << text;
        });
    }

    static void Send(int first, int last) {
        for (int i = first; i <= last; ++i) {
            TProgressRelay::InfoCallback(QByteArray::number(i).constData());
        }
    }

    TEntryOverride entries_;
    TProgressRelay relay_;
    QStringList texts_;
    int wrongThread_ = 0;
};

TEST_F(ProgressRelayTest, ABurstArrivesAsItsNewestTextOnTheInterfaceThread) {
    relay_.Register();
    std::thread worker(&Send, 1, 5000);
    worker.join();
    EXPECT_TRUE(texts_.isEmpty()) << "nothing is emitted on the library's thread";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(texts_, QStringList({"5000"}));
    EXPECT_EQ(wrongThread_, 0);
}

TEST_F(ProgressRelayTest, RemarksInABurstAreAllDeliveredInOrderBeforeTheNewestText) {
    relay_.Register();
    std::thread worker([] {
        Send(1, 100);
        TProgressRelay::InfoCallback("note: the sound could not be read");
        Send(101, 200);
        TProgressRelay::InfoCallback("note: the source is cut short");
        TProgressRelay::InfoCallback("200");
    });
    worker.join();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(texts_, QStringList({"note: the sound could not be read",
                                   "note: the source is cut short", "200"}));
    TProgressRelay::InfoCallback("note: at the end");
    relay_.Flush();
    EXPECT_EQ(texts_.last(), QStringLiteral("note: at the end"));
}

TEST_F(ProgressRelayTest, TextsKeepFlowingWhileTheInterfaceRuns) {
    relay_.Register();
    std::atomic<bool> done = false;
    std::thread worker([&done] {
        for (int round = 0; round < 40; ++round) {
            Send(round * 100 + 1, round * 100 + 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        done = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 60000));
    worker.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return texts_.value(texts_.size() - 1) == "4000"; }, 5000));
    EXPECT_LT(texts_.size(), 4000);
    EXPECT_EQ(wrongThread_, 0);
    // In order: a newer text never comes before an older one.
    for (qsizetype i = 1; i < texts_.size(); ++i) {
        EXPECT_LT(texts_[i - 1].toInt(), texts_[i].toInt());
    }
}

TEST_F(ProgressRelayTest, FlushHandsTheWaitingTextOverAtOnce) {
    relay_.Register();
    TProgressRelay::InfoCallback("error: the source has no video");
    relay_.Flush();
    EXPECT_EQ(texts_, QStringList({"error: the source has no video"}));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(texts_.size(), 1) << "the queued delivery finds nothing left";
    TProgressRelay::InfoCallback("next");
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(texts_.last(), QStringLiteral("next"));
}

TEST_F(ProgressRelayTest, OnlyTheRegisteredRelayIsFed) {
    TProgressRelay::InfoCallback("before");
    relay_.Register();
    {
        TProgressRelay newer;
        newer.Register();
        EXPECT_FALSE(relay_.Registered());
        TProgressRelay::InfoCallback("to the newer one");
    }
    TProgressRelay::InfoCallback("after the newer one went");
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(texts_.isEmpty());
    EXPECT_EQ(TProgressRelay::PercentCallback(50), 0);
}

TEST_F(ProgressRelayTest, ARelayGoesWhileTheLibraryStillCallsIt) {
    std::atomic<bool> stop = false;
    std::thread worker([&stop] {
        while (!stop) {
            TProgressRelay::InfoCallback("time=1.00 bitrate=1");
        }
    });
    for (int i = 0; i < 50; ++i) {
        auto relay = std::make_unique<TProgressRelay>();
        relay->Register();
        QCoreApplication::processEvents();
        relay.reset();
        QCoreApplication::processEvents();
    }
    stop = true;
    worker.join();
    EXPECT_FALSE(relay_.Registered());
}

}  // namespace

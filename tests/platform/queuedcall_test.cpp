#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <memory>
#include <thread>

#include "platform/callbackregistry.h"
#include "platform/queuedcall.h"

namespace {

TEST(QueuedCall, RunsOnTheContextsThreadInOrderAndNeverAfterTheContextIsGone) {
    auto context = std::make_unique<QObject>();
    QStringList ran;
    int wrongThread = 0;
    std::thread worker([&, target = context.get()] {
        for (int i = 0; i < 3; ++i) {
            QueueCall(target, [&, i] {
                wrongThread += QThread::currentThread() != qApp->thread();
                ran << QString::number(i);
            });
        }
    });
    worker.join();
    EXPECT_TRUE(ran.isEmpty()) << "nothing runs before the context's thread takes its queue";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ran, QStringList({"0", "1", "2"}));
    EXPECT_EQ(wrongThread, 0);

    QueueCall(context.get(), [&] { ran << "late"; });
    context.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ran.size(), 3) << "a call queued to a destroyed context is dropped";
}

TEST(CallbackRegistry, ReachesOnlyTheReceiverRegisteredLast) {
    TCallbackRegistry<int> registry;
    int first = 1;
    int second = 2;
    int reached = 0;
    const auto reach = [&] { registry.Reach([&](int* receiver) { reached = *receiver; }); };

    reach();
    EXPECT_EQ(reached, 0) << "nobody registered";
    registry.Set(&first);
    registry.Set(&second);
    reach();
    EXPECT_EQ(reached, 2);

    // A receiver that was replaced cannot clear its successor on its way out.
    EXPECT_FALSE(registry.Clear(&first));
    EXPECT_TRUE(registry.Holds(&second));
    EXPECT_TRUE(registry.Clear(&second));
    reached = 0;
    reach();
    EXPECT_EQ(reached, 0);
}

}  // namespace

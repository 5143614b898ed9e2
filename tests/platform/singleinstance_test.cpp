#include <gtest/gtest.h>

#include <QSysInfo>

#include "platform/singleinstance.h"
#include "support/tempdir.h"

TEST(SingleInstance, OnlyOneHolderOfAKeyAtATime) {
    TempDir dir;
    auto first = std::make_unique<TSingleInstance>("Derobox Converter", dir.Path());
    ASSERT_TRUE(first->TryAcquire());
    EXPECT_TRUE(first->TryAcquire());  // asking again keeps it

    TSingleInstance second("Derobox Converter", dir.Path());
    EXPECT_FALSE(second.TryAcquire());
    TSingleInstance otherKey("Another Title", dir.Path());
    EXPECT_TRUE(otherKey.TryAcquire());

    first.reset();
    EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstance, ALockLeftByADeadCopyIsTakenOver) {
    TempDir dir;
    TSingleInstance instance("Derobox Converter", dir.Path());
    // The lock file of a copy that crashed: a process id that is not running on this machine.
    QFile stale(instance.LockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("2147483646\ndero-video-converter\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(instance.TryAcquire());
}

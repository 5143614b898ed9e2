#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

#include "platform/terminationsignals.h"

TEST(TerminationSignals, ASignalArrivesOnTheUiThreadAsAnEvent) {
    TTerminationSignals termination;
    QList<int> received;
    QObject::connect(&termination, &TTerminationSignals::Received,
                     [&](int number) { received << number; });
    raise(SIGTERM);  // handled: the test process goes on
    raise(SIGHUP);
    QElapsedTimer timer;
    timer.start();
    while (received.size() < 2 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(received, (QList<int>{SIGTERM, SIGHUP}));
}

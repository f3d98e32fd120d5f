#include "app/SessionEnd.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

TEST(SessionEnd, TerminationSignalsArriveOnTheUiThread) {
    app::SessionEnd sessionEnd;
    QSignalSpy requested(&sessionEnd, &app::SessionEnd::requested);
    for (int signalNumber : {SIGTERM, SIGHUP}) {
        std::raise(signalNumber);
        EXPECT_TRUE(requested.wait(2000)) << signalNumber;
    }
    EXPECT_EQ(requested.count(), 2);
}

#include <gtest/gtest.h>

#include <sstream>

#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

TEST(SimLog, KeepsLinesTracesThemAndPrintsThemAsNSLogDoes) {
    SimDesktop desktop;
    std::ostringstream printed;
    desktop.log().setEcho(&printed);
    desktop.runFor(86400 + 3661.5);  // one day, 1 h 1 min 1.5 s
    desktop.platform().log.log("Fail AXObserverCreate: -25204");
    desktop.platform().log.log("schedule retry for 1 sec");

    EXPECT_EQ(desktop.logLines(), (std::vector<std::string>{"Fail AXObserverCreate: -25204",
                                                            "schedule retry for 1 sec"}));
    EXPECT_EQ(desktop.log().count("retry"), 1u);
    EXPECT_EQ(desktop.trace().back(), "90061.500000 log: schedule retry for 1 sec");
    // Absolute time 1000 s is 2001-01-01 00:16:40 UTC.
    EXPECT_EQ(printed.str(),
              "2001-01-02 01:17:41.500 Vantor[500] Fail AXObserverCreate: -25204\n"
              "2001-01-02 01:17:41.500 Vantor[500] schedule retry for 1 sec\n");
}

}  // namespace
}  // namespace vantor::sim

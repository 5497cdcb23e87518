// Each fault mode of the service does what it says, for the clients that test against it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/service_process.h"

namespace {

using tickwell_test::Get;
using tickwell_test::ServiceProcess;

const std::string kTarget = "/d/quotes.csv?s=MSFT,IBM,RY.TO&f=sl1c1";

std::string NormalBody() {
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z"});
    return Get(service.port(), kTarget).body;
}

TEST(FaultModes, DelayWaitsBeforeAnswering) {
    ServiceProcess service({"--delay", "300"});
    const auto start = std::chrono::steady_clock::now();
    const auto reply = Get(service.port(), kTarget);
    EXPECT_TRUE(reply.ok);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST(FaultModes, CloseMidBodyCutsTheAnnouncedBody) {
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z", "--close-mid-body"});
    const auto reply = Get(service.port(), kTarget);
    const std::string full = NormalBody();
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(reply.status, 200);
    EXPECT_LT(reply.body.size(), full.size());
    EXPECT_EQ(full.substr(0, reply.body.size()), reply.body);
}

TEST(FaultModes, GarbageOversizeAndStatuses) {
    {
        ServiceProcess service({"--garbage"});
        const auto reply = Get(service.port(), kTarget);
        EXPECT_EQ(reply.status, 200);
        EXPECT_EQ(reply.body.find("\"MSFT\""), std::string::npos);
        EXPECT_GE(reply.body.size(), 1000u);
    }
    {
        ServiceProcess service({"--oversize"});
        const auto reply = Get(service.port(), kTarget);
        EXPECT_GT(reply.body.size(), 16u * 1024u);
        EXPECT_EQ(reply.body.substr(0, 7), "\"MSFT\",");
    }
    {
        ServiceProcess service({"--status-500"});
        EXPECT_EQ(Get(service.port(), kTarget).status, 500);
    }
    {
        ServiceProcess service({"--status-999"});
        const auto reply = Get(service.port(), kTarget);
        EXPECT_EQ(reply.status, 999);
        EXPECT_NE(reply.body.find("Sorry, Unable to process request at this time -- error 999."),
                  std::string::npos);
        // Pages are not disturbed: only quote replies are.
        EXPECT_EQ(Get(service.port(), "/pdapage.htm").status, 200);
    }
}

TEST(FaultModes, TrickleDeliversTheWholeBodySlowly) {
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z", "--trickle"});
    const auto start = std::chrono::steady_clock::now();
    const auto reply = Get(service.port(), kTarget);
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.body, NormalBody());
    // Small chunks with pauses: a body of a few hundred bytes takes several pauses.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
}

}  // namespace

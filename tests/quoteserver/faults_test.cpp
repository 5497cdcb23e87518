// Each fault mode of the service does what it says, for the clients that test against it.
#include <gtest/gtest.h>

#include <string>

#include "support/service_process.h"

namespace {

using tickwell_test::Get;
using tickwell_test::SendRaw;
using tickwell_test::ServiceProcess;

const std::string kTarget = "/d/quotes.csv?s=MSFT,IBM,RY.TO&f=sl1c1";

std::string NormalBody() {
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z"});
    return Get(service.port(), kTarget).body;
}

TEST(FaultModes, DelayWaitsBeforeAnswering) {
    ServiceProcess service({"--delay", "300"});
    const std::string request =
        "GET " + kTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    // No reply can come before the delay is over, however fast the machine.
    EXPECT_FALSE(SendRaw(service.port(), request, 100).ok);
    EXPECT_TRUE(Get(service.port(), kTarget).ok);
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

TEST(FaultModes, TrickleDeliversTheWholeBodyInSmallChunks) {
    const std::string target =
        "/d/quotes.csv?s=MSFT,IBM,GE,KO,PG,JNJ,XOM,WMT,INTC,CSCO,ORCL,RY.TO,VOD.L,BMW.DE,"
        "0005.HK,BHP.AX&f=sl1c1pn";
    ServiceProcess service({"--clock", "2026-12-07T15:30:00Z", "--trickle"});
    const auto reply = Get(service.port(), target);
    ServiceProcess normal({"--clock", "2026-12-07T15:30:00Z"});
    const auto whole = Get(normal.port(), target);
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(reply.body, whole.body);
    // Chunks of 64 bytes with a pause before each: one read per chunk, but for a reader late
    // for a chunk, which sees it joined to the next (a third of them are let go). Without the
    // mode the body is one write; with chunks twice as large, half as many reads.
    const std::size_t chunks = (reply.body.size() + 63) / 64;
    ASSERT_GE(chunks, 9u);
    EXPECT_GE(reply.bodyReads.size() * 3, chunks * 2);
}

}  // namespace

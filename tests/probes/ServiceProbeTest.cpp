// The service probe against the real service control manager: a missing service, and the
// test service running, still starting, paused and stopped.
#include "ProbeFixture.h"
#include "TestService.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

TEST_F(ProbeTest, AMissingServiceFailsOnItsMissingHandleAndCountsAsNotRunning) {
    EXPECT_EQ(collection.IsQzSvcRunning("zeltrin-no-such-service"), 0);
    EXPECT_EQ(NewEntries(), (Lines{"Start - IsQzSvcRunning - Service Name: zeltrin-no-such-service",
                                   "QueryServiceStatus()->" + GetErrorText(ERROR_INVALID_HANDLE),
                                   "Service - CloseServiceHandle()->" + GetErrorText(ERROR_INVALID_HANDLE),
                                   "Finish - IsQzSvcRunning. Error = 6"}));
}

TEST_F(ProbeTest, ARunningServiceAndAPausedOneCountAsRunningAStoppedOneDoesNot) {
    {
        InstalledService service("qzsvc");
        EXPECT_EQ(collection.IsQzSvcRunning("qzsvc"), 1);
        ASSERT_TRUE(service.Control(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED));
        EXPECT_EQ(collection.IsQzSvcRunning("qzsvc"), 1);
        ASSERT_TRUE(service.Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED));
        EXPECT_EQ(collection.IsQzSvcRunning("qzsvc"), 0);
    }
    Lines entries = NewEntries();
    Lines running = {"Start - IsQzSvcRunning - Service Name: qzsvc", "Service: qzsvc is up and running!",
                     "Finish - IsQzSvcRunning. Error = 0"};
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(Lines(entries.begin(), entries.begin() + 3), running);
    EXPECT_EQ(Lines(entries.begin() + 3, entries.begin() + 6), running);
    EXPECT_EQ(Lines(entries.begin() + 6, entries.end()),
              (Lines{"Start - IsQzSvcRunning - Service Name: qzsvc", "Finish - IsQzSvcRunning. Error = 0"}));
}

TEST_F(ProbeTest, AServiceStillStartingCountsAsRunning) {
    constexpr const char* kRelease = "Global\\ZeltrinProbeTestServiceStart";
    win32::UniqueKernelHandle release(::CreateEventA(nullptr, TRUE, FALSE, kRelease));
    ASSERT_TRUE(release);
    {
        InstalledService service("qzsvc", kRelease);
        EXPECT_EQ(collection.IsQzSvcRunning("qzsvc"), 1);
        EXPECT_TRUE(service.WaitFor(SERVICE_START_PENDING)) << "the service did not stay held while probed";
        ::SetEvent(release.get());
        EXPECT_TRUE(service.WaitFor(SERVICE_RUNNING));
    }
    EXPECT_EQ(NewEntries(), (Lines{"Start - IsQzSvcRunning - Service Name: qzsvc", "Service: qzsvc is up and running!",
                                   "Finish - IsQzSvcRunning. Error = 0"}));
}

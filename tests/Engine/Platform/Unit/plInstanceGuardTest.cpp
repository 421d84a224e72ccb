#include "Engine/Platform/plInstanceGuard.h"
#include "Engine/Platform/plErrors.h"
#include "plTestFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(plInstanceGuard, TheFirstHoldsTheNameAndASecondRaisesIt) {
    const plTestFolder folder;
    plFlockInstanceGuard first(folder.Path());
    plFlockInstanceGuard second(folder.Path());
    EXPECT_EQ(first.GetLockPath("Global\\LoopvaneApp"), folder.Path("Global-LoopvaneApp.lock"));
    EXPECT_FALSE(second.RaiseRunningWindow("Loopvane")); // nobody known to raise yet
    ASSERT_EQ(first.CreateMutex("Global\\LoopvaneApp"), plErr::Success);
    EXPECT_EQ(folder.Read("Global-LoopvaneApp.lock"), std::to_string(getpid()) + "\n");
    EXPECT_FALSE(first.TakeRaiseRequest());
    // Another holder of the same name finds it taken; another name is free.
    EXPECT_EQ(second.CreateMutex("Global\\LoopvaneApp"), plErr::AlreadyExists);
    EXPECT_EQ(second.CreateMutex("OtherApp"), plErr::Success);
    EXPECT_EQ(second.CreateMutex("Global\\LoopvaneApp"), plErr::AlreadyExists);
    // The raise is a signal to the holder (here this very process), taken once.
    EXPECT_TRUE(second.RaiseRunningWindow("Loopvane"));
    EXPECT_TRUE(first.TakeRaiseRequest());
    EXPECT_FALSE(first.TakeRaiseRequest());
}

TEST(plInstanceGuard, AHolderThatCannotBeReachedIsNotRaised) {
    const plTestFolder folder;
    plFlockInstanceGuard first(folder.Path());
    plFlockInstanceGuard second(folder.Path());
    ASSERT_EQ(first.CreateMutex("App"), plErr::Success);
    // The pid in the file names no process (beyond any pid the system gives out).
    folder.Write("App.lock", "2147483647\n");
    EXPECT_EQ(second.CreateMutex("App"), plErr::AlreadyExists);
    EXPECT_FALSE(second.RaiseRunningWindow("Loopvane"));
    // Never a signal to a process group or to every process.
    for (const char* pid : {"garbage\n", "0\n", "-1\n"}) {
        folder.Write("App.lock", pid);
        EXPECT_FALSE(second.RaiseRunningWindow("Loopvane")) << pid;
    }
    // A pid left from an earlier run may name another program now: it is not signalled.
    char sleepPath[] = "/bin/sleep";
    char seconds[] = "30";
    char* arguments[] = {sleepPath, seconds, nullptr};
    pid_t stranger = 0;
    ASSERT_EQ(posix_spawn(&stranger, sleepPath, nullptr, nullptr, arguments, environ), 0);
    folder.Write("App.lock", std::to_string(stranger) + "\n");
    EXPECT_FALSE(second.RaiseRunningWindow("Loopvane"));
    int status = 0;
    EXPECT_EQ(waitpid(stranger, &status, WNOHANG), 0); // still running
    kill(stranger, SIGKILL);
    waitpid(stranger, &status, 0);
    EXPECT_FALSE(first.TakeRaiseRequest());
    // A folder that does not exist gives no guard at all.
    plFlockInstanceGuard nowhere(folder.Path("missing"));
    EXPECT_NE(nowhere.CreateMutex("App"), plErr::Success);
    EXPECT_NE(nowhere.CreateMutex("App"), plErr::AlreadyExists);
}

#include "Engine/Platform/Os/plInstanceGuard.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Platform/plErrors.h"
#include "plTestFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sys/stat.h>
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

namespace {

// What a name is, and its bytes when it is a file: all that a write through it could change.
std::string StateOf(const std::string& path) {
    const std::filesystem::file_type type = std::filesystem::symlink_status(path).type();
    std::string state = std::to_string(static_cast<int>(type)) + ":";
    if (type == std::filesystem::file_type::regular) {
        std::ifstream in(path, std::ios::binary);
        state.append(std::istreambuf_iterator<char>(in), {});
    }
    return state;
}

} // namespace

// Anyone may plant the lock's name in a shared folder. Whatever is there, the guard writes nothing through
// it and never waits on it; a name it cannot trust is logged and the game runs unguarded, and another
// user's file is locked but left as it is.
TEST(plInstanceGuard, ANamePlantedUnderTheLocksNameIsNeverWrittenThrough) {
    struct Case {
        const char* what;
        // Plants "App.lock" and answers the path that must stay as it is, or "" when it cannot be planted.
        std::function<std::string(const plTestFolder&)> plant;
        const char* logged; // why the name is not used; null when it is locked
    };
    const auto linkedTo = [](const plTestFolder& folder, const char* target, auto makeLink) {
        return makeLink(folder.Path(target).c_str(), folder.Path("App.lock").c_str()) == 0
                   ? folder.Path(target)
                   : "";
    };
    const Case cases[] = {
        {"a symbolic link", [&](const plTestFolder& f) { return linkedTo(f, "player.csa", symlink); },
         "it is a symbolic link"},
        {"a symbolic link to no file yet",
         [&](const plTestFolder& f) { return linkedTo(f, "made.csa", symlink); }, "it is a symbolic link"},
        {"a hard link", [&](const plTestFolder& f) { return linkedTo(f, "player.csa", link); },
         "it has 2 names (a hard link)"},
        {"a folder",
         [](const plTestFolder& f) {
             return mkdir(f.Path("App.lock").c_str(), 0755) == 0 ? f.Path("App.lock") : "";
         },
         "it is a folder"},
        {"a pipe",
         [](const plTestFolder& f) {
             return mkfifo(f.Path("App.lock").c_str(), 0666) == 0 ? f.Path("App.lock") : "";
         },
         "it is a pipe"},
        // Only root can give a file away; other users skip this row.
        {"another user's file",
         [](const plTestFolder& f) {
             f.Write("App.lock", "4242\n");
             const std::string lock = f.Path("App.lock");
             const uid_t stranger = geteuid() == 65534 ? 65533 : 65534;
             return chmod(lock.c_str(), 0666) == 0 && chown(lock.c_str(), stranger, stranger) == 0 ? lock
                                                                                                   : "";
         },
         nullptr},
    };
    std::string skipped;
    for (const Case& c : cases) {
        const plTestFolder folder;
        folder.Write("player.csa", "a player's coaster\n");
        const std::string target = c.plant(folder);
        if (target.empty()) {
            skipped += std::string(" ") + c.what;
            continue;
        }
        const std::string before = StateOf(target);
        const dbgLogCapture log;
        const u32 first = plFlockInstanceGuard(folder.Path()).CreateMutex("App");
        const u32 second = plFlockInstanceGuard(folder.Path()).CreateMutex("App");
        EXPECT_EQ(StateOf(target), before) << c.what;
        if (c.logged) {
            EXPECT_NE(first, plErr::Success) << c.what;
            EXPECT_NE(second, plErr::AlreadyExists) << c.what;
            EXPECT_TRUE(
                log.Holds("The instance lock " + folder.Path("App.lock") + " is not used: " + c.logged))
                << c.what;
        } else {
            // Another user's running copy still keeps a second one out.
            EXPECT_EQ(first, plErr::Success) << c.what;
            EXPECT_EQ(second, plErr::AlreadyExists) << c.what;
            EXPECT_TRUE(log.lines.empty()) << c.what;
        }
    }
    if (!skipped.empty())
        GTEST_SKIP() << "could not plant:" << skipped;
}

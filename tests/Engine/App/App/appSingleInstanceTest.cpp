#include "Engine/App/App/appSingleInstance.h"
#include "appStartupTestServices.h"

#include "Engine/Core/Env/envEnvironment.h"

#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

struct appSingleInstanceTest : appStartupTestServices {
    void SetUp() override {
        appStartupTestServices::SetUp();
        envInit();
    }
    void TearDown() override {
        envShutdown();
        appStartupTestServices::TearDown();
    }
};

// Where the second instance finds the first one's lock file; set only in the child process.
constexpr const char* kLockFolderVariable = "LOOPVANE_TEST_SECOND_INSTANCE_LOCKS";

// Starts this test program again as a second instance and returns its exit code (-1 when it did not exit).
int RunSecondInstance(const std::string& lockFolder) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
        variables.emplace_back(*variable);
    variables.push_back(std::string(kLockFolderVariable) + "=" + lockFolder);
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=appSecondInstance.RunsAsTheSecondInstance";
    char* argv[] = {program.data(), filter.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// The first instance takes the machine-wide name (a guard that cannot be made lets it run); a second
// one raises the first one's window, or says why it cannot start when that window is out of reach.
TEST_F(appSingleInstanceTest, FirstSecondAndUnreachableInstances) {
    EXPECT_FALSE(appCheckSingleInstance("LoopvaneApp", "Loopvane"));
    EXPECT_EQ(guard.names, std::vector<std::string>{"Global\\LoopvaneApp"});
    guard.createResult = 5;
    EXPECT_FALSE(appCreateInstanceMutex("LoopvaneApp"));

    guard.createResult = 183;
    EXPECT_TRUE(appCheckSingleInstance("LoopvaneApp", "Loopvane"));
    EXPECT_EQ(guard.raised, std::vector<std::string>{"Loopvane"});
    EXPECT_TRUE(messageBox.GetShown().empty());

    guard.windowFound = false;
    EXPECT_TRUE(appCheckSingleInstance("LoopvaneApp", "Loopvane"));
    ASSERT_EQ(messageBox.GetShown().size(), 1u);
    EXPECT_EQ(messageBox.GetShown()[0].text, u"Another User is using this application");
    EXPECT_EQ(messageBox.GetShown()[0].caption, u"Application can't start");
    EXPECT_EQ(messageBox.GetShown()[0].type, plMb::Ok);
}

// The second process: started by the test below with the first one's lock folder, it runs the check on
// the real guard and ends as the program entry does.
TEST(appSecondInstance, RunsAsTheSecondInstance) {
    const char* lockFolder = std::getenv(kLockFolderVariable);
    if (!lockFolder)
        GTEST_SKIP() << "runs only as the second instance of the test below";
    plFlockInstanceGuard guard(lockFolder);
    plTestMessageBox messageBox;
    plServices services;
    services.instanceGuard = &guard;
    services.messageBox = &messageBox;
    plInstallServices(services);
    envInit();
    const bool running = appCheckSingleInstance("LoopvaneApp", "Loopvane");
    envShutdown();
    plInstallServices({});
    std::exit(running && messageBox.GetShown().empty() ? appSecondInstanceExitCode : 0);
}

TEST(appSecondInstance, TheSecondProcessEndsWith15AndTheFirstIsAskedToShowItself) {
    fsTestFolder locks;
    plFlockInstanceGuard guard(locks.Path());
    envInit();
    ASSERT_EQ(guard.CreateMutex("Global\\LoopvaneApp"), 0u);
    EXPECT_FALSE(guard.TakeRaiseRequest());
    EXPECT_EQ(RunSecondInstance(locks.Path()), 15);
    bool raised = false;
    for (int i = 0; i < 100 && !raised; ++i) {
        raised = guard.TakeRaiseRequest();
        if (!raised)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(raised);
    EXPECT_FALSE(guard.TakeRaiseRequest());
    envShutdown();
}

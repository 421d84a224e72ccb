#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Source/Modes/coModeExitX.h"
#include "Source/Modes/coModeTestSupport.h"
#include "Source/Settings/coPaths.h"

namespace {

struct coModeBaseTest : coModeTest {
    coScriptedMode menu{"menu", journal};
    coScriptedMode builder{"builder", journal};

    void SetUp() override {
        coModeTest::SetUp();
        coSetMode(coModeIdMainMenu, &menu);
        coModePush(&menu);
        coModeManagerUpdate();
        journal.clear();
    }
};

TEST_F(coModeBaseTest, QuitQuestionAsksOnceAndCancelForgets) {
    builder.modified = true;
    for (coScriptedMode* mode : {&menu, &builder})
        mode->OnQuitRequest(nullptr);
    menu.OnQuitRequest(nullptr); // a second close before the frame
    coModeManagerUpdate();
    EXPECT_EQ(host.questions, (std::vector<u32>{coQuitTextPlain}));
    coModeManagerUpdate();
    EXPECT_EQ(host.questions.size(), 1u); // Cancel forgot the request
    EXPECT_EQ(coCurrentMode(), &menu);

    // The builder heard the close while not current and kept nothing of it; a close while it waits to be
    // entered is its own, and asks with the unsaved-work text.
    coModePush(&builder);
    coModeStackKeepCurrent();
    builder.OnQuitRequest(nullptr);
    host.answerOk = true;
    coModeManagerUpdate();
    EXPECT_EQ(host.questions.back(), coQuitTextModified);
    EXPECT_EQ(journal.back(), "builder exit");
    EXPECT_TRUE(coModeStackIsEmpty());
    EXPECT_EQ(coModeExitX().GetCode(), 0xE3F80000u);
}

TEST_F(coModeBaseTest, UnwritableScreenshotIsReportedAndPlayGoesOn) {
    const int frames = host.frames;
    host.screenshotKey = true;
    host.screenshot = [] { throw fsReadOnlyX(fsLocator(coRootSaves)); };
    coModeManagerUpdate();
    ASSERT_EQ(displayer.shown.size(), 1u);
    EXPECT_EQ(host.frames, frames + 1); // the frame was drawn after the report
    EXPECT_EQ(coCurrentMode(), &menu);
}

TEST_F(coModeBaseTest, FrozenClockKeepsGameTime) {
    time.SetFrequency(1000);
    time.SetCounter(0);
    appInitTime();
    appClock::Tick(0.0f);
    const f32 before = appClock::GetTime();
    menu.SetClockFrozen(true);
    time.SetCounter(200);
    coModeManagerUpdate();
    EXPECT_EQ(appClock::GetTime(), before);
    menu.SetClockFrozen(false);
    time.SetCounter(400);
    coModeManagerUpdate();
    EXPECT_NEAR(appClock::GetTime() - before, 0.4f, 1e-4f);
}

} // namespace

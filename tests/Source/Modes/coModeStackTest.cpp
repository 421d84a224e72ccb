#include "Source/Modes/coModeExitX.h"
#include "Source/Modes/coModeTestSupport.h"

namespace {

using Journal = std::vector<std::string>;

struct coModeStackTest : coModeTest {
    coScriptedMode menu{"menu", journal};
    coScriptedMode builder{"builder", journal};
    coScriptedMode tool{"tool", journal};

    void SetUp() override {
        coModeTest::SetUp();
        coSetMode(coModeIdMainMenu, &menu);
        coSetMode(coModeIdBuilder, &builder);
        coSetMode(12, &tool);
    }
    // Sets the result once, pushing the mode first when given.
    static std::function<void(coScriptedMode&)> Then(i32 result, coMode* push = nullptr) {
        return [result, push](coScriptedMode& mode) {
            if (push)
                coModePush(push);
            mode.SetResult(result);
            mode.script = nullptr;
        };
    }
};

TEST_F(coModeStackTest, UsualMovesEnterAndLeaveInOrder) {
    coModePush(&menu);
    EXPECT_TRUE(journal.empty()); // a push outside any Think calls nobody

    menu.script = Then(coMode::Leave, &builder); // the builder replaces the menu
    coModeManagerUpdate();
    EXPECT_EQ(journal, (Journal{"menu enter", "menu think", "menu exit"}));
    EXPECT_EQ(coModeStackSize(), 1);
    EXPECT_EQ(coCurrentMode(), &builder);

    journal.clear();
    coModePush(&menu); // the builder above a menu entry
    coModeStackKeepCurrent();
    coModePush(&builder);
    builder.script = Then(coMode::Switch, &tool);
    coModeManagerUpdate();
    EXPECT_EQ(coCurrentMode(), &tool);
    EXPECT_TRUE(coModeStackIsPrevious(coModeIdBuilder));
    tool.script = Then(coMode::Leave);
    coModeManagerUpdate();
    coModeManagerUpdate();
    EXPECT_EQ(journal, (Journal{"builder enter", "builder think", "builder exit", "tool enter", "tool think",
                                "tool exit", "builder enter", "builder think"}));
    EXPECT_EQ(coCurrentMode(), &builder);
    EXPECT_EQ(coModeStackCurrentIndex(), 1);

    coModeStackKeepCurrent();
    EXPECT_FALSE(coModeStackIsPrevious(coModeIdMainMenu)); // index 0 has nothing below
    builder.script = Then(coMode::Leave);
    coModeManagerUpdate();
    EXPECT_TRUE(coModeStackIsEmpty());
}

TEST_F(coModeStackTest, ResultsThatWouldLoseTheStackAreTamed) {
    // Switching away from the first entry with nothing pushed: the mode stays current, with a warning.
    coModePush(&menu);
    menu.script = Then(coMode::Switch);
    coModeManagerUpdate();
    EXPECT_EQ(coCurrentMode(), &menu);
    EXPECT_EQ(menu.GetResult(), coMode::Stay);
    EXPECT_TRUE(log.Holds("**Warning**"));
    coModeManagerUpdate();
    EXPECT_EQ(journal.back(), "menu think");

    // Leave-and-delete on a mode the application owns leaves it alone (ASan would see a stack delete).
    menu.script = Then(coMode::LeaveAndDelete);
    coModeManagerUpdate();
    EXPECT_TRUE(coModeStackIsEmpty());
    EXPECT_EQ(journal.back(), "menu exit");

    // A mode outside the table is the manager's to delete.
    auto* loose = new coScriptedMode("loose", journal);
    coModePush(loose);
    loose->script = Then(coMode::LeaveAndDelete);
    coModeManagerUpdate();
    EXPECT_TRUE(coModeStackIsEmpty());

    coModePush(nullptr);
    EXPECT_TRUE(coModeStackIsEmpty());
}

TEST_F(coModeStackTest, OneModeTwiceOnTheStack) {
    coModePush(&menu);
    menu.script = Then(coMode::Switch, &menu);
    coModeManagerUpdate();
    EXPECT_EQ(coModeStackSize(), 2);
    EXPECT_EQ(coCurrentMode(), &menu);
    EXPECT_TRUE(coModeStackIsPrevious(coModeIdMainMenu));
}

// A question in Enter (the career's medal) that ends the game leaves it as one in Think does: the mode is
// left and the stack emptied.
TEST_F(coModeStackTest, AnExitFromEnterLeavesAsOneFromThink) {
    bool caught = false;
    menu.enterScript = [&caught] {
        caught = coModeStackCatchesExit();
        throw coModeExitX();
    };
    coModePush(&menu);
    EXPECT_FALSE(coModeStackCatchesExit());
    coModeManagerUpdate();
    EXPECT_TRUE(caught);
    EXPECT_EQ(journal, (Journal{"menu enter", "menu exit"}));
    EXPECT_TRUE(coModeStackIsEmpty());
}

} // namespace

#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "guiWidgetFixture.h"

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

constexpr u8 kScanEscape = 0x01;
constexpr u8 kScanReturn = 0x1C;
constexpr u8 kScanNumpadEnter = 0x9C;

// Records what its runs ended with where the test can read it after the dialog is gone.
class guiTestDialog : public guiDialog {
  public:
    explicit guiTestDialog(std::vector<bool>& closes) : m_closes(closes) {}
    void OnClose(bool accepted) override { m_closes.push_back(accepted); }

  private:
    std::vector<bool>& m_closes;
};

class guiDialogTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        dialog = new guiTestDialog(closes);
        guiWindowMgr::AddWindow(dialog);
        dialog->SetSize(300, 200);
        dialog->GetOk()->SetSize(100, 40);
        dialog->GetCancel()->SetSize(100, 40);
        dialog->GetCancel()->SetPosition({150.0f, 0.0f, 0.99f});
        dialog->SetPosition({0.0f, 0.0f, 1.0f});
        dialog->SetJustification(guiJustifyLeft, guiJustifyTop);
        dialog->SetThinkFunction(&frames);
    }
    // A frame with these keys down and the main button at (x, y).
    std::function<void()> Step(std::vector<u8> down, float x = 700, float y = 500, bool main = false) {
        return [this, down, x, y, main] {
            input.GetScript(1).keys = {};
            for (u8 key : down)
                input.GetScript(1).keys[key] = 0x80;
            Update(x, y, main);
        };
    }

    std::vector<bool> closes;
    guiTestDialog* dialog = nullptr;
    guiScriptedFrames frames;
};

} // namespace

TEST_F(guiDialogTest, WithoutAFrameFunctionNothingShows) {
    dialog->SetThinkFunction(nullptr);
    EXPECT_EQ(dialog->DoModal(), 0);
    EXPECT_FALSE(dialog->IsVisible());
    EXPECT_FALSE(dialog->IsEnabled());
    EXPECT_TRUE(closes.empty());
}

TEST_F(guiDialogTest, EndConditionsKeysAndTheirOrder) {
    const std::function<void()> over = Step({}, 10, 10), press = Step({}, 10, 10, true);
    const std::function<void()> overCancel = Step({}, 160, 10), pressCancel = Step({}, 160, 10, true);
    const struct {
        const char* name;
        std::vector<u8> held; // down before the run starts
        bool keysEnabled;
        bool okEnabled;
        std::vector<std::function<void()>> steps;
        i32 result;
        bool accepted;
    } cases[] = {
        {"EndDialog(false)", {}, true, true, {Step({}), [this] { dialog->EndDialog(false); }}, 2, true},
        {"Enter held over the opening", {kScanReturn}, true, true, {Step({kScanReturn}), Step({})}, 1, true},
        {"keypad Enter", {}, true, true, {Step({kScanNumpadEnter}), Step({})}, 1, true},
        {"Escape", {}, true, true, {Step({kScanEscape}), Step({})}, 2, false},
        {"keys disabled, then Ok clicked",
         {},
         false,
         true,
         {Step({kScanReturn}), Step({}), Step({kScanEscape}), Step({}), over, press, over},
         1,
         true},
        {"disabled Ok ignores Enter, Cancel clicked",
         {},
         true,
         false,
         {Step({kScanReturn}), Step({}), overCancel, pressCancel, overCancel},
         2,
         false},
        {"EndDialog beats Ok",
         {},
         true,
         true,
         {over, press,
          [this, over] {
              over();
              dialog->EndDialog(false);
          }},
         2,
         true},
        {"Ok beats Cancel", {}, true, true, {Step({kScanReturn, kScanEscape}), Step({})}, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Step(c.held)();
        dialog->SetKeysEnabled(c.keysEnabled);
        dialog->GetOk()->SetEnabled(c.okEnabled);
        closes.clear();
        frames.steps = c.steps;
        frames.frame = 0;
        EXPECT_EQ(dialog->DoModal(), c.result);
        EXPECT_EQ(frames.frame, c.steps.size());
        EXPECT_EQ(closes, std::vector<bool>{c.accepted});
        EXPECT_FALSE(dialog->IsVisible());
        EXPECT_FALSE(dialog->IsEnabled());
        EXPECT_EQ(guiWindowMgr::GetModalCount(), 0u);
    }
}

TEST_F(guiDialogTest, RunsOnTopAndLeavesTheStackOnUnwind) {
    frames.steps = {[this] {
                        EXPECT_TRUE(dialog->IsVisible());
                        EXPECT_FLOAT_EQ(dialog->GetPosition().z, 0.1f);
                        EXPECT_FLOAT_EQ(dialog->GetOk()->GetPosition().z, 0.99f);
                        EXPECT_FLOAT_EQ(dialog->GetBackground()->GetPosition().z, 1.0f);
                        Update(700, 500);
                    },
                    [] { throw std::runtime_error("frame failed"); }};
    EXPECT_THROW(dialog->DoModal(), std::runtime_error);
    EXPECT_EQ(guiWindowMgr::GetModalCount(), 0u);
    EXPECT_FALSE(dialog->IsVisible());
    EXPECT_TRUE(closes.empty());
}

TEST_F(guiDialogTest, DeletedDuringItsOwnRun) {
    // Deleted from its own frame: the run ends as cancelled, then frees it.
    frames.steps = {[this] {
        Frame(700, 500);
        guiWindowMgr::DeleteWindow(dialog);
        guiWindowMgr::Update();
        EXPECT_TRUE(guiWindowMgr::IsDeletePending(dialog));
    }};
    EXPECT_EQ(dialog->DoModal(), 2);
    EXPECT_EQ(closes, std::vector<bool>{false});
    EXPECT_EQ(guiWindowMgr::GetModalCount(), 0u);
    EXPECT_EQ(guiWindowMgr::GetRoot()->GetChildCount(), 0);
}

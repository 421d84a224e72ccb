#include "Engine/GUI/Gui/guiContainer.h"
#include "guiTestFrame.h"

namespace {

using guiWindowMgrTest = guiTestGui;

// A window that deletes itself when it thinks.
class guiSelfDeleting : public guiTestWindow {
  public:
    using guiTestWindow::guiTestWindow;
    void Think() override {
        ++s_thinks;
        guiWindowMgr::DeleteWindow(this);
    }
    static inline int s_thinks = 0;
};

} // namespace

TEST_F(guiWindowMgrTest, AModalWindowTakesThePointerWhileEverythingDraws) {
    guiTestWindow* palette = Add("palette", maVector3d{0, 0, 1.0f});
    guiTestWindow* dialog = Add("dialog", maVector3d{300, 300, 1.0f});
    guiWindowMgr::PushModal(dialog);
    EXPECT_FLOAT_EQ(dialog->GetPosition().z, 0.1f);
    Update(10, 10, true);
    Update(10, 10, false);
    EXPECT_EQ(palette->thinks, 0);
    EXPECT_EQ(palette->GetState(), guiStateNone);
    EXPECT_EQ(guiMouseButtons::GetDoubleClick(guiMouseButtons::kMain), nullptr);
    // Both drew: the dialog re-sorted in front, so it took stamp 0.
    EXPECT_EQ(dialog->GetDrawStamp(), 0);
    EXPECT_EQ(palette->GetDrawStamp(), 1);

    // A second push lies in front of the first and keeps its depth after the pop.
    guiTestWindow* inner = Add("inner", maVector3d{0, 0, 1.0f});
    guiWindowMgr::PushModal(inner);
    EXPECT_FLOAT_EQ(inner->GetPosition().z, 0.09f);
    guiWindowMgr::PopModal();
    EXPECT_FLOAT_EQ(inner->GetPosition().z, 0.09f);
    guiWindowMgr::PopModal();
    Update(10, 10, false);
    EXPECT_EQ(palette->GetState(), guiStateOver);
}

TEST_F(guiWindowMgrTest, OverWindowStampsAndSortsOfUnchangedFrames) {
    guiTestWindow* a = Add("a", maVector3d{0, 0, 1.0f});
    auto* screen = Add<guiContainer>();
    auto* b = new guiTestWindow("b", {200, 0, 0.5f});
    screen->AddChild(b);
    Update(10, 10);
    EXPECT_EQ(guiWindow::GetOverWindow(), a);
    Update(500, 500);
    EXPECT_EQ(guiWindow::GetOverWindow(), nullptr);

    const i32 stamps[] = {a->GetDrawStamp(), b->GetDrawStamp(), screen->GetDrawStamp()};
    Update(500, 500);
    EXPECT_EQ(guiWindowMgr::GetSortCount(), 0u);
    EXPECT_EQ(a->GetDrawStamp(), stamps[0]);
    EXPECT_EQ(b->GetDrawStamp(), stamps[1]);
    EXPECT_EQ(screen->GetDrawStamp(), stamps[2]);
    EXPECT_EQ(guiWindowMgr::GetRoot()->GetDrawStamp(), 3);
}

TEST_F(guiWindowMgrTest, DeletedWindowsLeaveTheStackTheTreeAndEveryPointer) {
    guiWindowMgr::DeleteWindow(nullptr);
    delete Add("direct"); // leaves the root's array at once
    EXPECT_EQ(guiWindowMgr::GetRoot()->GetChildCount(), 0);

    guiSelfDeleting::s_thinks = 0;
    auto* modal = Add<guiSelfDeleting>("modal");
    guiWindowMgr::PushModal(modal);
    Update(10, 10);
    Update(10, 10);
    EXPECT_EQ(guiSelfDeleting::s_thinks, 1);
    EXPECT_EQ(guiWindowMgr::GetModalCount(), 0u);

    // A widget deleted while pressed records its own click; the slot must not keep it.
    guiTestWindow* button = Add("button");
    Update(10, 10, true);
    EXPECT_TRUE(button->pressed);
    EXPECT_EQ(guiWindow::GetFocusWindow(), button);
    guiWindowMgr::DeleteWindow(button);
    EXPECT_EQ(guiWindow::GetFocusWindow(), nullptr);
    guiMouseButtons::RecordClick(guiMouseButtons::kMain, nullptr);
    EXPECT_EQ(guiMouseButtons::GetDoubleClick(guiMouseButtons::kMain), nullptr);
}

TEST_F(guiWindowMgrTest, AChildDeletingItsContainerWhileThinking) {
    // The container is freed only after the update, so its Think and Draw never walk freed memory.
    class guiDeletesParent : public guiTestWindow {
      public:
        using guiTestWindow::guiTestWindow;
        void Think() override {
            guiWindowMgr::DeleteWindow(GetParent());
            guiWindowMgr::DeleteWindow(GetParent()); // a second request is ignored, not a double free
        }
    };
    // Thought by the manager, or on its own outside any manager update.
    for (const bool managed : {true, false}) {
        auto* box = Add<guiContainer>();
        box->AddChild(new guiDeletesParent("inner"));
        box->AddChild(new guiTestWindow("sibling"));
        if (managed)
            Update(10, 10);
        else
            box->Think();
        EXPECT_EQ(guiWindowMgr::GetRoot()->GetChildCount(), 0);
        EXPECT_FALSE(guiWindowMgr::IsDeletePending(box));
    }
}

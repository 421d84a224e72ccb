#include "Engine/GUI/Gui/guiContainer.h"
#include "guiTestFrame.h"

#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Order(const guiContainer& c) {
    std::vector<std::string> names;
    for (i32 i = 0; i < c.GetChildCount(); ++i)
        names.push_back(c.GetChild(i)->GetName());
    return names;
}

guiTestWindow* AddAt(guiContainer& c, const std::string& name, float depth) {
    auto* w = new guiTestWindow(name.c_str(), {0, 0, depth});
    c.AddChild(w);
    return w;
}

} // namespace

TEST(guiContainerTest, ChildrenStayInDepthOrderAndEqualDepthsNeverTradePlaces) {
    guiContainer c;
    AddAt(c, "1st", 1.0f);
    AddAt(c, "2nd", 0.5f);
    AddAt(c, "3rd", 1.0f);
    AddAt(c, "4th", 0.5f);
    EXPECT_EQ(Order(c), (std::vector<std::string>{"2nd", "4th", "1st", "3rd"}));

    // Beyond sixteen children an unstable sort would swap equal depths.
    guiContainer many;
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.push_back(AddAt(many, std::to_string(i), 1.0f)->GetName());
    guiTestWindow* mover = AddAt(many, "mover", 1.0f);
    names.push_back("mover");
    mover->SetPosition({0, 0, 0.25f});
    EXPECT_EQ(Order(many), names) << "a depth change waits for the next Draw";
    many.Draw();
    names.pop_back();
    names.insert(names.begin(), "mover");
    EXPECT_EQ(Order(many), names);
    // The container's stamp comes after every child's.
    for (i32 i = 0; i < many.GetChildCount(); ++i)
        EXPECT_LT(many.GetChild(i)->GetDrawStamp(), many.GetDrawStamp());
}

TEST(guiContainerTest, LookupsAndRemovalsAreCheckedAndDeletedChildrenLeave) {
    guiContainer c;
    auto* inner = new guiContainer;
    inner->SetName("inner");
    c.AddChild(inner);
    guiTestWindow* grandchild = AddAt(*inner, "deep", 1.0f);
    guiTestWindow* child = AddAt(c, "Button", 1.0f);
    EXPECT_EQ(c.FindChild("Button"), child);
    EXPECT_EQ(c.FindChild("button"), nullptr);
    EXPECT_EQ(c.FindChild("deep"), nullptr);
    EXPECT_EQ(c.GetChild(2), nullptr);
    EXPECT_EQ(c.GetChild(-1), nullptr);

    guiWindow::SetFocusWindow(grandchild);
    EXPECT_TRUE(c.ContainsFocus());
    EXPECT_FALSE(guiContainer().ContainsFocus());
    delete grandchild;
    EXPECT_EQ(guiWindow::GetFocusWindow(), nullptr);
    EXPECT_EQ(inner->GetChildCount(), 0);

    dbgLogCapture log;
    guiTestWindow stranger("stranger");
    c.RemoveChild(&stranger);
    c.RemoveAndDeleteChild(&stranger);
    EXPECT_EQ(log.Count("is no child"), 2u);
    EXPECT_EQ(c.GetChildCount(), 2);
    EXPECT_EQ(Order(c), (std::vector<std::string>{"inner", "Button"}));

    // A child moved to another container leaves the first; a container never goes inside itself.
    inner->AddChild(child);
    EXPECT_EQ(Order(c), (std::vector<std::string>{"inner"}));
    inner->AddChild(inner);
    c.AddChild(child);
    c.AddChild(child);
    EXPECT_EQ(log.Count("inside itself"), 1u);
    EXPECT_EQ(inner->GetChildCount(), 0);
    EXPECT_EQ(Order(c), (std::vector<std::string>{"inner", "Button"}));

    c.RemoveChild(child);
    EXPECT_EQ(child->GetParent(), nullptr);
    delete child;
    EXPECT_EQ(c.GetChildCount(), 1);
    // Deleting a container deletes its subtree; the sanitizer's leak check sees the rest.
    AddAt(*inner, "x", 1.0f);
    c.RemoveAndDeleteChild(inner);
    EXPECT_EQ(c.GetChildCount(), 0);
}

TEST(guiContainerTest, AnAddGoesBeforeTheFirstDeeperSiblingAsTheDepthsStand) {
    // Steps: 'a' adds a window at the depth, 'm' moves one there, 'd' draws (which sorts again).
    struct Step {
        char op;
        const char* name;
        float depth;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::vector<Step> steps;
        std::vector<std::string> order;
    } cases[] = {
        {{{'a', "a", 1}, {'a', "b", 2}, {'a', "c", 3}, {'m', "a", 5}, {'a', "d", 2.5f}},
         {"d", "a", "b", "c"}},
        {{{'a', "a", 1}, {'a', "b", 2}, {'a', "c", 3}, {'m', "a", 5}, {'d', "", 0}, {'a', "d", 2.5f}},
         {"b", "d", "c", "a"}},
        {{{'a', "a", 1}, {'a', "n", nan}, {'a', "b", 2}, {'a', "c", 1.5f}}, {"a", "n", "c", "b"}},
        {{{'a', "a", 2}, {'a', "b", 1}, {'a', "c", 2}, {'a', "d", 0}}, {"d", "b", "a", "c"}},
    };
    for (const auto& c : cases) {
        guiContainer container;
        for (const Step& s : c.steps) {
            if (s.op == 'a')
                AddAt(container, s.name, s.depth);
            else if (s.op == 'm')
                container.FindChild(s.name)->SetPosition({0, 0, s.depth});
            else
                container.Draw();
        }
        EXPECT_EQ(Order(container), c.order) << c.order.front();
    }
}

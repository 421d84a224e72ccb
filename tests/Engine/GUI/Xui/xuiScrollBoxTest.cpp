#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "../Gui/guiWidgetFixture.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiSlider.h"

#include <array>
#include <string>
#include <vector>

namespace {

// A list of rows of which `visible` fit, scrolled vertically like the list views; a test moves
// `scroll` itself as keyboard paging would.
class TestList : public guiContainer, public gnfView, public gnfSelection {
  public:
    bool FitsVertically() const override { return rows.size() <= visible; }
    float GetVerticalScroll() const override { return scroll; }
    void SetVerticalScroll(float fraction) override {
        scroll = fraction;
        ++scrolls;
    }
    i32 GetSelection() const override { return selected; }
    void Select(i32 index) override { selected = index; }
    const envString& GetItemText(i32 index) const override {
        return index >= 0 && index < GetItemCount() ? rows[static_cast<size_t>(index)] : gnfEmptyString();
    }
    i32 GetItemCount() const override { return static_cast<i32>(rows.size()); }

    std::vector<envString> rows;
    size_t visible = 4;
    float scroll = 0.0f;
    i32 scrolls = 0;
    i32 selected = -1;
};

guiSlider* Slider(i32 axis, i32 w, i32 h, f32 step = 0.01f) {
    auto* slider = new guiSlider;
    slider->SetAxis(axis);
    slider->SetSize(w, h);
    slider->SetIncrement(step);
    return slider;
}

} // namespace

class xuiScrollBoxTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        box = Add<xuiScrollBox>();
        list = new TestList;
        for (i32 i = 0; i < 6; ++i)
            list->rows.emplace_back(("row " + std::to_string(i)).c_str());
        box->SetView(list);
    }
    xuiScrollBox* box = nullptr;
    TestList* list = nullptr;
};

TEST_F(xuiScrollBoxTest, SlidersTakeTheirEdgesAndTheViewTheRest) {
    using R = std::array<float, 4>;
    guiSlider* right = Slider(2, 20, 0);
    box->AddAssociatedControl(xuiScrollBox::kRight, right, 2);
    box->SetSize(200, 100);
    EXPECT_EQ(Rect(*list), (R{0, 0, 180, 100}));
    EXPECT_EQ(Rect(*right), (R{180, 0, 20, 100}));

    auto* other = Add<xuiScrollBox>();
    auto* view = new TestList;
    other->SetView(view);
    guiSlider* left = Slider(2, 15, 0);
    guiSlider* bottom = Slider(1, 0, 12);
    other->AddAssociatedControl(xuiScrollBox::kLeft, left, 2);
    other->AddAssociatedControl(xuiScrollBox::kBottom, bottom, 1);
    other->SetSize(200, 100);
    EXPECT_EQ(Rect(*view), (R{15, 0, 185, 88}));
    EXPECT_EQ(Rect(*left), (R{0, 0, 15, 88}));
    EXPECT_EQ(Rect(*bottom), (R{15, 88, 185, 12}));
}

TEST_F(xuiScrollBoxTest, TheVerticalSliderShowsOnlyWhileRowsOverflow) {
    guiSlider* right = Slider(2, 20, 0);
    box->AddAssociatedControl(xuiScrollBox::kRight, right, 2);
    box->SetSize(200, 100);
    list->rows.resize(4);
    Update(500, 500);
    EXPECT_FALSE(right->IsVisible() || right->IsEnabled());
    list->rows.emplace_back(u"one more");
    Update(500, 500);
    EXPECT_TRUE(right->IsVisible() && right->IsEnabled());
}

TEST_F(xuiScrollBoxTest, SliderAndViewFollowEachOtherBeyondTheirTolerances) {
    // Step 0.078125: a tenth of it is 0.0078125 exactly, and a move of exactly that is no move.
    guiSlider* right = Slider(2, 20, 0, 0.078125f);
    box->AddAssociatedControl(xuiScrollBox::kRight, right, 2);
    box->SetSize(200, 100);
    const struct {
        float slider;    // set on the slider before the frame
        float viewAfter; // the view's fraction after it
    } moves[] = {{0.0f, 1.0f}, {1.0f, 0.0f}, {0.9921875f, 0.0f}, {0.984375f, 0.015625f}};
    for (const auto& m : moves) {
        right->SetValue(m.slider);
        Update(500, 500);
        EXPECT_EQ(list->scroll, m.viewAfter) << m.slider;
        EXPECT_EQ(right->GetValue(), m.slider) << m.slider;
    }
    // The view pages by itself: beyond 0.01 the slider follows in the same frame, up to 0.01 not.
    list->scroll = 0.5f;
    Update(500, 500);
    EXPECT_EQ(right->GetValue(), 0.5f);
    EXPECT_EQ(box->GetVerticalScroll(), 0.5f);
    list->scroll = 0.51f;
    Update(500, 500);
    EXPECT_EQ(right->GetValue(), 0.5f);
    // Scrolling the box scrolls the view and sets the slider.
    box->SetVerticalScroll(0.25f);
    EXPECT_EQ(list->scroll, 0.25f);
    EXPECT_EQ(right->GetValue(), 0.75f);
}

TEST_F(xuiScrollBoxTest, OnlyTheFirstSliderOfAnAxisActsAndOtherControlsArePlainChildren) {
    guiSlider* first = Slider(2, 20, 0);
    guiSlider* second = Slider(2, 10, 0);
    second->SetEnabled(false);
    auto* button = new guiButton;
    button->SetName("Button");
    button->SetSize(30, 30);
    box->AddAssociatedControl(xuiScrollBox::kRight, first, 2);
    box->AddAssociatedControl(xuiScrollBox::kLeft, second, 2);
    box->AddAssociatedControl(xuiScrollBox::kLeft, button, 1);
    EXPECT_TRUE(log.Holds("no slider"));
    box->SetSize(200, 100);
    EXPECT_EQ(list->GetPosition().x, 0.0f);
    EXPECT_EQ(Rect(*list)[2], 180);
    EXPECT_TRUE(second->IsEnabled());
    EXPECT_EQ(Rect(*second)[3], 0);
    EXPECT_EQ(Rect(*button)[2], 30);
    EXPECT_EQ(box->FindChild("Button"), button);

    second->SetValue(0.5f);
    Update(500, 500);
    EXPECT_EQ(list->scrolls, 1); // the first slider's value 0 asked for the bottom, nothing else did
    EXPECT_EQ(list->scroll, 1.0f);
    EXPECT_EQ(second->GetValue(), 0.5f);
}

TEST_F(xuiScrollBoxTest, TheBoxAnswersForItsViewsSelection) {
    list->Select(2);
    EXPECT_EQ(box->GetSelection(), 2);
    box->Select(4);
    EXPECT_EQ(list->selected, 4);
    EXPECT_EQ(box->GetItemCount(), 6);
    EXPECT_EQ(box->GetItemText(1), envString("row 1"));
    EXPECT_EQ(&box->GetItemText(6), &gnfEmptyString());

    auto* empty = Add<xuiScrollBox>();
    empty->Select(3);
    empty->SetVerticalScroll(0.5f);
    EXPECT_EQ(empty->GetSelection(), 0);
    EXPECT_EQ(empty->GetItemCount(), 0);
    EXPECT_EQ(&empty->GetItemText(0), &gnfEmptyString());
    EXPECT_TRUE(empty->FitsVertically() && empty->FitsHorizontally());
    EXPECT_EQ(empty->GetVerticalScroll(), 0.5f);
}

#include "Engine/GUI/Xui/xuiSliderComposite.h"
#include "../Gui/guiWidgetFixture.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"

// A composite at (0, 0) with a 20 x 20 "Increase" button at (300, 0) stepping by 0.1 and a "Decrease"
// button at (340, 0) whose negative delta steps by 0.05.
TEST_F(guiWidgetTest, HeldArrowsStepTheCompositeOncePerFrame) {
    auto* slider = Add<xuiSliderComposite>();
    slider->GetBackground()->SetSize(200, 20);
    const struct {
        f32 delta;
        i32 kind;
        float x;
    } arrows[] = {{0.1f, xuiSliderComposite::kIncrease, 300}, {-0.05f, xuiSliderComposite::kDecrease, 340}};
    for (const auto& a : arrows) {
        auto* button = new guiButton;
        button->SetSize(20, 20);
        button->SetPosition({a.x, 0, 1.0f});
        slider->AddAssociatedControl(button, a.delta, a.kind);
    }
    slider->AddAssociatedControl(nullptr, 1.0f, 0);
    ASSERT_NE(slider->FindChild("Increase"), nullptr);
    ASSERT_NE(slider->FindChild("Decrease"), nullptr);
    slider->SetPosition({0, 0, 1.0f});
    EXPECT_FLOAT_EQ(slider->FindChild("Increase")->GetPosition().z,
                    slider->GetThumb()->GetPosition().z + 0.001f);

    const struct {
        float x;
        bool down;
        float value;
    } steps[] = {{310, true, 0.0f}, {310, true, 0.1f},  {310, true, 0.2f}, {310, false, 0.2f},
                 {350, true, 0.2f}, {350, true, 0.15f}, {350, true, 0.1f}, {350, false, 0.1f}};
    for (const auto& s : steps) {
        Update(s.x, 10, s.down);
        EXPECT_FLOAT_EQ(slider->GetValue(), s.value) << s.x;
    }
}

#include "Source/Screens/coTrackColorPicker.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiText.h"
#include "coScreenTestKit.h"

namespace {

coSchemeMaterial Diffuse(f32 red) {
    coSchemeMaterial material;
    material.diffuse = {red, 0.25f, 0.75f, 1.0f};
    return material;
}

// Three stored schemes over "Rail" and "Support" (red 0.1, 0.2, 0.3) and custom colours current (red
// 0.9); the scheme group holds a button a scheme up to `buttons`, then "Custom", selected.
struct coTrackColorPickerTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        coTrackColorizer::ClearSchemes();
        coTrackColorizer::ClearCurrent();
        for (int i = 1; i <= 3; ++i)
            coTrackColorizer::AddScheme({{"Rail", Diffuse(0.1f * i)}, {"Support", Diffuse(0.1f * i)}});
        coTrackColorizer::SetCurrentScheme({{"Rail", Diffuse(0.9f)}, {"Support", Diffuse(0.9f)}});
    }
    void TearDown() override {
        Drop();
        coTrackColorizer::ClearSchemes();
        coTrackColorizer::ClearCurrent();
        coScreenTest::TearDown();
    }
    void Make(int buttons = 3) {
        group = new guiRadioGroup;
        for (int i = 0; i <= buttons; ++i) {
            auto* button = new guiCheckbox;
            button->GetText()->SetText(
                envString(i < buttons ? ("Scheme " + std::to_string(i)).c_str() : "Mine"), 0);
            group->AddButton(button);
            if (i == buttons)
                button->SetName("Custom");
        }
        group->SetSelection(buttons);
        picker = new coTrackColorPicker(group);
        guiWindowMgr::AddWindow(picker);
    }
    void Drop() {
        if (picker)
            guiWindowMgr::DeleteWindow(picker);
        delete group;
        picker = nullptr;
        group = nullptr;
    }
    // A click on the picker's button over two frames of the window manager.
    void ClickButton(const char* name) {
        PointerFrame(picker->FindChild(name), true);
        PointerFrame(picker->FindChild(name), false);
        PointerFrame(nullptr, false);
    }
    guiSlider& Slider(const char* name) { return *dynamic_cast<guiSlider*>(picker->FindChild(name)); }
    f32 Red(int scheme) { return picker->GetScheme(scheme).at("Rail").diffuse.r; }

    guiRadioGroup* group = nullptr;
    coTrackColorPicker* picker = nullptr;
};

TEST_F(coTrackColorPickerTest, CustomIsTheLastEntryWhereverItsButtonStands) {
    for (int buttons : {3, 9}) {
        SCOPED_TRACE(buttons);
        Make(buttons);
        EXPECT_EQ(picker->GetSelectedIndex(), 3);
        EXPECT_FLOAT_EQ(Slider("Red").GetValue(), 0.9f);
        // Nothing changed: the first frame previews nothing and keeps every colour.
        picker->Think();
        EXPECT_FLOAT_EQ(Red(3), 0.9f);
        std::vector<coColorScheme> stored;
        picker->GetSchemes(stored);
        EXPECT_EQ(stored.size(), 3u);
        EXPECT_EQ(envStringToNarrow(dynamic_cast<guiText*>(picker->FindChild("Title"))->GetText(0)), "Mine");
        Drop();
    }
}

TEST_F(coTrackColorPickerTest, ASliderPaintsThePartAndWinsTheFrameOverASchemeChange) {
    Make();
    Slider("Red").SetValue(0.5f);
    picker->Think();
    const auto* display = dynamic_cast<guiImage*>(picker->FindChild("Color Display"));
    EXPECT_EQ(display->GetColor(0)[0], 127);
    const g3dARGBColor& painted = picker->GetScheme(3).at("Rail").diffuse;
    EXPECT_EQ((std::array<f32, 4>{painted.r, painted.g, painted.b, painted.a}),
              (std::array<f32, 4>{0.5f, 0.25f, 0.75f, 1.0f}));
    // Both in one frame: the slider's branch alone, on the scheme now selected; the title waits.
    Slider("Red").SetValue(0.4f);
    group->SetSelection(1);
    picker->Think();
    EXPECT_FLOAT_EQ(Red(1), 0.4f);
    EXPECT_EQ(envStringToNarrow(dynamic_cast<guiText*>(picker->FindChild("Title"))->GetText(0)), "Mine");
    picker->Think();
    EXPECT_EQ(envStringToNarrow(dynamic_cast<guiText*>(picker->FindChild("Title"))->GetText(0)), "Scheme 1");
}

TEST_F(coTrackColorPickerTest, AddResetAndCancelKeepTheListsInStep) {
    // Room in the group for the added scheme's button, as the ride pause dialog has.
    Make(9);
    group->SetSelection(1);
    picker->Think();
    Slider("Red").SetValue(0.6f);
    picker->Think();
    ClickButton("Add Scheme");
    EXPECT_EQ(coTrackColorizer::GetSchemeCount(), 4);
    EXPECT_FLOAT_EQ(Red(3), 0.6f);
    EXPECT_FLOAT_EQ(Red(4), 0.9f); // custom stays last
    group->SetSelection(3);
    picker->Think();
    ClickButton("Reset Scheme");
    EXPECT_FLOAT_EQ(Red(3), 0.2f); // scheme 1 as it was before the edit
    EXPECT_FLOAT_EQ(Red(1), 0.6f);
    ClickButton("Cancel");
    EXPECT_FLOAT_EQ(Red(1), 0.2f);
    EXPECT_FLOAT_EQ(Red(3), 0.2f);
}

// The part buttons stand one below the other, and each slider shows its track with the thumb at the
// value of the custom colours (red 0.9).
TEST_F(coTrackColorPickerTest, ThePartsStackAndTheSlidersShowTheColour) {
    Make();
    const auto& parts = *dynamic_cast<guiRadioGroup*>(picker->FindChild("Parts"));
    EXPECT_LT(parts.GetChild(0)->GetPosition().y + 20.0f, parts.GetChild(1)->GetPosition().y);
    guiSlider& red = Slider("Red");
    i32 width = 0, height = 0;
    red.GetBackground()->GetSize(width, height);
    EXPECT_GT(width, 100);
    EXPECT_GT(red.GetThumb()->GetPosition().x, red.GetBackground()->GetPosition().x + 0.8f * width);
}

TEST_F(coTrackColorPickerTest, PartsBeyondTheTrackAreHiddenAndUnknownOnesShowTheirName) {
    coTrackColorizer::SetCurrentScheme({{"Zebra", Diffuse(0.4f)}});
    Make();
    const auto& parts = *dynamic_cast<guiRadioGroup*>(picker->FindChild("Parts"));
    const char* captions[] = {"Rail", "Supports", "Zebra"};
    for (i32 i = 0; i < parts.GetChildCount(); ++i) {
        const auto& button = *dynamic_cast<guiButton*>(parts.GetChild(i));
        EXPECT_EQ(button.IsVisible(), i < 3) << i;
        if (i < 3) {
            EXPECT_EQ(envStringToNarrow(button.GetText()->GetText(0)), captions[i]);
        }
    }
}

} // namespace

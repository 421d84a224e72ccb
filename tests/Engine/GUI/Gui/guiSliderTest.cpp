#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "guiWidgetFixture.h"

#include <cmath>
#include <limits>

// A slider at (100, 200): a 200 x 20 track and a 20 x 20 thumb at value 0, so at (100, 200) on screen.
class guiSliderTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        slider = Add<guiSlider>();
        slider->SetSize(200, 20);
        slider->SetPosition({100, 200, 1.0f});
        slider->GetBackground()->SetSize(200, 20);
        slider->GetThumb()->SetSize(20, 20);
        slider->SetValue(0.0f);
    }
    float ThumbX() const { return slider->GetThumb()->GetPosition().x; }
    guiSlider* slider = nullptr;
};

TEST_F(guiSliderTest, ValuesAreClampedAndStepsStopShortOfOne) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Each from 0.5: a value that is not finite leaves it.
    const struct {
        float set, expected;
    } values[] = {{1.5f, 1.0f}, {-0.2f, 0.0f}, {nan, 0.5f}, {inf, 0.5f}, {-inf, 0.5f}};
    for (const auto& v : values) {
        slider->SetValue(0.5f);
        slider->SetValue(v.set);
        EXPECT_EQ(slider->GetValue(), v.expected) << v.set;
        EXPECT_EQ(ThumbX(), 200.0f * v.expected);
    }
    slider->SetValue(0.995f);
    slider->Increase();
    EXPECT_EQ(slider->GetValue(), 0.995f);
    slider->SetValue(0.005f);
    slider->Decrease();
    EXPECT_EQ(slider->GetValue(), 0.0f);
    slider->Decrease();
    slider->Increase();
    EXPECT_EQ(slider->GetValue(), 0.01f);
}

TEST_F(guiSliderTest, TheThumbIsPlacedAlongEitherAxis) {
    struct Case {
        i32 axis;
        float trackAt;    // x for axis 1, y for axis 2
        i32 track, thumb; // extents along the axis
        bool constrained; // min 20, max 120 (axis 2: min 90, max 10)
        float value, expected;
    };
    const Case cases[] = {
        {1, 10, 200, 20, false, 0.25f, 60}, {2, 0, 100, 10, false, 0.0f, 90},
        {2, 0, 100, 10, false, 0.5f, 45},   {2, 0, 100, 10, false, 1.0f, 0},
        {1, 10, 200, 20, true, 0.5f, 70},   {2, 0, 100, 10, true, 0.0f, 80},
        {2, 0, 100, 10, true, 1.0f, 10},
    };
    for (const Case& c : cases) {
        guiSlider s;
        s.SetAxis(c.axis);
        const bool across = c.axis == 1;
        s.GetBackground()->SetSize(across ? c.track : 20, across ? 20 : c.track);
        s.GetBackground()->SetPosition({across ? c.trackAt : 0.0f, across ? 0.0f : c.trackAt, 1.002f});
        s.GetThumb()->SetSize(across ? c.thumb : 20, across ? 20 : c.thumb);
        if (c.constrained)
            s.SetBackgroundConstraint(across ? 20 : 90, across ? 120 : 10);
        s.SetValue(c.value);
        const maVector3d at = s.GetThumb()->GetPosition();
        EXPECT_EQ(across ? at.x : at.y, c.expected) << c.axis << " " << c.value << " " << c.constrained;
    }
    slider->SetValue(0.25f);
    slider->SetThumbOffset(3, 0);
    EXPECT_EQ(ThumbX(), 53.0f);
    slider->SetValue(0.5f);
    EXPECT_EQ(ThumbX(), 103.0f);
}

TEST_F(guiSliderTest, AClickOnTheTrackSetsTheValueInThatFrameOnly) {
    Update(150, 210, true);
    EXPECT_EQ(slider->GetValue(), 0.25f);
    Update(250, 210, true);
    Update(250, 210, false);
    EXPECT_EQ(slider->GetValue(), 0.25f);
}

TEST_F(guiSliderTest, APressOnTheThumbFollowsThePointerUntilTheRelease) {
    const struct {
        float x, y;
        bool down;
        float value;
    } steps[] = {{110, 210, true, 0.05f},
                 {300, 260, true, 1.0f},
                 {150, 400, true, 0.25f},
                 {200, 210, false, 0.25f},
                 {250, 210, false, 0.25f}};
    for (const auto& s : steps) {
        Update(s.x, s.y, s.down);
        EXPECT_EQ(slider->GetValue(), s.value) << s.x;
    }
}

TEST_F(guiSliderTest, ATrackWithoutExtentDoesNotDrag) {
    // Width 0: the press at the track's own x would divide 0 by 0.
    slider->GetBackground()->SetSize(0, 20);
    slider->SetValue(0.5f);
    Update(100, 210, true);
    EXPECT_EQ(slider->GetValue(), 0.5f);
    Update(100, 210, false);
    // A constraint of min = max: the thumb at 150, a press on it would go to infinity.
    slider->GetBackground()->SetSize(200, 20);
    slider->SetBackgroundConstraint(50, 50);
    EXPECT_EQ(ThumbX(), 50.0f);
    Update(160, 210, true);
    EXPECT_EQ(slider->GetValue(), 0.5f);
    EXPECT_EQ(ThumbX(), 50.0f);
}

TEST_F(guiSliderTest, AVerticalSliderDragsUpwards) {
    struct Case {
        bool constrained;
        float y, value;
    };
    // Track 20 x 100 at the slider's origin (100, 200); the constraint runs from 10 to 90.
    const Case cases[] = {{false, 225, 0.75f}, {false, 290, 0.1f}, {true, 210, 0.0f}, {true, 250, 0.5f}};
    for (const Case& c : cases) {
        slider->SetAxis(2);
        slider->GetBackground()->SetSize(20, 100);
        slider->GetThumb()->SetSize(20, 4);
        slider->GetThumb()->SetPosition({0, 300, 1.0f});
        if (c.constrained)
            slider->SetBackgroundConstraint(10, 90);
        Update(110, c.y, true);
        Update(110, c.y, false);
        EXPECT_EQ(slider->GetValue(), c.value) << c.constrained << " " << c.y;
    }
}

#include "Source/Palettes/coPropMarks.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coScreenTestKit.h"

#include <utility>

namespace {

using coPropMarksTest = coScreenTest;

TEST_F(coPropMarksTest, EachMarkCentredOnItsPointTakingNoClicks) {
    auto* marks = new coPropMarks;
    guiWindowMgr::AddWindow(marks);
    const auto centre = [&](size_t mark) {
        const maVector3d at = marks->GetMarks().at(mark)->GetWorldMatrix().GetTranslation();
        return std::make_pair(at.x + 13.0f, at.y + 13.0f);
    };
    marks->SetMarks({{maVector2d(400.0f, 300.0f), 1}, {maVector2d(500.0f, 200.0f), 2}});
    ASSERT_EQ(marks->GetMarks().size(), 2u);
    EXPECT_EQ(centre(0), std::make_pair(400.0f, 300.0f));
    EXPECT_EQ(centre(1), std::make_pair(500.0f, 200.0f));
    const guiButton& second = *marks->GetMarks()[1];
    EXPECT_EQ(second.GetText()->GetText(guiStateIdle), envString("2"));
    EXPECT_FALSE(second.IsEnabled());
    EXPECT_EQ(second.GetState(), guiStateIdle);
    marks->SetMarks({{maVector2d(10.0f, 10.0f), 3}});
    EXPECT_TRUE(marks->GetMarks()[0]->IsEffectivelyVisible());
    EXPECT_FALSE(second.IsEffectivelyVisible());
    marks->SetMarks({});
    EXPECT_FALSE(marks->GetMarks()[0]->IsEffectivelyVisible());
}

} // namespace

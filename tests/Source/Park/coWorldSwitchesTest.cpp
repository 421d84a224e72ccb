#include "Source/Park/coWorldSwitches.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/Track/coTrackTestSupport.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplateList.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

struct coShowingTrackBuilder : coRecordingTrackBuilder {
    void ShowTrackObjects(bool show) override { shown.push_back(show); }
    std::vector<bool> shown;
};

} // namespace

TEST(coWorldSwitchesTest, StepsRunInThePartsOrderAfterThePartsOwn) {
    coRecordingTrackBuilder builder;
    for (int i = 0; i < 3; ++i)
        coCircuitAppend(std::make_unique<coTestLinePiece>(10.0f), false);
    const int owner = 0;
    std::vector<int> order;
    std::vector<int> piecesLeft;
    // Added from the last part to the first, and a second step for the holders after the first.
    for (int part = static_cast<int>(coClearStep::Statistics); part >= 0; --part)
        coAddClearSceneStep(static_cast<coClearStep>(part), &owner, [&, part] {
            order.push_back(part);
            piecesLeft.push_back(coCircuitPieceCount());
        });
    coAddClearSceneStep(coClearStep::Holders, &owner, [&] { order.push_back(-1); });
    coClearScene();
    EXPECT_EQ(order, (std::vector<int>{0, -1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    // The pieces are there for the holders, the ride and the props, and gone with the track's objects.
    EXPECT_EQ(piecesLeft, (std::vector<int>{3, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(builder.removed.size(), 3u);

    coRemoveClearSceneSteps(&owner);
    coRemoveClearSceneSteps(nullptr); // the parts' own steps stay
    order.clear();
    coCircuitAppend(std::make_unique<coTestLinePiece>(10.0f), false);
    coClearScene();
    EXPECT_EQ(std::tuple(order.empty(), coCircuitPieceCount()), std::tuple(true, 0));
}

TEST(coWorldSwitchesTest, SwitchesReachTheTrackThePropsAndTheirTemplates) {
    coShowingTrackBuilder builder;
    coSetWorldVisible(false);
    EXPECT_FALSE(coPropList::ArePropsShown());
    coSetWorldTextured(false);
    EXPECT_TRUE(coPropTemplateList::AreTexturesStripped());
    coSetWorldVisible(true);
    coSetWorldTextured(true);
    EXPECT_TRUE(coPropList::ArePropsShown());
    EXPECT_FALSE(coPropTemplateList::AreTexturesStripped());
    EXPECT_EQ(builder.shown, (std::vector<bool>{false, true}));
}

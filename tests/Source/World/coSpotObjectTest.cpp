// Spot objects: where they stand, their colour and how the pick finds them.
#include "Source/World/coSpotObject.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "coWorldTestSupport.h"

#include <tuple>

namespace {

class coSpotObjectTest : public coWorldRendererTest {};

} // namespace

TEST_F(coSpotObjectTest, ASpotStandsHighUntilMovedAndTakesHalfItsColourAsAmbient) {
    coSpotObject spot;
    EXPECT_EQ(spot.GetPosition().y, 50.0f);
    spot.SetColor({1, 0.5f, 0, 1});
    const g3dARGBColor ambient = spot.GetMaterial().GetAmbient();
    EXPECT_EQ(std::tuple(ambient.r, ambient.g, ambient.b, ambient.a), std::tuple(0.5f, 0.25f, 0.0f, 0.5f));
}

TEST_F(coSpotObjectTest, ThePickTakesTheNearestSpotAndTheEarlierOnATie) {
    coSpotObject first, second;
    first.SetPosition({0, 0, 10});
    second.SetPosition({0, 0, 10});
    f32 t = -1;
    EXPECT_EQ(coPickObject({0, 0, 0}, {0, 0, 20}, t), &first);
    EXPECT_NEAR(t, 0.5f, 1e-5f);
    second.SetPosition({0, 1.9f, 5});
    EXPECT_EQ(coPickObject({0, 0, 0}, {0, 0, 20}, t), &second);
    first.SetEnabled(false);
    second.SetPosition({0, 2.1f, 5});
    t = -1;
    EXPECT_EQ(coPickObject({0, 0, 0}, {0, 0, 20}, t), nullptr);
    EXPECT_EQ(t, -1.0f);
}

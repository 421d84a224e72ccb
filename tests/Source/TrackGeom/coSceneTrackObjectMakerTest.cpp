#include "Source/TrackGeom/coSceneTrackObjectMaker.h"

#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRendererFixture.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"
#include "Source/Scene/coSceneObjectSet.h"

#include <tuple>

namespace {

class coSceneTrackObjectMakerTest : public g3dRendererFixture {
  protected:
    void SetUp() override {
        g3dRendererFixture::SetUp();
        coSetTrackObjectMaker(&m_maker);
    }
    void TearDown() override {
        coSetTrackObjectMaker(nullptr);
        g3dRendererFixture::TearDown();
    }
    coSceneTrackObjectMaker m_maker;
};

} // namespace

TEST_F(coSceneTrackObjectMakerTest, EachKindBecomesAVisibleObjectOnTheUpdateList) {
    const coTrackObjectPlacement placement{{10, 0, 0}, maRotation(), {2, 2, 2}};
    const struct {
        coTrackObjectKind kind;
        float minX, maxX; // of the world box
    } cases[] = {
        {coTrackObjectKind::Static, -0.5f, 0.5f},
        {coTrackObjectKind::Placed, 9.0f, 11.0f},
        {coTrackObjectKind::Movable, 9.0f, 11.0f},
    };
    {
        coSceneObjectSet set;
        for (const auto& c : cases) {
            coAddTrackObject(set, 0, c.kind, Keep(g3dFragmentManager::CreateBox(1, 1, 1)), placement);
            const scObject& object = *set.GetGroup(0).back();
            EXPECT_EQ(std::tuple(scIsInUpdateList(&object), object.IsVisible()), std::tuple(true, true));
            EXPECT_NEAR(object.GetBoundingBox().minX, c.minX, 1e-5f);
            EXPECT_NEAR(object.GetBoundingBox().maxX, c.maxX, 1e-5f);
        }
        const auto* movable = dynamic_cast<const scSimpleMovableObject*>(set.GetGroup(0).back().get());
        ASSERT_NE(movable, nullptr);
        EXPECT_EQ(std::tuple(movable->GetModel()->IsVisible(), scGetUpdateListCount()), std::tuple(true, 3u));
    }
    // The set takes its objects off the list with it.
    EXPECT_EQ(scGetUpdateListCount(), 0u);
}

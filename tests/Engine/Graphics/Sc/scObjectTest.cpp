#include "../G3d/g3dRendererFixture.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/Sc/scHierarchyObject.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"

#include <array>

namespace {

using Floats6 = std::array<float, 6>;

Floats6 Of(const maBoundingBox& b) {
    return {b.minX, b.maxX, b.minY, b.maxY, b.minZ, b.maxZ};
}

void ExpectBox(const maBoundingBox& box, const Floats6& expected) {
    const Floats6 got = Of(box);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-5f) << i;
}

class scObjectTest : public g3dRendererFixture {
  protected:
    g3dFragment* Box(f32 x, f32 y, f32 z) { return Keep(g3dFragmentManager::CreateBox(x, y, z)); }
};

} // namespace

TEST_F(scObjectTest, ModelIsDrawnWhileVisibleAndNotCulled) {
    scSimpleMovableObject movable(Box(2, 2, 2), 0);
    scStaticObject placed({1, 0, 0}, maRotation(), {1, 1, 1}, Box(2, 2, 2), 1);
    scStaticObject world(Box(2, 2, 2), 2);
    const std::array<std::pair<scObject*, g3dModel*>, 3> objects = {
        {{&movable, movable.GetModel()}, {&placed, placed.GetModel()}, {&world, world.GetModel()}}};
    for (auto [object, model] : objects) {
        // New: visible but not yet drawn; the first call brings the model in line.
        EXPECT_TRUE(object->IsVisible());
        EXPECT_FALSE(object->IsCulled());
        EXPECT_FALSE(object->GetSkipCullOnce());
        EXPECT_FALSE(model->IsVisible());
        object->SetCulled(true);
        object->SetVisible(true);
        EXPECT_FALSE(model->IsVisible());
        object->SetCulled(false);
        EXPECT_TRUE(model->IsVisible());
        object->SetVisible(false);
        EXPECT_FALSE(model->IsVisible());
    }
    // The placed model keeps its placement; a bare object starts with an empty box.
    EXPECT_EQ(static_cast<g3dStaticModel*>(placed.GetModel())->GetWorldMatrix().m[12], 1.0f);
    ExpectBox(placed.GetBoundingBox(), {0, 2, -1, 1, -1, 1});
    struct Bare : scObject {
        void Update(float) override {}
    } bare;
    const maBoundingBox& box = bare.GetBoundingBox();
    EXPECT_TRUE(box.minX > box.maxX && box.minY > box.maxY && box.minZ > box.maxZ);
}

TEST_F(scObjectTest, PlacementMovesTheNodeAndTheWorldBox) {
    scSimpleMovableObject object(Box(2, 2, 2), 0);
    ExpectBox(object.GetBoundingBox(), {-1, 1, -1, 1, -1, 1});
    object.SetPosition({10, 0, 0});
    object.SetScale({2, 2, 2});
    ExpectBox(object.GetBoundingBox(), {8, 12, -2, 2, -2, 2});
    EXPECT_EQ(object.GetModel()->GetNode()->GetLocalMatrix().m[12], 10.0f);
    object.Update(5.0f);
    ExpectBox(object.GetBoundingBox(), {8, 12, -2, 2, -2, 2});

    // A quarter turn about y makes a box long in x long in z: all eight corners count.
    scSimpleMovableObject longX(Box(4, 2, 2), 0);
    longX.SetRotation(maRotation({0, 1, 0}, 1.5707964f));
    ExpectBox(longX.GetBoundingBox(), {-1, 1, -1, 1, -2, 2});
    longX.SetPositionRotation({0, 5, 0}, maRotation());
    ExpectBox(longX.GetBoundingBox(), {-2, 2, 4, 6, -1, 1});

    // A dynamic fragment keeps no box: the world box stays empty rather than turning infinite.
    const maVector3d points[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const u16 indices[3] = {0, 1, 2};
    scSimpleMovableObject dynamic(
        Keep(g3dFragmentManager::CreateFragmentPN(points, points, 3, indices, 3, nullptr, nullptr, 0, true)),
        0);
    dynamic.SetRotation(maRotation({0, 1, 0}, 0.5f));
    const maBoundingBox& box = dynamic.GetBoundingBox();
    EXPECT_TRUE(box.minX > box.maxX && box.minY > box.maxY && box.minZ > box.maxZ);
}

TEST_F(scObjectTest, HierarchyBoxFollowsPoseAndPlacement) {
    // A root fragment node with an animated part: a 2-unit box moved 3 along x.
    g3dHFragment root;
    root.AddChild(std::make_unique<g3dHFragment>(Box(2, 2, 2)));
    root.GetChild(0)->GetLocalMatrix().SetTranslation(3, 0, 0);
    scHierarchyObject object(root, 0);
    ExpectBox(object.GetBoundingBox(), {2, 4, -1, 1, -1, 1});
    object.SetPosition({0, 10, 0});
    ExpectBox(object.GetBoundingBox(), {2, 4, 9, 11, -1, 1});

    anKeyData<maVector3d> positions;
    positions.AddKey(0, {0, 0, 0});
    positions.AddKey(24, {0, 0, 24});
    mayAnimationNode tracks;
    tracks.positions = &positions;
    scGeoFrameAnimation animation(&tracks);
    object.PlayAnimation(animation, 0);
    object.Update(0.5f); // frame 12
    ExpectBox(object.GetBoundingBox(), {-1, 1, 9, 11, 11, 13});
    EXPECT_EQ(root.GetChild(0)->GetLocalMatrix().m[12], 3.0f); // the source tree is not posed

    object.SetVisible(true);
    EXPECT_TRUE(object.GetModel()->IsVisible());
}

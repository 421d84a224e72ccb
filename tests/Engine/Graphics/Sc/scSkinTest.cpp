#include "../G3d/g3dRendererFixture.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"

#include <cmath>

namespace {

// A track node holding a position key (0, p) and, when given, a child of its own.
struct Tracks {
    anKeyData<maVector3d> positions;
    mayAnimationNode node;
    explicit Tracks(const maVector3d& p, bool child = false) {
        positions.AddKey(0, p);
        node.positions = &positions;
        if (child)
            node.children.push_back(std::make_unique<mayAnimationNode>());
    }
};

// A skin of two vertices, (1, 0, 0) and (0, 1, 0): the root joint moves vertex 0 by 0.25, its child,
// 4 up, by 0.75; vertex 1 is influenced by nothing.
class scSkinTest : public g3dRendererFixture {
  protected:
    void SetUp() override {
        g3dRendererFixture::SetUp();
        const std::vector<maVector3d> positions = {{1, 0, 0}, {0, 1, 0}}, normals = {{0, 0, 1}, {0, 0, 1}};
        const u16 indices[3] = {0, 1, 1};
        g3dFragment* fragment = g3dFragmentManager::CreateFragmentPNT(positions.data(), normals.data(), 2,
                                                                      indices, 3, nullptr, nullptr, 0, true);
        skin = std::make_unique<scSingleSkinObject>(fragment, positions, normals, 0);
        auto root = std::make_unique<scJoint>();
        const scJointInfluence rootInfluences[] = {{0, 0.25f}, {7, 1.0f}}, childInfluences[] = {{0, 0.75f}};
        root->SetInfluences(rootInfluences, 2, 0x10000);
        auto child = std::make_unique<scJoint>();
        child->SetTranslation(0, 4, 0);
        child->SetInfluences(childInfluences, 1, 2);
        root->AddChild(std::move(child));
        skin->SetJointTree(std::move(root));
    }
    void TearDown() override {
        skin.reset();
        g3dRendererFixture::TearDown();
    }
    maVector3d Vertex(u32 i) const { return VertexAt<g3dVertexPNT>(*skin->GetFragment(), i).position; }

    std::unique_ptr<scSingleSkinObject> skin;
};

} // namespace

TEST(scFrameAnimation, FramesRunFromTheFirstToTheLastAndLoop) {
    struct Case {
        float first, last, duration, time;
        bool loop;
        float frame;
    } cases[] = {
        {0, 48, 0, 13, true, 24},     {0, 48, 0, 13, false, 48}, {0, 48, 0, 11, true, 24},
        {0, -1, 30, 12, true, 18},    {-5, 48, 0, 10, false, 0}, {12, 12, 0, 13, true, 12},
        {12, 36, 0, 11.5f, true, 24},
    };
    for (const Case& c : cases) {
        anFrameAnimation animation;
        animation.SetFrames(c.first, c.last);
        animation.SetDuration(c.duration);
        animation.SetLooping(c.loop);
        const auto instance = animation.CreateInstance(10.0f);
        EXPECT_FLOAT_EQ(static_cast<anFrameAnimInstance&>(*instance).GetFrame(c.time), c.frame) << c.time;
    }
}

TEST(scJoint, OnlyChangesMarkAJointDirty) {
    scJoint joint;
    maVector3d out[1] = {{0, 0, 0}};
    const maVector3d bind[1] = {{0, 0, 0}};
    joint.Update(bind, out, maMatrix4d());
    EXPECT_FALSE(joint.IsDirty());
    joint.SetTranslation(0, 0, 0);
    joint.SetRotation(maRotation(0, 0, 0, 1));
    EXPECT_FALSE(joint.IsDirty());
    joint.SetRotation(maRotation(0, 0, 0, -1));
    EXPECT_TRUE(joint.IsDirty());
}

TEST_F(scSkinTest, WeightsMixTheJointsPositions) {
    skin->GetJointTree()->SetTranslation(2, 0, 0);
    skin->ApplySkin();
    // 0.25 x (3, 0, 0) + 0.75 x (3, 4, 0); the influence on vertex 7 was dropped.
    EXPECT_EQ(Vertex(0), maVector3d(3, 3, 0));
    EXPECT_EQ(Vertex(1), maVector3d(0, 0, 0));
    EXPECT_EQ(VertexAt<g3dVertexPNT>(*skin->GetFragment(), 0).normal, maVector3d(0, 0, 1));
    EXPECT_EQ(skin->GetLocalBox().GetMax().y, 3.0f);

    // The placement moves the model's node and the world box, not the skinned vertices.
    skin->SetPosition({0, 0, 5});
    EXPECT_EQ(skin->GetModel()->GetNode()->GetLocalMatrix().m[14], 5.0f);
    EXPECT_EQ(skin->GetBoundingBox().minZ, 5.0f);
    EXPECT_EQ(skin->GetBoundingBox().maxX, 3.0f);
    EXPECT_EQ(Vertex(0), maVector3d(3, 3, 0));
}

TEST_F(scSkinTest, CrossFadesBlendAndFinish) {
    Tracks a({0, 0, 0}, true), b({8, 0, 0});
    scGeoFrameAnimation first(&a.node), second(&b.node);
    skin->PlayAnimation(first, 0);
    skin->CrossFadeAnimation(second, 0, 0.5f);
    skin->Update(0.25f);
    EXPECT_EQ(skin->GetJointTree()->GetTranslation().x, 4.0f);
    skin->Update(0.5f);
    EXPECT_FALSE(skin->IsBlending());
    EXPECT_EQ(skin->GetJointTree()->GetTranslation().x, 8.0f);

    // A blend without duration finishes at once, without NaN.
    skin->CrossFadeAnimation(first, 1, 0);
    skin->Update(1);
    EXPECT_EQ(skin->GetJointTree()->GetTranslation().x, 0.0f);
    EXPECT_FALSE(skin->IsBlending());

    // An animation of another kind plays nothing.
    anFrameAnimation plain;
    skin->PlayAnimation(plain, 0);
    EXPECT_FALSE(skin->IsPlaying());
}

TEST(scHierarchyPose, NodesTakeRotationOrientationThenPosition) {
    Tracks a({1, 2, 3}, true), b({3, 2, 1});
    maRotation quarter;
    quarter.SetEuler(0, 0, 1.5707964f);
    anKeyData<maRotation> rotations;
    rotations.AddKey(0, quarter);
    a.node.children[0]->rotations = &rotations;
    scHJoint root;
    root.SetOrientation(0, 0, 1.5707964f);
    root.AddChild(std::make_unique<scHJoint>());
    root.AddChild(std::make_unique<scHJoint>());
    root.GetChild(1)->GetLocalMatrix().m[12] = 9;
    scPoseHierarchy(root, {false, &a.node, nullptr, 0, 0, 0});
    // The root's orientation turns x toward y, then the position moves it.
    EXPECT_NEAR(root.GetLocalMatrix().m[1], 1.0f, 1e-6f);
    EXPECT_EQ(root.GetLocalMatrix().GetTranslation(), maVector3d(1, 2, 3));
    EXPECT_NEAR(root.GetChild(0)->GetLocalMatrix().m[1], 1.0f, 1e-6f);
    EXPECT_EQ(root.GetChild(1)->GetLocalMatrix().m[12], 9.0f); // no track node

    // Halfway across to b, whose tree has no children: the child blends toward the identity.
    scPoseHierarchy(root, {true, &a.node, &b.node, 0, 0, 0.5f});
    EXPECT_EQ(root.GetLocalMatrix().GetTranslation(), maVector3d(2, 2, 2));
    EXPECT_NEAR(root.GetChild(0)->GetLocalMatrix().m[1], std::sqrt(0.5f), 1e-6f);
}

#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "g3dFragmentFixture.h"

#include <numbers>

namespace {

std::unique_ptr<g3dTransformTreeNode> Named(const char* name, g3dFragment* fragment = nullptr) {
    auto node = std::make_unique<g3dHFragment>(fragment);
    node->SetName(name);
    return node;
}

// Counts its deletions, to see trees go.
struct CountedNode : g3dTransformTreeNode {
    explicit CountedNode(int& deleted) : m_deleted(deleted) {}
    ~CountedNode() override { ++m_deleted; }
    int& m_deleted;
};

class g3dTransformTreeTest : public g3dFragmentFixture {
  protected:
    g3dFragment* MakeFragment(g3dMaterial* material) {
        const maVector3d corners[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        const u16 triangle[3] = {0, 1, 2};
        return Keep(g3dFragmentManager::CreateFragmentPNT(corners, corners, 3, triangle, 3, &material,
                                                          nullptr, 1, false));
    }
};

} // namespace

TEST_F(g3dTransformTreeTest, NamesAreFoundInPreOrderAndMatricesChildFirst) {
    // An unnamed root over "a" (with "b" below it), "b" and an unnamed leaf.
    auto root = Named(nullptr);
    root->AddChild(Named("a"));
    root->GetChild(0)->AddChild(Named("b"));
    root->AddChild(Named("b"));
    root->AddChild(Named(""));
    g3dTransformTreeNode* deepB = root->GetChild(0)->GetChild(0);
    EXPECT_EQ(root->GetName(), nullptr);
    EXPECT_EQ(root->FindByName("b"), deepB);
    EXPECT_EQ(root->FindByName("B"), nullptr);
    EXPECT_EQ(root->FindByName(""), root.get());
    EXPECT_EQ(root->GetChild(2)->FindByName(nullptr), root->GetChild(2));

    // (1, 0, 0) under (0, 2, 0) is (1, 2, 0); a quarter turn of the root carries it to (0, 3, 0).
    root->GetLocalMatrix().SetTranslation(0, 2, 0);
    deepB->GetLocalMatrix().SetTranslation(1, 0, 0);
    maMatrix4d world;
    deepB->GetWorldMatrix(world);
    EXPECT_EQ(world.GetTranslation(), maVector3d(1, 2, 0));
    root->GetLocalMatrix().SetRotationZ(std::numbers::pi_v<f32> / 2);
    root->GetLocalMatrix().ReplaceTranslation({0, 2, 0});
    deepB->GetWorldMatrix(world);
    EXPECT_NEAR(world.GetTranslation().x, 0.0f, 1e-6f);
    EXPECT_NEAR(world.GetTranslation().y, 3.0f, 1e-6f);
}

TEST_F(g3dTransformTreeTest, CopiesShareFragmentsAndRemovalKeepsTheOrder) {
    g3dMaterial opaque, translucent;
    translucent.SetDiffuse({1, 1, 1, 0.5f});
    g3dFragment* shared = MakeFragment(&opaque);
    auto root = Named("root");
    for (const char* name : {"left", "middle", "right"}) {
        root->AddChild(Named(name, shared));
        root->GetChild(root->GetChildCount() - 1)->GetLocalMatrix().SetTranslation(1, 2, 3);
    }
    EXPECT_FALSE(g3dHasTransparentMaterial(*root));

    std::unique_ptr<g3dTransformTreeNode> clone = root->CloneTree();
    ASSERT_EQ(clone->GetChildCount(), 3u);
    const auto* cloned = dynamic_cast<const g3dHFragment*>(clone->GetChild(1));
    ASSERT_NE(cloned, nullptr);
    EXPECT_EQ(cloned->GetFragment(), shared);
    EXPECT_STREQ(cloned->GetName(), "middle");
    EXPECT_EQ(cloned->GetLocalMatrix().GetTranslation(), maVector3d(1, 2, 3));
    EXPECT_EQ(cloned->GetParent(), clone.get());
    clone.reset();
    EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), shared);

    // A plain copy of the shape, and matrices taken back from it.
    std::unique_ptr<g3dTransformTreeNode> pose = root->CopyStructure();
    EXPECT_EQ(pose->GetName(), nullptr);
    EXPECT_EQ(dynamic_cast<g3dHFragment*>(pose->GetChild(2)), nullptr);
    pose->GetChild(2)->GetLocalMatrix().SetTranslation(7, 7, 7);
    root->CopyMatricesFrom(*pose);
    EXPECT_EQ(root->GetChild(2)->GetLocalMatrix().GetTranslation(), maVector3d(7, 7, 7));

    g3dTransformTreeNode* middle = root->GetChild(1);
    std::unique_ptr<g3dTransformTreeNode> removed = root->RemoveChild(middle);
    EXPECT_EQ(removed.get(), middle);
    EXPECT_EQ(removed->GetParent(), nullptr);
    EXPECT_STREQ(root->GetChild(1)->GetName(), "right");
    EXPECT_EQ(root->RemoveChild(middle), nullptr);

    // Transparency anywhere below counts; null materials do not.
    g3dFragment* glass = MakeFragment(&translucent);
    glass->SetMaterial(nullptr, 2);
    root->GetChild(1)->AddChild(Named("glass", glass));
    EXPECT_TRUE(g3dHasTransparentMaterial(*root));
    EXPECT_FALSE(static_cast<g3dHFragment*>(root->GetChild(0))->HasTransparentMaterial());
}

TEST_F(g3dTransformTreeTest, DynamicModelsOwnTheirTreesButNotTheFragments) {
    int deleted = 0;
    g3dMaterial material;
    g3dFragment* fragment = MakeFragment(&material);
    {
        g3dDynamicModel model;
        EXPECT_FALSE(model.IsVisible());
        model.SetNode(std::make_unique<CountedNode>(deleted));
        model.GetNode()->AddChild(Named("part", fragment));
        model.SetNode(std::make_unique<CountedNode>(deleted));
        EXPECT_EQ(deleted, 1);
    }
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), fragment);
}

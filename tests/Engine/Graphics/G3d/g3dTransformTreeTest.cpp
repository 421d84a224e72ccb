#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "g3dFragmentFixture.h"

#include <cmath>
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

TEST_F(g3dTransformTreeTest, NamesAreFoundInPreOrder) {
    // root ("", a) -> child "a" (with "b" below), child "b", child unnamed
    auto root = Named(nullptr);
    auto first = Named("a");
    first->AddChild(Named("b"));
    g3dTransformTreeNode* deepB = first->GetChild(0);
    g3dTransformTreeNode* a = first.get();
    root->AddChild(std::move(first));
    root->AddChild(Named("b"));
    root->AddChild(Named(""));
    EXPECT_EQ(root->GetName(), nullptr);
    EXPECT_EQ(root->FindByName("a"), a);
    EXPECT_EQ(root->FindByName("b"), deepB);
    EXPECT_EQ(root->FindByName("B"), nullptr);
    EXPECT_EQ(root->FindByName(""), root.get());
    EXPECT_EQ(root->GetChild(1)->FindByName(nullptr), nullptr);
    EXPECT_EQ(root->GetChild(2)->FindByName(nullptr), root->GetChild(2));
    EXPECT_STREQ(deepB->GetName(), "b");
    EXPECT_EQ(deepB->GetParent(), a);
}

TEST_F(g3dTransformTreeTest, WorldMatricesTakeTheChildFirstThenEachParent) {
    auto root = std::make_unique<g3dTransformTreeNode>();
    root->GetLocalMatrix().SetTranslation(0, 2, 0);
    auto child = std::make_unique<g3dTransformTreeNode>();
    child->GetLocalMatrix().SetTranslation(1, 0, 0);
    g3dTransformTreeNode* leaf = child.get();
    root->AddChild(std::move(child));
    maMatrix4d world;
    leaf->GetWorldMatrix(world);
    EXPECT_EQ(world.GetTranslation(), maVector3d(1, 2, 0));
    // A quarter turn of the root about z carries the child's offset to +y.
    root->GetLocalMatrix().SetRotationZ(std::numbers::pi_v<f32> / 2);
    root->GetLocalMatrix().ReplaceTranslation({0, 2, 0});
    leaf->GetWorldMatrix(world);
    EXPECT_NEAR(world.GetTranslation().x, 0.0f, 1e-6f);
    EXPECT_NEAR(world.GetTranslation().y, 3.0f, 1e-6f);
}

TEST_F(g3dTransformTreeTest, CopiesShareFragmentsAndRemovalKeepsTheOrder) {
    g3dMaterial opaque;
    g3dMaterial translucent;
    translucent.SetDiffuse({1, 1, 1, 0.5f});
    g3dFragment* shared = MakeFragment(&opaque);
    auto root = std::make_unique<g3dTransformTreeNode>();
    root->SetName("root");
    for (const char* name : {"left", "middle", "right"}) {
        root->AddChild(Named(name, shared));
        root->GetChild(root->GetChildCount() - 1)->GetLocalMatrix().SetTranslation(1, 2, 3);
    }
    EXPECT_FALSE(g3dHasTransparentMaterial(*root));

    std::unique_ptr<g3dTransformTreeNode> clone = root->CloneTree();
    ASSERT_EQ(clone->GetChildCount(), 3u);
    EXPECT_STREQ(clone->GetName(), "root");
    EXPECT_EQ(clone->GetParent(), nullptr);
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
    EXPECT_STREQ(root->GetChild(0)->GetName(), "left");
    EXPECT_STREQ(root->GetChild(1)->GetName(), "right");
    EXPECT_EQ(root->RemoveChild(middle), nullptr);
    EXPECT_EQ(root->GetChildCount(), 2u);

    // Transparency anywhere below counts, null materials and fragments do not.
    g3dFragment* seeThrough = MakeFragment(&translucent);
    seeThrough->SetMaterial(nullptr, 2);
    root->GetChild(1)->AddChild(Named("glass", seeThrough));
    EXPECT_TRUE(g3dHasTransparentMaterial(*root));
    EXPECT_FALSE(static_cast<g3dHFragment*>(root->GetChild(0))->HasTransparentMaterial());
    EXPECT_FALSE(g3dHasTransparentMaterial(*Named("empty")));
}

TEST_F(g3dTransformTreeTest, ModelsOwnTheirTreesButNotTheFragments) {
    int deleted = 0;
    {
        g3dDynamicModel unset;
        EXPECT_FALSE(unset.IsVisible());
        EXPECT_EQ(unset.GetNode(), nullptr);
    }
    g3dMaterial material;
    g3dFragment* fragment = MakeFragment(&material);
    {
        g3dDynamicModel model;
        model.SetNode(std::make_unique<CountedNode>(deleted));
        model.GetNode()->AddChild(Named("part", fragment));
        model.SetNode(std::make_unique<CountedNode>(deleted));
        EXPECT_EQ(deleted, 1);
    }
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), fragment);

    maMatrix4d world;
    world.SetTranslation(4, 5, 6);
    const g3dStaticModel placed(world, fragment);
    EXPECT_EQ(placed.GetWorldMatrix().GetTranslation(), maVector3d(4, 5, 6));
    EXPECT_EQ(placed.GetFragment(), fragment);
}

#include "Tools/Model/toolAnimatedModels.h"
#include "../../Engine/Graphics/G3d/g3dRendererFixture.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Tools/Model/toolPropModels.h"

namespace {

class NoTextures : public g3dTextureLoader {
  public:
    g3dTexture* GetTexture(const envString&) override { return nullptr; }
    void ReleaseTexture(g3dTexture*) override {}
};

class toolModelsTest : public g3dRendererFixture {};

} // namespace

// The generated models load through the engine's readers, and the animation bends the tube's tip.
TEST_F(toolModelsTest, TheDefaultModelsLoadAndTheTubeBends) {
    fsTestFolder folder;
    toolWriteAnimatedModels(folder.Path());
    NoTextures loader;
    mayModelParts parts;
    mayMesh mesh;
    std::unique_ptr<scJoint> root;
    mayReadSingleSkin(folder.Locator("skintube.mx"), loader, parts, mesh, root);
    ASSERT_TRUE(root);
    ASSERT_EQ(root->GetChildCount(), 1u);
    EXPECT_EQ(root->GetInfluences().size(), mesh.positions.size());

    mayAnimationTree tree;
    mayAnimationTracks tracks;
    mayReadAnimation(folder.Locator("skintubebend.mx"), tree, tracks);
    g3dFragment* fragment = g3dFragmentManager::CreateFragmentPNT(
        mesh.positions.data(), mesh.normals.data(), static_cast<u32>(mesh.positions.size()),
        mesh.indices.data(), static_cast<u32>(mesh.indices.size()), nullptr, nullptr, 0, true);
    scSingleSkinObject skin(fragment, mesh.positions, mesh.normals, 0);
    skin.SetJointTree(std::move(root));
    scGeoFrameAnimation bend(tree.root.get());
    EXPECT_EQ(bend.GetDuration(), 48.0f);
    // Key times are frames in every generated animation: the fountain's two-second sway and the windmill's
    // four-second turn as well.
    toolWriteIronvalePropModels(folder.Path());
    for (const auto& [name, frames] :
         {std::pair("fountainsway.mx", 48.0f), std::pair("windmillturn.mx", 96.0f)}) {
        mayAnimationTree propTree;
        mayAnimationTracks propTracks;
        mayReadAnimation(folder.Locator(name), propTree, propTracks);
        EXPECT_EQ(scGeoFrameAnimation(propTree.root.get()).GetDuration(), frames) << name;
    }
    skin.PlayAnimation(bend, 0);
    skin.Update(0);
    EXPECT_NEAR(skin.GetLocalBox().GetMax().y, 2.0f, 1e-5f);
    skin.Update(1);
    EXPECT_LT(skin.GetLocalBox().GetMax().y, 1.9f);

    g3dTransformTreeNode arm;
    mayReadHierarchy(folder.Locator("arm.mhx"), loader, arm, parts, nullptr);
    ASSERT_EQ(arm.GetChildCount(), 1u);
    EXPECT_NE(dynamic_cast<scHJoint*>(arm.GetChild(0)->GetChild(0)), nullptr);
    EXPECT_EQ(parts.fragments.size(), 2u);

    // Half way through its turn the windmill's sails stand upside down on their joint, which keeps its place.
    g3dTransformTreeNode windmill;
    mayReadHierarchy(folder.Locator("windmill.mhx"), loader, windmill, parts, nullptr);
    mayAnimationTree turnTree;
    mayAnimationTracks turnTracks;
    mayReadAnimation(folder.Locator("windmillturn.mx"), turnTree, turnTracks);
    const maMatrix4d& sails = windmill.GetChild(0)->GetChild(0)->GetLocalMatrix();
    const maMatrix4d rest = sails;
    scPoseHierarchy(*windmill.GetChild(0), scPose{.a = turnTree.root.get(), .fa = 48.0f});
    EXPECT_EQ(std::vector(sails.m + 12, sails.m + 15), std::vector(rest.m + 12, rest.m + 15));
    EXPECT_NEAR(sails.m[0], -1.0f, 1e-4f);
    for (g3dFragment* part : parts.fragments)
        g3dFragmentManager::DestroyFragment(part);
}

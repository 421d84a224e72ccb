// Model loads and holders of the world, with textures through the world's cache.
#include "Source/Scene/coModelHolder.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/May/mayModelBytes.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/World/coWorldTestSupport.h"

#include <tuple>

namespace {

class coModelHolderTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        const std::string png =
            g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')});
        m_folder.Write("Texture/a.png", png);
        m_folder.Write("Texture/b.png", png);
    }
    void TearDown() override {
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        coWorldDeviceTest::TearDown();
    }
    fsLocator Model(const std::string& name, const std::string& chunks) {
        return m_folder.Write(name, mayModelBytes::File(chunks));
    }
    fsLocator Textures() const { return m_folder.Locator("Texture"); }

    fsTestFolder m_folder;
};

TEST_F(coModelHolderTest, AHolderKeepsWhatItsLoadMadeUntilItGoes) {
    const fsLocator file = Model("hill.mx", mayModelBytes::Fragment(3, 1, {"a.png", "b.png"}) +
                                                mayModelBytes::Fragment(3, 2, {"a.png"}));
    for (const bool tree : {false, true}) {
        auto holder = std::make_unique<coModelHolder>(file, Textures(), tree);
        EXPECT_EQ(std::tuple(holder->GetModelCount(), holder->GetMaterialCount(),
                             holder->GetMaterial(0)->GetStageCount(), holder->GetTree().GetTriangleCount()),
                  std::tuple(2, 2, 2u, tree ? 3u : 0u));
        g3dTexture* a = holder->GetMaterial(1)->GetStage(0).texture;
        EXPECT_EQ(coGetTextureCache().GetCount(a), 2);
        holder->SetPartFlag(false);
        EXPECT_EQ(holder->GetPartFlag(1), 0);
        holder.reset();
        EXPECT_EQ(std::tuple(coGetTextureCache().GetEntryCount(), g3dFragmentManager::GetFirstFragment()),
                  std::tuple(0u, nullptr));
    }
}

TEST_F(coModelHolderTest, AFailedLoadLeavesNothingBehindAndTheListsAsTheyWere) {
    const fsLocator good = Model("good.mx", mayModelBytes::Fragment(3, 1, {"a.png"}));
    const fsLocator missingTexture = Model("bad.mx", mayModelBytes::Fragment(3, 1, {"a.png"}) +
                                                         mayModelBytes::Fragment(3, 1, {"b.png", "c.png"}));
    const fsLocator cut = Model("cut.mx", mayModelBytes::Fragment(3, 1, {"a.png"}).substr(0, 40));
    EXPECT_THROW(coModelHolder(missingTexture, Textures(), true), fsFileDoesntExistX);
    EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
    EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);

    mayModelParts parts;
    geoKDTree tree;
    coLoadStaticModel(good, Textures(), parts, &tree);
    EXPECT_THROW(coLoadStaticModel(missingTexture, Textures(), parts, &tree), fsFileDoesntExistX);
    EXPECT_THROW(coLoadStaticModel(cut, Textures(), parts, &tree), mayInvalidModelFileX);
    EXPECT_EQ(std::tuple(parts.fragments.size(), parts.materials.size(), tree.GetTriangleCount()),
              std::tuple(1u, 1u, 1u));
    ASSERT_EQ(parts.textures.size(), 1u);
    EXPECT_EQ(coGetTextureCache().GetCount(parts.textures[0]), 1);
    g3dFragmentManager::DestroyFragment(parts.fragments[0]);
    coReleaseTexture(parts.textures[0]);
}

TEST_F(coModelHolderTest, HierarchiesAndSkinsThatFailLeaveTheirTargetsAlone) {
    using namespace mayModelBytes;
    const fsLocator tree =
        Model("tree.mhx", Chunk("HIER", Chunk("HLEV", Name("top") + Fragment(3, 1, {"a.png"}) +
                                                          Chunk("HLEV", Fragment(3, 1, {"no.png"})))));
    const fsLocator skin = Model("skin.mx", Chunk("SKIN", Fragment(3, 1, {"a.png", "no.png"})));
    g3dHFragment parent;
    mayModelParts parts;
    geoKDTree triangles;
    EXPECT_THROW(coLoadHierarchyModel(tree, Textures(), parent, parts, &triangles), fsFileDoesntExistX);
    EXPECT_EQ(parent.GetChildCount(), 0u);
    mayMesh mesh;
    mesh.indices = {7};
    std::unique_ptr<scJoint> root;
    EXPECT_THROW(coLoadSingleSkin(skin, Textures(), parts, mesh, root), fsFileDoesntExistX);
    EXPECT_EQ(mesh.indices, std::vector<u16>{7});
    EXPECT_TRUE(parts.fragments.empty() && parts.materials.empty() && parts.textures.empty());
    EXPECT_EQ(triangles.GetTriangleCount(), 0u);
}

TEST_F(coModelHolderTest, TheInstalledLoaderMakesTheHolders) {
    const fsLocator file = Model("m.mx", mayModelBytes::Fragment(3, 1));
    EXPECT_EQ(coLoadModelHolder(file, Textures(), false)->GetModelCount(), 1);
    struct Empty : coModelHolderLoader {
        std::unique_ptr<coModelHolder> Load(const fsLocator&, const fsLocator&, bool) override {
            return std::make_unique<coModelHolder>();
        }
    } empty;
    coSetModelHolderLoader(&empty);
    EXPECT_EQ(coLoadModelHolder(file, Textures(), false)->GetModelCount(), 0);
    coSetModelHolderLoader(nullptr);
}

} // namespace

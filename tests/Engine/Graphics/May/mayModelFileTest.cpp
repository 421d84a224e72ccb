#include "Engine/Graphics/May/mayModelFile.h"
#include "../G3d/g3dFragmentFixture.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/May/mayTriangleSink.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "mayModelBytes.h"

#include <cmath>
#include <functional>
#include <limits>
#include <map>

using namespace mayModelBytes;

namespace {

struct TestTexture : g3dTexture {};

// Knows "wood.png" only.
class MapLoader : public g3dTextureLoader {
  public:
    g3dTexture* GetTexture(const envString& name) override {
        return name == envString("wood.png") ? &wood : nullptr;
    }
    void ReleaseTexture(g3dTexture*) override {}
    TestTexture wood;
};

struct CountingSink : mayTriangleSink {
    void Add(g3dFragment*, const maVector3d*, u32, const u16*, u32 indexCount) override {
        indices += indexCount;
    }
    u32 indices = 0;
};

class mayModelFileTest : public g3dFragmentFixture {
  protected:
    void TearDown() override {
        for (g3dFragment* fragment : parts.fragments)
            g3dFragmentManager::DestroyFragment(fragment);
        g3dFragmentFixture::TearDown();
    }
    fsLocator Write(const std::string& bytes) { return m_folder.Write("model", bytes); }

    fsTestFolder m_folder;
    MapLoader loader;
    mayModelParts parts;
};

} // namespace

TEST_F(mayModelFileTest, StaticModelsGiveOneFragmentPerTopLevelChunk) {
    CountingSink sink;
    std::string second = Fragment(3, 2);
    second.replace(0, 4, "XXXX");
    mayReadStaticModel(Write(File(Fragment(3, 1, {"wood.png", "gone.png"}) + second)), loader, parts, &sink);
    ASSERT_EQ(parts.fragments.size(), 2u);
    EXPECT_EQ(parts.fragments[0]->GetIndexCount(), 3u);
    EXPECT_EQ(parts.fragments[1]->GetIndexCount(), 6u);
    EXPECT_EQ(sink.indices, 9u);
    ASSERT_EQ(parts.materials.size(), 2u);
    EXPECT_EQ(parts.textures, std::vector<g3dTexture*>{&loader.wood});
    ASSERT_EQ(parts.materials[0].material->GetStageCount(), 1u);
    EXPECT_EQ(parts.fragments[0]->GetMaterial(0), parts.materials[0].material.get());
}

TEST_F(mayModelFileTest, HierarchiesReadTheirFirstLevel) {
    Body matrix;
    for (int i = 0; i < 16; ++i)
        matrix.Le(f32(i));
    const std::string level =
        Chunk("HLEV", Name("body") + Fragment(3, 1) + Chunk("HTRN", matrix.Str()) + Fragment(3, 2) +
                          Chunk("HJNT", Name("arm") + Chunk("HJOR", Body().Floats({0, 0, 1.5f}).Str())) +
                          Chunk("ASKY", "") + Chunk("HLEV", ""));
    g3dTransformTreeNode root;
    mayReadHierarchy(Write(File(Chunk("MHIE", level + level))), loader, root, parts, nullptr);
    ASSERT_EQ(root.GetChildCount(), 1u);
    auto& body = dynamic_cast<g3dHFragment&>(*root.GetChild(0));
    EXPECT_STREQ(body.GetName(), "body");
    EXPECT_EQ(body.GetLocalMatrix().m[13], 13.0f);
    ASSERT_EQ(parts.fragments.size(), 2u);
    EXPECT_EQ(body.GetFragment(), parts.fragments[1]);
    ASSERT_EQ(body.GetChildCount(), 2u);
    auto& arm = dynamic_cast<scHJoint&>(*body.GetChild(0));
    EXPECT_NEAR(arm.GetOrientation().m[0], std::cos(1.5f), 1e-6f);
    EXPECT_EQ(arm.GetLocalMatrix().m[13], 0.0f);
    EXPECT_EQ(dynamic_cast<g3dHFragment&>(*body.GetChild(1)).GetFragment(), nullptr);

    g3dTransformTreeNode empty;
    mayReadHierarchy(Write(File(Chunk("MHIE", Name("x") + level))), loader, empty, parts, nullptr);
    EXPECT_EQ(empty.GetChildCount(), 0u);
}

TEST_F(mayModelFileTest, SkinInfluencesFollowTheVerticesMadeFromAStoredPosition) {
    mayMesh mesh;
    std::unique_ptr<scJoint> root;
    const std::string joints = Chunk("JOIN", Name("hip") + JointData({{0, 0.5f}, {3, 1.0f}}) +
                                                 Chunk("JOIN", JointData({{1, 1.0f}})));
    mayReadSingleSkin(Write(File(Chunk("MSSK", joints + Fragment(4, 3, {"wood.png"})))), loader, parts, mesh,
                      root);
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->GetName(), "hip");
    EXPECT_EQ(mesh.positions.size(), 9u);        // positions 0 to 2, each with three normals
    ASSERT_EQ(root->GetInfluences().size(), 3u); // stored position 3 made no vertex
    for (const scJointInfluence& influence : root->GetInfluences()) {
        EXPECT_EQ(influence.weight, 0.5f);
        EXPECT_EQ(mesh.positions[influence.vertex].x, 0.0f);
    }
    EXPECT_EQ(dynamic_cast<scJoint&>(*root->GetChild(0)).GetInfluences().size(), 3u);
    EXPECT_EQ(root->GetTranslation().y, 2.0f);
    EXPECT_TRUE(mesh.materials.empty());
    EXPECT_EQ(parts.textures.size(), 1u);
    EXPECT_TRUE(parts.fragments.empty());

    std::unique_ptr<scJoint> none;
    mayReadSingleSkin(Write(File(Chunk("MSSK", Fragment(3, 1)))), loader, parts, mesh, none);
    EXPECT_FALSE(none);
    EXPECT_EQ(mesh.positions.size(), 3u);
}

TEST(mayAnimationFile, RotationKeysAreSplitAtHalfTurns) {
    fsTestFolder folder;
    folder.Write("anim", File(Chunk("ANIH", Chunk("ANLV", Keys("ARKY", {{0, 0, 0, 0}, {0, 4, 0, 1}}) +
                                                              Keys("APKY", {}) + Chunk("ASKY", "junk") +
                                                              Chunk("ANLV", Keys("APKY", {{1, 2, 3, 5}}))))));
    mayAnimationTree tree;
    mayAnimationTracks tracks;
    mayReadAnimation(folder.Locator("anim"), tree, tracks);
    ASSERT_TRUE(tree.root);
    const mayAnimationNode& root = *tree.root;
    EXPECT_EQ(root.positions, nullptr);
    ASSERT_NE(root.rotations, nullptr);
    maRotation half;
    half.SetEuler(0, 2, 0);
    const maRotation mid = root.rotations->Evaluate(0.5f);
    EXPECT_EQ(mid.y, half.y);
    EXPECT_EQ(mid.w, half.w);
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0]->parent, &root);
    EXPECT_EQ(root.children[0]->positions->Evaluate(9).z, 3.0f);
    EXPECT_EQ(tracks.positions.size(), 1u);

    // A second read reuses the root.
    mayReadAnimation(folder.Locator("anim"), tree, tracks);
    EXPECT_EQ(tree.rootCount, 1u);
    EXPECT_EQ(tracks.rotations.size(), 2u);
}

// Malformed files: the static and skin readers throw their own exception with the file, the hierarchy
// and animation readers the chunk reader's; every cut of a good file throws too.
TEST_F(mayModelFileTest, MalformedFilesThrowTheReadersException) {
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const f32 inf = std::numeric_limits<f32>::infinity();
    g3dTransformTreeNode root;
    mayMesh mesh;
    std::unique_ptr<scJoint> joint;
    mayAnimationTree tree;
    mayAnimationTracks tracks;
    enum Kind { Static, Hierarchy, Skin, Animation };
    const std::function<void(const fsLocator&)> read[] = {
        [&](const fsLocator& l) { mayReadStaticModel(l, loader, parts, nullptr); },
        [&](const fsLocator& l) { mayReadHierarchy(l, loader, root, parts, nullptr); },
        [&](const fsLocator& l) { mayReadSingleSkin(l, loader, parts, mesh, joint); },
        [&](const fsLocator& l) { mayReadAnimation(l, tree, tracks); },
    };
    const auto level = [](const std::string& keys) { return File(Chunk("ANIH", Chunk("ANLV", keys))); };
    const auto nested = [](const char* id, std::string inner) {
        for (int i = 0; i < 300; ++i)
            inner = Chunk(id, inner);
        return inner;
    };
    const std::pair<Kind, std::string> cases[] = {
        {Static, File(Fragment(3, 21846))}, // 65,538 indices: more than a fragment holds
        {Skin, File(Chunk("MSSK", Chunk("JOIN", JointData({{0, 1}}, 2))))},
        {Skin, File(Chunk("MSSK", Chunk("JOIN", JointData({{0, nan}}))))},
        {Hierarchy, File(Chunk("MHIE", Chunk("HLEV", Chunk("HTRN", Body().Floats({1, inf}).Str()))))},
        {Skin, File(Chunk("MSSK", nested("JOIN", "")))},
        {Hierarchy, File(Chunk("MHIE", nested("HLEV", "")))},
        {Animation, File(Chunk("ANIH", nested("ANLV", "")))},
        {Animation, level(Keys("APKY", {{0, 0, 0, 0}}, 2))},
        {Animation, level(Keys("ARKY", {{0, 0, 0, 0}}, 300))},
        {Animation, level(Keys("ARKY", {{0, 0, 0, 0}, {nan, 0, 0, 1}}))},
        {Animation, level(Keys("ARKY", {{0, 0, 0, 0}, {0, 0, 0, nan}}))},
        {Animation, level(Keys("ARKY", {{0, 0, 0, 0}, {3e38f, 0, 0, 1}}))},
        {Animation, level(Keys("ARKY", {{-3e38f, 0, 0, 0}, {3e38f, 0, 0, 1}}))},
        {Animation, level(Keys("ARKY", {{0, 0, 0, 0}, {0, 0, 65536 * 3.1416f, 1}}))},
    };
    for (const auto& [kind, bytes] : cases) {
        const fsLocator locator = Write(bytes);
        if (kind == Skin || kind == Static) {
            try {
                read[kind](locator);
                ADD_FAILURE() << bytes.size();
            } catch (const mayInvalidModelFileX& x) {
                EXPECT_EQ(x.GetCode(), 0xE01D0001u);
                EXPECT_EQ(x.GetLocator(), locator);
                EXPECT_NE(x.GetText().find("model"), std::string::npos);
            }
        } else {
            EXPECT_THROW(read[kind](locator), chInvalidChunkX) << bytes.size();
        }
    }
    // A pair just inside the bound is read.
    read[Animation](Write(level(Keys("ARKY", {{0, 0, 0, 0}, {0, 0, 1000 * 3.1416f, 1}}))));

    const std::pair<Kind, std::string> good[] = {
        {Static, File(Fragment(3, 1))},
        {Hierarchy,
         File(Chunk("MHIE", Chunk("HJNT", Name("a") + Chunk("HJOR", Body().Floats({0, 0, 0}).Str()) +
                                              Fragment(3, 1))))},
        {Skin, File(Chunk("MSSK", Chunk("JOIN", JointData({{0, 1}})) + Fragment(3, 1)))},
        {Animation, level(Keys("ARKY", {{0, 0, 0, 0}, {0, 7, 0, 1}}) + Keys("APKY", {{0, 0, 0, 0}}))},
    };
    for (const auto& [kind, bytes] : good)
        for (size_t cut = 9; cut < bytes.size(); ++cut)
            if (kind == Skin || kind == Static)
                EXPECT_THROW(read[kind](Write(bytes.substr(0, cut))), mayInvalidModelFileX)
                    << kind << " " << cut;
            else
                EXPECT_THROW(read[kind](Write(bytes.substr(0, cut))), chInvalidChunkX) << kind << " " << cut;
}

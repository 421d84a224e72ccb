#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "g3dFragmentFixture.h"

#include <algorithm>
#include <utility>

namespace {

class g3dFragmentTest : public g3dFragmentFixture {
  protected:
    // A grid of vertexCount positions (i, 2i, -i) and triangleCount triangles over the first vertices.
    void MakeMesh(u32 vertexCount, u32 triangleCount) {
        positions.clear();
        normals.assign(vertexCount, maVector3d(0, 1, 0));
        uvs.clear();
        for (u32 i = 0; i < vertexCount; ++i) {
            positions.emplace_back(static_cast<f32>(i), 2.0f * static_cast<f32>(i), -static_cast<f32>(i));
            uvs.emplace_back(0.5f, static_cast<f32>(i));
        }
        indices.resize(triangleCount * 3);
        for (u32 i = 0; i < indices.size(); ++i)
            indices[i] = static_cast<u16>(i % 3);
    }
    g3dFragment* MakePNT(u32 materialCount, const std::vector<u32>& rangeStarts, bool dynamic = false) {
        materials.assign(materialCount, &material);
        return Keep(g3dFragmentManager::CreateFragmentPNT(
            positions.data(), normals.data(), static_cast<u32>(positions.size()), indices.data(),
            static_cast<u32>(indices.size()), materials.data(), rangeStarts.data(), materialCount, dynamic));
    }

    std::vector<maVector3d> positions, normals;
    std::vector<maVector2d> uvs;
    std::vector<u16> indices;
    std::vector<g3dMaterial*> materials;
    g3dMaterial material;
};

} // namespace

TEST_F(g3dFragmentTest, EachCreatorLaysOutItsKindWithBoxAndRanges) {
    MakeMesh(4, 40);
    g3dMaterial* one = &material;
    const f32 screen[12] = {1, 2, 0.5f, 1, 3, 4, 0.5f, 1, 5, 6, 0.5f, 1};
    material.SetDiffuse({1.2f, 0.5f, -0.1f, 1.0f});
    material.SetSpecular({0.0f, 0.0f, 0.0f, 2.0f});
    g3dFragment* pn = Keep(g3dFragmentManager::CreateFragmentPN(positions.data(), normals.data(), 4,
                                                                indices.data(), 4, &one, nullptr, 1, false));
    g3dFragment* pnt = MakePNT(3, {10, 30});
    g3dFragment* dynamic = MakePNT(1, {}, true);
    g3dFragment* pnt2 = Keep(g3dFragmentManager::CreateFragmentPNT2(
        positions.data(), normals.data(), uvs.data(), 4, indices.data(), 6, &one, nullptr, 1, false));
    g3dFragment* flat =
        Keep(g3dFragmentManager::CreateScreenFragment(screen, uvs.data(), 3, indices.data(), 3, &material));
    const struct {
        g3dFragment* fragment;
        u32 fvf, primitive, usage;
        bool boxed;
    } cases[] = {
        {pn, 0x12, 2, 0x8, true},    {pnt, 0x112, 1, 0x8, true},   {dynamic, 0x112, 1, 0x208, false},
        {pnt2, 0x212, 1, 0x8, true}, {flat, 0x1C4, 1, 0x8, false},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.fragment, nullptr);
        EXPECT_EQ(c.fragment->GetFVF(), c.fvf);
        EXPECT_EQ(c.fragment->GetPrimitive(), c.primitive);
        EXPECT_EQ(c.fragment->GetVertexBuffer()->Desc().usage, c.usage);
        // The device holds the system copies, though every lock handed out garbage first.
        const u32 size = c.fragment->GetVertexCount() * g3dVertexStride(c.fragment->GetVertexKind());
        EXPECT_EQ(Held(c.fragment->GetVertexBuffer()),
                  std::vector<u8>(c.fragment->GetVertices(), c.fragment->GetVertices() + size));
        const maBoundingBox box = c.fragment->GetBoundingBox();
        EXPECT_EQ(box.minX > box.maxX, !c.boxed);
        EXPECT_EQ(box.GetMax().y, c.boxed ? 6.0f : -maMaxFloat);
    }
    const auto locks = Calls("Lock");
    EXPECT_EQ(
        std::count_if(locks.begin(), locks.end(), [](const std::string& l) { return l.ends_with(" 2000"); }),
        1); // the dynamic one discards

    // Triangles 0-9, 10-29, 30-39.
    for (u32 k = 0; k < 3; ++k) {
        EXPECT_EQ(pnt->GetRangeStartIndex(k), (std::vector<u32>{0, 30, 90})[k]);
        EXPECT_EQ(pnt->GetRangeEndIndex(k), (std::vector<u32>{30, 90, 120})[k]);
    }
    dynamic->SetMaterial(&material, 3);
    EXPECT_EQ(dynamic->GetMaterialCount(), 4u);
    EXPECT_EQ(dynamic->GetMaterial(2), nullptr);
    EXPECT_EQ(dynamic->GetRangeStartIndex(3), dynamic->GetIndexCount());
    EXPECT_EQ(dynamic->GetRangeEndIndex(3), dynamic->GetIndexCount());

    // Unset coordinate pairs are zero; screen colours are clamped bytes.
    EXPECT_EQ(VertexAt<g3dVertexPNT>(*pnt, 3).uv, maVector2d(0, 0));
    EXPECT_EQ(VertexAt<g3dVertexPNT2>(*pnt2, 3).uv, maVector2d(0.5f, 3));
    EXPECT_EQ(VertexAt<g3dVertexPNT2>(*pnt2, 3).uv2, maVector2d(0, 0));
    EXPECT_EQ(VertexAt<g3dScreenVertex>(*flat, 1).diffuse, 0xFFFF7F00u);
    EXPECT_EQ(VertexAt<g3dScreenVertex>(*flat, 1).specular, 0xFF000000u);
}

TEST_F(g3dFragmentTest, CountsRangesAndIndicesTheFragmentCannotHoldAreRefused) {
    const struct {
        u32 vertices, triangles;
        std::vector<u32> rangeStarts;
        u16 badIndex; // written over index 0 when not 0
        bool made;
    } cases[] = {
        {65535, 1, {}, 0, true},    {65536, 1, {}, 0, false},    {3, 21845, {}, 0, true},
        {3, 21846, {}, 0, false},   {3, 40, {10, 30}, 0, true},  {3, 40, {30, 10}, 0, false},
        {3, 40, {10, 40}, 0, true}, {3, 40, {10, 41}, 0, false}, {3, 2, {}, 3, false},
    };
    for (const auto& c : cases) {
        MakeMesh(c.vertices, c.triangles);
        if (c.badIndex)
            indices[0] = c.badIndex;
        m_log.lines.clear();
        g3dFragment* fragment = MakePNT(static_cast<u32>(c.rangeStarts.size()) + 1, c.rangeStarts);
        EXPECT_EQ(fragment != nullptr, c.made) << c.vertices << " " << c.triangles;
        EXPECT_EQ(m_log.Holds("none made"), !c.made);
    }
    // A box of one position is that point; of none, empty.
    MakeMesh(1, 0);
    const maBoundingBox point = MakePNT(1, {})->GetBoundingBox();
    EXPECT_EQ(point.GetMin(), maVector3d(0, 0, 0));
    EXPECT_EQ(point.GetMax(), maVector3d(0, 0, 0));
    MakeMesh(0, 0);
    g3dFragment* empty = MakePNT(1, {});
    EXPECT_GT(empty->GetBoundingBox().minX, empty->GetBoundingBox().maxX);
    EXPECT_EQ(empty->GetVertexBuffer(), nullptr);
}

TEST_F(g3dFragmentTest, ALossAndResetLeaveEveryBufferHoldingTheSameBytes) {
    MakeMesh(50, 30);
    MakePNT(1, {});
    g3dFragment* dynamic = MakePNT(1, {}, true);
    Keep(g3dFragmentManager::CreateBox(1, 2, 3));
    auto heldByAll = [] {
        std::vector<std::vector<u8>> held;
        for (g3dFragment* f = g3dFragmentManager::GetFirstFragment(); f; f = f->GetNext())
            held.insert(held.end(), {Held(f->GetVertexBuffer()), Held(f->GetIndexBuffer())});
        return held;
    };
    const std::vector<std::vector<u8>> before = heldByAll();
    Device().InjectLoss(0);
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::Ok);
    EXPECT_EQ(Calls("Reset"), std::vector<std::string>{"Reset"});
    EXPECT_EQ(heldByAll(), before);
    EXPECT_EQ(before.size(), 6u);

    // Skinning rewrites a range of positions and normals and sends them at once.
    const std::vector<maVector3d> moved(50, maVector3d(9, 9, 9));
    dynamic->SetPositionsNormals(48, 2, moved.data(), moved.data());
    EXPECT_EQ(VertexAt<g3dVertexPNT>(*dynamic, 49).normal, maVector3d(9, 9, 9));
    EXPECT_EQ(VertexAt<g3dVertexPNT>(*dynamic, 47).normal, maVector3d(0, 1, 0));
    EXPECT_EQ(Held(dynamic->GetVertexBuffer()),
              std::vector<u8>(dynamic->GetVertices(), dynamic->GetVertices() + 50 * 32));
    dynamic->SetPositionsNormals(49, 2, moved.data(), moved.data());
    EXPECT_TRUE(m_log.Holds("nothing changed"));
}

TEST_F(g3dFragmentTest, DestroyingTheHeadAMiddleOneOrTheLastKeepsTheListWhole) {
    MakeMesh(3, 1);
    for (int i = 0; i < 6; ++i)
        MakePNT(1, {});
    // Newest first: kept 5, 4, 3, 2, 1, 0.
    for (size_t gone : {5u, 2u, 0u}) {
        g3dFragmentManager::DestroyFragment(std::exchange(m_kept[gone], nullptr));
        std::vector<g3dFragment*> listed;
        for (g3dFragment* f = g3dFragmentManager::GetFirstFragment(); f; f = f->GetNext())
            listed.push_back(f);
        std::vector<g3dFragment*> expected(m_kept.rbegin(), m_kept.rend());
        std::erase(expected, nullptr);
        EXPECT_EQ(listed, expected) << gone;
    }
    std::erase(m_kept, nullptr);
}

TEST_F(g3dFragmentTest, ABoxIsCentredAndEveryFaceTurnsOutward) {
    g3dFragment* box = Keep(g3dFragmentManager::CreateBox(1, 2, 3));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetVertexCount(), 24);
    EXPECT_EQ(box->GetIndexCount(), 36);
    EXPECT_EQ(box->GetMaterial(0), nullptr);
    EXPECT_EQ(box->GetBoundingBox().GetMin(), maVector3d(-0.5f, -1, -1.5f));
    EXPECT_EQ(box->GetBoundingBox().GetMax(), maVector3d(0.5f, 1, 1.5f));
    ExpectOutward<g3dVertexPNT>(*box);
}

#include "Engine/Graphics/G3d/g3dShapes.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "g3dFragmentFixture.h"

using g3dShapesTest = g3dFragmentFixture;

TEST_F(g3dShapesTest, TheWireBoxHasItsCornersInOrderAndTwelveEdges) {
    g3dFragment* box = Keep(g3dMakeWireBox(2, 4, 6));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetPrimitive(), 2u);
    EXPECT_EQ(box->GetIndexCount(), 24);
    EXPECT_EQ(box->GetMaterial(0), &g3dGetShapeMaterial());
    EXPECT_EQ(VertexAt<g3dVertexPN>(*box, 5).position, maVector3d(1, 2, 3));
    EXPECT_EQ(VertexAt<g3dVertexPN>(*box, 3).position, maVector3d(-1, -2, -3));
    EXPECT_NEAR(VertexAt<g3dVertexPN>(*box, 5).normal.Length(), 1.0f, 1e-6f);
    EXPECT_EQ(box->GetIndices()[16], 7);
    EXPECT_EQ(box->GetIndices()[17], 6);
}

TEST_F(g3dShapesTest, SpheresHaveTheirCountsAndTurnOutward) {
    g3dFragment* sphere = Keep(g3dMakeSphere(2.0f, 8, 8));
    ASSERT_NE(sphere, nullptr);
    EXPECT_EQ(sphere->GetVertexCount(), 58);
    EXPECT_EQ(sphere->GetIndexCount(), 336);
    EXPECT_EQ(VertexAt<g3dVertexPNT>(*sphere, 56).position, maVector3d(0, 2, 0));
    EXPECT_EQ(VertexAt<g3dVertexPNT>(*sphere, 57).position, maVector3d(0, -2, 0));
    for (u32 i = 0; i < 58; ++i)
        EXPECT_NEAR(VertexAt<g3dVertexPNT>(*sphere, i).position.Length(), 2.0f, 1e-5f);
    ExpectOutward<g3dVertexPNT>(*sphere);

    g3dFragment* textured = Keep(g3dMakeTexturedSphere(1.0f, 15, 15));
    ASSERT_NE(textured, nullptr);
    EXPECT_EQ(textured->GetVertexCount(), 226);
    EXPECT_EQ(textured->GetIndexCount(), 1260);
    // A ring closes on its first position with a coordinate of its own.
    const auto first = VertexAt<g3dVertexPNT2>(*textured, 16);
    const auto closing = VertexAt<g3dVertexPNT2>(*textured, 31);
    EXPECT_NEAR(closing.position.x, first.position.x, 1e-6f);
    EXPECT_NEAR(closing.position.z, first.position.z, 1e-6f);
    EXPECT_EQ(first.uv.y, 0.0f);
    EXPECT_EQ(closing.uv.y, 1.0f);
    EXPECT_NEAR(first.uv.x, 2.0f / 15.0f, 1e-6f);
    EXPECT_EQ(VertexAt<g3dVertexPNT2>(*textured, 225).uv, maVector2d(1, 0));
    ExpectOutward<g3dVertexPNT2>(*textured);

    for (auto [stacks, slices] : {std::pair{1, 8}, {8, 0}, {300, 300}})
        EXPECT_EQ(g3dMakeSphere(1.0f, stacks, slices), nullptr) << stacks << "x" << slices;
    EXPECT_TRUE(m_log.Holds("No sphere of 300 stacks"));
}

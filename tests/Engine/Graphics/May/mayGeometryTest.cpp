#include "Engine/Graphics/May/mayGeometry.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Geo/geoKDTree.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/May/mayTriangleSink.h"
#include "mayModelBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace mayModelBytes;

namespace {

std::string Vectors(const char* id, u16 count, std::initializer_list<f32> values) {
    return Chunk(id, Body().U16(count).Floats(values).Str());
}

std::string Indices(const char* id, const std::vector<u16>& corners) {
    Body body;
    body.U16(static_cast<u16>(corners.size() / 3));
    for (u16 c : corners)
        body.U16(c);
    return Chunk(id, body.Str());
}

std::string TexIndices(u16 set, const std::vector<u16>& corners) {
    return Chunk("TIND", Body().U16(set).Str() + (set == 0 ? Indices("TIND", corners).substr(10) : ""));
}

std::string Material(f32 power, std::initializer_list<const char*> names = {}) {
    Body body;
    body.Floats({0.1f, 0.2f, 0.3f, 1.0f, 0.4f, 0.5f, 0.6f, 1.0f, 0.7f, 0.8f, 0.9f, 1.0f, 0, 0, 0, 0, power});
    body.U8(static_cast<u8>(names.size()));
    for (const char* name : names)
        body.Text(std::string(name, std::strlen(name) + 1));
    return Chunk("MATR", Chunk("MBAS", body.Str()));
}

std::vector<u16> Repeat(std::vector<u16> pattern, size_t times) {
    std::vector<u16> out;
    for (size_t i = 0; i < times; ++i)
        out.insert(out.end(), pattern.begin(), pattern.end());
    return out;
}

// The cube of 8 corners (bit 0 x, bit 1 y, bit 2 z), 6 face normals and 4 corner coordinates.
struct Cube {
    std::vector<u16> positions, normals, uvs;
    Cube() {
        const u16 faces[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3},
                                 {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
        for (u16 f = 0; f < 6; ++f)
            for (u16 corner : {0, 1, 2, 2, 3, 0}) {
                positions.push_back(faces[f][corner]);
                normals.push_back(f);
                uvs.push_back(corner);
            }
    }
    static std::string Lists() {
        Body corners;
        corners.U16(8);
        for (int i = 0; i < 8; ++i)
            corners.Floats({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
        return Chunk("GVER", corners.Str()) +
               Vectors("NVER", 6, {1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1}) +
               Vectors("TVER", 4, {0, 0, 1, 0, 1, 1, 0, 1});
    }
};

class mayGeometryTest : public ::testing::Test {
  protected:
    // Reads a file of those bytes, a fragment chunk first, into mesh.
    void ReadFile(const std::string& bytes, bool keepMap = false) {
        gfFile file(m_folder.Write("model", bytes), gfFileRead, gfByteOrderData);
        chBinReader reader(&file);
        u32 id = 0, size = 0;
        u16 version = 0;
        if (!reader.BeginChunk(&id, &version, &size))
            throw chInvalidChunkX();
        mayReadGeometry(reader, version, size, mesh, keepMap);
    }
    void Read(const std::string& subChunks, bool keepMap = false) {
        ReadFile(Chunk("GFRG", subChunks), keepMap);
    }

    fsTestFolder m_folder;
    mayMesh mesh;
};

} // namespace

TEST_F(mayGeometryTest, CornersBecomeOneVertexPerDistinctCombination) {
    const Cube cube;
    const std::string withUvs = Cube::Lists() + Material(8, {"wood.png", "dirt.png"}) +
                                Indices("GIND", cube.positions) + Indices("NIND", cube.normals) +
                                TexIndices(0, cube.uvs);
    Read(withUvs, true);
    EXPECT_EQ(mesh.positions.size(), 24u);
    EXPECT_EQ(mesh.uvs.size(), 24u);
    EXPECT_EQ(mesh.indices.size(), 36u);
    // The corner shared by a face's two triangles is one vertex; corner 0 lies on three faces.
    EXPECT_EQ(mesh.indices[2], mesh.indices[3]);
    EXPECT_EQ(mesh.storedIndexMap.count(0), 3u);
    EXPECT_EQ(mesh.uvs[1].x, 1.0f);
    EXPECT_EQ(mesh.uvs[1].y, 1.0f); // stored (1, 0)
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(mesh.materials[0].textureNames, (std::vector<std::string>{"wood.png", "dirt.png"}));
    const g3dMaterial& material = *mesh.materials[0].material;
    EXPECT_EQ(material.GetDiffuse().g, 0.2f);
    EXPECT_EQ(material.GetAmbient().b, 0.6f);
    EXPECT_TRUE(material.IsSpecularEnabled());
    EXPECT_EQ(material.GetSpecularPower(), 8.0f);

    // Without set-0 coordinate indices the corners are keyed by position and normal only.
    for (const std::string& uvIndices : {std::string(), TexIndices(1, {})}) {
        Read(Cube::Lists() + Material(0) + Indices("GIND", cube.positions) + Indices("NIND", cube.normals) +
             uvIndices);
        EXPECT_EQ(mesh.positions.size(), 24u);
        EXPECT_TRUE(mesh.uvs.empty());
        EXPECT_TRUE(mesh.storedIndexMap.empty());
        EXPECT_FALSE(mesh.materials[0].material->IsSpecularEnabled());
        EXPECT_EQ(mesh.materials[0].material->GetSpecularPower(), 1.0f);
    }
}

TEST_F(mayGeometryTest, MaterialsFollowOneAnotherAndListsAreReadAsStored) {
    const std::string lists = Vectors("GVER", 3, {0, 0, 0, 1, 0, 0, 0, 1, 0}) +
                              Vectors("NVER", 2, {0, 0, 2, 0, 0, 0}) + Vectors("TVER", 1, {0.25f, 0.0f});
    Read(lists + Material(1) + Indices("GIND", Repeat({0, 1, 2}, 10)) +
         Indices("NIND", Repeat({0, 0, 0}, 10)) + TexIndices(0, Repeat({0, 0, 0}, 10)) + Material(1) +
         Indices("GIND", Repeat({2, 1, 0}, 20)) + Indices("NIND", Repeat({1, 1, 1}, 20)) +
         TexIndices(0, Repeat({0, 0, 0}, 20)));
    EXPECT_EQ(mesh.indices.size(), 90u);
    EXPECT_EQ(mesh.rangeStarts, std::vector<u32>{10});
    ASSERT_EQ(mesh.positions.size(), 6u);
    EXPECT_EQ(mesh.normals[0].z, 1.0f);
    EXPECT_EQ(mesh.normals[5].z, 0.0f);
    EXPECT_EQ(mesh.uvs[0].x, 0.25f);
    EXPECT_EQ(mesh.uvs[0].y, 1.0f);

    // No material, no vertices.
    Read(lists + Indices("GIND", {0, 1, 2}) + Indices("NIND", {0, 0, 0}));
    EXPECT_TRUE(mesh.positions.empty());
    EXPECT_TRUE(mesh.indices.empty());
}

TEST_F(mayGeometryTest, MalformedGeometryIsRefusedAndTheMeshKept) {
    const std::string lists = Vectors("GVER", 3, {0, 0, 0, 1, 0, 0, 0, 1, 0}) +
                              Vectors("NVER", 1, {0, 0, 1}) + Vectors("TVER", 1, {0, 0});
    const std::string good = Material(1) + Indices("GIND", {0, 1, 2}) + Indices("NIND", {0, 0, 0});
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const std::string bad[] =
        {
            lists + Material(1) + Indices("GIND", {0, 1, 3}) + Indices("NIND", {0, 0, 0}),
            lists + Material(1) + Indices("GIND", {0, 1, 2}) + Indices("NIND", {0, 1, 0}),
            lists + Material(1) + Indices("GIND", {0, 1, 2}) + Indices("NIND", {0, 0, 0}) +
                TexIndices(0, {0, 1, 0}),
            lists + Material(1) + Indices("GIND", {0, 1, 2, 2, 1, 0}) + Indices("NIND", {0, 0, 0}),
            lists + Material(1) + Indices("GIND", {0, 1, 2}),
            lists + Material(1) + Indices("NIND", {0, 0, 0}),
            lists + good + Material(1) + Indices("GIND", {0, 1, 2}) + Indices("NIND", {0, 0, 0}) +
                TexIndices(0, {0}),
            Chunk("GVER", Body().U16(4).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).Str()) + good,
            Chunk("GIND", Body().U16(1).U16(0).Str()) + lists + good,
            Chunk("GVER", std::string(1, '\0')) + lists + good,
            Vectors("GVER", 3, {0, 0, 0, nan, 0, 0, 0, 1, 0}) + good,
            lists + Chunk("MATR", Chunk("MBAS", Body().Floats({1, 1, 1}).Str())) + Indices("GIND", {}),
            lists + Chunk("MATR", Chunk("MBAS", Body()
                                                    .Floats(
                                                        {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0})
                                                    .U8(1)
                                                    .Text("open-ended")
                                                    .Str())),
        };
    for (size_t i = 0; i < std::size(bad); ++i) {
        mesh.indices = {7};
        EXPECT_THROW(Read(bad[i]), chInvalidChunkX) << i;
        EXPECT_EQ(mesh.indices, std::vector<u16>{7}) << i;
    }
    Read(lists + good);
    EXPECT_EQ(mesh.indices.size(), 3u);

    // Every cut of a good file ends in the chunk reader's exception.
    const std::string whole = Chunk("GFRG", lists + good);
    for (size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_THROW(ReadFile(whole.substr(0, cut)), chInvalidChunkX) << cut;
}

TEST_F(mayGeometryTest, MoreThan65535VerticesAreRefused) {
    // 65535 normals on one position make as many vertices; one more position makes one too many.
    Body normals;
    normals.U16(0xFFFF);
    std::vector<u16> corners(0xFFFC, 0), normalCorners(0xFFFC);
    for (u32 i = 0; i < 0xFFFF; ++i)
        normals.Floats({1, 0, 0});
    for (u32 i = 0; i < 0xFFFC; ++i)
        normalCorners[i] = static_cast<u16>(i);
    const std::string first = Vectors("GVER", 2, {0, 0, 0, 1, 1, 1}) + Chunk("NVER", normals.Str()) +
                              Material(1) + Indices("GIND", corners) + Indices("NIND", normalCorners) +
                              Material(1);
    Read(first + Indices("GIND", {0, 0, 0}) + Indices("NIND", {0xFFFC, 0xFFFD, 0xFFFE}));
    EXPECT_EQ(mesh.positions.size(), 0xFFFFu);
    EXPECT_THROW(Read(first + Indices("GIND", {0, 0, 0, 1, 0, 0}) +
                      Indices("NIND", {0xFFFC, 0xFFFD, 0xFFFE, 0, 0, 0})),
                 chInvalidChunkX);
}

TEST(mayTriangleSink, TheKdTreeGetsTheTrianglesInTheOrderGiven) {
    const maVector3d square[4] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}};
    const maVector3d high[3] = {{0, 5, 0}, {0, 5, 1}, {1, 5, 0}};
    const u16 two[6] = {0, 2, 1, 1, 2, 3};
    const u16 one[3] = {0, 1, 2};
    geoKDTree tree;
    mayTriangleSinkKDTree sink(tree);
    sink.Add(nullptr, square, 4, two, 6);
    sink.Add(nullptr, high, 3, one, 3);
    tree.Build();
    EXPECT_EQ(tree.GetTriangleCount(), 3u);
    geoKDTreeHit hit;
    ASSERT_TRUE(tree.IntersectSegment({0.2f, 9, 0.2f}, {0.2f, -9, 0.2f}, hit));
    EXPECT_EQ(hit.triangle, 2u);
}

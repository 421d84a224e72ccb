#pragma once
#include "../G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include <cstring>
#include <ostream>
#include <vector>

// Exact comparisons and readable failures for the vectors the tests check.
inline bool operator==(const maVector2d& a, const maVector2d& b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator==(const maVector3d& a, const maVector3d& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline void PrintTo(const maVector3d& v, std::ostream* out) {
    *out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

// A windowed fake device with the fragment manager's reset handler; every fragment made through Keep is
// destroyed at the end.
class g3dFragmentFixture : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        g2dScreen::InitWindowed(64, 48, 0, 0);
        g3dFragmentManager::Initialize();
    }
    void TearDown() override {
        for (g3dFragment* fragment : m_kept)
            g3dFragmentManager::DestroyFragment(fragment);
        EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);
        g2dScreenFixture::TearDown();
    }

    g3dFragment* Keep(g3dFragment* fragment) {
        if (fragment)
            m_kept.push_back(fragment);
        return fragment;
    }

    template <class Vertex> static Vertex VertexAt(const g3dFragment& fragment, u32 index) {
        Vertex vertex;
        std::memcpy(&vertex, fragment.GetVertices() + index * g3dVertexStride(fragment.GetVertexKind()),
                    sizeof vertex);
        return vertex;
    }
    // Every triangle turns about the direction from the centre to its first corner.
    template <class Vertex> static void ExpectOutward(const g3dFragment& shape) {
        for (u32 t = 0; t < shape.GetIndexCount() / 3u; ++t) {
            const u16* corner = shape.GetIndices() + t * 3;
            const maVector3d a = VertexAt<Vertex>(shape, corner[0]).position;
            maVector3d turn;
            (VertexAt<Vertex>(shape, corner[1]).position - a)
                .Cross(VertexAt<Vertex>(shape, corner[2]).position - a, turn);
            ASSERT_GT(turn.x * a.x + turn.y * a.y + turn.z * a.z, 0.0f) << t;
        }
    }
    // What the device holds of the fragment's vertices and indices.
    static std::vector<u8> Held(const plD3dBuffer* buffer) {
        return buffer ? std::vector<u8>(buffer->Data(), buffer->Data() + buffer->Desc().size)
                      : std::vector<u8>{};
    }

    std::vector<g3dFragment*> m_kept;
};

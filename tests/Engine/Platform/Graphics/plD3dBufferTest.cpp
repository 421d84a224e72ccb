#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "plFakeDevice.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kWriteOnly = plD3dUsage::WriteOnly;
constexpr u32 kDynamic = plD3dUsage::Dynamic | plD3dUsage::WriteOnly;
constexpr u32 kPnt = plD3dFvf::Xyz | plD3dFvf::Normal | plD3dFvf::Tex1; // 32 bytes
constexpr u32 kDefault = plD3dPool::Default;

bool Garbled(const u8* bytes, size_t count) {
    return std::all_of(bytes, bytes + count, [](u8 b) { return b == plFakeD3dDevice::kWriteOnlyPattern; });
}

} // namespace

TEST(plD3dBuffer, CreationChecksLengthUsagePoolAndFormat) {
    FakeDevice f;
    const struct {
        u32 length, usage, pool, fvf; // fvf ~0: an index buffer
        bool made;
    } cases[] = {
        {32, kWriteOnly, kDefault, kPnt, true},
        {48, 0, plD3dPool::SystemMem, 0x1FF0000, true}, // unknown layout
        {31, kWriteOnly, kDefault, kPnt, false},
        {32, plD3dUsage::RenderTarget, kDefault, kPnt, false},
        {32, kDynamic, plD3dPool::Managed, kPnt, false},
        {2, kWriteOnly, kDefault, ~0u, true},
        {1, kWriteOnly, kDefault, ~0u, false},
        {8, kWriteOnly, 3, ~0u, false},
    };
    for (const auto& c : cases) {
        plD3dVertexBuffer* vertices = nullptr;
        plD3dIndexBuffer* indices = nullptr;
        const plD3dResult result =
            c.fvf == ~0u
                ? f.device->CreateIndexBuffer(c.length, c.usage, plD3dFormat::Index16, c.pool, &indices)
                : f.device->CreateVertexBuffer(c.length, c.usage, c.fvf, c.pool, &vertices);
        plD3dBuffer* buffer = vertices ? static_cast<plD3dBuffer*>(vertices) : indices;
        EXPECT_EQ(result, c.made ? plD3dErr::Ok : plD3dErr::InvalidCall) << c.length << " " << c.usage;
        ASSERT_EQ(buffer != nullptr, c.made);
        if (buffer) {
            EXPECT_EQ(f.device->GetLiveResourceCount(c.pool), 1u);
            EXPECT_EQ(buffer->Release(), 0u);
        }
    }
    plD3dIndexBuffer* wide = nullptr;
    EXPECT_EQ(f.device->CreateIndexBuffer(8, kWriteOnly, plD3dFormat::Index32, kDefault, &wide),
              plD3dErr::InvalidCall);
}

TEST(plD3dBuffer, LocksFollowTheRulesAndWriteOnlyLocksHandOutGarbage) {
    FakeDevice f;
    plD3dVertexBuffer *fixed = nullptr, *dynamic = nullptr, *readable = nullptr;
    ASSERT_EQ(f.device->CreateVertexBuffer(64, kWriteOnly, kPnt, kDefault, &fixed), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateVertexBuffer(64, kDynamic, kPnt, kDefault, &dynamic), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateVertexBuffer(64, 0, kPnt, plD3dPool::SystemMem, &readable), plD3dErr::Ok);
    const std::vector<u8> bytes(64, 7);
    for (plD3dBuffer* buffer : std::initializer_list<plD3dBuffer*>{fixed, dynamic, readable})
        Write(*buffer, bytes);
    u8 *data = nullptr, *again = nullptr;
    EXPECT_EQ(fixed->Lock(60, 8, &data, 0), plD3dErr::InvalidCall);
    EXPECT_EQ(fixed->Lock(0, 0, &data, plD3dLock::Discard), plD3dErr::InvalidCall);
    EXPECT_EQ(fixed->Unlock(), plD3dErr::InvalidCall);
    // A write-only range reads as garbage; the bytes outside it stay.
    ASSERT_EQ(fixed->Lock(16, 16, &data, 0), plD3dErr::Ok);
    EXPECT_EQ(fixed->Lock(0, 0, &again, 0), plD3dErr::InvalidCall);
    EXPECT_TRUE(Garbled(data, 16));
    EXPECT_EQ(fixed->Data()[15] + fixed->Data()[32], 14);
    EXPECT_EQ(fixed->Unlock(), plD3dErr::Ok);
    // Discard gives up the whole buffer, even for a range; a readable buffer keeps its bytes.
    ASSERT_EQ(dynamic->Lock(0, 8, &data, plD3dLock::Discard), plD3dErr::Ok);
    EXPECT_TRUE(Garbled(dynamic->Data(), 64));
    EXPECT_EQ(f.factory.GetLog().back(), "Lock 0 8 2000");
    ASSERT_EQ(readable->Lock(8, 0, &again, plD3dLock::ReadOnly), plD3dErr::Ok);
    EXPECT_EQ(again[55], 7);
    dynamic->Unlock();
    readable->Unlock();

    // Default-pool buffers hold Reset back.
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::InvalidCall);
    fixed->Release();
    dynamic->Release();
    EXPECT_EQ(f.device->Reset(&f.params), plD3dErr::Ok);
    readable->Release();
}

TEST(plD3dBuffer, DrawsReadOnlyWhatTheBoundBuffersHold) {
    FakeDevice f;
    plD3dVertexBuffer* vertices = nullptr;
    plD3dIndexBuffer* indices = nullptr;
    ASSERT_EQ(f.device->CreateVertexBuffer(6 * 32, kWriteOnly, kPnt, kDefault, &vertices), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateIndexBuffer(8 * 2, kWriteOnly, plD3dFormat::Index16, kDefault, &indices),
              plD3dErr::Ok);
    Write(*indices, std::vector<u16>{0, 1, 2, 2, 1, 3, 0, 4});
    f.device->SetVertexShader(kPnt);
    EXPECT_EQ(f.device->SetStreamSource(1, vertices, 32), plD3dErr::InvalidCall);
    f.device->SetStreamSource(0, vertices, 32);
    f.device->SetIndices(indices, 2);
    EXPECT_EQ(f.device->DrawIndexedPrimitive(plD3dPt::TriangleList, 0, 4, 0, 2),
              plD3dErr::InvalidCall); // no scene
    f.device->BeginScene();
    const struct {
        u32 type, minIndex, vertexCount, startIndex, primitives;
        bool drawn;
    } cases[] = {
        {plD3dPt::TriangleList, 0, 4, 0, 2, true},  {plD3dPt::LineList, 0, 4, 0, 3, true},
        {plD3dPt::TriangleList, 1, 3, 0, 2, false}, // index 0 lies below the vertices named
        {plD3dPt::TriangleList, 0, 3, 0, 2, false}, // index 3 past them
        {plD3dPt::LineList, 0, 5, 6, 1, false},     // base 2 + 5 vertices run past the buffer
        {plD3dPt::TriangleList, 0, 4, 6, 1, false}, // indices past the index buffer
        {plD3dPt::TriangleList, 0, 4, 0, 0, false}, {99, 0, 4, 0, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            f.device->DrawIndexedPrimitive(c.type, c.minIndex, c.vertexCount, c.startIndex, c.primitives),
            c.drawn ? plD3dErr::Ok : plD3dErr::InvalidCall)
            << c.type << " " << c.minIndex << " " << c.startIndex;
    EXPECT_EQ(f.device->DrawPrimitive(plD3dPt::TriangleList, 3, 1), plD3dErr::Ok);
    EXPECT_EQ(f.device->DrawPrimitive(plD3dPt::TriangleList, 4, 1), plD3dErr::InvalidCall);
    // A released buffer leaves its binding empty.
    EXPECT_EQ(vertices->Release(), 0u);
    EXPECT_EQ(f.device->DrawPrimitive(plD3dPt::PointList, 0, 1), plD3dErr::InvalidCall);
    f.device->EndScene();
    indices->Release();
}

#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "plFakeDevice.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kWriteOnly = plD3dUsage::WriteOnly;
constexpr u32 kDynamic = plD3dUsage::Dynamic | plD3dUsage::WriteOnly;
constexpr u32 kPnt = plD3dFvf::Xyz | plD3dFvf::Normal | plD3dFvf::Tex1; // 32 bytes

template <class T> void Write(plD3dBuffer& buffer, const std::vector<T>& values, u32 flags = 0) {
    u8* data = nullptr;
    ASSERT_EQ(buffer.Lock(0, 0, &data, flags), plD3dErr::Ok);
    std::memcpy(data, values.data(), values.size() * sizeof(T));
    ASSERT_EQ(buffer.Unlock(), plD3dErr::Ok);
}

} // namespace

TEST(plD3dBuffer, CreationChecksLengthUsagePoolAndFormat) {
    FakeDevice f;
    const struct {
        bool index;
        u32 length, usage, pool;
        u32 fvf;
        plD3dFormat format;
        bool made;
    } cases[] = {
        {false, 32, kWriteOnly, plD3dPool::Default, kPnt, plD3dFormat::VertexData, true},
        {false, 40, kDynamic, plD3dPool::Default, kPnt, plD3dFormat::VertexData, true},
        {false, 48, 0, plD3dPool::SystemMem, 0x1FF0000, plD3dFormat::VertexData, true}, // no known layout
        {false, 31, kWriteOnly, plD3dPool::Default, kPnt, plD3dFormat::VertexData, false},
        {false, 0, kWriteOnly, plD3dPool::Default, 0, plD3dFormat::VertexData, false},
        {false, 32, plD3dUsage::RenderTarget, plD3dPool::Default, kPnt, plD3dFormat::VertexData, false},
        {false, 32, kDynamic, plD3dPool::Managed, kPnt, plD3dFormat::VertexData, false},
        {true, 2, kWriteOnly, plD3dPool::Default, 0, plD3dFormat::Index16, true},
        {true, 1, kWriteOnly, plD3dPool::Default, 0, plD3dFormat::Index16, false},
        {true, 8, kWriteOnly, plD3dPool::Default, 0, plD3dFormat::Index32, false},
        {true, 8, kWriteOnly, 3, 0, plD3dFormat::Index16, false},
    };
    for (const auto& c : cases) {
        plD3dBuffer* buffer = nullptr;
        plD3dResult result;
        if (c.index) {
            plD3dIndexBuffer* made = nullptr;
            result = f.device->CreateIndexBuffer(c.length, c.usage, c.format, c.pool, &made);
            buffer = made;
        } else {
            plD3dVertexBuffer* made = nullptr;
            result = f.device->CreateVertexBuffer(c.length, c.usage, c.fvf, c.pool, &made);
            buffer = made;
        }
        EXPECT_EQ(result, c.made ? plD3dErr::Ok : plD3dErr::InvalidCall) << c.length << " " << c.usage;
        ASSERT_EQ(buffer != nullptr, c.made);
        if (!buffer)
            continue;
        EXPECT_EQ(buffer->Desc().size, c.length);
        EXPECT_EQ(buffer->Desc().fvf, c.fvf);
        EXPECT_EQ(f.device->GetLiveResourceCount(c.pool), 1u);
        EXPECT_EQ(buffer->Release(), 0u);
        EXPECT_EQ(f.device->GetLiveResourceCount(c.pool), 0u);
    }
    EXPECT_EQ(f.factory.GetLog().back(), "CreateIndexBuffer 8 8 101 3 -> 8876086c");
}

TEST(plD3dBuffer, LocksFollowTheRulesAndWriteOnlyLocksHandOutGarbage) {
    FakeDevice f;
    plD3dVertexBuffer* fixed = nullptr;
    plD3dVertexBuffer* dynamic = nullptr;
    plD3dVertexBuffer* readable = nullptr;
    ASSERT_EQ(f.device->CreateVertexBuffer(64, kWriteOnly, kPnt, plD3dPool::Default, &fixed), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateVertexBuffer(64, kDynamic, kPnt, plD3dPool::Default, &dynamic), plD3dErr::Ok);
    ASSERT_EQ(f.device->CreateVertexBuffer(64, 0, kPnt, plD3dPool::SystemMem, &readable), plD3dErr::Ok);
    const std::vector<u8> bytes(64, 7);
    Write(*fixed, bytes);
    Write(*readable, bytes);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), fixed->Data()));

    u8* data = nullptr;
    EXPECT_EQ(fixed->Lock(60, 8, &data, 0), plD3dErr::InvalidCall);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(fixed->Lock(0, 0, &data, plD3dLock::Discard), plD3dErr::InvalidCall);
    EXPECT_EQ(fixed->Unlock(), plD3dErr::InvalidCall);
    // A write-only range reads as the pattern; the bytes outside it stay.
    ASSERT_EQ(fixed->Lock(16, 16, &data, 0), plD3dErr::Ok);
    u8* again = nullptr;
    EXPECT_EQ(fixed->Lock(0, 0, &again, 0), plD3dErr::InvalidCall);
    EXPECT_TRUE(std::all_of(data, data + 16, [](u8 b) { return b == plFakeD3dDevice::kWriteOnlyPattern; }));
    EXPECT_EQ(fixed->Data()[15], 7);
    EXPECT_EQ(fixed->Data()[32], 7);
    EXPECT_EQ(fixed->Unlock(), plD3dErr::Ok);
    // Discard gives up the whole buffer, even with a range.
    Write(*dynamic, bytes);
    ASSERT_EQ(dynamic->Lock(0, 8, &data, plD3dLock::Discard), plD3dErr::Ok);
    EXPECT_EQ(dynamic->Data()[63], plFakeD3dDevice::kWriteOnlyPattern);
    EXPECT_EQ(dynamic->Unlock(), plD3dErr::Ok);
    EXPECT_EQ(f.factory.GetLog().back(), "Lock 0 8 2000");
    // A buffer that may be read keeps its bytes under a lock.
    ASSERT_EQ(readable->Lock(8, 0, &data, plD3dLock::ReadOnly), plD3dErr::Ok);
    EXPECT_EQ(data[55], 7);
    EXPECT_EQ(readable->Unlock(), plD3dErr::Ok);

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
    ASSERT_EQ(f.device->CreateVertexBuffer(6 * 32, kWriteOnly, kPnt, plD3dPool::Default, &vertices),
              plD3dErr::Ok);
    ASSERT_EQ(
        f.device->CreateIndexBuffer(8 * 2, kWriteOnly, plD3dFormat::Index16, plD3dPool::Default, &indices),
        plD3dErr::Ok);
    Write(*indices, std::vector<u16>{0, 1, 2, 2, 1, 3, 0, 4});
    f.device->SetVertexShader(kPnt);
    EXPECT_EQ(f.device->SetStreamSource(1, vertices, 32), plD3dErr::InvalidCall);
    ASSERT_EQ(f.device->SetStreamSource(0, vertices, 32), plD3dErr::Ok);
    ASSERT_EQ(f.device->SetIndices(indices, 2), plD3dErr::Ok);
    EXPECT_EQ(f.device->DrawIndexedPrimitive(plD3dPt::TriangleList, 0, 4, 0, 2), plD3dErr::InvalidCall);
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
    u8* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    EXPECT_EQ(f.device->DrawPrimitive(plD3dPt::PointList, 0, 1), plD3dErr::InvalidCall);
    vertices->Unlock();
    // A released buffer leaves its binding empty.
    EXPECT_EQ(vertices->Release(), 0u);
    EXPECT_EQ(f.device->DrawPrimitive(plD3dPt::PointList, 0, 1), plD3dErr::InvalidCall);
    f.device->EndScene();
    EXPECT_EQ(indices->Release(), 0u);
}

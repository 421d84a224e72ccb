// Vertex and index buffers on the OpenGL device: their buffer objects, draws from them and loss.
#include "Engine/Platform/Gl/plGlContextUse.h"
#include "Engine/Platform/Gl/plGlD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "plGlDevice.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kWorld = plD3dFvf::Xyz | plD3dFvf::Diffuse;
constexpr u32 kScreen = plD3dFvf::XyzRhw | plD3dFvf::Diffuse;

// What the buffer object holds.
std::vector<u8> Stored(plGlD3dDevice& device, const plD3dBuffer& buffer) {
    std::vector<u8> bytes(buffer.Desc().size);
    glBindBuffer(GL_ARRAY_BUFFER, device.GetBufferName(buffer));
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes.size()), bytes.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return bytes;
}

template <class T> std::vector<u8> Bytes(const std::vector<T>& values) {
    std::vector<u8> bytes(values.size() * sizeof(T));
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

} // namespace

using plGlD3dBufferTest = plGlDeviceTest;

TEST_F(plGlD3dBufferTest, BuffersHoldWhatTheUnlocksWroteAndDrawAsMemoryDoes) {
    auto& device = static_cast<plGlD3dDevice&>(*gl.device);
    device.SetRenderState(plD3dRs::ZEnable, 0);
    device.SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    // Two quads in clip space (identity transforms), one after the other; their triangles, then an outline.
    const std::vector<WorldVertex> world = {
        {-0.8f, 0.8f, 0.5f, 0xFFFF0000}, {0.1f, 0.8f, 0.5f, 0xFF00FF00}, {-0.8f, -0.3f, 0.5f, 0xFF0000FF},
        {0.1f, -0.3f, 0.5f, 0xFFFFFFFF}, {0.0f, 0.0f, 0.5f, 0xFF808000}, {0.9f, 0.0f, 0.5f, 0xFF008080},
        {0.0f, -0.9f, 0.5f, 0xFF800080}, {0.9f, -0.9f, 0.5f, 0xFF404040}};
    const std::vector<u16> indexList = {0, 1, 2, 2, 1, 3, 0, 1, 1, 3, 3, 2, 2, 0};
    const std::vector<ScreenVertex> screen = {
        {3, 3, 0.5f, 1, 0xFFFF8000}, {28, 5, 0.5f, 1, 0xFF00FF80}, {6, 29, 0.5f, 1, 0xFF8000FF}};
    plD3dVertexBuffer *vertices = nullptr, *screenVertices = nullptr;
    plD3dIndexBuffer* indices = nullptr;
    ASSERT_EQ(device.CreateVertexBuffer(8 * sizeof(WorldVertex), plD3dUsage::WriteOnly, kWorld,
                                        plD3dPool::Default, &vertices),
              plD3dErr::Ok);
    ASSERT_EQ(device.CreateVertexBuffer(3 * sizeof(ScreenVertex), plD3dUsage::WriteOnly | plD3dUsage::Dynamic,
                                        kScreen, plD3dPool::Default, &screenVertices),
              plD3dErr::Ok);
    ASSERT_EQ(device.CreateIndexBuffer(14 * 2, plD3dUsage::WriteOnly, plD3dFormat::Index16,
                                       plD3dPool::Default, &indices),
              plD3dErr::Ok);
    Write(*vertices, world);
    Write(*indices, indexList);
    Write(*screenVertices, std::vector<ScreenVertex>(3, ScreenVertex{}), plD3dLock::Discard);
    Write(*screenVertices, screen, plD3dLock::Discard);
    EXPECT_EQ(Stored(device, *vertices), Bytes(world));
    EXPECT_EQ(Stored(device, *indices), Bytes(indexList));
    EXPECT_EQ(Stored(device, *screenVertices), Bytes(screen));

    // Each draw from the buffers against the same draw from memory.
    const struct {
        u32 fvf, type, base, startIndex, primitives;
    } draws[] = {
        {kWorld, plD3dPt::TriangleList, 0, 0, 2},
        {kWorld, plD3dPt::TriangleList, 4, 0, 2},
        {kWorld, plD3dPt::LineList, 0, 6, 4},
        {kScreen, plD3dPt::TriangleList, 0, 0, 1},
    };
    for (const auto& d : draws) {
        const bool indexed = d.fvf == kWorld;
        const u32 stride = indexed ? sizeof(WorldVertex) : sizeof(ScreenVertex);
        device.SetVertexShader(d.fvf);
        device.Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0);
        device.BeginScene();
        if (indexed)
            device.DrawIndexedPrimitiveUP(d.type, 0, 4, d.primitives, &indexList[d.startIndex],
                                          plD3dFormat::Index16, &world[d.base], stride);
        else
            device.DrawPrimitiveUP(d.type, d.primitives, screen.data(), stride);
        device.EndScene();
        const std::vector<u32> expected = gl.Read();

        device.Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0);
        device.SetStreamSource(0, indexed ? vertices : screenVertices, stride);
        device.SetIndices(indices, d.base);
        device.BeginScene();
        EXPECT_EQ(indexed ? device.DrawIndexedPrimitive(d.type, 0, 4, d.startIndex, d.primitives)
                          : device.DrawPrimitive(d.type, 0, d.primitives),
                  plD3dErr::Ok);
        device.EndScene();
        const std::vector<u32> drawn = gl.Read();
        EXPECT_EQ(drawn, expected) << d.type << " from " << d.base;
        EXPECT_NE(std::count(drawn.begin(), drawn.end(), 0xFF000000u), static_cast<long>(drawn.size()));
    }
    // An index past the vertices named is refused before the driver reads past them.
    device.SetVertexShader(kWorld);
    device.SetStreamSource(0, vertices, sizeof(WorldVertex));
    device.SetIndices(indices, 0);
    device.BeginScene();
    EXPECT_EQ(device.DrawIndexedPrimitive(plD3dPt::TriangleList, 0, 3, 0, 2), plD3dErr::InvalidCall);
    device.EndScene();
    const GLuint name = device.GetBufferName(*vertices);
    EXPECT_EQ(vertices->Release(), 0u);
    EXPECT_FALSE(glIsBuffer(name));
    screenVertices->Release();

    // An injected loss lasts until the buffers are gone and a reset succeeds.
    device.InjectLoss();
    EXPECT_EQ(device.TestCooperativeLevel(), plD3dErr::DeviceNotReset);
    EXPECT_EQ(device.Present(), plD3dErr::DeviceLost);
    EXPECT_EQ(device.Reset(&gl.params), plD3dErr::InvalidCall);
    indices->Release();
    EXPECT_EQ(device.Reset(&gl.params), plD3dErr::Ok);
    EXPECT_EQ(device.TestCooperativeLevel(), plD3dErr::Ok);
    EXPECT_EQ(device.Present(), plD3dErr::Ok);
}

TEST_F(plGlD3dBufferTest, RepeatedDrawsKeepTheirArraysUntilOtherCodeMovesThem) {
    auto& device = static_cast<plGlD3dDevice&>(*gl.device);
    device.SetRenderState(plD3dRs::ZEnable, 0);
    device.SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    const std::vector<WorldVertex> quad = {{-0.8f, 0.8f, 0.5f, 0xFFFF0000},
                                           {0.8f, 0.8f, 0.5f, 0xFF00FF00},
                                           {-0.8f, -0.8f, 0.5f, 0xFF0000FF},
                                           {0.8f, -0.8f, 0.5f, 0xFFFFFFFF}};
    std::vector<WorldVertex> grey = quad;
    for (WorldVertex& v : grey)
        v.color = 0xFF808080;
    plD3dVertexBuffer* vertices = nullptr;
    plD3dIndexBuffer* indices = nullptr;
    ASSERT_EQ(device.CreateVertexBuffer(4 * sizeof(WorldVertex), plD3dUsage::Dynamic, kWorld,
                                        plD3dPool::Default, &vertices),
              plD3dErr::Ok);
    ASSERT_EQ(device.CreateIndexBuffer(12, 0, plD3dFormat::Index16, plD3dPool::Default, &indices),
              plD3dErr::Ok);
    Write(*vertices, quad);
    Write(*indices, std::vector<u16>{0, 1, 2, 2, 1, 3});
    device.SetVertexShader(kWorld);
    device.SetStreamSource(0, vertices, sizeof(WorldVertex));
    device.SetIndices(indices, 0);
    const auto draw = [&] {
        device.Clear(0, nullptr, plD3dClear::Target, 0xFF000000, 1.0f, 0);
        device.BeginScene();
        EXPECT_EQ(device.DrawIndexedPrimitive(plD3dPt::TriangleList, 0, 4, 0, 2), plD3dErr::Ok);
        device.EndScene();
        return gl.Read();
    };
    const std::vector<u32> first = draw();
    EXPECT_EQ(draw(), first);
    // Other code points the arrays elsewhere and says so: the next draw points them back.
    const std::vector<f32> elsewhere(64, 0.0f);
    glVertexPointer(3, GL_FLOAT, 0, elsewhere.data());
    glDisableClientState(GL_COLOR_ARRAY);
    plGlCountForeignUse();
    EXPECT_EQ(draw(), first);
    // New contents of the same buffer are drawn through the same arrays.
    Write(*vertices, grey, plD3dLock::Discard);
    const std::vector<u32> greyDrawn = draw();
    EXPECT_NE(std::count(greyDrawn.begin(), greyDrawn.end(), 0xFF808080u), 0);
    EXPECT_EQ(std::count(greyDrawn.begin(), greyDrawn.end(), 0xFFFF0000u), 0);
    vertices->Release();
    indices->Release();
}

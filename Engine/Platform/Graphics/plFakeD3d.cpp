#include "Engine/Platform/Graphics/plFakeD3d.h"

#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Format(const char* format, auto... values) {
    char line[160];
    std::snprintf(line, sizeof line, format, values...);
    return line;
}

int FormatNumber(plD3dFormat format) {
    return static_cast<int>(format);
}

} // namespace

plFakeD3d::plFakeD3d() {
    m_identifier.description = "Loopvane test adapter";
    for (const auto& [width, height] : {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}})
        for (plD3dFormat format : {plD3dFormat::X8R8G8B8, plD3dFormat::R5G6B5})
            m_modes.push_back({width, height, 60, format});
    m_desktop = {1024, 768, 60, plD3dFormat::X8R8G8B8};
    m_caps.devCaps = plD3dDevCaps::HwTransformAndLight;
    m_caps.rasterCaps = plD3dRasterCaps::FogVertex | plD3dRasterCaps::FogTable | plD3dRasterCaps::WFog;
    m_caps.maxTextureWidth = 2048;
    m_caps.maxTextureHeight = 2048;
    m_caps.maxTextureBlendStages = 8;
    m_caps.maxSimultaneousTextures = 4;
    m_caps.maxActiveLights = 8;
}

plD3dResult plFakeD3d::CheckDeviceType(u32 adapter, plD3dDevType type, plD3dFormat displayFormat,
                                       plD3dFormat backBufferFormat, bool windowed) {
    m_log.push_back(Format("CheckDeviceType %d %d %d", FormatNumber(displayFormat),
                           FormatNumber(backBufferFormat), windowed ? 1 : 0));
    if (adapter != plD3dAdapterDefault || type != plD3dDevType::Hal)
        return plD3dErr::InvalidCall;
    if (m_refused.count(backBufferFormat) || !plD3dIsColorFormat(backBufferFormat))
        return plD3dErr::NotAvailable;
    return plD3dErr::Ok;
}

bool plFakeD3d::SupportsTextureFormat(plD3dFormat format, u32) const {
    return plD3dIsColorFormat(format) && !m_refusedTextures.count(format);
}

plD3dResult plFakeD3d::CreateDeviceOn(u32 behaviorFlags, const plD3dPresentParameters& params,
                                      plD3dDevice** device) {
    m_log.push_back(Format("CreateDevice %x %ux%u %d %d", behaviorFlags, params.backBufferWidth,
                           params.backBufferHeight, FormatNumber(params.backBufferFormat),
                           params.windowed ? 1 : 0));
    if (behaviorFlags & m_failingCreation)
        return plD3dErr::NotAvailable;
    auto* created = new plFakeD3dDevice(*this, params);
    m_device = created;
    *device = created;
    return plD3dErr::Ok;
}

void plFakeD3d::GetWindowSize(u32& width, u32& height) {
    width = 640;
    height = 480;
}

plFakeD3dDevice::plFakeD3dDevice(plFakeD3d& d3d, const plD3dPresentParameters& params)
    : plD3dDevice(d3d, params, d3d.m_caps), m_d3d(d3d),
      m_pixels(static_cast<size_t>(params.backBufferWidth) * params.backBufferHeight, 0xFF000000u) {}

plFakeD3dDevice::~plFakeD3dDevice() {
    if (m_d3d.m_device == this)
        m_d3d.m_device = nullptr;
}

plD3dResult plFakeD3dDevice::Logged(const std::string& line, plD3dResult result) {
    Log(plD3dFailed(result) ? line + Format(" -> %08x", result) : line);
    return result;
}

void plFakeD3dDevice::InjectLoss(u32 count) {
    m_lostTests = count;
    m_lost = true;
}

u32 plFakeD3dDevice::GetPixel(u32 x, u32 y) const {
    const auto& params = GetPresentParameters();
    return x < params.backBufferWidth && y < params.backBufferHeight
               ? m_pixels[static_cast<size_t>(y) * params.backBufferWidth + x]
               : 0;
}

plD3dResult plFakeD3dDevice::TestCooperativeLevel() {
    plD3dResult result = plD3dErr::Ok;
    if (m_lost && m_lostTests > 0) {
        --m_lostTests;
        result = plD3dErr::DeviceLost;
    } else if (m_lost) {
        result = plD3dErr::DeviceNotReset;
    }
    return Logged("TestCooperativeLevel", result);
}

plD3dResult plFakeD3dDevice::Reset(plD3dPresentParameters* params) {
    plD3dResult result = plD3dErr::Ok;
    if (m_failingResets > 0) {
        --m_failingResets;
        result = plD3dErr::DeviceLost;
    } else if (m_lost && m_lostTests > 0) {
        result = plD3dErr::DeviceLost;
    } else {
        result = plD3dDevice::Reset(params);
    }
    if (!plD3dFailed(result)) {
        m_lost = false;
        m_pixels.assign(static_cast<size_t>(params->backBufferWidth) * params->backBufferHeight, 0xFF000000u);
    }
    return Logged("Reset", result);
}

plD3dResult plFakeD3dDevice::Present() {
    const plD3dResult result = plD3dDevice::Present();
    if (!plD3dFailed(result) && !m_lost)
        m_front = m_pixels;
    return Logged("Present", plD3dFailed(result) || !m_lost ? result : plD3dErr::DeviceLost);
}

plD3dResult plFakeD3dDevice::BeginScene() {
    return Logged("BeginScene", plD3dDevice::BeginScene());
}

plD3dResult plFakeD3dDevice::EndScene() {
    return Logged("EndScene", plD3dDevice::EndScene());
}

plD3dResult plFakeD3dDevice::Clear(u32 count, const plD3dRect* rects, u32 flags, u32 color, f32 z,
                                   u32 stencil) {
    const plD3dResult result = plD3dDevice::Clear(count, rects, flags, color, z, stencil);
    if (!plD3dFailed(result) && (flags & plD3dClear::Target) && !m_lost && !GetTargetTexture()) {
        const plD3dViewport& view = GetViewportValue();
        const plD3dRect viewRect{static_cast<i32>(view.x), static_cast<i32>(view.y),
                                 static_cast<i32>(view.x + view.width),
                                 static_cast<i32>(view.y + view.height)};
        const u32 areas = count == 0 ? 1 : count;
        for (u32 i = 0; i < areas; ++i) {
            const plD3dRect& area = count == 0 ? viewRect : rects[i];
            const auto width = static_cast<size_t>(GetPresentParameters().backBufferWidth);
            const i32 left = std::max(area.left, viewRect.left);
            const i32 right = std::min(area.right, viewRect.right);
            for (i32 y = std::max(area.top, viewRect.top);
                 y < std::min(area.bottom, viewRect.bottom) && left < right; ++y) {
                u32* row = m_pixels.data() + static_cast<size_t>(y) * width;
                std::fill(row + left, row + right, color);
            }
        }
    }
    return Logged(Format("Clear %x %08x", flags, color), result);
}

plD3dResult plFakeD3dDevice::GetBackBuffer(u32 index, u32 type, plD3dSurface** surface) {
    return Logged("GetBackBuffer", plD3dDevice::GetBackBuffer(index, type, surface));
}

plD3dResult plFakeD3dDevice::SetRenderTarget(plD3dSurface* target, plD3dSurface* depthStencil) {
    const std::string name = !target ? "keep"
                             : target->IsBackBuffer()
                                 ? "back"
                                 : Format("%ux%u", target->Desc().width, target->Desc().height);
    return Logged(Format("SetRenderTarget %s %d", name.c_str(), depthStencil ? 1 : 0),
                  plD3dDevice::SetRenderTarget(target, depthStencil));
}

plD3dResult plFakeD3dDevice::CreateImageSurface(u32 width, u32 height, plD3dFormat format,
                                                plD3dSurface** surface) {
    return Logged(Format("CreateImageSurface %u %u %d", width, height, FormatNumber(format)),
                  plD3dDevice::CreateImageSurface(width, height, format, surface));
}

plD3dResult plFakeD3dDevice::CreateTexture(u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format,
                                           u32 pool, plD3dTexture** texture) {
    return Logged(
        Format("CreateTexture %u %u %u %u %d %u", width, height, levels, usage, FormatNumber(format), pool),
        plD3dDevice::CreateTexture(width, height, levels, usage, format, pool, texture));
}

plD3dResult plFakeD3dDevice::CreateVertexBuffer(u32 length, u32 usage, u32 fvf, u32 pool,
                                                plD3dVertexBuffer** buffer) {
    return Logged(Format("CreateVertexBuffer %u %x %x %u", length, usage, fvf, pool),
                  plD3dDevice::CreateVertexBuffer(length, usage, fvf, pool, buffer));
}

plD3dResult plFakeD3dDevice::CreateIndexBuffer(u32 length, u32 usage, plD3dFormat format, u32 pool,
                                               plD3dIndexBuffer** buffer) {
    return Logged(Format("CreateIndexBuffer %u %x %d %u", length, usage, FormatNumber(format), pool),
                  plD3dDevice::CreateIndexBuffer(length, usage, format, pool, buffer));
}

void plFakeD3dDevice::OnBufferLocked(plD3dBuffer& buffer, u8* data, u32 offset, u32 size, u32 flags) {
    Log(Format("Lock %u %u %x", offset, size, flags));
    if (!(buffer.Desc().usage & plD3dUsage::WriteOnly))
        return;
    if (flags & plD3dLock::Discard)
        std::fill_n(data, buffer.Desc().size, kWriteOnlyPattern);
    else
        std::fill_n(data + offset, size, kWriteOnlyPattern);
}

plD3dResult plFakeD3dDevice::SetStreamSource(u32 stream, plD3dVertexBuffer* buffer, u32 stride) {
    return Logged(Format("SetStreamSource %u %u", stream, stride),
                  plD3dDevice::SetStreamSource(stream, buffer, stride));
}

plD3dResult plFakeD3dDevice::SetIndices(plD3dIndexBuffer* buffer, u32 baseVertexIndex) {
    return Logged(Format("SetIndices %u", baseVertexIndex), plD3dDevice::SetIndices(buffer, baseVertexIndex));
}

plD3dResult plFakeD3dDevice::DrawPrimitive(u32 type, u32 startVertex, u32 primitiveCount) {
    return Logged(Format("DrawPrimitive %u %u %u", type, startVertex, primitiveCount),
                  plD3dDevice::DrawPrimitive(type, startVertex, primitiveCount));
}

plD3dResult plFakeD3dDevice::DrawIndexedPrimitive(u32 type, u32 minIndex, u32 vertexCount, u32 startIndex,
                                                  u32 primitiveCount) {
    return Logged(Format("DrawIndexedPrimitive %u %u %u %u %u", type, minIndex, vertexCount, startIndex,
                         primitiveCount),
                  plD3dDevice::DrawIndexedPrimitive(type, minIndex, vertexCount, startIndex, primitiveCount));
}

plD3dResult plFakeD3dDevice::SetTexture(u32 stage, plD3dTexture* texture) {
    const plD3dSurfaceDesc* level = texture ? &texture->Level(0)->Desc() : nullptr;
    return Logged(level ? Format("SetTexture %u %ux%u", stage, level->width, level->height)
                        : Format("SetTexture %u null", stage),
                  plD3dDevice::SetTexture(stage, texture));
}

plD3dResult plFakeD3dDevice::SetTextureStageState(u32 stage, u32 state, u32 value) {
    return Logged(Format("SetTextureStageState %u %u %u", stage, state, value),
                  plD3dDevice::SetTextureStageState(stage, state, value));
}

plD3dResult plFakeD3dDevice::SetMaterial(const plD3dMaterial* material) {
    const plD3dResult result = plD3dDevice::SetMaterial(material);
    if (!material)
        return Logged("SetMaterial null", result);
    const plD3dColorValue& d = material->diffuse;
    return Logged(Format("SetMaterial %g %g %g %g %g", d.r, d.g, d.b, d.a, material->power), result);
}

plD3dResult plFakeD3dDevice::SetLight(u32 index, const plD3dLight* light) {
    const plD3dResult result = plD3dDevice::SetLight(index, light);
    if (!light)
        return Logged(Format("SetLight %u null", index), result);
    return Logged(Format("SetLight %u %u %g", index, light->type, light->range), result);
}

plD3dResult plFakeD3dDevice::LightEnable(u32 index, bool enable) {
    return Logged(Format("LightEnable %u %d", index, enable ? 1 : 0),
                  plD3dDevice::LightEnable(index, enable));
}

u32 plFakeD3dDevice::GetAvailableTextureMem() {
    return m_d3d.m_textureMemory;
}

plD3dResult plFakeD3dDevice::CopyRects(plD3dSurface* source, const plD3dRect* rects, u32 count,
                                       plD3dSurface* target, const plD3dPoint* points) {
    std::string line = "CopyRects";
    for (u32 i = 0; rects && i < count; ++i) {
        line += Format(" %d %d %d %d", rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
        if (points)
            line += Format(" -> %d %d", points[i].x, points[i].y);
    }
    return Logged(line, plD3dDevice::CopyRects(source, rects, count, target, points));
}

void plFakeD3dDevice::SetGammaRamp(u32 flags, const plD3dGammaRamp* ramp) {
    plD3dDevice::SetGammaRamp(flags, ramp);
    Log(Format("SetGammaRamp %u", flags));
}

plD3dResult plFakeD3dDevice::SetRenderState(u32 state, u32 value) {
    return Logged(Format("SetRenderState %u %u", state, value), plD3dDevice::SetRenderState(state, value));
}

plD3dResult plFakeD3dDevice::SetTransform(u32 state, const maMatrix4d* matrix) {
    return Logged(Format("SetTransform %u", state), plD3dDevice::SetTransform(state, matrix));
}

plD3dResult plFakeD3dDevice::SetViewport(const plD3dViewport* viewport) {
    return Logged("SetViewport", plD3dDevice::SetViewport(viewport));
}

plD3dResult plFakeD3dDevice::SetVertexShader(u32 fvf) {
    return Logged(Format("SetVertexShader %x", fvf), plD3dDevice::SetVertexShader(fvf));
}

plD3dResult plFakeD3dDevice::DrawPrimitiveUP(u32 type, u32 primitiveCount, const void* vertices, u32 stride) {
    return Logged(Format("DrawPrimitiveUP %u %u", type, primitiveCount),
                  plD3dDevice::DrawPrimitiveUP(type, primitiveCount, vertices, stride));
}

plD3dResult plFakeD3dDevice::DrawIndexedPrimitiveUP(u32 type, u32 minIndex, u32 vertexCount,
                                                    u32 primitiveCount, const void* indices,
                                                    plD3dFormat indexFormat, const void* vertices,
                                                    u32 stride) {
    return Logged(Format("DrawIndexedPrimitiveUP %u %u", type, primitiveCount),
                  plD3dDevice::DrawIndexedPrimitiveUP(type, minIndex, vertexCount, primitiveCount, indices,
                                                      indexFormat, vertices, stride));
}

void plFakeD3dDevice::WriteBackBuffer(const plD3dRect& rect, const u32* argb) {
    if (m_lost)
        return;
    const size_t width = GetPresentParameters().backBufferWidth;
    const auto rectWidth = static_cast<size_t>(rect.right - rect.left);
    for (i32 y = rect.top; y < rect.bottom; ++y)
        std::copy_n(argb + static_cast<size_t>(y - rect.top) * rectWidth, rectWidth,
                    m_pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * width +
                                                                   static_cast<size_t>(rect.left)));
}

void plFakeD3dDevice::ReadFrontBuffer(u32* argb) {
    if (m_front.size() != m_pixels.size())
        std::fill_n(argb, m_pixels.size(), 0xFF000000u);
    else
        std::copy(m_front.begin(), m_front.end(), argb);
}

void plFakeD3dDevice::ReadBackBuffer(const plD3dRect& rect, u32* argb) {
    const size_t width = GetPresentParameters().backBufferWidth;
    const auto rectWidth = static_cast<size_t>(rect.right - rect.left);
    for (i32 y = rect.top; y < rect.bottom; ++y)
        std::copy_n(m_pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * width +
                                                                   static_cast<size_t>(rect.left)),
                    rectWidth, argb + static_cast<size_t>(y - rect.top) * rectWidth);
}

plD3dResult plFakeD3dDevice::SetCursorProperties(u32 xHotSpot, u32 yHotSpot, plD3dSurface* image) {
    return Logged(Format("SetCursorProperties %u %u", xHotSpot, yHotSpot),
                  plD3dDevice::SetCursorProperties(xHotSpot, yHotSpot, image));
}

void plFakeD3dDevice::SetCursorPosition(i32 x, i32 y, u32 flags) {
    plD3dDevice::SetCursorPosition(x, y, flags);
    Log(Format("SetCursorPosition %d %d %u", x, y, flags));
}

bool plFakeD3dDevice::ShowCursor(bool show) {
    Log(Format("ShowCursor %d", show ? 1 : 0));
    return plD3dDevice::ShowCursor(show);
}

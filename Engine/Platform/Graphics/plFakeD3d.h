#pragma once
#include "Engine/Platform/Graphics/plD3d.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"

#include <set>
#include <string>
#include <vector>

class plFakeD3dDevice;

// The 3D factory of tests: a settable adapter (name, modes, desktop mode, capabilities with the maximum
// texture size, texture memory), formats it refuses, creation that fails on request, and one log of the
// calls made on it and on its devices.
// Log lines are the call's name and its arguments, for instance "Clear 1 ff102030" or
// "CopyRects 10 0 20 5 -> 0 0".
class plFakeD3d : public plD3d {
  public:
    plFakeD3d();

    plD3dResult CheckDeviceType(u32 adapter, plD3dDevType type, plD3dFormat displayFormat,
                                plD3dFormat backBufferFormat, bool windowed) override;
    // Every colour format but the refused ones.
    bool SupportsTextureFormat(plD3dFormat format, u32 usage) const override;

    // False makes Create answer null, as on a machine without 3D.
    void SetAvailable(bool available) { m_available = available; }
    void SetAdapterName(const std::string& name) { m_identifier.description = name; }
    void SetModes(const std::vector<plD3dDisplayMode>& modes) { m_modes = modes; }
    void SetCaps(const plD3dCaps& caps) { m_caps = caps; }
    // CheckDeviceType answers NotAvailable for this back-buffer format.
    void RefuseFormat(plD3dFormat format) { m_refused.insert(format); }
    // Neither format checks nor texture creation take this format.
    void RefuseTextureFormat(plD3dFormat format) { m_refusedTextures.insert(format); }
    void SetAvailableTextureMem(u32 bytes) { m_textureMemory = bytes; }
    // CreateDevice with this vertex-processing flag answers NotAvailable.
    void FailCreation(u32 vertexProcessing) { m_failingCreation |= vertexProcessing; }

    std::vector<std::string>& GetLog() { return m_log; }
    // The device created last, while it lives; null otherwise.
    plFakeD3dDevice* GetDevice() const { return m_device; }

  protected:
    bool Open() override { return m_available; }
    void Close() override {}
    plD3dResult CreateDeviceOn(u32 behaviorFlags, const plD3dPresentParameters& params,
                               plD3dDevice** device) override;
    void GetWindowSize(u32& width, u32& height) override;

  private:
    friend class plFakeD3dDevice;

    bool m_available = true;
    plD3dCaps m_caps;
    std::set<plD3dFormat> m_refused;
    std::set<plD3dFormat> m_refusedTextures;
    u32 m_textureMemory = 64u << 20;
    u32 m_failingCreation = 0;
    std::vector<std::string> m_log;
    plFakeD3dDevice* m_device = nullptr;
};

// The device of tests: it keeps the back buffer in memory (clears and copies land there, clears of a
// texture target nowhere; draws are only
// logged, Present copies it to the front buffer), loses itself on request, and follows the reset rules of the
// real one. A lock of a write-only buffer hands out the locked range (the whole buffer with Discard) filled
// with kWriteOnlyPattern, so code that reads such a lock back reads garbage; indexed draws check every index
// they read.
class plFakeD3dDevice : public plD3dDevice {
  public:
    // The next count tests answer DeviceLost, the ones after DeviceNotReset until a Reset succeeds.
    void InjectLoss(u32 count);
    // The next count Resets fail with DeviceLost.
    void FailResets(u32 count) { m_failingResets = count; }
    // The light limit of this device's capabilities, whatever the factory gave it.
    void SetMaxActiveLights(u32 count) { m_caps.maxActiveLights = count; }
    // A back-buffer pixel as 0xAARRGGBB.
    u32 GetPixel(u32 x, u32 y) const;
    // The player moves the pointer to a back-buffer pixel.
    void MovePointer(i32 x, i32 y) { plD3dDevice::SetCursorPosition(x, y, 0); }

    static constexpr u8 kWriteOnlyPattern = 0xCD;

    plD3dResult TestCooperativeLevel() override;
    plD3dResult Reset(plD3dPresentParameters* params) override;
    plD3dResult Present() override;
    plD3dResult BeginScene() override;
    plD3dResult EndScene() override;
    plD3dResult Clear(u32 count, const plD3dRect* rects, u32 flags, u32 color, f32 z, u32 stencil) override;
    plD3dResult GetBackBuffer(u32 index, u32 type, plD3dSurface** surface) override;
    plD3dResult SetRenderTarget(plD3dSurface* target, plD3dSurface* depthStencil) override;
    plD3dResult CreateImageSurface(u32 width, u32 height, plD3dFormat format,
                                   plD3dSurface** surface) override;
    plD3dResult CreateTexture(u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format, u32 pool,
                              plD3dTexture** texture) override;
    plD3dResult CreateVertexBuffer(u32 length, u32 usage, u32 fvf, u32 pool,
                                   plD3dVertexBuffer** buffer) override;
    plD3dResult CreateIndexBuffer(u32 length, u32 usage, plD3dFormat format, u32 pool,
                                  plD3dIndexBuffer** buffer) override;
    plD3dResult CopyRects(plD3dSurface* source, const plD3dRect* rects, u32 count, plD3dSurface* target,
                          const plD3dPoint* points) override;
    plD3dResult SetTexture(u32 stage, plD3dTexture* texture) override;
    plD3dResult SetTextureStageState(u32 stage, u32 state, u32 value) override;
    plD3dResult SetMaterial(const plD3dMaterial* material) override;
    plD3dResult SetLight(u32 index, const plD3dLight* light) override;
    plD3dResult LightEnable(u32 index, bool enable) override;
    u32 GetAvailableTextureMem() override;
    void SetGammaRamp(u32 flags, const plD3dGammaRamp* ramp) override;
    plD3dResult SetRenderState(u32 state, u32 value) override;
    plD3dResult SetTransform(u32 state, const maMatrix4d* matrix) override;
    plD3dResult SetViewport(const plD3dViewport* viewport) override;
    plD3dResult SetVertexShader(u32 fvf) override;
    plD3dResult DrawPrimitiveUP(u32 type, u32 primitiveCount, const void* vertices, u32 stride) override;
    plD3dResult DrawIndexedPrimitiveUP(u32 type, u32 minIndex, u32 vertexCount, u32 primitiveCount,
                                       const void* indices, plD3dFormat indexFormat, const void* vertices,
                                       u32 stride) override;
    plD3dResult SetStreamSource(u32 stream, plD3dVertexBuffer* buffer, u32 stride) override;
    plD3dResult SetIndices(plD3dIndexBuffer* buffer, u32 baseVertexIndex) override;
    plD3dResult DrawPrimitive(u32 type, u32 startVertex, u32 primitiveCount) override;
    plD3dResult DrawIndexedPrimitive(u32 type, u32 minIndex, u32 vertexCount, u32 startIndex,
                                     u32 primitiveCount) override;
    plD3dResult SetCursorProperties(u32 xHotSpot, u32 yHotSpot, plD3dSurface* image) override;
    void SetCursorPosition(i32 x, i32 y, u32 flags) override;
    bool ShowCursor(bool show) override;

  protected:
    void WriteBackBuffer(const plD3dRect& rect, const u32* argb) override;
    void ReadBackBuffer(const plD3dRect& rect, u32* argb) override;
    void ReadFrontBuffer(u32* argb) override;
    void OnBufferLocked(plD3dBuffer& buffer, u8* data, u32 offset, u32 size, u32 flags) override;

  private:
    friend class plFakeD3d;
    plFakeD3dDevice(plFakeD3d& d3d, const plD3dPresentParameters& params);
    ~plFakeD3dDevice() override;

    void Log(const std::string& line) { m_d3d.m_log.push_back(line); }
    plD3dResult Logged(const std::string& line, plD3dResult result);

    plFakeD3d& m_d3d;
    std::vector<u32> m_pixels;
    std::vector<u32> m_front; // empty until the first frame is presented
    u32 m_lostTests = 0;
    bool m_lost = false;
    u32 m_failingResets = 0;
};

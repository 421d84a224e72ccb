#pragma once
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"
#include "Engine/Platform/Graphics/plD3dUnknown.h"

#include <array>
#include <map>
#include <optional>
#include <vector>

class plD3d;
class plD3dBuffer;
class plD3dIndexBuffer;
class plD3dSurface;
class plD3dTexture;
class plD3dVertexBuffer;

// Where the parts of a vertex lie in a flexible vertex format; false for formats the draws cannot take
// (no position, or a position of another kind).
struct plD3dVertexLayout {
    bool pretransformed = false; // XYZRHW: x, y in pixels of the render target, z in 0..1, 1/w
    u32 size = 0;                // bytes of one vertex
    i32 normalOffset = -1;       // three floats, or -1 (no normal)
    i32 diffuseOffset = -1;      // the 0xAARRGGBB colour, or -1 (white)
    u32 texCoordOffset = 0;      // the first set of texture coordinates; each set is two floats
    u32 texCoordSets = 0;
};
bool plD3dGetVertexLayout(u32 fvf, plD3dVertexLayout& layout);
// The vertices (or indices) a draw of that many primitives of the type reads; 0 for an unknown type
// or more than 32 bits count.
u32 plD3dVerticesOf(u32 type, u32 primitiveCount);

// The 3D device on the program's window. This base keeps what both backends share: the reference
// count, the shadow of every render state, texture stage state, texture binding, transform and the
// viewport (restored to the defaults by Reset), the live-resource count that Reset checks, image
// surfaces, the pixels of textures and the bytes of buffers, and the checks of every call.
// A backend overrides the calls it acts on and calls the base first. Calls made while the device is
// lost succeed and do nothing the backend cannot undo; Present then answers DeviceLost.
class plD3dDevice : public plD3dUnknown {
  public:
    // Ok, DeviceLost (nothing can be done yet) or DeviceNotReset (Reset may now succeed).
    virtual plD3dResult TestCooperativeLevel();
    // New presentation parameters; refused with InvalidCall while default-pool resources (back-buffer
    // surfaces among them) are alive. Every state returns to its default.
    virtual plD3dResult Reset(plD3dPresentParameters* params);
    virtual plD3dResult Present();

    virtual plD3dResult BeginScene();
    virtual plD3dResult EndScene();
    // Clears the viewport (inside the rectangles when given) whatever the depth-write and colour-write
    // states say; ZBuffer needs a depth buffer.
    virtual plD3dResult Clear(u32 count, const plD3dRect* rects, u32 flags, u32 color, f32 z, u32 stencil);

    virtual plD3dResult GetBackBuffer(u32 index, u32 type, plD3dSurface** surface);
    // Where draws and clears land: the back buffer or level 0 of a render-target texture (null keeps
    // the current one), with the depth buffer (which must be at least as large) or none. The viewport
    // becomes the whole target. The device holds no reference: a target texture released while set
    // returns drawing to the back buffer, as Reset does.
    virtual plD3dResult SetRenderTarget(plD3dSurface* target, plD3dSurface* depthStencil);
    // The current target with a new reference.
    plD3dResult GetRenderTarget(plD3dSurface** target);
    // The depth buffer made with the device (NotFound without one), with a new reference; it cannot be
    // locked or copied, and holds Reset off like the back buffer's surfaces.
    plD3dResult GetDepthStencilSurface(plD3dSurface** surface);
    virtual plD3dResult CreateImageSurface(u32 width, u32 height, plD3dFormat format, plD3dSurface** surface);
    // Levels 0 makes the whole chain. Usage 0 or render target (which needs the default pool); the
    // managed and system-memory pools keep their pixels through Reset, the default pool must be
    // released before it. Sizes above the maximum texture size are refused.
    virtual plD3dResult CreateTexture(u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format,
                                      u32 pool, plD3dTexture** texture);
    // Buffers of length bytes (at least one vertex of the format, or one index); usage write-only and
    // dynamic or 0. Default-pool buffers must be released before Reset, like default-pool textures.
    virtual plD3dResult CreateVertexBuffer(u32 length, u32 usage, u32 fvf, u32 pool,
                                           plD3dVertexBuffer** buffer);
    // 16-bit indices only.
    virtual plD3dResult CreateIndexBuffer(u32 length, u32 usage, plD3dFormat format, u32 pool,
                                          plD3dIndexBuffer** buffer);
    // Copies rectangles (the whole source when null) to points of the destination (the same places
    // when null). Between image surfaces and texture levels formats must be equal; to and from the
    // back buffer pixels are converted. A rectangle reaching outside either surface is refused with
    // InvalidCall and nothing is copied.
    virtual plD3dResult CopyRects(plD3dSurface* source, const plD3dRect* rects, u32 count,
                                  plD3dSurface* target, const plD3dPoint* points);
    // Copies the frame presented last (black before the first) into an unlocked image surface of the
    // back buffer's size, converted to its colour format; InvalidCall for any other surface.
    plD3dResult GetFrontBuffer(plD3dSurface* target);

    virtual void SetGammaRamp(u32 flags, const plD3dGammaRamp* ramp);
    void GetGammaRamp(plD3dGammaRamp* ramp) const;
    plD3dResult GetDeviceCaps(plD3dCaps* caps) const;

    virtual plD3dResult SetRenderState(u32 state, u32 value);
    plD3dResult GetRenderState(u32 state, u32* value) const;
    // View, projection, texture 0 to 7 and world: row-vector matrices (p' = p * M).
    virtual plD3dResult SetTransform(u32 state, const maMatrix4d* matrix);
    plD3dResult GetTransform(u32 state, maMatrix4d* matrix) const;
    virtual plD3dResult SetViewport(const plD3dViewport* viewport);
    plD3dResult GetViewport(plD3dViewport* viewport) const;
    // The vertex format of the draws that follow.
    virtual plD3dResult SetVertexShader(u32 fvf);
    plD3dResult GetVertexShader(u32* fvf) const;
    // The texture a stage samples, or null. The binding holds no reference: a texture released while
    // bound leaves its stage empty. System-memory textures cannot be bound.
    virtual plD3dResult SetTexture(u32 stage, plD3dTexture* texture);
    plD3dResult GetTexture(u32 stage, plD3dTexture** texture) const;
    virtual plD3dResult SetTextureStageState(u32 stage, u32 state, u32 value);
    // The material lit draws reflect with (both faces).
    virtual plD3dResult SetMaterial(const plD3dMaterial* material);
    plD3dResult GetMaterial(plD3dMaterial* material) const;
    plD3dResult GetTextureStageState(u32 stage, u32 state, u32* value) const;
    // Lights by index below the caps' maxActiveLights, point or directional; Reset forgets them all.
    // Enabling an index never set lights it with a white light travelling along +z.
    virtual plD3dResult SetLight(u32 index, const plD3dLight* light);
    plD3dResult GetLight(u32 index, plD3dLight* light) const;
    virtual plD3dResult LightEnable(u32 index, bool enable);
    plD3dResult GetLightEnable(u32 index, bool* enable) const;
    // An estimate of the memory left for textures, in bytes.
    virtual u32 GetAvailableTextureMem() = 0;

    // Triangles (list, strip or fan) from memory, inside a scene, coloured and textured as the stages say.
    virtual plD3dResult DrawPrimitiveUP(u32 type, u32 primitiveCount, const void* vertices, u32 stride);
    virtual plD3dResult DrawIndexedPrimitiveUP(u32 type, u32 minIndex, u32 vertexCount, u32 primitiveCount,
                                               const void* indices, plD3dFormat indexFormat,
                                               const void* vertices, u32 stride);
    // The buffers the draws below read: stream 0 only, and the indices, whose values are offset by the
    // base vertex index. Like textures the bindings hold no reference; Reset clears them.
    virtual plD3dResult SetStreamSource(u32 stream, plD3dVertexBuffer* buffer, u32 stride);
    virtual plD3dResult SetIndices(plD3dIndexBuffer* buffer, u32 baseVertexIndex);
    // Points, lines or triangles from the bound buffers, inside a scene; neither may be locked.
    virtual plD3dResult DrawPrimitive(u32 type, u32 startVertex, u32 primitiveCount);
    // Indices from startIndex on, naming vertices base + minIndex to base + minIndex + vertexCount - 1.
    virtual plD3dResult DrawIndexedPrimitive(u32 type, u32 minIndex, u32 vertexCount, u32 startIndex,
                                             u32 primitiveCount);

    // The pointer's image: an unlocked A8R8G8B8 image surface or texture level and the hot spot inside
    // it. The device keeps a copy until Reset, which forgets it: its owner sets it again.
    virtual plD3dResult SetCursorProperties(u32 xHotSpot, u32 yHotSpot, plD3dSurface* image);
    // Moves the pointer to a back-buffer pixel (flags are accepted and ignored); it reads back there.
    virtual void SetCursorPosition(i32 x, i32 y, u32 flags);
    // The pointer in back-buffer pixels, in place of the system's cursor position and client mapping.
    virtual void GetCursorPosition(i32& x, i32& y);
    // Shows or hides the pointer; the previous setting.
    virtual bool ShowCursor(bool show);

    bool IsInScene() const { return m_inScene; }
    const plD3dPresentParameters& GetPresentParameters() const { return m_params; }
    u32 GetLiveResourceCount(u32 pool) const { return m_liveResources[pool < 3 ? pool : 0]; }

    // The cursor image last set since the device was made or reset.
    struct CursorImage {
        u32 hotSpotX = 0;
        u32 hotSpotY = 0;
        u32 width = 0;
        u32 height = 0;
        std::vector<u32> argb; // rows top first
    };
    const std::optional<CursorImage>& GetCursorImage() const { return m_cursor; }

  protected:
    plD3dDevice(plD3d& d3d, const plD3dPresentParameters& params, const plD3dCaps& caps);
    ~plD3dDevice() override;

    // Pixels of the back buffer as 0xAARRGGBB, top row first, width = rect width; the rectangle lies
    // inside the back buffer.
    virtual void WriteBackBuffer(const plD3dRect& rect, const u32* argb) = 0;
    virtual void ReadBackBuffer(const plD3dRect& rect, u32* argb) = 0;
    // The frame presented last, as ReadBackBuffer gives the whole back buffer.
    virtual void ReadFrontBuffer(u32* argb) = 0;

    u32 GetRenderStateValue(u32 state) const { return m_renderStates[state]; }
    const maMatrix4d& GetTransformValue(u32 state) const { return m_transforms[TransformSlot(state)]; }
    const plD3dViewport& GetViewportValue() const { return m_viewport; }
    // The render-target texture drawn into, null for the back buffer; whether the depth buffer is used.
    plD3dTexture* GetTargetTexture() const { return m_targetTexture; }
    bool HasTargetDepth() const { return m_targetDepth; }
    u32 GetTargetWidth() const;
    u32 GetTargetHeight() const;
    u32 GetVertexFormat() const { return m_fvf; }
    u32 GetStageStateValue(u32 stage, u32 state) const { return m_stageStates[stage][state]; }
    plD3dTexture* GetStageTexture(u32 stage) const { return m_textures[stage]; }
    const plD3dMaterial& GetMaterialValue() const { return m_material; }
    // The lights set, by index, and whether each is on.
    struct LightSlot {
        plD3dLight light;
        bool enabled = false;
    };
    const std::map<u32, LightSlot>& GetLights() const { return m_lights; }
    // A texture is going: the backend frees what it made for it. The base unbinds it.
    virtual void OnTextureDestroyed(plD3dTexture& texture);
    plD3dVertexBuffer* GetStreamBuffer() const { return m_stream; }
    u32 GetStreamStride() const { return m_streamStride; }
    plD3dIndexBuffer* GetIndexBuffer() const { return m_indices; }
    u32 GetBaseVertexIndex() const { return m_baseVertexIndex; }
    // A buffer's bytes: a lock hands out [offset, offset + size) of data, the whole buffer's bytes; an
    // unlock has written that range (read-only locks aside). A buffer is going: the base unbinds it.
    virtual void OnBufferLocked(plD3dBuffer& buffer, u8* data, u32 offset, u32 size, u32 flags);
    virtual void OnBufferUnlocked(plD3dBuffer& buffer, u32 offset, u32 size, u32 flags);
    virtual void OnBufferDestroyed(plD3dBuffer& buffer);
    // Checks a draw and gives its vertex layout and the number of vertices it reads.
    plD3dResult CheckDraw(u32 type, u32 primitiveCount, const void* vertices, u32 stride,
                          plD3dVertexLayout& layout, u32& vertexCount) const;

    plD3dCaps m_caps;

  private:
    friend class plD3dBuffer;
    friend class plD3dSurface;
    friend class plD3dTexture;
    void AttachResource(u32 pool) { ++m_liveResources[pool < 3 ? pool : 0]; }
    void DetachResource(u32 pool) { --m_liveResources[pool < 3 ? pool : 0]; }
    static int TransformSlot(u32 state);
    static bool BufferUsageValid(u32 usage, u32 pool);
    // Whether the bound stream holds vertexCount (at least one) vertices from firstVertex on, in the
    // vertex format, and may be drawn.
    bool StreamHolds(u64 firstVertex, u32 vertexCount) const;
    void SetDefaultStates();
    // The back buffer with the device's depth buffer, the viewport all of it.
    void TargetBackBuffer();

    plD3d& m_d3d;
    plD3dPresentParameters m_params;
    std::array<u32, plD3dRs::Count> m_renderStates{};
    std::array<std::array<u32, plD3dTss::Count>, plD3dMaxTextureStages> m_stageStates{};
    std::array<plD3dTexture*, plD3dMaxTextureStages> m_textures{};
    plD3dVertexBuffer* m_stream = nullptr;
    u32 m_streamStride = 0;
    plD3dIndexBuffer* m_indices = nullptr;
    u32 m_baseVertexIndex = 0;
    // View, projection, texture 0 to 7, world.
    std::array<maMatrix4d, 11> m_transforms;
    plD3dViewport m_viewport;
    plD3dTexture* m_targetTexture = nullptr;
    bool m_targetDepth = false;
    plD3dMaterial m_material;
    std::map<u32, LightSlot> m_lights;
    u32 m_fvf = 0;
    bool m_inScene = false;
    plD3dGammaRamp m_gamma;
    std::optional<CursorImage> m_cursor;
    bool m_cursorShown = false;
    i32 m_cursorX = 0;
    i32 m_cursorY = 0;
    std::array<u32, 3> m_liveResources{};
};

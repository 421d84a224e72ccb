#pragma once
#include "Engine/Platform/Gl/plGlFit.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

class plGlD3d;
class plSdlWindowHost;
struct SDL_Cursor;

// The 3D device on an OpenGL 2.1 context of the program's window, fixed function. The back buffer is a
// frame-buffer object drawn with clip y negated, so its rows lie in the device's order (row 0 on top) and
// copies in and out need no flip; Present blits it flipped, scaled to the window. On llvmpipe, while the
// window shows the picture at its own size, the window's own buffers are the back buffer instead (rows
// bottom-up, so viewports, scissors, winding and copies flip), which saves that full-screen pass every frame.
// Transforms load untransposed (row vectors read column-major are the column-vector matrix); after the
// projection, z' = 2z - w and half a pixel shift pixel centres onto integer coordinates. States are sent when
// a draw or clear needs them, and all of them again after other code used the context. Textures are OpenGL
// textures of the same layouts (packed 16-bit types, BGRA bytes), filled from their levels' pixels when a
// draw uses them after a write; texture stages become the texture units' combiners. Render-target textures
// carry a frame-buffer object, drawn into like the back buffer (rows in the device's order, so they sample
// the right way up) and given the back buffer's depth buffer when set with it (the frame-buffer objects' one:
// the window keeps its own). Vertex and index buffers are buffer objects that each unlock fills from the
// buffer's bytes (a Discard lock orphans the old storage first); draws from them bind them for the draw
// alone, except pre-transformed vertices, which are converted from the bytes.
class plGlD3dDevice : public plD3dDevice {
  public:
    // Null when the context or its frame buffer cannot be made.
    static plGlD3dDevice* Create(plGlD3d& d3d, plSdlWindowHost& window, const plD3dPresentParameters& params);

    // Makes the device act as lost, as a full-screen device is when the player switches away: tests
    // answer DeviceNotReset and nothing is presented until a Reset succeeds. A Reset whose back buffer
    // cannot be made leaves the device lost the same way.
    void InjectLoss() { m_lost = true; }
    plD3dResult TestCooperativeLevel() override;
    plD3dResult Reset(plD3dPresentParameters* params) override;
    plD3dResult Present() override;
    plD3dResult Clear(u32 count, const plD3dRect* rects, u32 flags, u32 color, f32 z, u32 stencil) override;
    void SetGammaRamp(u32 flags, const plD3dGammaRamp* ramp) override;
    plD3dResult SetRenderState(u32 state, u32 value) override;
    plD3dResult SetTransform(u32 state, const maMatrix4d* matrix) override;
    plD3dResult SetViewport(const plD3dViewport* viewport) override;
    plD3dResult SetRenderTarget(plD3dSurface* target, plD3dSurface* depthStencil) override;
    plD3dResult CreateTexture(u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format, u32 pool,
                              plD3dTexture** texture) override;
    plD3dResult SetTexture(u32 stage, plD3dTexture* texture) override;
    plD3dResult SetTextureStageState(u32 stage, u32 state, u32 value) override;
    plD3dResult SetMaterial(const plD3dMaterial* material) override;
    plD3dResult SetLight(u32 index, const plD3dLight* light) override;
    plD3dResult LightEnable(u32 index, bool enable) override;
    u32 GetAvailableTextureMem() override;
    // The frame-buffer object of a render-target texture, 0 for others.
    u32 GetTextureFramebuffer(const plD3dTexture& texture) const;
    plD3dResult CreateVertexBuffer(u32 length, u32 usage, u32 fvf, u32 pool,
                                   plD3dVertexBuffer** buffer) override;
    plD3dResult CreateIndexBuffer(u32 length, u32 usage, plD3dFormat format, u32 pool,
                                  plD3dIndexBuffer** buffer) override;
    // The buffer object of a vertex or index buffer.
    static u32 GetBufferName(const plD3dBuffer& buffer);
    plD3dResult DrawPrimitive(u32 type, u32 startVertex, u32 primitiveCount) override;
    plD3dResult DrawIndexedPrimitive(u32 type, u32 minIndex, u32 vertexCount, u32 startIndex,
                                     u32 primitiveCount) override;
    plD3dResult DrawPrimitiveUP(u32 type, u32 primitiveCount, const void* vertices, u32 stride) override;
    plD3dResult DrawIndexedPrimitiveUP(u32 type, u32 minIndex, u32 vertexCount, u32 primitiveCount,
                                       const void* indices, plD3dFormat indexFormat, const void* vertices,
                                       u32 stride) override;
    // The pointer is SDL's one pointer: the image becomes a colour cursor (InvalidCall, warned once,
    // where the video driver has none, and the system pointer stays), positions are window points
    // through the fit Present uses.
    plD3dResult SetCursorProperties(u32 xHotSpot, u32 yHotSpot, plD3dSurface* image) override;
    void SetCursorPosition(i32 x, i32 y, u32 flags) override;
    void GetCursorPosition(i32& x, i32& y) override;
    bool ShowCursor(bool show) override;

  protected:
    void WriteBackBuffer(const plD3dRect& rect, const u32* argb) override;
    void ReadBackBuffer(const plD3dRect& rect, u32* argb) override;
    void ReadFrontBuffer(u32* argb) override;
    void OnTextureDestroyed(plD3dTexture& texture) override;
    void OnBufferUnlocked(plD3dBuffer& buffer, u32 offset, u32 size, u32 flags) override;
    void OnBufferDestroyed(plD3dBuffer& buffer) override;

  private:
    // What a draw needs sent; a bit set means the context may hold something else.
    enum Dirty : u32 {
        DirtyTarget = 1u << 0,
        DirtyViewport = 1u << 1,
        DirtyMatrices = 1u << 2,
        DirtyDepth = 1u << 3,
        DirtyCull = 1u << 4,
        DirtyBlend = 1u << 5,
        DirtyColorMask = 1u << 6,
        DirtyAlphaTest = 1u << 7,
        DirtyFixed = 1u << 8, // lighting, fog and the other switches the draws keep off
        DirtyStages = 1u << 9,
        DirtyLighting = 1u << 10, // material, ambient light and the lighting model
        DirtyFog = 1u << 11,
        DirtyLights = 1u << 12, // positions and directions, placed by the view alone
        DirtyAll = 0x1FFF,
    };

    // The wrap modes and filters a texture object was given (0 not yet).
    using GlSampler = std::array<i32, 4>;
    // What the context holds for a texture.
    struct GlTexture {
        u32 name = 0;
        u32 framebuffer = 0;
        GlSampler sampler{};
    };
    // What a texture unit's environment was sent: combiners, constant colour and coordinate transform.
    struct UnitCombine {
        std::array<u32, 6> ops{};
        u32 constant = 0;
        u32 transformFlags = 0;
        bool reflect = false;
        std::array<f32, 16> transform{};
        bool operator==(const UnitCombine&) const = default;
    };

    plGlD3dDevice(plGlD3d& d3d, plSdlWindowHost& window, const plD3dPresentParameters& params, void* context,
                  const plD3dCaps& caps);
    ~plGlD3dDevice() override;

    bool MakeTarget();
    void FreeTarget();
    void ApplyPresentation();
    // The context may hold anything: everything is sent again.
    void Invalidate();
    // Makes the context current and sends what is dirty.
    void Prepare(u32 needed);
    // The back buffer's frame buffer, or the target texture's with the depth buffer when it takes it.
    void BindTarget();
    // The window's own buffers as the back buffer for the frames to come while llvmpipe draws, the window
    // shows the picture whole at its own size and holds every channel of the back buffer's format; the
    // frame-buffer objects otherwise (and for the first frame).
    void ChooseBackBuffer();
    bool DrawingToWindow() const { return m_direct && !GetTargetTexture(); }
    // The frame-buffer object's picture onto the window's back buffer at the window's size.
    void BlitToWindow(u32 framebuffer);
    // The frame presented last shown again, for a window that lost its picture.
    void ShowLastFrame();
    // A rectangle of the window's back buffer in the device's row order.
    void ReadWindow(const plD3dRect& rect, u32* argb);
    void SendViewport();
    void SendMatrices();
    void SendDepth();
    void SendCull();
    void SendBlend();
    void SendColorMask();
    void SendAlphaTest();
    void SendStages();
    void SendSampler(u32 stage, GlSampler& sent);
    // The texture matrix and coordinate generation of the active unit for the stage.
    void SendTextureTransform(u32 stage);
    u32 WhiteTexture();
    void SendLighting();
    void SendFog();
    // Every light, the enabled ones with the modelview holding the view: OpenGL keeps a light's place
    // in eye space as it was when set, where the device's lights stay in world space.
    void SendLights();
    // Lighting and fog on for a draw of that layout: lit when lighting is on and the vertices have
    // normals, fogged when fog is on; pre-transformed vertices are neither.
    void SwitchLightingAndFog(const plD3dVertexLayout& layout);
    // The texture units the stages reach, in order; a stage stops the chain when it is off.
    u32 ActiveStages() const;
    // Uploads the written levels of the stages' textures and answers the coordinate set each unit
    // reads, a byte a stage: the set plus one, 0 where the unit's coordinate array is off.
    u64 PrepareTextures(const plD3dVertexLayout& layout);
    void PointTexCoords(u64 sets, const plD3dVertexLayout& layout, uintptr_t vertices, u32 stride);
    // The levels of the bits given.
    void Upload(plD3dTexture& texture, const GlTexture& gl, u32 levels);
    void SendFixed();
    // Clears, copies and pre-transformed draws reach past the viewport's scissor, which the next
    // transformed draw sends again.
    void DisableScissor();
    // Points the normal, colour and texture-coordinate arrays into the vertices at that address: client
    // memory, or an offset into the array buffer bound when they are pointed.
    void PointAttributes(const plD3dVertexLayout& layout, uintptr_t vertices, u32 stride, u64 sets);
    // A draw from client memory; indices null draws the vertices in order.
    plD3dResult Draw(u32 type, const void* vertices, u32 vertexCount, u32 stride, const u16* indices,
                     u32 indexCount);
    // Sends the state of a draw and points every array at the stream's buffer object from that vertex on,
    // unless they already point there.
    void BindStream(u64 firstVertex);
    // Counts the vertices (or indices) a draw read, and hands the work queued so far to the driver's
    // rendering once enough has gathered.
    void Submitted(u32 vertices);
    void MakeBufferObject(plD3dBuffer& buffer);

    plGlView View() const;

    plSdlWindowHost& m_window;
    void* m_context;
    SDL_Cursor* m_cursor = nullptr;
    bool m_cursorWarned = false;
    u32 m_framebuffer = 0;
    u32 m_colorTexture = 0;
    u32 m_depthBuffer = 0;
    u32 m_frontFramebuffer = 0;
    u32 m_frontTexture = 0;
    // Whether the window's own buffers can be the back buffer (llvmpipe's swap copies and keeps it) and the
    // alpha bits they hold; whether they are for this frame, saving the full-screen copy of each Present;
    // and whether the frame shown last was drawn there and the next has begun to cover it.
    bool m_windowDrawable = false;
    u32 m_windowAlphaBits = 0;
    bool m_direct = false;
    bool m_frontInWindow = false;
    bool m_drawnSincePresent = false;
    u32 m_dirty = DirtyAll;
    u32 m_foreignUses = 0;
    u32 m_unflushedVertices = 0;
    // The matrices loaded are those of pre-transformed draws (identity, whole target).
    bool m_screenSpaceLoaded = false;
    bool m_gammaWarned = false;
    plGlViewportLimits m_viewportLimits;
    std::vector<f32> m_clipPositions;
    // Where the arrays point after a draw from a buffer object; invalid after anything else moved them.
    struct StreamArrays {
        u32 buffer = 0;
        u32 fvf = 0;
        u32 stride = 0;
        uintptr_t start = 0;
        u64 texCoordSets = 0;
        bool operator==(const StreamArrays&) const = default;
    };
    std::optional<StreamArrays> m_streamArrays;
    std::unordered_map<const plD3dTexture*, GlTexture> m_glTextures;
    // Lost until a Reset succeeds: nothing is drawn, Present answers DeviceLost.
    bool m_lost = false;
    u32 m_units = 1;
    // The units whose texturing and texture-coordinate arrays may be on (all after other code used
    // the context).
    u32 m_enabledUnits = ~0u;
    u32 m_texCoordArrays = ~0u;
    // Whether lighting and fog are on in the context; -1 unknown.
    i32 m_lit = -1;
    i32 m_fogged = -1;
    // Stages that read their texture with none bound read this 1x1 white texel.
    u32 m_whiteTexture = 0;
    GlSampler m_whiteSampler{};
    std::array<std::optional<UnitCombine>, plD3dMaxTextureStages> m_unitCombines;
};

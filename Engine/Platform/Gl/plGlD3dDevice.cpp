#include "Engine/Platform/Gl/plGlD3dDevice.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Gl/plGlContextUse.h"
#include "Engine/Platform/Gl/plGlD3d.h"
#include "Engine/Platform/Gl/plGlFit.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Sdl/plDisplayLibraries.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace {

GLenum CompareFunction(u32 d3d) {
    return GL_NEVER + std::clamp<u32>(d3d, plD3dCmp::Never, plD3dCmp::Always) - plD3dCmp::Never;
}

GLenum BlendFactor(u32 d3d) {
    switch (d3d) {
    case plD3dBlend::Zero:
        return GL_ZERO;
    case plD3dBlend::SrcColor:
        return GL_SRC_COLOR;
    case plD3dBlend::InvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case plD3dBlend::SrcAlpha:
        return GL_SRC_ALPHA;
    case plD3dBlend::InvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case plD3dBlend::DestAlpha:
        return GL_DST_ALPHA;
    case plD3dBlend::InvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case plD3dBlend::DestColor:
        return GL_DST_COLOR;
    case plD3dBlend::InvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    case plD3dBlend::SrcAlphaSat:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ONE;
    }
}

GLenum BlendEquation(u32 d3d) {
    switch (d3d) {
    case plD3dBlendOp::Subtract:
        return GL_FUNC_SUBTRACT;
    case plD3dBlendOp::RevSubtract:
        return GL_FUNC_REVERSE_SUBTRACT;
    case plD3dBlendOp::Min:
        return GL_MIN;
    case plD3dBlendOp::Max:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum PrimitiveMode(u32 type) {
    switch (type) {
    case plD3dPt::PointList:
        return GL_POINTS;
    case plD3dPt::LineList:
        return GL_LINES;
    case plD3dPt::LineStrip:
        return GL_LINE_STRIP;
    case plD3dPt::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case plD3dPt::TriangleFan:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

// The software rasteriser's swap copies the back buffer to the window and keeps it; with 24 depth bits
// the window's own buffers can stand for the device's back buffer. Its 1/256-pixel grid is the one the
// window's tie shift is made for.
bool SwapCopiesAndWindowHasDepth() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const bool software = renderer && std::strstr(renderer, "llvmpipe");
    GLint depthBits = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    return software && depthBits >= 24;
}

u32 WindowAlphaBits() {
    GLint alphaBits = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    return static_cast<u32>(std::max(alphaBits, 0));
}

// On the window, whose rows run up, an edge through pixel centres would fall on the other side of the
// rasteriser's tie rule; one step of its 1/256-pixel grid up (here in clip units times the height) puts
// those pixels where they are in a frame buffer whose rows are the device's.
constexpr f32 kWindowTieShift = 2.0f / 256.0f;

// How far the viewport grows about its centre at most, as a factor of its size.
constexpr i32 kGuardFactor = 7;

plGlViewportLimits ViewportLimits() {
    GLint dims[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    // Without viewport arrays a viewport's corner is not clamped; keep it within the largest size anyway.
    GLint bounds[2] = {-dims[0], dims[0]};
    if (SDL_GL_ExtensionSupported("GL_ARB_viewport_array"))
        glGetIntegerv(GL_VIEWPORT_BOUNDS_RANGE, bounds);
    return {dims[0], dims[1], bounds[0], bounds[1]};
}

bool HasVersionOr(int major, const char* extension) {
    const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return (text && std::atoi(text) >= major) || SDL_GL_ExtensionSupported(extension);
}

} // namespace

plGlD3dDevice* plGlD3dDevice::Create(plGlD3d& d3d, plSdlWindowHost& window,
                                     const plD3dPresentParameters& params) {
    plPrepareGlMemory();
    SDL_GLContext context = SDL_GL_CreateContext(window.GetSdlWindow());
    if (!context) {
        DBG_WARNING("No OpenGL context for the 3D device: %s", SDL_GetError());
        return nullptr;
    }
    plPinGlLibraries();
    // Frame-buffer objects and colours in the device's byte order are both needed.
    if (!HasVersionOr(3, "GL_ARB_framebuffer_object") ||
        !SDL_GL_ExtensionSupported("GL_ARB_vertex_array_bgra")) {
        DBG_WARNING("The OpenGL driver lacks frame-buffer objects or BGRA vertex colours");
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    GLint maxTexture = 0;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    GLint lights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &lights);
    plD3dCaps caps;
    caps.devCaps = plD3dDevCaps::HwTransformAndLight;
    // Fog by eye distance, per vertex or per pixel.
    caps.rasterCaps = plD3dRasterCaps::FogVertex | plD3dRasterCaps::FogTable | plD3dRasterCaps::WFog;
    caps.maxTextureWidth = static_cast<u32>(maxTexture);
    caps.maxTextureHeight = static_cast<u32>(maxTexture);
    caps.maxTextureBlendStages = static_cast<u32>(std::clamp(units, 1, 8));
    caps.maxSimultaneousTextures = caps.maxTextureBlendStages;
    caps.maxActiveLights = static_cast<u32>(std::max(lights, 0));

    auto* device = new plGlD3dDevice(d3d, window, params, context, caps);
    device->m_units = caps.maxSimultaneousTextures;
    device->m_windowDrawable = SwapCopiesAndWindowHasDepth();
    device->m_windowAlphaBits = WindowAlphaBits();
    device->m_viewportLimits = ViewportLimits();
    if (!device->MakeTarget()) {
        device->Release();
        return nullptr;
    }
    device->ApplyPresentation();
    return device;
}

plGlD3dDevice::plGlD3dDevice(plGlD3d& d3d, plSdlWindowHost& window, const plD3dPresentParameters& params,
                             void* context, const plD3dCaps& caps)
    : plD3dDevice(d3d, params, caps), m_window(window), m_context(context) {
    m_window.SetRepaint([this] { ShowLastFrame(); });
}

plGlD3dDevice::~plGlD3dDevice() {
    m_window.SetRepaint(nullptr);
    // The system pointer comes back in place of the one freed.
    if (m_cursor)
        SDL_FreeCursor(m_cursor);
    SDL_GL_MakeCurrent(m_window.GetSdlWindow(), static_cast<SDL_GLContext>(m_context));
    FreeTarget();
    if (m_whiteTexture) {
        GLuint white = m_whiteTexture;
        glDeleteTextures(1, &white);
    }
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
}

bool plGlD3dDevice::MakeTarget() {
    const auto& params = GetPresentParameters();
    const auto width = static_cast<GLsizei>(params.backBufferWidth);
    const auto height = static_cast<GLsizei>(params.backBufferHeight);
    if (params.backBufferWidth > m_caps.maxTextureWidth ||
        params.backBufferHeight > m_caps.maxTextureHeight) {
        DBG_WARNING("A back buffer of %ux%u is larger than OpenGL allows", params.backBufferWidth,
                    params.backBufferHeight);
        return false;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    m_colorTexture = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    // The frame shown last, for screen grabs: Present makes the back buffer the front one and draws on
    // into the old front, since the back buffer's contents are discarded by a Present. Black until then.
    GLuint frontTexture = 0;
    glGenTextures(1, &frontTexture);
    m_frontTexture = frontTexture;
    glBindTexture(GL_TEXTURE_2D, frontTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    GLuint front = 0;
    glGenFramebuffers(1, &front);
    m_frontFramebuffer = front;
    glBindFramebuffer(GL_FRAMEBUFFER, front);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frontTexture, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    m_framebuffer = framebuffer;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    if (params.enableAutoDepthStencil) {
        // 16-bit depth is asked for; 24 bits cost nothing more here and fight less.
        GLuint depth = 0;
        glGenRenderbuffers(1, &depth);
        m_depthBuffer = depth;
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        // Both frame buffers take turns as the back buffer.
        for (GLuint both : {front, framebuffer}) {
            glBindFramebuffer(GL_FRAMEBUFFER, both);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        }
    }
    m_direct = false;
    m_frontInWindow = false;
    Invalidate();
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        DBG_WARNING("The back buffer's frame-buffer object is incomplete");
        return false;
    }
    return true;
}

void plGlD3dDevice::FreeTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLuint framebuffer = m_framebuffer;
    GLuint texture = m_colorTexture;
    GLuint depth = m_depthBuffer;
    if (framebuffer)
        glDeleteFramebuffers(1, &framebuffer);
    if (texture)
        glDeleteTextures(1, &texture);
    if (depth)
        glDeleteRenderbuffers(1, &depth);
    GLuint front = m_frontFramebuffer;
    GLuint frontTexture = m_frontTexture;
    if (front)
        glDeleteFramebuffers(1, &front);
    if (frontTexture)
        glDeleteTextures(1, &frontTexture);
    m_framebuffer = m_colorTexture = m_depthBuffer = m_frontFramebuffer = m_frontTexture = 0;
}

void plGlD3dDevice::ApplyPresentation() {
    const auto& params = GetPresentParameters();
    m_window.SetFullScreen(!params.windowed);
    const bool synced =
        !params.windowed && params.fullScreenPresentationInterval != plD3dPresentInterval::Immediate;
    SDL_GL_SetSwapInterval(synced ? 1 : 0);
}

void plGlD3dDevice::Invalidate() {
    m_dirty = DirtyAll;
    m_screenSpaceLoaded = false;
    m_enabledUnits = ~0u;
    m_texCoordArrays = ~0u;
    m_lit = -1;
    m_fogged = -1;
    m_streamArrays.reset();
    m_unitCombines.fill(std::nullopt);
}

void plGlD3dDevice::Prepare(u32 needed) {
    if (SDL_GL_GetCurrentContext() != m_context) {
        SDL_GL_MakeCurrent(m_window.GetSdlWindow(), static_cast<SDL_GLContext>(m_context));
        Invalidate();
    }
    if (plGlGetForeignUseCount() != m_foreignUses) {
        m_foreignUses = plGlGetForeignUseCount();
        Invalidate();
    }
    u32 send = m_dirty & needed;
    // Placing the lights loads the view alone, which the draw's modelview then replaces.
    if (send & DirtyLights)
        send |= DirtyMatrices;
    if (send & DirtyFixed)
        SendFixed();
    if (send & DirtyTarget)
        BindTarget();
    if (send & DirtyViewport)
        SendViewport();
    if (send & DirtyLights)
        SendLights();
    if (send & DirtyMatrices)
        SendMatrices();
    if (send & DirtyDepth)
        SendDepth();
    if (send & DirtyCull)
        SendCull();
    if (send & DirtyBlend)
        SendBlend();
    if (send & DirtyColorMask)
        SendColorMask();
    if (send & DirtyAlphaTest)
        SendAlphaTest();
    if (send & DirtyStages)
        SendStages();
    if (send & DirtyLighting)
        SendLighting();
    if (send & DirtyFog)
        SendFog();
    m_dirty &= ~send;
}

void plGlD3dDevice::SendFixed() {
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DITHER);
    glDisable(GL_STENCIL_TEST);
    glShadeModel(GL_SMOOTH);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // Texture rows of 16-bit texels need not fill whole words.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    // Client arrays unless a buffer draw binds its buffer objects for the moment of the draw.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glMatrixMode(GL_MODELVIEW);
}

void plGlD3dDevice::BindTarget() {
    const plD3dTexture* texture = GetTargetTexture();
    if (!texture) {
        glBindFramebuffer(GL_FRAMEBUFFER, m_direct ? 0 : m_framebuffer);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, GetTextureFramebuffer(*texture));
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              HasTargetDepth() ? m_depthBuffer : 0);
}

void plGlD3dDevice::SendViewport() {
    const plD3dViewport& view = GetViewportValue();
    // A frame buffer whose rows are the device's needs no flip of the viewport; the window's do.
    const bool window = DrawingToWindow();
    const i64 y = window ? i64{GetTargetHeight()} - view.y - view.height : view.y;
    const plGlRect shown{static_cast<i32>(view.x), static_cast<i32>(y), static_cast<i32>(view.width),
                         static_cast<i32>(view.height)};
    // The driver clips every triangle of a batch through a slow path as soon as one vertex leaves the
    // view; a view grown about its centre, with the scissor at the real one, leaves it only far out.
    const i32 guard = plGlGuardFactor(shown, m_viewportLimits, kGuardFactor);
    glViewport(shown.left - (guard - 1) / 2 * shown.width, shown.bottom - (guard - 1) / 2 * shown.height,
               guard * shown.width, guard * shown.height);
    glScissor(shown.left, shown.bottom, shown.width, shown.height);
    glEnable(GL_SCISSOR_TEST);
    glDepthRange(view.minZ, view.maxZ);
    m_screenSpaceLoaded = false;
    // Clip y negated where rows run down, depth from 0..w to -w..w, half a pixel so pixel centres
    // fall on integers, and x and y shrunk into the grown view.
    const f32 shrink = 1.0f / static_cast<f32>(guard);
    const f32 up = (window ? 1.0f : -1.0f) * shrink;
    const f32 rowShift = (window ? kWindowTieShift - 1.0f : 1.0f) * shrink;
    const maMatrix4d adjust(shrink, 0.0f, 0.0f, 0.0f, 0.0f, up, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f, 0.0f,
                            shrink / static_cast<f32>(view.width), rowShift / static_cast<f32>(view.height),
                            -1.0f, 1.0f);
    const maMatrix4d projection = GetTransformValue(plD3dTs::Projection) * adjust;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.m);
    glMatrixMode(GL_MODELVIEW);
}

void plGlD3dDevice::DisableScissor() {
    glDisable(GL_SCISSOR_TEST);
    m_dirty |= DirtyViewport;
}

void plGlD3dDevice::SendMatrices() {
    const maMatrix4d modelView = GetTransformValue(plD3dTs::World) * GetTransformValue(plD3dTs::View);
    glLoadMatrixf(modelView.m);
    m_screenSpaceLoaded = false;
}

void plGlD3dDevice::SendDepth() {
    const bool hasDepth = HasTargetDepth();
    if (hasDepth && GetRenderStateValue(plD3dRs::ZEnable) != 0)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunction(GetRenderStateValue(plD3dRs::ZFunc)));
    glDepthMask(hasDepth && GetRenderStateValue(plD3dRs::ZWriteEnable) != 0 ? GL_TRUE : GL_FALSE);
}

void plGlD3dDevice::SendCull() {
    // A triangle clockwise on the device's screen is counter-clockwise in the coordinates of a frame buffer
    // whose rows are the device's, and clockwise in the window's.
    glFrontFace(DrawingToWindow() ? GL_CW : GL_CCW);
    switch (GetRenderStateValue(plD3dRs::CullMode)) {
    case plD3dCull::Cw:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    case plD3dCull::Ccw:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    default:
        glDisable(GL_CULL_FACE);
        break;
    }
    const u32 fill = GetRenderStateValue(plD3dRs::FillMode);
    glPolygonMode(GL_FRONT_AND_BACK, fill == plD3dFill::Point       ? GL_POINT
                                     : fill == plD3dFill::Wireframe ? GL_LINE
                                                                    : GL_FILL);
}

void plGlD3dDevice::SendLighting() {
    const plD3dMaterial& material = GetMaterialValue();
    const bool specular = GetRenderStateValue(plD3dRs::SpecularEnable) != 0;
    const auto colour = [](const plD3dColorValue& c) { return std::array<GLfloat, 4>{c.r, c.g, c.b, c.a}; };
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, colour(material.ambient).data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, colour(material.diffuse).data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, colour(material.emissive).data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR,
                 colour(specular ? material.specular : plD3dColorValue{0, 0, 0, 0}).data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material.power, 0.0f, 128.0f));
    const u32 ambient = GetRenderStateValue(plD3dRs::Ambient);
    const GLfloat ambientColour[4] = {
        static_cast<f32>((ambient >> 16) & 0xFF) / 255.0f, static_cast<f32>((ambient >> 8) & 0xFF) / 255.0f,
        static_cast<f32>(ambient & 0xFF) / 255.0f, static_cast<f32>(ambient >> 24) / 255.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientColour);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER,
                  GetRenderStateValue(plD3dRs::LocalViewer) ? GL_TRUE : GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, specular ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
    if (GetRenderStateValue(plD3dRs::NormalizeNormals))
        glEnable(GL_NORMALIZE);
    else
        glDisable(GL_NORMALIZE);
}

void plGlD3dDevice::SendFog() {
    const u32 table = GetRenderStateValue(plD3dRs::FogTableMode);
    const u32 mode = table != plD3dFog::None ? table : GetRenderStateValue(plD3dRs::FogVertexMode);
    glFogi(GL_FOG_MODE, mode == plD3dFog::Exp ? GL_EXP : mode == plD3dFog::Exp2 ? GL_EXP2 : GL_LINEAR);
    const auto value = [this](u32 state) { return std::bit_cast<f32>(GetRenderStateValue(state)); };
    glFogf(GL_FOG_START, value(plD3dRs::FogStart));
    glFogf(GL_FOG_END, value(plD3dRs::FogEnd));
    glFogf(GL_FOG_DENSITY, value(plD3dRs::FogDensity));
    const u32 colour = GetRenderStateValue(plD3dRs::FogColor);
    const GLfloat fogColour[4] = {
        static_cast<f32>((colour >> 16) & 0xFF) / 255.0f, static_cast<f32>((colour >> 8) & 0xFF) / 255.0f,
        static_cast<f32>(colour & 0xFF) / 255.0f, static_cast<f32>(colour >> 24) / 255.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    // Table fog is per pixel, vertex fog per vertex.
    glHint(GL_FOG_HINT, table != plD3dFog::None ? GL_NICEST : GL_FASTEST);
    m_fogged = -1;
}

void plGlD3dDevice::SwitchLightingAndFog(const plD3dVertexLayout& layout) {
    const bool world = !layout.pretransformed;
    const int lit = world && layout.normalOffset >= 0 && GetRenderStateValue(plD3dRs::Lighting) ? 1 : 0;
    const int fogged = world && GetRenderStateValue(plD3dRs::FogEnable) &&
                               (GetRenderStateValue(plD3dRs::FogTableMode) != plD3dFog::None ||
                                GetRenderStateValue(plD3dRs::FogVertexMode) != plD3dFog::None)
                           ? 1
                           : 0;
    if (lit != m_lit) {
        if (lit)
            glEnable(GL_LIGHTING);
        else
            glDisable(GL_LIGHTING);
        m_lit = lit;
    }
    if (fogged != m_fogged) {
        if (fogged)
            glEnable(GL_FOG);
        else
            glDisable(GL_FOG);
        m_fogged = fogged;
    }
}

plD3dResult plGlD3dDevice::SetMaterial(const plD3dMaterial* material) {
    // The context holds what it was sent: an unchanged value leaves the state clean.
    if (material && std::memcmp(material, &GetMaterialValue(), sizeof *material) == 0)
        return plD3dDevice::SetMaterial(material);
    const plD3dResult result = plD3dDevice::SetMaterial(material);
    m_dirty |= DirtyLighting;
    return result;
}

plD3dResult plGlD3dDevice::SetLight(u32 index, const plD3dLight* light) {
    const plD3dResult result = plD3dDevice::SetLight(index, light);
    if (!plD3dFailed(result))
        m_dirty |= DirtyLights;
    return result;
}

plD3dResult plGlD3dDevice::LightEnable(u32 index, bool enable) {
    const plD3dResult result = plD3dDevice::LightEnable(index, enable);
    if (!plD3dFailed(result))
        m_dirty |= DirtyLights;
    return result;
}

void plGlD3dDevice::SendLights() {
    glLoadMatrixf(GetTransformValue(plD3dTs::View).m);
    const auto colour = [](const plD3dColorValue& c) { return std::array<GLfloat, 4>{c.r, c.g, c.b, c.a}; };
    for (u32 index = 0; index < m_caps.maxActiveLights; ++index) {
        const GLenum name = GL_LIGHT0 + index;
        const auto slot = GetLights().find(index);
        if (slot == GetLights().end() || !slot->second.enabled) {
            glDisable(name);
            continue;
        }
        const plD3dLight& light = slot->second.light;
        glLightfv(name, GL_DIFFUSE, colour(light.diffuse).data());
        glLightfv(name, GL_SPECULAR, colour(light.specular).data());
        glLightfv(name, GL_AMBIENT, colour(light.ambient).data());
        // A point light sits at its position; a directional one lies towards where its light comes from.
        const plD3dVector& p = light.position;
        const plD3dVector& d = light.direction;
        const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
        const GLfloat direction[4] = {-d.x, -d.y, -d.z, 0.0f};
        glLightfv(name, GL_POSITION, light.type == plD3dLightType::Point ? position : direction);
        glLightf(name, GL_CONSTANT_ATTENUATION, light.attenuation0);
        glLightf(name, GL_LINEAR_ATTENUATION, light.attenuation1);
        glLightf(name, GL_QUADRATIC_ATTENUATION, light.attenuation2);
        glEnable(name);
    }
}

void plGlD3dDevice::SendBlend() {
    if (GetRenderStateValue(plD3dRs::AlphaBlendEnable))
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendFunc(BlendFactor(GetRenderStateValue(plD3dRs::SrcBlend)),
                BlendFactor(GetRenderStateValue(plD3dRs::DestBlend)));
    glBlendEquation(BlendEquation(GetRenderStateValue(plD3dRs::BlendOp)));
}

void plGlD3dDevice::SendColorMask() {
    const u32 mask = GetRenderStateValue(plD3dRs::ColorWriteEnable);
    glColorMask((mask & 1) ? GL_TRUE : GL_FALSE, (mask & 2) ? GL_TRUE : GL_FALSE,
                (mask & 4) ? GL_TRUE : GL_FALSE, (mask & 8) ? GL_TRUE : GL_FALSE);
}

void plGlD3dDevice::SendAlphaTest() {
    if (GetRenderStateValue(plD3dRs::AlphaTestEnable))
        glEnable(GL_ALPHA_TEST);
    else
        glDisable(GL_ALPHA_TEST);
    glAlphaFunc(CompareFunction(GetRenderStateValue(plD3dRs::AlphaFunc)),
                static_cast<GLclampf>(GetRenderStateValue(plD3dRs::AlphaRef) & 0xFF) / 255.0f);
}

plD3dResult plGlD3dDevice::SetRenderState(u32 state, u32 value) {
    if (state < plD3dRs::Count && GetRenderStateValue(state) == value)
        return plD3dDevice::SetRenderState(state, value);
    const plD3dResult result = plD3dDevice::SetRenderState(state, value);
    switch (state) {
    case plD3dRs::ZEnable:
    case plD3dRs::ZWriteEnable:
    case plD3dRs::ZFunc:
        m_dirty |= DirtyDepth;
        break;
    case plD3dRs::CullMode:
    case plD3dRs::FillMode:
        m_dirty |= DirtyCull;
        break;
    case plD3dRs::AlphaBlendEnable:
    case plD3dRs::SrcBlend:
    case plD3dRs::DestBlend:
    case plD3dRs::BlendOp:
        m_dirty |= DirtyBlend;
        break;
    case plD3dRs::ColorWriteEnable:
        m_dirty |= DirtyColorMask;
        break;
    case plD3dRs::AlphaTestEnable:
    case plD3dRs::AlphaFunc:
    case plD3dRs::AlphaRef:
        m_dirty |= DirtyAlphaTest;
        break;
    case plD3dRs::TextureFactor:
        m_dirty |= DirtyStages;
        break;
    case plD3dRs::Ambient:
    case plD3dRs::SpecularEnable:
    case plD3dRs::LocalViewer:
    case plD3dRs::NormalizeNormals:
        m_dirty |= DirtyLighting;
        break;
    case plD3dRs::Lighting:
        m_lit = -1;
        break;
    case plD3dRs::FogEnable:
    case plD3dRs::FogColor:
    case plD3dRs::FogTableMode:
    case plD3dRs::FogVertexMode:
    case plD3dRs::FogStart:
    case plD3dRs::FogEnd:
    case plD3dRs::FogDensity:
        m_dirty |= DirtyFog;
        break;
    default:
        break;
    }
    return result;
}

plD3dResult plGlD3dDevice::SetTransform(u32 state, const maMatrix4d* matrix) {
    if (maMatrix4d before; matrix && !plD3dFailed(GetTransform(state, &before)) &&
                           std::memcmp(before.m, matrix->m, sizeof before.m) == 0)
        return plD3dDevice::SetTransform(state, matrix);
    const plD3dResult result = plD3dDevice::SetTransform(state, matrix);
    if (state == plD3dTs::Projection)
        m_dirty |= DirtyViewport;
    else if (state == plD3dTs::World)
        m_dirty |= DirtyMatrices;
    else if (state == plD3dTs::View)
        m_dirty |= DirtyMatrices | DirtyLights;
    else if (state >= plD3dTs::Texture0 && state < plD3dTs::Texture0 + plD3dMaxTextureStages)
        m_dirty |= DirtyStages;
    return result;
}

plD3dResult plGlD3dDevice::SetViewport(const plD3dViewport* viewport) {
    if (viewport && std::memcmp(viewport, &GetViewportValue(), sizeof *viewport) == 0)
        return plD3dDevice::SetViewport(viewport);
    const plD3dResult result = plD3dDevice::SetViewport(viewport);
    m_dirty |= DirtyViewport;
    return result;
}

plD3dResult plGlD3dDevice::SetRenderTarget(plD3dSurface* target, plD3dSurface* depthStencil) {
    const plD3dResult result = plD3dDevice::SetRenderTarget(target, depthStencil);
    if (!plD3dFailed(result)) {
        m_dirty |= DirtyTarget | DirtyViewport | DirtyDepth | DirtyCull;
        m_screenSpaceLoaded = false;
    }
    return result;
}

plD3dResult plGlD3dDevice::TestCooperativeLevel() {
    return m_lost ? plD3dErr::DeviceNotReset : plD3dDevice::TestCooperativeLevel();
}

plD3dResult plGlD3dDevice::Reset(plD3dPresentParameters* params) {
    const plD3dPresentParameters before = GetPresentParameters();
    const plD3dResult result = plD3dDevice::Reset(params);
    if (plD3dFailed(result))
        return result;
    Prepare(0);
    // A lost device's back buffer is made again whatever the parameters; without one it stays lost.
    if (m_lost || params->backBufferWidth != before.backBufferWidth ||
        params->backBufferHeight != before.backBufferHeight ||
        params->enableAutoDepthStencil != before.enableAutoDepthStencil) {
        FreeTarget();
        m_lost = !MakeTarget();
        if (m_lost)
            return plD3dErr::OutOfVideoMemory;
    }
    ApplyPresentation();
    // The window may have changed with the presentation; the next Present may take it up again.
    if (m_direct)
        ChooseBackBuffer();
    Invalidate();
    return result;
}

plD3dResult plGlD3dDevice::Present() {
    const plD3dResult result = plD3dDevice::Present();
    if (plD3dFailed(result))
        return result;
    if (m_lost)
        return plD3dErr::DeviceLost;
    Prepare(DirtyFixed);
    if (!m_direct)
        BlitToWindow(m_framebuffer);
    SDL_GL_SwapWindow(m_window.GetSdlWindow());
    m_unflushedVertices = 0;
    m_frontInWindow = m_direct;
    m_drawnSincePresent = false;
    if (!m_direct) {
        std::swap(m_framebuffer, m_frontFramebuffer);
        std::swap(m_colorTexture, m_frontTexture);
    }
    ChooseBackBuffer();
    m_dirty |= DirtyTarget;
    return result;
}

void plGlD3dDevice::BlitToWindow(u32 framebuffer) {
    const auto& params = GetPresentParameters();
    const auto width = static_cast<GLint>(params.backBufferWidth);
    const auto height = static_cast<GLint>(params.backBufferHeight);
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(m_window.GetSdlWindow(), &drawableWidth, &drawableHeight);
    const plGlRect shown =
        plGlFitCentred(drawableWidth, drawableHeight, params.backBufferWidth, params.backBufferHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    DisableScissor();
    if (shown.width != drawableWidth || shown.height != drawableHeight) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        m_dirty |= DirtyColorMask;
    }
    // Row 0 of the back buffer goes to the top of the window.
    glBlitFramebuffer(0, 0, width, height, shown.left, shown.bottom + shown.height, shown.left + shown.width,
                      shown.bottom, GL_COLOR_BUFFER_BIT,
                      shown.width == width && shown.height == height ? GL_NEAREST : GL_LINEAR);
}

void plGlD3dDevice::ShowLastFrame() {
    // Nothing presented yet, or the window's back buffer already drawn over by the next frame.
    if (m_lost || (m_frontInWindow && m_drawnSincePresent) || (!m_frontInWindow && !m_frontFramebuffer))
        return;
    Prepare(DirtyFixed);
    // In the window's own buffers the back one still holds the frame: the swap copies it and keeps it.
    if (!m_frontInWindow)
        BlitToWindow(m_frontFramebuffer);
    SDL_GL_SwapWindow(m_window.GetSdlWindow());
    m_dirty |= DirtyTarget;
}

void plGlD3dDevice::ChooseBackBuffer() {
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(m_window.GetSdlWindow(), &drawableWidth, &drawableHeight);
    const auto& params = GetPresentParameters();
    // The window keeps no alpha channel unless it has one.
    plD3dTexelLayout layout{};
    plD3dGetTexelLayout(params.backBufferFormat, layout);
    const bool direct = m_windowDrawable && layout.bits[3] <= m_windowAlphaBits &&
                        static_cast<u32>(drawableWidth) == params.backBufferWidth &&
                        static_cast<u32>(drawableHeight) == params.backBufferHeight;
    if (direct == m_direct)
        return;
    m_direct = direct;
    m_dirty |= DirtyTarget | DirtyViewport | DirtyCull;
    m_screenSpaceLoaded = false;
}

plD3dResult plGlD3dDevice::Clear(u32 count, const plD3dRect* rects, u32 flags, u32 color, f32 z,
                                 u32 stencil) {
    const plD3dResult result = plD3dDevice::Clear(count, rects, flags, color, z, stencil);
    if (plD3dFailed(result) || m_lost)
        return result;
    Prepare(DirtyTarget | DirtyFixed);
    // A clear reaches every channel and the depth buffer whatever the write states say.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    m_dirty |= DirtyColorMask | DirtyDepth;
    glClearColor(static_cast<f32>((color >> 16) & 0xFF) / 255.0f,
                 static_cast<f32>((color >> 8) & 0xFF) / 255.0f, static_cast<f32>(color & 0xFF) / 255.0f,
                 static_cast<f32>(color >> 24) / 255.0f);
    glClearDepth(z);
    const GLbitfield mask = ((flags & plD3dClear::Target) ? GL_COLOR_BUFFER_BIT : 0) |
                            ((flags & plD3dClear::ZBuffer) ? GL_DEPTH_BUFFER_BIT : 0);
    const plD3dViewport& view = GetViewportValue();
    const plD3dRect viewRect{static_cast<i32>(view.x), static_cast<i32>(view.y),
                             static_cast<i32>(view.x + view.width), static_cast<i32>(view.y + view.height)};
    const bool window = DrawingToWindow();
    m_drawnSincePresent |= window;
    glEnable(GL_SCISSOR_TEST);
    for (u32 i = 0; i < std::max(count, 1u); ++i) {
        const plD3dRect& area = count == 0 ? viewRect : rects[i];
        const i32 left = std::max(area.left, viewRect.left);
        const i32 top = std::max(area.top, viewRect.top);
        const i32 right = std::min(area.right, viewRect.right);
        const i32 bottom = std::min(area.bottom, viewRect.bottom);
        if (left >= right || top >= bottom)
            continue;
        glScissor(left, window ? static_cast<i32>(GetTargetHeight()) - bottom : top, right - left,
                  bottom - top);
        glClear(mask);
    }
    DisableScissor();
    return result;
}

void plGlD3dDevice::SetGammaRamp(u32 flags, const plD3dGammaRamp* ramp) {
    plD3dDevice::SetGammaRamp(flags, ramp);
    if (!ramp)
        return;
    if (SDL_SetWindowGammaRamp(m_window.GetSdlWindow(), ramp->red, ramp->green, ramp->blue) != 0 &&
        !m_gammaWarned) {
        DBG_WARNING("The display refuses gamma changes: %s", SDL_GetError());
        m_gammaWarned = true;
    }
}

void plGlD3dDevice::WriteBackBuffer(const plD3dRect& rect, const u32* argb) {
    if (m_lost)
        return;
    Prepare(DirtyFixed);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, m_colorTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_dirty |= DirtyStages;
    if (!m_direct)
        return;
    // The frame-buffer object serves as the way in to the window, whose rows run the other way.
    const i32 height = static_cast<i32>(GetPresentParameters().backBufferHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    DisableScissor();
    glBlitFramebuffer(rect.left, rect.top, rect.right, rect.bottom, rect.left, height - rect.top, rect.right,
                      height - rect.bottom, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    m_dirty |= DirtyTarget | DirtyColorMask;
    m_drawnSincePresent = true;
}

void plGlD3dDevice::ReadFrontBuffer(u32* argb) {
    const auto& params = GetPresentParameters();
    if (m_lost || !m_frontFramebuffer) {
        std::fill_n(argb, static_cast<size_t>(params.backBufferWidth) * params.backBufferHeight, 0xFF000000u);
        return;
    }
    const plD3dRect whole{0, 0, static_cast<i32>(params.backBufferWidth),
                          static_cast<i32>(params.backBufferHeight)};
    if (m_frontInWindow) {
        // The swap kept the frame shown in the window's back buffer, until the next frame draws there.
        // A caller that reads it later gets that frame once, and the frame-buffer objects from then on.
        if (m_drawnSincePresent && m_windowDrawable) {
            DBG_WARNING("The frame shown was read after the next one began; the window no longer keeps it");
            m_windowDrawable = false;
        }
        ReadWindow(whole, argb);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_frontFramebuffer);
    glReadPixels(0, 0, whole.right, whole.bottom, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    m_dirty |= DirtyTarget;
}

void plGlD3dDevice::ReadWindow(const plD3dRect& rect, u32* argb) {
    const i32 width = rect.right - rect.left;
    const i32 rows = rect.bottom - rect.top;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadPixels(rect.left, static_cast<i32>(GetPresentParameters().backBufferHeight) - rect.bottom, width,
                 rows, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    m_dirty |= DirtyTarget;
    for (i32 top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(argb + static_cast<size_t>(top) * width, argb + static_cast<size_t>(top + 1) * width,
                         argb + static_cast<size_t>(bottom) * width);
}

void plGlD3dDevice::ReadBackBuffer(const plD3dRect& rect, u32* argb) {
    if (m_lost)
        return;
    Prepare(DirtyFixed);
    if (m_direct) {
        ReadWindow(rect, argb);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_dirty |= DirtyTarget;
    glReadPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, argb);
}

plD3dResult plGlD3dDevice::DrawPrimitiveUP(u32 type, u32 primitiveCount, const void* vertices, u32 stride) {
    plD3dVertexLayout layout;
    u32 vertexCount = 0;
    const plD3dResult result = CheckDraw(type, primitiveCount, vertices, stride, layout, vertexCount);
    if (plD3dFailed(result))
        return result;
    return Draw(type, vertices, vertexCount, stride, nullptr, 0);
}

plD3dResult plGlD3dDevice::DrawIndexedPrimitiveUP(u32 type, u32 minIndex, u32 vertexCount, u32 primitiveCount,
                                                  const void* indices, plD3dFormat indexFormat,
                                                  const void* vertices, u32 stride) {
    const plD3dResult result = plD3dDevice::DrawIndexedPrimitiveUP(
        type, minIndex, vertexCount, primitiveCount, indices, indexFormat, vertices, stride);
    if (plD3dFailed(result))
        return result;
    plD3dVertexLayout layout;
    u32 indexCount = 0;
    CheckDraw(type, primitiveCount, vertices, stride, layout, indexCount);
    return Draw(type, vertices, minIndex + vertexCount, stride, static_cast<const u16*>(indices), indexCount);
}

plD3dResult plGlD3dDevice::DrawPrimitive(u32 type, u32 startVertex, u32 primitiveCount) {
    const plD3dResult result = plD3dDevice::DrawPrimitive(type, startVertex, primitiveCount);
    if (plD3dFailed(result) || m_lost)
        return result;
    const u32 vertexCount = plD3dVerticesOf(type, primitiveCount);
    const u32 stride = GetStreamStride();
    if (plD3dVertexLayout layout; plD3dGetVertexLayout(GetVertexFormat(), layout) && layout.pretransformed)
        return Draw(type, GetStreamBuffer()->Data() + static_cast<size_t>(startVertex) * stride, vertexCount,
                    stride, nullptr, 0);
    BindStream(startVertex);
    glDrawArrays(PrimitiveMode(type), 0, static_cast<GLsizei>(vertexCount));
    Submitted(vertexCount);
    return result;
}

plD3dResult plGlD3dDevice::DrawIndexedPrimitive(u32 type, u32 minIndex, u32 vertexCount, u32 startIndex,
                                                u32 primitiveCount) {
    const plD3dResult result =
        plD3dDevice::DrawIndexedPrimitive(type, minIndex, vertexCount, startIndex, primitiveCount);
    if (plD3dFailed(result) || m_lost)
        return result;
    const u32 indexCount = plD3dVerticesOf(type, primitiveCount);
    const plD3dIndexBuffer& indices = *GetIndexBuffer();
    const u32 stride = GetStreamStride();
    if (plD3dVertexLayout layout; plD3dGetVertexLayout(GetVertexFormat(), layout) && layout.pretransformed) {
        const u8* vertices = GetStreamBuffer()->Data() + static_cast<size_t>(GetBaseVertexIndex()) * stride;
        const u8* first = indices.Data() + static_cast<size_t>(startIndex) * 2;
        return Draw(type, vertices, minIndex + vertexCount, stride, reinterpret_cast<const u16*>(first),
                    indexCount);
    }
    BindStream(GetBaseVertexIndex());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, GetBufferName(indices));
    glDrawRangeElements(PrimitiveMode(type), minIndex, minIndex + vertexCount - 1,
                        static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT,
                        reinterpret_cast<const void*>(static_cast<uintptr_t>(startIndex) * 2));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    Submitted(indexCount);
    return result;
}

void plGlD3dDevice::BindStream(u64 firstVertex) {
    plD3dVertexLayout layout;
    plD3dGetVertexLayout(GetVertexFormat(), layout);
    Prepare(DirtyAll);
    const u64 sets = PrepareTextures(layout);
    SwitchLightingAndFog(layout);
    const u32 stride = GetStreamStride();
    const StreamArrays arrays{GetBufferName(*GetStreamBuffer()), GetVertexFormat(), stride,
                              static_cast<uintptr_t>(firstVertex * stride), sets};
    if (m_streamArrays == arrays)
        return;
    // The arrays keep the buffer object they were pointed at; the binding itself goes straight back.
    glBindBuffer(GL_ARRAY_BUFFER, arrays.buffer);
    glVertexPointer(3, GL_FLOAT, static_cast<GLsizei>(stride), reinterpret_cast<const void*>(arrays.start));
    PointAttributes(layout, arrays.start, stride, sets);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    m_streamArrays = arrays;
}

plD3dResult plGlD3dDevice::Draw(u32 type, const void* vertices, u32 vertexCount, u32 stride,
                                const u16* indices, u32 indexCount) {
    if (m_lost)
        return plD3dErr::Ok;
    plD3dVertexLayout layout;
    plD3dGetVertexLayout(GetVertexFormat(), layout);
    const auto* bytes = static_cast<const u8*>(vertices);
    if (layout.pretransformed) {
        Prepare(DirtyAll & ~(DirtyViewport | DirtyMatrices | DirtyLights));
        const auto width = static_cast<f32>(GetTargetWidth());
        const auto height = static_cast<f32>(GetTargetHeight());
        if (!m_screenSpaceLoaded) {
            glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
            DisableScissor();
            glDepthRange(0.0, 1.0);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            m_dirty |= DirtyViewport | DirtyMatrices;
            m_screenSpaceLoaded = true;
        }
        // Pixel positions to clip coordinates, pixel centres on integers; w = 1 / rhw keeps colours
        // interpolated in perspective.
        m_clipPositions.resize(static_cast<size_t>(vertexCount) * 4);
        const bool window = DrawingToWindow();
        for (u32 i = 0; i < vertexCount; ++i) {
            f32 p[4];
            std::memcpy(p, bytes + static_cast<size_t>(i) * stride, sizeof p);
            const f32 w = p[3] != 0.0f ? 1.0f / p[3] : 1.0f;
            f32* clip = &m_clipPositions[static_cast<size_t>(i) * 4];
            clip[0] = ((p[0] + 0.5f) * 2.0f / width - 1.0f) * w;
            const f32 down = (p[1] + 0.5f) * 2.0f / height - 1.0f;
            clip[1] = (window ? kWindowTieShift / height - down : down) * w;
            clip[2] = (p[2] * 2.0f - 1.0f) * w;
            clip[3] = w;
        }
        glVertexPointer(4, GL_FLOAT, 0, m_clipPositions.data());
    } else {
        Prepare(DirtyAll);
        glVertexPointer(3, GL_FLOAT, static_cast<GLsizei>(stride), bytes);
    }
    PointAttributes(layout, reinterpret_cast<uintptr_t>(bytes), stride, PrepareTextures(layout));
    SwitchLightingAndFog(layout);
    m_streamArrays.reset();
    if (indices)
        glDrawElements(PrimitiveMode(type), static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT, indices);
    else
        glDrawArrays(PrimitiveMode(type), 0, static_cast<GLsizei>(vertexCount));
    Submitted(indices ? indexCount : vertexCount);
    return plD3dErr::Ok;
}

void plGlD3dDevice::Submitted(u32 vertices) {
    m_drawnSincePresent |= DrawingToWindow();
    // A software rasteriser shades what was flushed on its own threads while this one prepares the
    // rest, instead of holding the whole frame until Present.
    constexpr u32 kFlushVertices = 24'576;
    m_unflushedVertices += vertices;
    if (m_unflushedVertices >= kFlushVertices) {
        glFlush();
        m_unflushedVertices = 0;
    }
}

void plGlD3dDevice::PointAttributes(const plD3dVertexLayout& layout, uintptr_t vertices, u32 stride,
                                    u64 sets) {
    PointTexCoords(sets, layout, vertices, stride);
    if (layout.normalOffset >= 0) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(
            GL_FLOAT, static_cast<GLsizei>(stride),
            reinterpret_cast<const void*>(vertices + static_cast<uintptr_t>(layout.normalOffset)));
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
    }
    if (layout.diffuseOffset >= 0) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(
            GL_BGRA, GL_UNSIGNED_BYTE, static_cast<GLsizei>(stride),
            reinterpret_cast<const void*>(vertices + static_cast<uintptr_t>(layout.diffuseOffset)));
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4ub(255, 255, 255, 255);
    }
}

plGlView plGlD3dDevice::View() const {
    plGlView view;
    SDL_Window* window = m_window.GetSdlWindow();
    SDL_GetWindowSize(window, &view.windowWidth, &view.windowHeight);
    SDL_GL_GetDrawableSize(window, &view.drawableWidth, &view.drawableHeight);
    view.pictureWidth = GetPresentParameters().backBufferWidth;
    view.pictureHeight = GetPresentParameters().backBufferHeight;
    return view;
}

plD3dResult plGlD3dDevice::SetCursorProperties(u32 xHotSpot, u32 yHotSpot, plD3dSurface* image) {
    const plD3dResult result = plD3dDevice::SetCursorProperties(xHotSpot, yHotSpot, image);
    if (plD3dFailed(result))
        return result;
    const CursorImage& cursor = *GetCursorImage();
    // SDL copies the pixels into the cursor and never writes them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<u32*>(cursor.argb.data()), static_cast<int>(cursor.width), static_cast<int>(cursor.height),
        32, static_cast<int>(cursor.width * 4), SDL_PIXELFORMAT_ARGB8888);
    SDL_Cursor* made =
        surface ? SDL_CreateColorCursor(surface, static_cast<int>(xHotSpot), static_cast<int>(yHotSpot))
                : nullptr;
    SDL_FreeSurface(surface);
    if (!made) {
        if (!m_cursorWarned)
            DBG_WARNING("The display takes no pointer image, the system pointer stays: %s", SDL_GetError());
        m_cursorWarned = true;
        return plD3dErr::InvalidCall;
    }
    SDL_SetCursor(made);
    if (m_cursor)
        SDL_FreeCursor(m_cursor);
    m_cursor = made;
    return result;
}

void plGlD3dDevice::SetCursorPosition(i32 x, i32 y, u32 flags) {
    plD3dDevice::SetCursorPosition(x, y, flags);
    i32 windowX = 0;
    i32 windowY = 0;
    plGlPictureToWindow(View(), x, y, windowX, windowY);
    SDL_WarpMouseInWindow(m_window.GetSdlWindow(), windowX, windowY);
}

void plGlD3dDevice::GetCursorPosition(i32& x, i32& y) {
    int windowX = 0;
    int windowY = 0;
    SDL_GetMouseState(&windowX, &windowY);
    plGlWindowToPicture(View(), windowX, windowY, x, y);
}

bool plGlD3dDevice::ShowCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    return plD3dDevice::ShowCursor(show);
}

// The texture half of the OpenGL device: texture objects, their uploads and the stages' combiners.
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Gl/plGlD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <SDL.h>
#include <SDL_opengl.h>

namespace {

// How a format's texels go to OpenGL as they lie in memory.
struct GlLayout {
    GLint internalFormat;
    GLenum format;
    GLenum type;
};

GlLayout LayoutOf(plD3dFormat format, bool renderTarget) {
    switch (format) {
    case plD3dFormat::A8R8G8B8:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
    case plD3dFormat::X8R8G8B8:
        return {GL_RGB8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
    case plD3dFormat::R5G6B5:
        return {renderTarget ? GL_RGB8 : GL_RGB5, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    case plD3dFormat::X1R5G5B5:
        return {renderTarget ? GL_RGB8 : GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    case plD3dFormat::A1R5G5B5:
        return {renderTarget ? GL_RGBA8 : GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    default: // A4R4G4B4
        return {renderTarget ? GL_RGBA8 : GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
    }
}

GLint AddressMode(u32 d3d) {
    switch (d3d) {
    case plD3dTaddress::Mirror:
        return GL_MIRRORED_REPEAT;
    case plD3dTaddress::Clamp:
        return GL_CLAMP_TO_EDGE;
    default:
        return GL_REPEAT;
    }
}

GLint MinFilter(u32 minFilter, u32 mipFilter) {
    const bool linear = minFilter >= plD3dTexf::Linear;
    if (mipFilter == plD3dTexf::None)
        return linear ? GL_LINEAR : GL_NEAREST;
    if (mipFilter == plD3dTexf::Point)
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

GLint Source(u32 argument) {
    switch (argument & plD3dTa::SelectMask) {
    case plD3dTa::Current:
        return GL_PREVIOUS;
    case plD3dTa::Texture:
        return GL_TEXTURE;
    case plD3dTa::TFactor:
        return GL_CONSTANT;
    default: // diffuse and specular: the vertex colour
        return GL_PRIMARY_COLOR;
    }
}

GLint Operand(u32 argument, bool alpha) {
    const bool complement = argument & plD3dTa::Complement;
    if (alpha || (argument & plD3dTa::AlphaReplicate))
        return complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    return complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
}

// One half (colour or alpha) of a stage as a combiner: the operation with its two arguments.
void SendCombiner(u32 op, u32 arg1, u32 arg2, bool alpha) {
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum sources[3] = {static_cast<GLenum>(alpha ? GL_SOURCE0_ALPHA : GL_SOURCE0_RGB),
                               static_cast<GLenum>(alpha ? GL_SOURCE1_ALPHA : GL_SOURCE1_RGB),
                               static_cast<GLenum>(alpha ? GL_SOURCE2_ALPHA : GL_SOURCE2_RGB)};
    const GLenum operands[3] = {static_cast<GLenum>(alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB),
                                static_cast<GLenum>(alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB),
                                static_cast<GLenum>(alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB)};
    auto argument = [&](int slot, u32 value) {
        glTexEnvi(GL_TEXTURE_ENV, sources[slot], Source(value));
        glTexEnvi(GL_TEXTURE_ENV, operands[slot], Operand(value, alpha));
    };
    GLint mode = GL_MODULATE;
    f32 scale = 1.0f;
    argument(0, arg1);
    argument(1, arg2);
    switch (op) {
    case plD3dTop::Disable: // alpha only: the colour stage goes on, the alpha passes through
        mode = GL_REPLACE;
        argument(0, plD3dTa::Current);
        break;
    case plD3dTop::SelectArg1:
        mode = GL_REPLACE;
        break;
    case plD3dTop::SelectArg2:
        mode = GL_REPLACE;
        argument(0, arg2);
        break;
    case plD3dTop::Modulate2x:
        scale = 2.0f;
        break;
    case plD3dTop::Modulate4x:
        scale = 4.0f;
        break;
    case plD3dTop::Add:
        mode = GL_ADD;
        break;
    case plD3dTop::AddSigned:
        mode = GL_ADD_SIGNED;
        break;
    case plD3dTop::Subtract:
        mode = GL_SUBTRACT;
        break;
    case plD3dTop::AddSmooth: // a + b - ab = a + b(1 - a): interpolate from b to the constant 1 by a
        mode = GL_INTERPOLATE;
        glTexEnvi(GL_TEXTURE_ENV, sources[0], GL_CONSTANT);
        glTexEnvi(GL_TEXTURE_ENV, operands[0], alpha ? GL_SRC_ALPHA : GL_SRC_COLOR);
        argument(1, arg2);
        argument(2, arg1);
        break;
    case plD3dTop::BlendDiffuseAlpha:
    case plD3dTop::BlendTextureAlpha:
    case plD3dTop::BlendFactorAlpha:
    case plD3dTop::BlendCurrentAlpha: {
        static constexpr u32 kWeights[] = {plD3dTa::Diffuse, plD3dTa::Texture, plD3dTa::TFactor, 0,
                                           plD3dTa::Current};
        mode = GL_INTERPOLATE;
        glTexEnvi(GL_TEXTURE_ENV, sources[2], Source(kWeights[op - plD3dTop::BlendDiffuseAlpha]));
        glTexEnvi(GL_TEXTURE_ENV, operands[2], GL_SRC_ALPHA);
        break;
    }
    default: // modulate and the operations without a combiner
        break;
    }
    glTexEnvi(GL_TEXTURE_ENV, combine, mode);
    glTexEnvf(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, scale);
}

} // namespace

plD3dResult plGlD3dDevice::CreateTexture(u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format,
                                         u32 pool, plD3dTexture** texture) {
    const plD3dResult result =
        plD3dDevice::CreateTexture(width, height, levels, usage, format, pool, texture);
    // System-memory textures are never drawn from: they need nothing of the context.
    if (plD3dFailed(result) || pool == plD3dPool::SystemMem)
        return result;
    Prepare(0);
    const bool renderTarget = usage == plD3dUsage::RenderTarget;
    const GlLayout layout = LayoutOf(format, renderTarget);
    GlTexture gl;
    glGenTextures(1, &gl.name);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, gl.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>((*texture)->GetLevelCount() - 1));
    for (u32 level = 0; level < (*texture)->GetLevelCount(); ++level) {
        const plD3dSurfaceDesc& desc = (*texture)->Level(level)->Desc();
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), layout.internalFormat,
                     static_cast<GLsizei>(desc.width), static_cast<GLsizei>(desc.height), 0, layout.format,
                     layout.type, nullptr);
    }
    if (renderTarget) {
        glGenFramebuffers(1, &gl.framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, gl.framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gl.name, 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
            DBG_WARNING("A render-target texture of %ux%u cannot be drawn into", width, height);
        // Cleared here rather than uploaded from its zeroed levels at the first draw, which would wipe
        // whatever was drawn into it before.
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        (*texture)->TakeWrittenLevels();
        m_dirty |= DirtyTarget | DirtyColorMask;
    }
    m_glTextures[*texture] = gl;
    m_dirty |= DirtyStages;
    return result;
}

void plGlD3dDevice::OnTextureDestroyed(plD3dTexture& texture) {
    plD3dDevice::OnTextureDestroyed(texture);
    const auto found = m_glTextures.find(&texture);
    if (found == m_glTextures.end())
        return;
    Prepare(0);
    glDeleteTextures(1, &found->second.name);
    if (found->second.framebuffer)
        glDeleteFramebuffers(1, &found->second.framebuffer);
    m_glTextures.erase(found);
    // A target texture gives way to the back buffer, whose size and row order may differ.
    m_dirty |= DirtyStages | DirtyTarget | DirtyViewport | DirtyDepth | DirtyCull;
    m_screenSpaceLoaded = false;
}

u32 plGlD3dDevice::GetTextureFramebuffer(const plD3dTexture& texture) const {
    const auto found = m_glTextures.find(&texture);
    return found == m_glTextures.end() ? 0 : found->second.framebuffer;
}

plD3dResult plGlD3dDevice::SetTexture(u32 stage, plD3dTexture* texture) {
    // The context holds what it was sent: an unchanged value leaves the stages clean.
    if (stage < plD3dMaxTextureStages && GetStageTexture(stage) == texture)
        return plD3dDevice::SetTexture(stage, texture);
    const plD3dResult result = plD3dDevice::SetTexture(stage, texture);
    m_dirty |= DirtyStages;
    return result;
}

plD3dResult plGlD3dDevice::SetTextureStageState(u32 stage, u32 state, u32 value) {
    if (stage < plD3dMaxTextureStages && state < plD3dTss::Count && GetStageStateValue(stage, state) == value)
        return plD3dDevice::SetTextureStageState(stage, state, value);
    const plD3dResult result = plD3dDevice::SetTextureStageState(stage, state, value);
    m_dirty |= DirtyStages;
    return result;
}

u32 plGlD3dDevice::GetAvailableTextureMem() {
    Prepare(0);
    // Drivers that tell give kilobytes; the others are taken to have 256 MiB.
    GLint kilobytes[4] = {};
    if (SDL_GL_ExtensionSupported("GL_NVX_gpu_memory_info"))
        glGetIntegerv(0x9049, kilobytes); // current available video memory
    else if (SDL_GL_ExtensionSupported("GL_ATI_meminfo"))
        glGetIntegerv(0x87FC, kilobytes); // free texture memory
    else
        kilobytes[0] = 256 * 1024;
    return static_cast<u32>(std::min<u64>(static_cast<u64>(std::max(kilobytes[0], 0)) * 1024, 0xFFFFFFFFu));
}

u32 plGlD3dDevice::ActiveStages() const {
    u32 stages = 0;
    while (stages < m_units && GetStageStateValue(stages, plD3dTss::ColorOp) != plD3dTop::Disable)
        ++stages;
    return stages;
}

void plGlD3dDevice::SendStages() {
    const u32 active = ActiveStages();
    const u32 factor = GetRenderStateValue(plD3dRs::TextureFactor);
    const f32 factorColour[4] = {
        static_cast<f32>((factor >> 16) & 0xFF) / 255.0f, static_cast<f32>((factor >> 8) & 0xFF) / 255.0f,
        static_cast<f32>(factor & 0xFF) / 255.0f, static_cast<f32>(factor >> 24) / 255.0f};
    for (u32 stage = 0; stage < m_units; ++stage) {
        const plD3dTexture* texture = GetStageTexture(stage);
        const auto found = texture ? m_glTextures.find(texture) : m_glTextures.end();
        const u32 bit = 1u << stage;
        if (stage >= active) {
            if (m_enabledUnits & bit) {
                glActiveTexture(GL_TEXTURE0 + stage);
                glDisable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, 0);
                m_enabledUnits &= ~bit;
            }
            continue;
        }
        glActiveTexture(GL_TEXTURE0 + stage);
        glEnable(GL_TEXTURE_2D);
        m_enabledUnits |= bit;
        // A stage that reads its texture with none bound reads white.
        const bool bound = found != m_glTextures.end();
        glBindTexture(GL_TEXTURE_2D, bound ? found->second.name : WhiteTexture());
        SendSampler(stage, bound ? found->second.sampler : m_whiteSampler);
        auto state = [&](u32 name) { return GetStageStateValue(stage, name); };
        // Add-smooth needs a constant 1, which then stands in for the texture factor of that stage.
        const bool smooth = state(plD3dTss::ColorOp) == plD3dTop::AddSmooth ||
                            state(plD3dTss::AlphaOp) == plD3dTop::AddSmooth;
        UnitCombine combine{
            {state(plD3dTss::ColorOp), state(plD3dTss::ColorArg1), state(plD3dTss::ColorArg2),
             state(plD3dTss::AlphaOp), state(plD3dTss::AlphaArg1), state(plD3dTss::AlphaArg2)},
            smooth ? 0xFFFFFFFFu : factor,
            state(plD3dTss::TextureTransformFlags) & 0xFF,
            (state(plD3dTss::TexCoordIndex) & 0xFFFF0000u) == plD3dTci::CameraSpaceReflectionVector,
            {}};
        std::copy(std::begin(GetTransformValue(plD3dTs::Texture0 + stage).m),
                  std::end(GetTransformValue(plD3dTs::Texture0 + stage).m), combine.transform.begin());
        if (m_unitCombines[stage] == combine)
            continue;
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        static constexpr f32 kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, smooth ? kWhite : factorColour);
        SendTextureTransform(stage);
        SendCombiner(state(plD3dTss::ColorOp), state(plD3dTss::ColorArg1), state(plD3dTss::ColorArg2), false);
        SendCombiner(state(plD3dTss::AlphaOp), state(plD3dTss::AlphaArg1), state(plD3dTss::AlphaArg2), true);
        m_unitCombines[stage] = combine;
    }
    glActiveTexture(GL_TEXTURE0);
}

void plGlD3dDevice::SendSampler(u32 stage, GlSampler& sent) {
    auto state = [&](u32 name) { return GetStageStateValue(stage, name); };
    const GlSampler wanted{AddressMode(state(plD3dTss::AddressU)), AddressMode(state(plD3dTss::AddressV)),
                           state(plD3dTss::MagFilter) >= plD3dTexf::Linear ? GL_LINEAR : GL_NEAREST,
                           MinFilter(state(plD3dTss::MinFilter), state(plD3dTss::MipFilter))};
    static constexpr GLenum kNames[4] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MAG_FILTER,
                                         GL_TEXTURE_MIN_FILTER};
    // The texture object keeps them, whichever unit or context binds it next.
    for (size_t i = 0; i < wanted.size(); ++i)
        if (sent[i] != wanted[i])
            glTexParameteri(GL_TEXTURE_2D, kNames[i], wanted[i]);
    sent = wanted;
}

u32 plGlD3dDevice::WhiteTexture() {
    if (m_whiteTexture)
        return m_whiteTexture;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const u32 white = 0xFFFFFFFF;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    m_whiteTexture = name;
    return name;
}

void plGlD3dDevice::SendTextureTransform(u32 stage) {
    const u32 flags = GetStageStateValue(stage, plD3dTss::TextureTransformFlags) & 0xFF;
    maMatrix4d matrix = GetTransformValue(plD3dTs::Texture0 + stage);
    if (flags == plD3dTtff::Count2) {
        // Two coordinates read as (u, v, 1) put the translation in row 2; OpenGL reads (s, t, 0, 1)
        // and divides by q, which stays 1.
        const f32 u = matrix.m[8];
        const f32 v = matrix.m[9];
        for (int column = 0; column < 4; ++column)
            matrix.m[8 + column] = column == 2 ? 1.0f : 0.0f;
        matrix.m[12] = u;
        matrix.m[13] = v;
        matrix.m[14] = 0.0f;
        matrix.m[15] = 1.0f;
    } else if (flags != plD3dTtff::Count3) {
        matrix.SetIdentity();
    }
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(matrix.m);
    glMatrixMode(GL_MODELVIEW);
    const bool reflect = (GetStageStateValue(stage, plD3dTss::TexCoordIndex) & 0xFFFF0000u) ==
                         plD3dTci::CameraSpaceReflectionVector;
    for (GLenum coordinate : {GL_S, GL_T, GL_R}) {
        if (reflect)
            glTexGeni(coordinate, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    }
    for (GLenum generation : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R}) {
        if (reflect)
            glEnable(generation);
        else
            glDisable(generation);
    }
}

u64 plGlD3dDevice::PrepareTextures(const plD3dVertexLayout& layout) {
    const u32 active = ActiveStages();
    u64 sets = 0;
    bool switched = false;
    for (u32 stage = 0; stage < active; ++stage) {
        plD3dTexture* texture = GetStageTexture(stage);
        const auto found = texture ? m_glTextures.find(texture) : m_glTextures.end();
        if (found == m_glTextures.end())
            continue;
        if (const u32 written = texture->TakeWrittenLevels()) {
            glActiveTexture(GL_TEXTURE0 + stage);
            Upload(*texture, found->second, written);
            switched = true;
        }
        const u32 set = GetStageStateValue(stage, plD3dTss::TexCoordIndex) & 0xFFFF;
        if (set < layout.texCoordSets)
            sets |= static_cast<u64>(set + 1) << (8 * stage);
    }
    if (switched)
        glActiveTexture(GL_TEXTURE0);
    return sets;
}

void plGlD3dDevice::PointTexCoords(u64 sets, const plD3dVertexLayout& layout, uintptr_t vertices,
                                   u32 stride) {
    bool switched = false;
    for (u32 stage = 0; stage < m_units; ++stage) {
        const u32 set = static_cast<u32>(sets >> (8 * stage)) & 0xFF;
        const u32 bit = 1u << stage;
        if (set == 0) {
            // Untextured draws cost no calls once the arrays are off.
            if (m_texCoordArrays & bit) {
                glClientActiveTexture(GL_TEXTURE0 + stage);
                glDisableClientState(GL_TEXTURE_COORD_ARRAY);
                m_texCoordArrays &= ~bit;
                switched = true;
            }
            continue;
        }
        glClientActiveTexture(GL_TEXTURE0 + stage);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, static_cast<GLsizei>(stride),
                          reinterpret_cast<const void*>(vertices + layout.texCoordOffset + 8 * (set - 1)));
        m_texCoordArrays |= bit;
        switched = true;
    }
    if (switched)
        glClientActiveTexture(GL_TEXTURE0);
}

void plGlD3dDevice::Upload(plD3dTexture& texture, const GlTexture& gl, u32 levels) {
    // Written levels go up whole: tracking the written rectangles would cost more than it saves.
    const plD3dSurfaceDesc& top = texture.Level(0)->Desc();
    const GlLayout layout = LayoutOf(top.format, top.usage == plD3dUsage::RenderTarget);
    glBindTexture(GL_TEXTURE_2D, gl.name);
    for (u32 level = 0; level < texture.GetLevelCount(); ++level) {
        if (!(levels & (1u << level)))
            continue;
        const plD3dSurface& surface = *texture.Level(level);
        glTexSubImage2D(
            GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(surface.Desc().width),
            static_cast<GLsizei>(surface.Desc().height), layout.format, layout.type, surface.Pixels());
    }
}

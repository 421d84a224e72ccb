#include "Engine/Platform/Graphics/plD3dDevice.h"

#include "Engine/Platform/Graphics/plD3d.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <bit>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Whether every 16-bit index of the list names one of the vertices from minIndex on: the backends read
// vertices by index unchecked.
bool IndicesWithin(const void* indices, u32 count, u32 minIndex, u32 vertexCount) {
    const auto* bytes = static_cast<const u8*>(indices);
    for (u32 i = 0; i < count; ++i) {
        u16 index = 0;
        std::memcpy(&index, bytes + static_cast<size_t>(i) * 2, 2);
        if (index < minIndex || index >= u64{minIndex} + vertexCount)
            return false;
    }
    return true;
}

u32 FloatBits(f32 value) {
    return std::bit_cast<u32>(value);
}

bool Inside(i64 left, i64 top, i64 right, i64 bottom, const plD3dSurfaceDesc& desc) {
    return left >= 0 && top >= 0 && left < right && top < bottom && right <= i64{desc.width} &&
           bottom <= i64{desc.height};
}

// The source rectangle lies in the source and, moved to the point, in the target. Sizes and ends are
// taken in 64 bits: the rectangle and the point come from the caller and may be anything.
bool CopyFits(const plD3dRect& from, const plD3dPoint& at, const plD3dSurfaceDesc& source,
              const plD3dSurfaceDesc& target) {
    const i64 width = i64{from.right} - from.left;
    const i64 height = i64{from.bottom} - from.top;
    return Inside(from.left, from.top, from.right, from.bottom, source) &&
           Inside(at.x, at.y, at.x + width, at.y + height, target);
}

} // namespace

u32 plD3dVerticesOf(u32 type, u32 primitiveCount) {
    const u64 count = primitiveCount;
    u64 vertices = 0;
    switch (type) {
    case plD3dPt::PointList:
        vertices = count;
        break;
    case plD3dPt::LineList:
        vertices = count * 2;
        break;
    case plD3dPt::LineStrip:
        vertices = count + 1;
        break;
    case plD3dPt::TriangleList:
        vertices = count * 3;
        break;
    case plD3dPt::TriangleStrip:
    case plD3dPt::TriangleFan:
        vertices = count + 2;
        break;
    default:
        break;
    }
    // A count no draw can reach is refused like an unknown type.
    return vertices <= 0xFFFFFFFFu ? static_cast<u32>(vertices) : 0;
}

bool plD3dGetVertexLayout(u32 fvf, plD3dVertexLayout& layout) {
    const u32 position = fvf & 0x00E;
    if (position != plD3dFvf::Xyz && position != plD3dFvf::XyzRhw)
        return false;
    layout.pretransformed = position == plD3dFvf::XyzRhw;
    u32 offset = layout.pretransformed ? 16 : 12;
    layout.normalOffset = -1;
    if (fvf & plD3dFvf::Normal) {
        layout.normalOffset = static_cast<i32>(offset);
        offset += 12;
    }
    layout.diffuseOffset = -1;
    if (fvf & plD3dFvf::Diffuse) {
        layout.diffuseOffset = static_cast<i32>(offset);
        offset += 4;
    }
    if (fvf & plD3dFvf::Specular)
        offset += 4;
    layout.texCoordOffset = offset;
    layout.texCoordSets = (fvf >> plD3dFvf::TexCountShift) & 0xF;
    if (layout.texCoordSets > 8)
        return false;
    layout.size = offset + 8 * layout.texCoordSets;
    return true;
}

plD3dDevice::plD3dDevice(plD3d& d3d, const plD3dPresentParameters& params, const plD3dCaps& caps)
    : m_caps(caps), m_d3d(d3d), m_params(params) {
    m_d3d.AddRef();
    SetDefaultStates();
}

plD3dDevice::~plD3dDevice() {
    m_d3d.Release();
}

void plD3dDevice::SetDefaultStates() {
    m_material = {};
    m_lights.clear();
    m_renderStates.fill(0);
    using namespace plD3dRs;
    const std::pair<u32, u32> defaults[] = {
        {ZEnable, m_params.enableAutoDepthStencil ? 1u : 0u},
        {FillMode, 3},  // solid
        {ShadeMode, 2}, // Gouraud
        {ZWriteEnable, 1},
        {LastPixel, 1},
        {SrcBlend, plD3dBlend::One},
        {DestBlend, plD3dBlend::Zero},
        {CullMode, plD3dCull::Ccw},
        {ZFunc, plD3dCmp::LessEqual},
        {AlphaFunc, plD3dCmp::Always},
        {FogEnd, FloatBits(1.0f)},
        {FogDensity, FloatBits(1.0f)},
        {StencilFail, plD3dStencilOp::Keep},
        {StencilZFail, plD3dStencilOp::Keep},
        {StencilPass, plD3dStencilOp::Keep},
        {StencilFunc, plD3dCmp::Always},
        {StencilMask, 0xFFFFFFFF},
        {StencilWriteMask, 0xFFFFFFFF},
        {TextureFactor, 0xFFFFFFFF},
        {Clipping, 1},
        {Lighting, 1},
        {ColorVertex, 1},
        {LocalViewer, 1},
        {DiffuseMaterialSource, 1},  // vertex colour 1
        {SpecularMaterialSource, 2}, // vertex colour 2
        {ColorWriteEnable, 0xF},
        {BlendOp, plD3dBlendOp::Add},
    };
    for (const auto& [state, value] : defaults)
        m_renderStates[state] = value;
    for (u32 stage = 0; stage < plD3dMaxTextureStages; ++stage) {
        auto& states = m_stageStates[stage];
        states.fill(0);
        // The first stage modulates the texture by the vertex colour and takes the texture's alpha;
        // the others are off.
        states[plD3dTss::ColorOp] = stage == 0 ? plD3dTop::Modulate : plD3dTop::Disable;
        states[plD3dTss::ColorArg1] = plD3dTa::Texture;
        states[plD3dTss::ColorArg2] = plD3dTa::Current;
        states[plD3dTss::AlphaOp] = stage == 0 ? plD3dTop::SelectArg1 : plD3dTop::Disable;
        states[plD3dTss::AlphaArg1] = plD3dTa::Texture;
        states[plD3dTss::AlphaArg2] = plD3dTa::Current;
        states[plD3dTss::TexCoordIndex] = stage;
        states[plD3dTss::AddressU] = plD3dTaddress::Wrap;
        states[plD3dTss::AddressV] = plD3dTaddress::Wrap;
        states[plD3dTss::MagFilter] = plD3dTexf::Point;
        states[plD3dTss::MinFilter] = plD3dTexf::Point;
        states[plD3dTss::MipFilter] = plD3dTexf::None;
    }
    m_textures.fill(nullptr);
    m_stream = nullptr;
    m_streamStride = 0;
    m_indices = nullptr;
    m_baseVertexIndex = 0;
    for (maMatrix4d& matrix : m_transforms)
        matrix.SetIdentity();
    TargetBackBuffer();
    m_fvf = 0;
    m_inScene = false;
}

void plD3dDevice::TargetBackBuffer() {
    m_targetTexture = nullptr;
    m_targetDepth = m_params.enableAutoDepthStencil;
    m_viewport = {0, 0, m_params.backBufferWidth, m_params.backBufferHeight, 0.0f, 1.0f};
}

int plD3dDevice::TransformSlot(u32 state) {
    if (state == plD3dTs::View || state == plD3dTs::Projection)
        return static_cast<int>(state - plD3dTs::View);
    if (state >= plD3dTs::Texture0 && state < plD3dTs::Texture0 + 8)
        return static_cast<int>(state - plD3dTs::Texture0) + 2;
    if (state == plD3dTs::World)
        return 10;
    return -1;
}

plD3dResult plD3dDevice::TestCooperativeLevel() {
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::Reset(plD3dPresentParameters* params) {
    if (!params || m_liveResources[plD3dPool::Default] != 0)
        return plD3dErr::InvalidCall;
    plD3dPresentParameters next = *params;
    if (next.windowed && next.backBufferFormat == plD3dFormat::Unknown)
        next.backBufferFormat = m_params.backBufferFormat;
    if (!plD3dIsColorFormat(next.backBufferFormat) || next.backBufferWidth == 0 ||
        next.backBufferHeight == 0 ||
        (next.enableAutoDepthStencil && next.autoDepthStencilFormat != plD3dFormat::D16))
        return plD3dErr::InvalidCall;
    if (next.backBufferCount == 0)
        next.backBufferCount = 1;
    *params = next;
    m_params = next;
    SetDefaultStates();
    m_cursor.reset();
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetCursorProperties(u32 xHotSpot, u32 yHotSpot, plD3dSurface* image) {
    if (!image || &image->GetDevice() != this || image->IsBackBuffer() || image->IsDepthStencil() ||
        image->m_locked)
        return plD3dErr::InvalidCall;
    const plD3dSurfaceDesc& desc = image->Desc();
    if (desc.format != plD3dFormat::A8R8G8B8 || xHotSpot >= desc.width || yHotSpot >= desc.height ||
        !image->Pixels())
        return plD3dErr::InvalidCall;
    CursorImage cursor{xHotSpot, yHotSpot, desc.width, desc.height, {}};
    cursor.argb.resize(static_cast<size_t>(desc.width) * desc.height);
    for (u32 y = 0; y < desc.height; ++y)
        std::memcpy(&cursor.argb[static_cast<size_t>(y) * desc.width], image->Pixels() + y * image->Pitch(),
                    desc.width * 4);
    m_cursor = std::move(cursor);
    return plD3dErr::Ok;
}

void plD3dDevice::SetCursorPosition(i32 x, i32 y, u32 /*flags*/) {
    m_cursorX = x;
    m_cursorY = y;
}

void plD3dDevice::GetCursorPosition(i32& x, i32& y) {
    x = m_cursorX;
    y = m_cursorY;
}

bool plD3dDevice::ShowCursor(bool show) {
    const bool before = m_cursorShown;
    m_cursorShown = show;
    return before;
}

plD3dResult plD3dDevice::Present() {
    return m_inScene ? plD3dErr::InvalidCall : plD3dErr::Ok;
}

plD3dResult plD3dDevice::BeginScene() {
    if (m_inScene)
        return plD3dErr::InvalidCall;
    m_inScene = true;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::EndScene() {
    if (!m_inScene)
        return plD3dErr::InvalidCall;
    m_inScene = false;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::Clear(u32 count, const plD3dRect* rects, u32 flags, u32, f32 z, u32) {
    if ((count != 0 && !rects) || flags == 0 || (flags & ~0x7u) != 0 || z < 0.0f || z > 1.0f)
        return plD3dErr::InvalidCall;
    if ((flags & (plD3dClear::ZBuffer | plD3dClear::Stencil)) && !m_targetDepth)
        return plD3dErr::InvalidCall;
    // The depth buffer here has no stencil bits.
    if (flags & plD3dClear::Stencil)
        return plD3dErr::InvalidCall;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetBackBuffer(u32 index, u32 type, plD3dSurface** surface) {
    if (!surface)
        return plD3dErr::InvalidCall;
    *surface = nullptr;
    if (index >= m_params.backBufferCount || type != plD3dBackBufferMono)
        return plD3dErr::InvalidCall;
    plD3dSurfaceDesc desc;
    desc.format = m_params.backBufferFormat;
    desc.usage = plD3dUsage::RenderTarget;
    desc.pool = plD3dPool::Default;
    desc.width = m_params.backBufferWidth;
    desc.height = m_params.backBufferHeight;
    *surface = new plD3dSurface(*this, desc, true);
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetRenderTarget(plD3dSurface* target, plD3dSurface* depthStencil) {
    plD3dTexture* texture = m_targetTexture;
    if (target) {
        plD3dTexture* container = target->GetContainer();
        const bool textureTarget =
            container && container->Level(0) == target && target->Desc().usage == plD3dUsage::RenderTarget;
        if (&target->GetDevice() != this || !(target->IsBackBuffer() || textureTarget))
            return plD3dErr::InvalidCall;
        texture = container;
    }
    const u32 width = texture ? texture->Level(0)->Desc().width : m_params.backBufferWidth;
    const u32 height = texture ? texture->Level(0)->Desc().height : m_params.backBufferHeight;
    if (depthStencil && (&depthStencil->GetDevice() != this || !depthStencil->IsDepthStencil() ||
                         depthStencil->Desc().width < width || depthStencil->Desc().height < height))
        return plD3dErr::InvalidCall;
    m_targetTexture = texture;
    m_targetDepth = depthStencil != nullptr;
    m_viewport = {0, 0, width, height, 0.0f, 1.0f};
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetRenderTarget(plD3dSurface** target) {
    if (!target)
        return plD3dErr::InvalidCall;
    if (!m_targetTexture)
        return GetBackBuffer(0, plD3dBackBufferMono, target);
    *target = m_targetTexture->Level(0);
    (*target)->AddRef();
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetDepthStencilSurface(plD3dSurface** surface) {
    if (!surface)
        return plD3dErr::InvalidCall;
    *surface = nullptr;
    if (!m_params.enableAutoDepthStencil)
        return plD3dErr::NotFound;
    plD3dSurfaceDesc desc;
    desc.format = m_params.autoDepthStencilFormat;
    desc.usage = plD3dUsage::DepthStencil;
    desc.pool = plD3dPool::Default;
    desc.width = m_params.backBufferWidth;
    desc.height = m_params.backBufferHeight;
    *surface = new plD3dSurface(*this, desc, false);
    return plD3dErr::Ok;
}

u32 plD3dDevice::GetTargetWidth() const {
    return m_targetTexture ? m_targetTexture->Level(0)->Desc().width : m_params.backBufferWidth;
}

u32 plD3dDevice::GetTargetHeight() const {
    return m_targetTexture ? m_targetTexture->Level(0)->Desc().height : m_params.backBufferHeight;
}

plD3dResult plD3dDevice::CreateImageSurface(u32 width, u32 height, plD3dFormat format,
                                            plD3dSurface** surface) {
    if (!surface)
        return plD3dErr::InvalidCall;
    *surface = nullptr;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 || !plD3dIsColorFormat(format))
        return plD3dErr::InvalidCall;
    plD3dSurfaceDesc desc;
    desc.format = format;
    desc.pool = plD3dPool::SystemMem;
    desc.width = width;
    desc.height = height;
    *surface = new plD3dSurface(*this, desc, false);
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::CreateTexture(u32 width, u32 height, u32 levels, u32 usage, plD3dFormat format,
                                       u32 pool, plD3dTexture** texture) {
    if (!texture)
        return plD3dErr::InvalidCall;
    *texture = nullptr;
    const u32 fullChain = plD3dTexture::FullChainLength(width, height);
    if (width == 0 || height == 0 || width > m_caps.maxTextureWidth || height > m_caps.maxTextureHeight ||
        levels > fullChain || pool > plD3dPool::SystemMem ||
        (usage != 0 && usage != plD3dUsage::RenderTarget) ||
        (usage == plD3dUsage::RenderTarget && pool != plD3dPool::Default))
        return plD3dErr::InvalidCall;
    if (!m_d3d.SupportsTextureFormat(format, usage))
        return plD3dErr::InvalidCall;
    *texture = new plD3dTexture(*this, width, height, levels == 0 ? fullChain : levels, usage, format, pool);
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::CreateVertexBuffer(u32 length, u32 usage, u32 fvf, u32 pool,
                                            plD3dVertexBuffer** buffer) {
    if (!buffer)
        return plD3dErr::InvalidCall;
    *buffer = nullptr;
    // A format of no known layout is kept as it is; no draw takes it.
    plD3dVertexLayout layout;
    const bool tooShort = plD3dGetVertexLayout(fvf, layout) && length < layout.size;
    if (length == 0 || tooShort || !BufferUsageValid(usage, pool))
        return plD3dErr::InvalidCall;
    *buffer = new plD3dVertexBuffer(*this, {plD3dFormat::VertexData, usage, pool, length, fvf});
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::CreateIndexBuffer(u32 length, u32 usage, plD3dFormat format, u32 pool,
                                           plD3dIndexBuffer** buffer) {
    if (!buffer)
        return plD3dErr::InvalidCall;
    *buffer = nullptr;
    if (length < 2 || format != plD3dFormat::Index16 || !BufferUsageValid(usage, pool))
        return plD3dErr::InvalidCall;
    *buffer = new plD3dIndexBuffer(*this, {format, usage, pool, length, 0});
    return plD3dErr::Ok;
}

bool plD3dDevice::BufferUsageValid(u32 usage, u32 pool) {
    // Dynamic buffers are rewritten in place, which the managed pool's second copy cannot follow.
    return (usage & ~(plD3dUsage::WriteOnly | plD3dUsage::Dynamic)) == 0 && pool <= plD3dPool::SystemMem &&
           !((usage & plD3dUsage::Dynamic) && pool == plD3dPool::Managed);
}

plD3dResult plD3dDevice::CopyRects(plD3dSurface* source, const plD3dRect* rects, u32 count,
                                   plD3dSurface* target, const plD3dPoint* points) {
    if (!source || !target || source == target || (rects == nullptr) != (count == 0) ||
        source->IsDepthStencil() || target->IsDepthStencil() || &source->GetDevice() != this ||
        &target->GetDevice() != this || (source->IsBackBuffer() && target->IsBackBuffer()))
        return plD3dErr::InvalidCall;
    if (!source->IsBackBuffer() && !target->IsBackBuffer() && source->Desc().format != target->Desc().format)
        return plD3dErr::InvalidCall;
    const plD3dRect whole{0, 0, static_cast<i32>(source->Desc().width),
                          static_cast<i32>(source->Desc().height)};
    const u32 rectCount = rects ? count : 1;
    // Every rectangle is checked before anything is copied.
    for (u32 i = 0; i < rectCount; ++i) {
        const plD3dRect& from = rects ? rects[i] : whole;
        const plD3dPoint at = points ? points[i] : plD3dPoint{from.left, from.top};
        if (!CopyFits(from, at, source->Desc(), target->Desc()))
            return plD3dErr::InvalidCall;
    }
    for (u32 i = 0; i < rectCount; ++i) {
        const plD3dRect& from = rects ? rects[i] : whole;
        const plD3dPoint at = points ? points[i] : plD3dPoint{from.left, from.top};
        const u32 width = static_cast<u32>(from.right - from.left);
        const u32 height = static_cast<u32>(from.bottom - from.top);
        const plD3dRect to{at.x, at.y, at.x + static_cast<i32>(width), at.y + static_cast<i32>(height)};
        if (!source->IsBackBuffer() && !target->IsBackBuffer()) {
            const u32 size = plD3dBytesPerPixel(source->Desc().format);
            for (u32 row = 0; row < height; ++row)
                std::memcpy(target->Pixels() + (static_cast<size_t>(to.top) + row) * target->Pitch() +
                                static_cast<size_t>(to.left) * size,
                            source->Pixels() + (static_cast<size_t>(from.top) + row) * source->Pitch() +
                                static_cast<size_t>(from.left) * size,
                            static_cast<size_t>(width) * size);
            target->MarkWritten();
            continue;
        }
        // Every pixel is written before it is read: a whole screen's worth is not zeroed first.
        const auto argb = std::make_unique_for_overwrite<u32[]>(static_cast<size_t>(width) * height);
        if (target->IsBackBuffer()) {
            const plD3dFormat format = source->Desc().format;
            const u32 size = plD3dBytesPerPixel(format);
            for (u32 row = 0; row < height; ++row)
                plD3dReadArgbRow(format,
                                 source->Pixels() + (static_cast<size_t>(from.top) + row) * source->Pitch() +
                                     static_cast<size_t>(from.left) * size,
                                 width, &argb[static_cast<size_t>(row) * width]);
            WriteBackBuffer(to, argb.get());
        } else {
            ReadBackBuffer(from, argb.get());
            const plD3dFormat format = target->Desc().format;
            const u32 size = plD3dBytesPerPixel(format);
            for (u32 row = 0; row < height; ++row) {
                u8* p = target->Pixels() + (static_cast<size_t>(to.top) + row) * target->Pitch() +
                        static_cast<size_t>(to.left) * size;
                for (u32 x = 0; x < width; ++x)
                    plD3dWriteArgb(format, argb[static_cast<size_t>(row) * width + x], p + x * size);
            }
            target->MarkWritten();
        }
    }
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetFrontBuffer(plD3dSurface* target) {
    if (!target || target->IsBackBuffer() || target->IsDepthStencil() || target->GetContainer() ||
        target->m_locked)
        return plD3dErr::InvalidCall;
    const plD3dSurfaceDesc& desc = target->Desc();
    if (desc.width != m_params.backBufferWidth || desc.height != m_params.backBufferHeight)
        return plD3dErr::InvalidCall;
    std::vector<u32> argb(static_cast<size_t>(desc.width) * desc.height);
    ReadFrontBuffer(argb.data());
    for (u32 row = 0; row < desc.height; ++row)
        plD3dWriteArgbRow(desc.format, argb.data() + static_cast<size_t>(row) * desc.width, desc.width,
                          target->Pixels() + static_cast<size_t>(row) * target->Pitch());
    target->MarkWritten();
    return plD3dErr::Ok;
}

void plD3dDevice::SetGammaRamp(u32, const plD3dGammaRamp* ramp) {
    if (ramp)
        m_gamma = *ramp;
}

void plD3dDevice::GetGammaRamp(plD3dGammaRamp* ramp) const {
    if (ramp)
        *ramp = m_gamma;
}

plD3dResult plD3dDevice::GetDeviceCaps(plD3dCaps* caps) const {
    if (!caps)
        return plD3dErr::InvalidCall;
    *caps = m_caps;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetRenderState(u32 state, u32 value) {
    if (state >= plD3dRs::Count)
        return plD3dErr::InvalidCall;
    m_renderStates[state] = value;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetRenderState(u32 state, u32* value) const {
    if (state >= plD3dRs::Count || !value)
        return plD3dErr::InvalidCall;
    *value = m_renderStates[state];
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetTransform(u32 state, const maMatrix4d* matrix) {
    const int slot = TransformSlot(state);
    if (slot < 0 || !matrix)
        return plD3dErr::InvalidCall;
    m_transforms[static_cast<size_t>(slot)] = *matrix;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetTransform(u32 state, maMatrix4d* matrix) const {
    const int slot = TransformSlot(state);
    if (slot < 0 || !matrix)
        return plD3dErr::InvalidCall;
    *matrix = m_transforms[static_cast<size_t>(slot)];
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetViewport(const plD3dViewport* viewport) {
    if (!viewport || viewport->width == 0 || viewport->height == 0 ||
        u64{viewport->x} + viewport->width > GetTargetWidth() ||
        u64{viewport->y} + viewport->height > GetTargetHeight() || !(viewport->minZ >= 0.0f) ||
        !(viewport->maxZ <= 1.0f) || viewport->minZ > viewport->maxZ)
        return plD3dErr::InvalidCall;
    m_viewport = *viewport;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetViewport(plD3dViewport* viewport) const {
    if (!viewport)
        return plD3dErr::InvalidCall;
    *viewport = m_viewport;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetVertexShader(u32 fvf) {
    m_fvf = fvf;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetVertexShader(u32* fvf) const {
    if (!fvf)
        return plD3dErr::InvalidCall;
    *fvf = m_fvf;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetTexture(u32 stage, plD3dTexture* texture) {
    if (stage >= plD3dMaxTextureStages ||
        (texture &&
         (&texture->GetDevice() != this || texture->Level(0)->Desc().pool == plD3dPool::SystemMem)))
        return plD3dErr::InvalidCall;
    m_textures[stage] = texture;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetTexture(u32 stage, plD3dTexture** texture) const {
    if (stage >= plD3dMaxTextureStages || !texture)
        return plD3dErr::InvalidCall;
    *texture = m_textures[stage];
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetTextureStageState(u32 stage, u32 state, u32 value) {
    if (stage >= plD3dMaxTextureStages || state >= plD3dTss::Count)
        return plD3dErr::InvalidCall;
    m_stageStates[stage][state] = value;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetTextureStageState(u32 stage, u32 state, u32* value) const {
    if (stage >= plD3dMaxTextureStages || state >= plD3dTss::Count || !value)
        return plD3dErr::InvalidCall;
    *value = m_stageStates[stage][state];
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetMaterial(const plD3dMaterial* material) {
    if (!material)
        return plD3dErr::InvalidCall;
    m_material = *material;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetMaterial(plD3dMaterial* material) const {
    if (!material)
        return plD3dErr::InvalidCall;
    *material = m_material;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetLight(u32 index, const plD3dLight* light) {
    if (!light || index >= m_caps.maxActiveLights ||
        (light->type != plD3dLightType::Point && light->type != plD3dLightType::Directional))
        return plD3dErr::InvalidCall;
    m_lights[index].light = *light;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetLight(u32 index, plD3dLight* light) const {
    const auto slot = m_lights.find(index);
    if (!light || slot == m_lights.end())
        return plD3dErr::InvalidCall;
    *light = slot->second.light;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::LightEnable(u32 index, bool enable) {
    if (index >= m_caps.maxActiveLights)
        return plD3dErr::InvalidCall;
    auto [slot, added] = m_lights.try_emplace(index);
    if (added) {
        plD3dLight& light = slot->second.light;
        light.type = plD3dLightType::Directional;
        light.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
        light.direction = {0.0f, 0.0f, 1.0f};
    }
    slot->second.enabled = enable;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::GetLightEnable(u32 index, bool* enable) const {
    const auto slot = m_lights.find(index);
    if (!enable || slot == m_lights.end())
        return plD3dErr::InvalidCall;
    *enable = slot->second.enabled;
    return plD3dErr::Ok;
}

void plD3dDevice::OnTextureDestroyed(plD3dTexture& texture) {
    for (plD3dTexture*& bound : m_textures)
        if (bound == &texture)
            bound = nullptr;
    if (m_targetTexture == &texture)
        TargetBackBuffer();
}

plD3dResult plD3dDevice::SetStreamSource(u32 stream, plD3dVertexBuffer* buffer, u32 stride) {
    if (stream != 0 || (buffer && &buffer->GetDevice() != this))
        return plD3dErr::InvalidCall;
    m_stream = buffer;
    m_streamStride = stride;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::SetIndices(plD3dIndexBuffer* buffer, u32 baseVertexIndex) {
    if (buffer && &buffer->GetDevice() != this)
        return plD3dErr::InvalidCall;
    m_indices = buffer;
    m_baseVertexIndex = baseVertexIndex;
    return plD3dErr::Ok;
}

void plD3dDevice::OnBufferLocked(plD3dBuffer&, u8*, u32, u32, u32) {}

void plD3dDevice::OnBufferUnlocked(plD3dBuffer&, u32, u32, u32) {}

void plD3dDevice::OnBufferDestroyed(plD3dBuffer& buffer) {
    if (m_stream == &buffer)
        m_stream = nullptr;
    if (m_indices == &buffer)
        m_indices = nullptr;
}

bool plD3dDevice::StreamHolds(u64 firstVertex, u32 vertexCount) const {
    plD3dVertexLayout layout;
    if (!m_stream || m_stream->IsLocked() || vertexCount == 0 || !plD3dGetVertexLayout(m_fvf, layout) ||
        m_streamStride < layout.size)
        return false;
    return (firstVertex + vertexCount - 1) * m_streamStride + layout.size <= m_stream->Desc().size;
}

plD3dResult plD3dDevice::DrawPrimitive(u32 type, u32 startVertex, u32 primitiveCount) {
    const u32 vertexCount = plD3dVerticesOf(type, primitiveCount);
    if (!m_inScene || primitiveCount == 0 || !StreamHolds(startVertex, vertexCount))
        return plD3dErr::InvalidCall;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::DrawIndexedPrimitive(u32 type, u32 minIndex, u32 vertexCount, u32 startIndex,
                                              u32 primitiveCount) {
    const u32 indexCount = plD3dVerticesOf(type, primitiveCount);
    if (!m_inScene || primitiveCount == 0 || indexCount == 0 || !m_indices || m_indices->IsLocked() ||
        (u64{startIndex} + indexCount) * 2 > m_indices->Desc().size ||
        !StreamHolds(u64{m_baseVertexIndex} + minIndex, vertexCount) ||
        !IndicesWithin(m_indices->Data() + static_cast<size_t>(startIndex) * 2, indexCount, minIndex,
                       vertexCount))
        return plD3dErr::InvalidCall;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::CheckDraw(u32 type, u32 primitiveCount, const void* vertices, u32 stride,
                                   plD3dVertexLayout& layout, u32& vertexCount) const {
    vertexCount = plD3dVerticesOf(type, primitiveCount);
    if (!m_inScene || primitiveCount == 0 || vertexCount == 0 || !vertices ||
        !plD3dGetVertexLayout(m_fvf, layout) || stride < layout.size)
        return plD3dErr::InvalidCall;
    return plD3dErr::Ok;
}

plD3dResult plD3dDevice::DrawPrimitiveUP(u32 type, u32 primitiveCount, const void* vertices, u32 stride) {
    plD3dVertexLayout layout;
    u32 vertexCount = 0;
    return CheckDraw(type, primitiveCount, vertices, stride, layout, vertexCount);
}

plD3dResult plD3dDevice::DrawIndexedPrimitiveUP(u32 type, u32 minIndex, u32 vertexCount, u32 primitiveCount,
                                                const void* indices, plD3dFormat indexFormat,
                                                const void* vertices, u32 stride) {
    plD3dVertexLayout layout;
    u32 indexCount = 0;
    const plD3dResult result = CheckDraw(type, primitiveCount, vertices, stride, layout, indexCount);
    if (plD3dFailed(result))
        return result;
    if (!indices || indexFormat != plD3dFormat::Index16 || vertexCount == 0 ||
        u64{minIndex} + vertexCount > UINT32_MAX ||
        !IndicesWithin(indices, indexCount, minIndex, vertexCount))
        return plD3dErr::InvalidCall;
    return plD3dErr::Ok;
}

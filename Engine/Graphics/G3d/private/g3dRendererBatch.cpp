// A list's static models, world models in world space and placed ones brought there on the way, go to
// the device with the identity transform, so the visible ranges that share a material and a vertex kind
// can be one draw: a software rasteriser pays more for each draw, and far more for each change of
// material, than for the few dozen triangles of a track piece's range or a support.
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/G3d/private/g3dRendererState.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// A batch's vertices are reached by 16-bit indices; its indices fit twice in the ring.
constexpr u32 kBatchVertices = 65'536;
constexpr u32 kBatchIndices = 65'536;
constexpr u32 kVertexRingBytes = kBatchVertices * 48; // the widest vertex kind
constexpr u32 kIndexRingBytes = 2 * kBatchIndices * 2;
// A fragment this big pays for its own draw many times over; copying it every frame would cost more.
constexpr u32 kOwnDrawVertices = 4'096;

struct Span {
    const g3dFragment* fragment;
    u32 range;
    const maMatrix4d* placement; // null for a world model
};

struct Batch {
    const g3dMaterial* material;
    u8 kind;
    u32 fvf;
    std::vector<Span> spans;
};

// Reused from frame to frame, so that a frame allocates nothing once the scene has settled.
struct Scratch {
    std::vector<Batch> batches;
    size_t used = 0;
    std::vector<u8> vertices;
    std::vector<u16> indices;
};

Scratch& GetScratch() {
    static Scratch scratch;
    return scratch;
}

// Made once after each reset; a device that refused them is not asked again until the next one.
bool MakeBuffers(g3dRendererState& state) {
    if (state.batchVertices && state.batchIndices)
        return true;
    if (state.batchRefused)
        return false;
    const u32 usage = plD3dUsage::WriteOnly | plD3dUsage::Dynamic;
    g3dReportFailure(
        g_pdevice->CreateVertexBuffer(kVertexRingBytes, usage, 0, plD3dPool::Default, &state.batchVertices));
    g3dReportFailure(g_pdevice->CreateIndexBuffer(kIndexRingBytes, usage, plD3dFormat::Index16,
                                                  plD3dPool::Default, &state.batchIndices));
    if (state.batchVertices && state.batchIndices)
        return true;
    g3dReleaseBatchBuffers();
    state.batchRefused = true;
    return false;
}

// A fragment the batches can take: not too big, triangles, every material drawn in one pass.
bool Batchable(const g3dFragment& fragment) {
    if (fragment.GetVertexCount() > kOwnDrawVertices || fragment.GetPrimitive() != 1 ||
        g3dVertexStride(fragment.GetVertexKind()) == 0)
        return false;
    for (u32 range = 0; range < fragment.GetRangeCount(); ++range)
        if (const g3dMaterial* material = fragment.GetMaterial(range);
            material && g3dNeedsMultiPass(*material))
            return false;
    return true;
}

// The end of the range's whole triangles: a partial one at the end of the indices draws nothing alone,
// and in a batch would shift the triangles of the ranges after it.
u32 WholeTrianglesEnd(const g3dFragment& fragment, u32 range) {
    const u32 start = fragment.GetRangeStartIndex(range);
    const u32 end = fragment.GetRangeEndIndex(range);
    return end > start ? start + (end - start) / 3 * 3 : start;
}

// The fragment of a visible model, unless its buffers were refused or released between a loss and
// the reset.
template <class Model> const g3dFragment* Drawable(const Model& model) {
    const g3dFragment* fragment = model.IsVisible() ? model.GetFragment() : nullptr;
    return fragment && fragment->GetVertexBuffer() && fragment->GetIndexBuffer() ? fragment : nullptr;
}

// A placement whose normals can be turned back: a flat one is left to the device's own transform.
bool Placeable(const maMatrix4d& placement) {
    const f32 determinant = placement.GetRotationPart().GetDeterminant();
    return determinant != 0.0f && std::isfinite(determinant);
}

void AddRanges(const g3dFragment& fragment, const maMatrix4d* placement, Scratch& scratch) {
    for (u32 range = 0; range < fragment.GetRangeCount(); ++range) {
        const g3dMaterial* material = fragment.GetMaterial(range);
        if (!material || WholeTrianglesEnd(fragment, range) == fragment.GetRangeStartIndex(range))
            continue;
        const auto end = scratch.batches.begin() + static_cast<std::ptrdiff_t>(scratch.used);
        auto batch = std::find_if(scratch.batches.begin(), end, [&](const Batch& b) {
            return b.material == material && b.kind == fragment.GetVertexKind() && b.fvf == fragment.GetFVF();
        });
        if (batch == end) {
            if (scratch.used == scratch.batches.size())
                scratch.batches.emplace_back();
            batch = scratch.batches.begin() + static_cast<std::ptrdiff_t>(scratch.used++);
            batch->material = material;
            batch->kind = fragment.GetVertexKind();
            batch->fvf = fragment.GetFVF();
            batch->spans.clear();
        }
        batch->spans.push_back({&fragment, range, placement});
    }
}

// Room for bytes at the ring's position, rounded up to a multiple of unit; from the start, discarding
// what the device holds, when the rest is too short.
u32 Claim(u32& position, u32 capacity, u32 bytes, u32 unit, u32& flags) {
    const u32 aligned = (position + unit - 1) / unit * unit;
    flags = plD3dLock::NoOverwrite;
    if (aligned + bytes > capacity) {
        flags = plD3dLock::Discard;
        position = 0;
        return 0;
    }
    return aligned;
}

bool Write(plD3dBuffer& buffer, u32 offset, const void* data, u32 bytes, u32 flags) {
    u8* target = nullptr;
    const plD3dResult locked = buffer.Lock(offset, bytes, &target, flags);
    if (plD3dFailed(locked)) {
        g3dReportFailure(locked);
        return false;
    }
    std::memcpy(target, data, bytes);
    buffer.Unlock();
    return true;
}

// Positions by the placement, normals by its inverse transpose (the device normalises them again), as
// the device turns them with the placement as its world transform.
void PlaceVertices(u8* vertices, u32 count, u32 stride, const maMatrix4d& placement) {
    maMatrix3d normals = placement.GetRotationPart();
    normals.Invert();
    normals.Transpose();
    for (u32 i = 0; i < count; ++i, vertices += stride) {
        maVector3d position, normal;
        std::memcpy(&position, vertices, sizeof position);
        std::memcpy(&normal, vertices + sizeof position, sizeof normal);
        placement.TransformPointInPlace(position);
        normals.TransformInPlace(normal);
        std::memcpy(vertices, &position, sizeof position);
        std::memcpy(vertices + sizeof position, &normal, sizeof normal);
    }
}

// The gathered vertices and indices as one draw.
void Submit(const Batch& batch, Scratch& scratch, g3dRendererState& state) {
    const u32 stride = g3dVertexStride(batch.kind);
    const u32 vertexBytes = static_cast<u32>(scratch.vertices.size());
    const u32 indexBytes = static_cast<u32>(scratch.indices.size() * 2);
    if (indexBytes == 0)
        return;
    u32 vertexFlags = 0;
    u32 indexFlags = 0;
    const u32 vertexOffset =
        Claim(state.batchVertexPosition, kVertexRingBytes, vertexBytes, stride, vertexFlags);
    const u32 indexOffset = Claim(state.batchIndexPosition, kIndexRingBytes, indexBytes, 2, indexFlags);
    if (!Write(*state.batchVertices, vertexOffset, scratch.vertices.data(), vertexBytes, vertexFlags) ||
        !Write(*state.batchIndices, indexOffset, scratch.indices.data(), indexBytes, indexFlags))
        return;
    state.batchVertexPosition = vertexOffset + vertexBytes;
    state.batchIndexPosition = indexOffset + indexBytes;
    g_pdevice->SetStreamSource(0, state.batchVertices, stride);
    g_pdevice->SetIndices(state.batchIndices, vertexOffset / stride);
    g_pdevice->SetVertexShader(batch.fvf);
    const u32 triangles = static_cast<u32>(scratch.indices.size() / 3);
    g3dReportFailure(g_pdevice->DrawIndexedPrimitive(plD3dPt::TriangleList, 0, vertexBytes / stride,
                                                     indexOffset / 2, triangles));
    state.triangles += triangles;
}

// Each range takes the vertices its indices reach, renumbered from where the batch has come to; a
// range that would pass the batch's limits starts the next draw.
void DrawBatch(const Batch& batch, Scratch& scratch, g3dRendererState& state) {
    const u32 stride = g3dVertexStride(batch.kind);
    scratch.vertices.clear();
    scratch.indices.clear();
    for (const Span& span : batch.spans) {
        const g3dFragment& fragment = *span.fragment;
        const u16* first = fragment.GetIndices() + fragment.GetRangeStartIndex(span.range);
        const u16* last = fragment.GetIndices() + WholeTrianglesEnd(fragment, span.range);
        const auto [low, high] = std::minmax_element(first, last);
        const u32 count = static_cast<u32>(*high - *low) + 1;
        if (scratch.vertices.size() / stride + count > kBatchVertices ||
            scratch.indices.size() + static_cast<size_t>(last - first) > kBatchIndices) {
            Submit(batch, scratch, state);
            scratch.vertices.clear();
            scratch.indices.clear();
        }
        const u32 base = static_cast<u32>(scratch.vertices.size() / stride);
        const u8* source = fragment.GetVertices() + static_cast<size_t>(*low) * stride;
        scratch.vertices.insert(scratch.vertices.end(), source, source + static_cast<size_t>(count) * stride);
        if (span.placement)
            PlaceVertices(scratch.vertices.data() + static_cast<size_t>(base) * stride, count, stride,
                          *span.placement);
        for (const u16* index = first; index != last; ++index)
            scratch.indices.push_back(static_cast<u16>(*index - *low + base));
    }
    Submit(batch, scratch, state);
}

} // namespace

void g3dReleaseBatchBuffers() {
    g3dRendererState& state = g3dGetRendererState();
    if (state.batchVertices)
        state.batchVertices->Release();
    if (state.batchIndices)
        state.batchIndices->Release();
    state.batchVertices = nullptr;
    state.batchIndices = nullptr;
    state.batchVertexPosition = 0;
    state.batchIndexPosition = 0;
    state.batchRefused = false;
}

void g3dRendererPAC::DrawStatics(const g3dRenderListEntry& entry, const g3dMaterial*& lastMaterial,
                                 bool& forced) {
    g3dRendererState& state = g3dGetRendererState();
    // Without depth, models cover each other in the order they are drawn, which batches would change.
    const bool batching = entry.config.depthMode == 0 && MakeBuffers(state);
    Scratch& scratch = GetScratch();
    scratch.used = 0;
    SetWorldIdentity();
    for (const auto& model : entry.worldStatic) {
        const g3dFragment* fragment = Drawable(*model);
        if (fragment && batching && Batchable(*fragment))
            AddRanges(*fragment, nullptr, scratch);
        else if (fragment)
            DrawFragment(*fragment, lastMaterial, forced);
    }
    for (const auto& model : entry.placedStatic) {
        const g3dFragment* fragment = Drawable(*model);
        if (fragment && batching && Batchable(*fragment) && Placeable(model->GetWorldMatrix())) {
            AddRanges(*fragment, &model->GetWorldMatrix(), scratch);
        } else if (fragment) {
            SetWorldMatrix(model->GetWorldMatrix());
            DrawFragment(*fragment, lastMaterial, forced);
        }
    }
    SetWorldIdentity();
    for (size_t i = 0; i < scratch.used; ++i) {
        const Batch& batch = scratch.batches[i];
        g3dUseMaterial(*batch.material, batch.kind, lastMaterial, forced);
        DrawBatch(batch, scratch, state);
    }
}

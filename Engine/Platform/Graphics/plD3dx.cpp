#include "Engine/Platform/Graphics/plD3dx.h"

#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"

#include <algorithm>
#include <vector>

namespace {

// The source texels one target texel of an axis takes, with their weights (the shared length, in
// units where a source texel is `target` long and a target texel `source` long: they add up to source).
struct Span {
    u32 first = 0;
    std::vector<u32> weights;
};

std::vector<Span> AreaSpans(u32 source, u32 target) {
    std::vector<Span> spans(target);
    for (u32 i = 0; i < target; ++i) {
        const u64 from = u64{i} * source;
        const u64 to = from + source;
        Span& span = spans[i];
        span.first = static_cast<u32>(from / target);
        for (u64 j = span.first; j * target < to; ++j) {
            const u64 start = std::max(from, j * target);
            const u64 end = std::min(to, (j + 1) * target);
            span.weights.push_back(static_cast<u32>(end - start));
        }
    }
    return spans;
}

std::vector<Span> PointSpans(u32 source, u32 target) {
    std::vector<Span> spans(target);
    for (u32 i = 0; i < target; ++i)
        spans[i] = {static_cast<u32>((2 * u64{i} + 1) * source / (2 * u64{target})), {1}};
    return spans;
}

// Pixels as 0xAARRGGBB, row after row.
struct Picture {
    u32 width = 0;
    u32 height = 0;
    std::vector<u32> argb;
};

Picture Read(const plD3dSurface& surface, const plD3dRect& rect, u32 colourKey) {
    const plD3dFormat format = surface.Desc().format;
    const u32 size = plD3dBytesPerPixel(format);
    Picture picture{static_cast<u32>(rect.right - rect.left), static_cast<u32>(rect.bottom - rect.top), {}};
    picture.argb.resize(static_cast<size_t>(picture.width) * picture.height);
    u32* out = picture.argb.data();
    for (i32 y = rect.top; y < rect.bottom; ++y, out += picture.width) {
        const u8* row = surface.Pixels() + static_cast<size_t>(y) * surface.Pitch();
        plD3dReadArgbRow(format, row + static_cast<size_t>(rect.left) * size, picture.width, out);
    }
    if (colourKey != 0)
        std::replace(picture.argb.begin(), picture.argb.end(), colourKey, 0u);
    return picture;
}

void Write(plD3dSurface& surface, const plD3dRect& rect, const Picture& picture) {
    const plD3dFormat format = surface.Desc().format;
    const u32 size = plD3dBytesPerPixel(format);
    const u32* argb = picture.argb.data();
    for (i32 y = rect.top; y < rect.bottom; ++y, argb += picture.width) {
        u8* row = surface.Pixels() + static_cast<size_t>(y) * surface.Pitch();
        plD3dWriteArgbRow(format, argb, picture.width, row + static_cast<size_t>(rect.left) * size);
    }
    surface.MarkWritten();
}

// The 2 x 2 box of a picture twice the size (or as wide or high when that side is 1), which is what
// the area average comes to then, without its general bookkeeping.
bool IsHalving(const Picture& source, u32 width, u32 height) {
    const bool across = source.width == 2 * width || (source.width == 1 && width == 1);
    const bool down = source.height == 2 * height || (source.height == 1 && height == 1);
    return across && down;
}

Picture Halve(const Picture& source, u32 width, u32 height) {
    Picture target{width, height, std::vector<u32>(static_cast<size_t>(width) * height)};
    const u32 dx = source.width == 1 ? 0 : 1;
    const u32 dy = source.height == 1 ? 0 : source.width;
    for (u32 y = 0; y < height; ++y)
        for (u32 x = 0; x < width; ++x) {
            const u32* p = &source.argb[static_cast<size_t>(y) * (dy ? 2 : 1) * source.width + x * (dx + 1)];
            // A side of 1 takes its texel twice, so every sum is of four. Two channels at a time: a
            // sum of four bytes fits the 16 bits each has.
            const u32 texels[4] = {p[0], p[dx], p[dy], p[dx + dy]};
            u32 evens = 0x00020002u;
            u32 odds = 0x00020002u;
            for (u32 texel : texels) {
                evens += texel & 0x00FF00FFu;
                odds += texel >> 8 & 0x00FF00FFu;
            }
            const u32 argb = (evens >> 2 & 0x00FF00FFu) | (odds >> 2 & 0x00FF00FFu) << 8;
            target.argb[static_cast<size_t>(y) * width + x] = argb;
        }
    return target;
}

// Separable weighted sums, each channel on its own, rounded to the nearest at the end; one target row
// at a time from the sums along the source rows beneath it.
Picture Resample(const Picture& source, u32 width, u32 height, bool point) {
    const std::vector<Span> across = point ? PointSpans(source.width, width) : AreaSpans(source.width, width);
    const std::vector<Span> down =
        point ? PointSpans(source.height, height) : AreaSpans(source.height, height);
    const u64 total = point ? 1 : u64{source.width} * source.height;
    Picture target{width, height, std::vector<u32>(static_cast<size_t>(width) * height)};
    std::vector<u64> rowSums(static_cast<size_t>(width) * 4);
    std::vector<u64> sums(static_cast<size_t>(width) * 4);
    for (u32 y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const Span& rows = down[y];
        for (size_t r = 0; r < rows.weights.size(); ++r) {
            const u32* line = &source.argb[static_cast<size_t>(rows.first + r) * source.width];
            std::fill(rowSums.begin(), rowSums.end(), 0);
            for (u32 x = 0; x < width; ++x) {
                const Span& span = across[x];
                for (size_t k = 0; k < span.weights.size(); ++k)
                    for (u32 c = 0; c < 4; ++c)
                        rowSums[x * 4 + c] +=
                            u64{span.weights[k]} * ((line[span.first + k] >> (8 * c)) & 0xFF);
            }
            for (size_t i = 0; i < sums.size(); ++i)
                sums[i] += rows.weights[r] * rowSums[i];
        }
        for (u32 x = 0; x < width; ++x) {
            u32 argb = 0;
            for (u32 c = 0; c < 4; ++c)
                argb |= static_cast<u32>((sums[x * 4 + c] + total / 2) / total) << (8 * c);
            target.argb[static_cast<size_t>(y) * width + x] = argb;
        }
    }
    return target;
}

bool HasPixels(const plD3dSurface* surface) {
    return surface && !surface->IsBackBuffer() && plD3dIsColorFormat(surface->Desc().format);
}

bool Inside(const plD3dRect& rect, const plD3dSurface& surface) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= static_cast<i32>(surface.Desc().width) &&
           rect.bottom <= static_cast<i32>(surface.Desc().height);
}

plD3dRect Whole(const plD3dSurface& surface) {
    return {0, 0, static_cast<i32>(surface.Desc().width), static_cast<i32>(surface.Desc().height)};
}

bool IsKnownFilter(u32 filter) {
    return filter == plD3dxFilter::Point || filter == plD3dxFilter::Linear ||
           filter == plD3dxFilter::Triangle || filter == plD3dxFilter::Box || filter == plD3dxFilter::Default;
}

} // namespace

plD3dResult plD3dxLoadSurfaceFromSurface(plD3dSurface* target, const plD3dRect* targetRect,
                                         plD3dSurface* source, const plD3dRect* sourceRect, u32 filter,
                                         u32 colourKey) {
    if (!HasPixels(target) || !HasPixels(source) || (filter != plD3dxFilter::None && !IsKnownFilter(filter)))
        return plD3dErr::InvalidCall;
    const plD3dRect to = targetRect ? *targetRect : Whole(*target);
    const plD3dRect from = sourceRect ? *sourceRect : Whole(*source);
    if (!Inside(to, *target) || !Inside(from, *source))
        return plD3dErr::InvalidCall;
    const u32 width = static_cast<u32>(to.right - to.left);
    const u32 height = static_cast<u32>(to.bottom - to.top);
    Picture picture = Read(*source, from, colourKey);
    if (picture.width != width || picture.height != height) {
        if (filter == plD3dxFilter::None)
            return plD3dErr::InvalidCall;
        picture = Resample(picture, width, height, filter == plD3dxFilter::Point);
    }
    Write(*target, to, picture);
    return plD3dErr::Ok;
}

plD3dResult plD3dxFilterTexture(plD3dTexture* texture, u32 sourceLevel, u32 filter) {
    if (!texture || sourceLevel >= texture->GetLevelCount() || !IsKnownFilter(filter))
        return plD3dErr::InvalidCall;
    for (u32 level = sourceLevel + 1; level < texture->GetLevelCount(); ++level) {
        const plD3dSurface& above = *texture->Level(level - 1);
        plD3dSurface& target = *texture->Level(level);
        const Picture picture = Read(above, Whole(above), 0);
        const u32 width = target.Desc().width;
        const u32 height = target.Desc().height;
        const bool point = filter == plD3dxFilter::Point;
        Write(target, Whole(target),
              !point && IsHalving(picture, width, height) ? Halve(picture, width, height)
                                                          : Resample(picture, width, height, point));
    }
    return plD3dErr::Ok;
}

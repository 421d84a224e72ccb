#include "coScreenCapture.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Source/Settings/coPaths.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr u32 kHeaderSize = 54;

// The rectangle clipped to the surface, or the whole surface.
plD3dRect AreaOf(const plD3dSurface& surface, const plD3dRect* rect) {
    const auto width = static_cast<i32>(surface.Desc().width);
    const auto height = static_cast<i32>(surface.Desc().height);
    if (!rect)
        return {0, 0, width, height};
    plD3dRect area{std::clamp(rect->left, 0, width), std::clamp(rect->top, 0, height),
                   std::clamp(rect->right, 0, width), std::clamp(rect->bottom, 0, height)};
    area.right = std::max(area.right, area.left);
    area.bottom = std::max(area.bottom, area.top);
    return area;
}

struct BmpSize {
    u32 width;
    u32 height;
    u32 rowSize; // padded to 4 bytes
};

BmpSize SizeOf(const plD3dRect& area, int factor) {
    const u32 s = factor >= 2 ? static_cast<u32>(factor) : 1;
    const u32 width = static_cast<u32>(area.right - area.left) / s;
    const u32 height = static_cast<u32>(area.bottom - area.top) / s;
    return {width, height, (width * 3 + 3) & ~3u};
}

// One row of count pixels as blue, green, red bytes; depths other than 16, 24 and 32 bits read black.
void ReadRow(const u8* row, plD3dFormat format, u32 count, u8* bgr) {
    const u32 size = plD3dBytesPerPixel(format);
    if (size == 3 || size == 4) {
        for (u32 x = 0; x < count; ++x, row += size, bgr += 3)
            std::copy_n(row, 3, bgr);
    } else if (size == 2) {
        g2dPixelFormat layout;
        g2dGetPixelFormat(format, layout);
        for (u32 x = 0; x < count; ++x, row += 2, bgr += 3) {
            const std::array<u8, 4> rgba = layout.Unpack(static_cast<u32>(row[0] | row[1] << 8));
            bgr[0] = rgba[2];
            bgr[1] = rgba[1];
            bgr[2] = rgba[0];
        }
    } else {
        std::fill_n(bgr, static_cast<size_t>(count) * 3, u8{0});
    }
}

void Put16(u8* p, u32 value) {
    p[0] = static_cast<u8>(value);
    p[1] = static_cast<u8>(value >> 8);
}

void Put32(u8* p, u32 value) {
    Put16(p, value);
    Put16(p + 2, value >> 16);
}

// The first name of the pattern, from the counter on, that nothing has yet (a folder of that name would
// fail the write); the counter moves past it.
fsLocator NextFreeFile(i32 root, const char* pattern, u32& counter) {
    for (;; ++counter) {
        char name[32];
        std::snprintf(name, sizeof(name), pattern, counter);
        fsLocator file(root);
        file.AppendComponent(name);
        fsResolveRoot(file);
        if (!fsFileExists(file) && !fsDirectoryExists(file)) {
            ++counter;
            return file;
        }
    }
}

} // namespace

void coWriteBmpHeader(const coBmpTarget& target, const plD3dSurface& surface, int factor,
                      const plD3dRect* rect) {
    const BmpSize size = SizeOf(AreaOf(surface, rect), factor);
    const u32 imageSize = size.rowSize * size.height;
    std::array<u8, kHeaderSize> header{};
    header[0] = 'B';
    header[1] = 'M';
    Put32(&header[2], kHeaderSize + imageSize);
    Put32(&header[10], kHeaderSize);
    Put32(&header[14], 40);
    Put32(&header[18], size.width);
    Put32(&header[22], size.height);
    Put16(&header[26], 1);
    Put16(&header[28], 24);
    Put32(&header[34], imageSize);
    // The pixels-per-metre fields hold the pixel sizes themselves; readers of our files expect that.
    Put32(&header[38], size.width);
    Put32(&header[42], size.height);
    target(header.data(), kHeaderSize);
}

void coWriteBmpPixels(const coBmpTarget& target, plD3dSurface& surface, int factor, const plD3dRect* rect) {
    const plD3dRect area = AreaOf(surface, rect);
    const BmpSize size = SizeOf(area, factor);
    const u32 s = factor >= 2 ? static_cast<u32>(factor) : 1;
    const plD3dFormat format = surface.Desc().format;
    const u32 texel = plD3dBytesPerPixel(format);

    plD3dLockedRect locked;
    const plD3dResult result = surface.LockRect(&locked, nullptr, plD3dLock::ReadOnly);
    if (plD3dFailed(result))
        g2dReportDXError(result);
    const bool readable = !plD3dFailed(result);

    // The rows of one block are summed into a buffer as they are read, so every pixel is read once.
    const u32 areaWidth = size.width * s;
    std::vector<u8> source(static_cast<size_t>(areaWidth) * 3);
    std::vector<u32> sums(static_cast<size_t>(size.width) * 3);
    std::vector<u8> out(size.rowSize, 0);
    for (u32 row = size.height; row-- > 0;) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (u32 dy = 0; dy < s && readable; ++dy) {
            const u32 y = static_cast<u32>(area.top) + row * s + dy;
            const u8* bits = static_cast<const u8*>(locked.bits) +
                             static_cast<size_t>(y) * static_cast<u32>(locked.pitch) +
                             static_cast<size_t>(area.left) * texel;
            ReadRow(bits, format, areaWidth, source.data());
            for (u32 x = 0; x < areaWidth; ++x)
                for (u32 c = 0; c < 3; ++c)
                    sums[(x / s) * 3 + c] += source[static_cast<size_t>(x) * 3 + c];
        }
        for (size_t i = 0; i < sums.size(); ++i)
            out[i] = static_cast<u8>(sums[i] / (s * s));
        target(out.data(), size.rowSize);
    }
    if (readable)
        surface.UnlockRect();
}

void coGrabScreenToBmp(plD3dDevice& device, const fsLocator& file, int factor) {
    const plD3dPresentParameters& params = device.GetPresentParameters();
    plD3dSurface* surface = nullptr;
    plD3dResult result = device.CreateImageSurface(params.backBufferWidth, params.backBufferHeight,
                                                   plD3dFormat::X8R8G8B8, &surface);
    if (plD3dFailed(result)) {
        g2dReportDXError(result);
        return;
    }
    result = device.GetFrontBuffer(surface);
    if (plD3dFailed(result))
        g2dReportDXError(result);
    try {
        gfWriteFileAtomically(file, gfByteOrderPlain, [&](gfFile& stream) {
            const coBmpTarget target = [&](const u8* bytes, u32 count) { stream.Write(count, bytes); };
            coWriteBmpHeader(target, *surface, factor, nullptr);
            coWriteBmpPixels(target, *surface, factor, nullptr);
        });
    } catch (...) {
        surface->Release();
        throw;
    }
    surface->Release();
}

fsLocator coGrabScreenshot(plD3dDevice& device) {
    static u32 counter = 1;
    const fsLocator file = NextFreeFile(coRootSaves, "grab%04u.bmp", counter);
    coGrabScreenToBmp(device, file, 1);
    return file;
}

fsLocator coGrabRideFrame(plD3dDevice& device, int factor) {
    static u32 counter = 1;
    static i32 root = coRootProgram;
    const u32 first = counter;
    try {
        const fsLocator file = NextFreeFile(root, "mov%05u.bmp", counter);
        coGrabScreenToBmp(device, file, factor);
        return file;
    } catch (const envExceptionX&) {
        counter = first;
        if (root == coRootSaves)
            throw;
        // An installed program folder is read-only: the rest of this run's frames go to the saves folder.
        root = coRootSaves;
    }
    const fsLocator file = NextFreeFile(root, "mov%05u.bmp", counter);
    coGrabScreenToBmp(device, file, factor);
    return file;
}

void coWriteThumbnailBmp(const coBmpTarget& target, plD3dDevice& device) {
    const plD3dPresentParameters& params = device.GetPresentParameters();
    plD3dSurface* back = nullptr;
    plD3dSurface* copy = nullptr;
    plD3dResult result = device.GetBackBuffer(0, plD3dBackBufferMono, &back);
    if (!plD3dFailed(result))
        result = device.CreateImageSurface(params.backBufferWidth, params.backBufferHeight,
                                           plD3dFormat::X8R8G8B8, &copy);
    if (!plD3dFailed(result))
        result = device.CopyRects(back, nullptr, 0, copy, nullptr);
    if (plD3dFailed(result))
        g2dReportDXError(result);
    if (copy) {
        int factor = 1;
        const plD3dRect area = coThumbnailArea(params.backBufferWidth, params.backBufferHeight, factor);
        coWriteBmpHeader(target, *copy, factor, &area);
        coWriteBmpPixels(target, *copy, factor, &area);
        copy->Release();
    }
    if (back)
        back->Release();
}

maVector3d coChooseThumbnailCamera(const maBoundingBox& box, const coThumbnailWorld& world,
                                   maVector3d& target) {
    std::vector<maVector3d> candidates;
    if (box.minX > box.maxX || box.minY > box.maxY || box.minZ > box.maxZ) {
        target = maVector3d(0.0f, 0.0f, 0.0f);
        candidates = {maVector3d(80.0f, 80.0f, 80.0f)};
    } else {
        target = box.GetCenter();
        const maVector3d e((box.maxX - box.minX) * 0.5f, (box.maxY - box.minY) * 0.5f,
                           (box.maxZ - box.minZ) * 0.5f);
        const maVector3d& c = target;
        candidates = {maVector3d(c.x - 0.75f * e.x, c.y + 0.75f * e.y, c.z + 0.75f * e.z),
                      maVector3d(c.x + 0.75f * e.x, c.y + 0.75f * e.y, c.z - 0.75f * e.z),
                      maVector3d(c.x + 80.0f, c.y + 80.0f, c.z + 80.0f),
                      maVector3d(c.x - 75.0f, c.y + 50.0f, c.z - 75.0f)};
    }
    std::vector<maVector3d> kept;
    for (maVector3d p : candidates) {
        f32 height = 0.0f;
        if (world.terrainHeight(p.x, p.z, height))
            p.y = std::max(p.y, height + 10.0f);
        const maBoundingBox around(maVector3d(p.x - 5.0f, p.y - 5.0f, p.z - 5.0f),
                                   maVector3d(p.x + 5.0f, p.y + 5.0f, p.z + 5.0f));
        if (!world.touchesProp(around) && !world.rejects(p))
            kept.push_back(p);
    }
    return kept.empty() ? candidates.front() : kept[maRandomInt() % kept.size()];
}

plD3dRect coThumbnailArea(u32 width, u32 height, int& factor) {
    factor = static_cast<int>(std::max(1u, std::min(width / 160, height / 120)));
    return {0, 0, static_cast<i32>(std::min(160u * static_cast<u32>(factor), width)),
            static_cast<i32>(std::min(120u * static_cast<u32>(factor), height))};
}

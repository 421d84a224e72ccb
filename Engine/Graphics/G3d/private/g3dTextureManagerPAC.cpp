#include "Engine/Graphics/G3d/private/g3dTextureManagerPAC.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dImageFile.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/private/g3dTextureLoaders.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/Graphics/plFontRasterizer.h"
#include "Engine/Platform/plServices.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace {

constexpr i32 kKindBMP = 0;
constexpr i32 kKindPNG = 1;
constexpr i32 kKindText = 2;

// How a texture was made: from a file (kind BMP or PNG, with its shifts), with text, or as a render
// target (size and format; text textures keep theirs too).
struct g3dTextureRecord {
    i32 kind = kKindBMP;
    fsLocator locator;
    i32 shiftX = 0;
    i32 shiftY = 0;
    g3dTextRuns runs;
    i32 width = 0;
    i32 height = 0;
    g2dPixelFormat format;
};

using Table = std::map<g3dTexture*, g3dTextureRecord>;
Table g_plain;
Table g_mip;
Table g_renderTargets;
u32 g_textureMemory = 0;

bool RunsAgree(const g3dTextRuns& runs) {
    const size_t count = runs.fonts.size();
    return count != 0 && runs.strings.size() == count && runs.xs.size() == count &&
           runs.colours.size() == count;
}

std::u16string_view Units(const envString& text, u32 start = 0, u32 end = ~0u) {
    end = std::min(end, text.GetLength());
    return {text.GetData() + start, end - start};
}

// The widest line of run i, in texels.
i32 RunWidth(const g3dTextRuns& runs, size_t i) {
    plFontRasterizer& fonts = plGetFontRasterizer();
    const envString& text = runs.strings[i];
    u32 widest = 0;
    for (u32 start = 0; start <= text.GetLength();) {
        u32 end = start;
        while (end < text.GetLength() && text[end] != u'\n')
            ++end;
        u32 width = 0;
        u32 height = 0;
        if (end > start &&
            fonts.MeasureText(runs.fonts[i].GetHandle(), Units(text, start, end), width, height))
            widest = std::max(widest, width);
        start = end + 1;
    }
    return static_cast<i32>(widest);
}

// Where run i's column ends: the texture's edge, or, for a run that would reach into the next column with
// text to its right, a gap before that column. A run that ends before that column begins is never cut, so
// a narrow column (a sign before a number) keeps its text; an empty column leaves its room to the run.
i32 ColumnEnd(const g3dTextRuns& runs, size_t i, i32 width) {
    constexpr i32 kGap = 6;
    i32 next = width;
    for (size_t j = 0; j < runs.xs.size(); ++j)
        if (runs.xs[j] > runs.xs[i] && runs.strings[j].GetLength() != 0)
            next = std::min(next, runs.xs[j]);
    if (next >= width || runs.xs[i] + RunWidth(runs, i) <= next)
        return width;
    return std::max(runs.xs[i] + 1, next - kGap);
}

// One run's lines drawn into a white-on-black buffer `width` texels wide, which clips them.
void DrawRun(const g3dTextRuns& runs, size_t i, u32* buffer, i32 width, i32 height) {
    plFontRasterizer& fonts = plGetFontRasterizer();
    const u32 font = runs.fonts[i].GetHandle();
    const envString& text = runs.strings[i];
    u32 lineHeight = 0;
    u32 start = 0;
    for (i32 line = 0; start <= text.GetLength(); ++line) {
        u32 end = start;
        while (end < text.GetLength() && text[end] != u'\n')
            ++end;
        if (end < text.GetLength() && lineHeight == 0) {
            u32 gtWidth = 0;
            fonts.MeasureText(font, u"gt", gtWidth, lineHeight);
        }
        if (end > start)
            fonts.DrawText(font, Units(text, start, end), runs.xs[i], line * static_cast<i32>(lineHeight),
                           buffer, static_cast<u32>(width), static_cast<u32>(height));
        start = end + 1;
    }
}

// White-on-black coverage of the runs in a buffer of the texture's size. Each run stops at the next
// column, so that a long name in a table does not run into its neighbour's cell.
std::vector<u32> DrawCoverage(const g3dTextRuns& runs, i32 width, i32 height) {
    std::vector<u32> coverage(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (size_t i = 0; i < runs.fonts.size(); ++i) {
        const i32 end = ColumnEnd(runs, i, width);
        if (end >= width) {
            DrawRun(runs, i, coverage.data(), width, height);
            continue;
        }
        std::vector<u32> cell(static_cast<size_t>(end) * static_cast<size_t>(height), 0);
        DrawRun(runs, i, cell.data(), end, height);
        for (i32 y = 0; y < height; ++y)
            for (i32 x = std::max(runs.xs[i], 0); x < end; ++x)
                coverage[static_cast<size_t>(y) * width + x] = cell[static_cast<size_t>(y) * end + x];
    }
    return coverage;
}

// The runs in the texture's first level: each texel the colour of the run its column belongs to,
// with the coverage as its alpha.
void DrawRuns(g3dPlainTexture& texture, const g3dTextRuns& runs) {
    plD3dTexture* d3dTexture = texture.GetPAC()->GetTexture();
    if (!d3dTexture)
        return;
    const i32 width = texture.GetWidth();
    const i32 height = texture.GetHeight();
    const g2dPixelFormat& format = texture.GetPixelFormat();
    const bool agree = RunsAgree(runs);
    if (!agree)
        DBG_WARNING(
            "text texture of %d x %d with %zu fonts, %zu strings, %zu columns and %zu colours: no text drawn",
            width, height, runs.fonts.size(), runs.strings.size(), runs.xs.size(), runs.colours.size());
    const std::vector<u32> coverage =
        agree ? DrawCoverage(runs, width, height) : std::vector<u32>(static_cast<size_t>(width) * height, 0);
    // Each column takes the colour of the last run that starts at or before it.
    std::vector<u32> columnColours(static_cast<size_t>(width), 0);
    for (size_t i = 0; agree && i < runs.colours.size(); ++i) {
        const g3dTextColour& colour = runs.colours[i];
        const u8 rgba[4] = {colour[0], colour[1], colour[2], 0};
        const i32 from = i == 0 ? 0 : std::clamp(runs.xs[i], 0, width);
        std::fill(columnColours.begin() + from, columnColours.end(), format.PackRGBA(rgba));
    }
    g2dImage image(width, height, format);
    u8* texels = image.Lock();
    if (!texels)
        return;
    const u32 bytes = format.bitsPerPixel / 8;
    const u32 dropBits = 8u - format.alphaBits;
    // Row by row, in the order both buffers are laid out.
    g3dTexelRect ink{width, height, -1, -1};
    for (i32 y = 0; y < height; ++y) {
        const u32* cover = coverage.data() + static_cast<size_t>(y) * width;
        u8* row = texels + static_cast<std::ptrdiff_t>(y) * image.GetPitch();
        const auto alphaAt = [&](i32 x) { return (cover[x] & 0xFFu) >> dropBits; };
        if (bytes == 2) {
            for (i32 x = 0; x < width; ++x) {
                const u16 texel = static_cast<u16>(columnColours[x] | alphaAt(x) << format.alphaShift);
                std::memcpy(row + x * 2, &texel, 2);
            }
        } else if (bytes == 4) {
            for (i32 x = 0; x < width; ++x) {
                const u32 texel = columnColours[x] | alphaAt(x) << format.alphaShift;
                std::memcpy(row + x * 4, &texel, 4);
            }
        }
        i32 left = 0;
        while (left < width && alphaAt(left) == 0)
            ++left;
        if (left == width)
            continue;
        i32 right = width - 1;
        while (alphaAt(right) == 0)
            --right;
        ink = {std::min(ink.left, left), std::min(ink.top, y), std::max(ink.right, right), y};
    }
    image.Unlock();
    texture.SetInk(ink);
    plD3dSurface* level = nullptr;
    plD3dResult result = d3dTexture->GetSurfaceLevel(0, &level);
    if (!plD3dFailed(result)) {
        result = g_pdevice->CopyRects(image.GetSurface(), nullptr, 0, level, nullptr);
        level->Release();
    }
    if (plD3dFailed(result))
        g2dReportDXError(result);
}

// Makes the texture's contents from its record: at creation and again after a reset.
void Fill(g3dTexture* texture, g3dTextureRecord& record, const Table& table) {
    if (&table == &g_renderTargets) {
        static_cast<g3dRenderTargetTexture*>(texture)->GetRenderTargetPAC().Create(
            record.width, record.height, record.format);
        texture->RefreshFromSurface();
    } else if (&table == &g_mip) {
        g3dLoadMipTexture(*static_cast<g3dMipTexture*>(texture), record.locator, false,
                          record.kind == kKindPNG, record.shiftX, record.shiftY);
    } else if (record.kind == kKindText) {
        auto* plain = static_cast<g3dPlainTexture*>(texture);
        if (!plain->GetPAC()->GetTexture()) {
            plain->GetPlainPAC().Create(record.width, record.height, record.format);
            plain->RefreshFromSurface();
        }
        DrawRuns(*plain, record.runs);
    } else if (record.kind == kKindPNG) {
        g3dLoadPlainTexturePNG(*static_cast<g3dPlainTexture*>(texture), record.locator, false, record.shiftX,
                               record.shiftY);
    } else {
        g3dLoadPlainTextureBMP(*static_cast<g3dPlainTexture*>(texture), record.locator, false, record.shiftX,
                               record.shiftY);
    }
}

template <class Texture> Texture* Add(Table& table, g3dTextureRecord record) {
    auto texture = std::make_unique<Texture>();
    Fill(texture.get(), record, table);
    Texture* added = texture.release();
    table.emplace(added, std::move(record));
    return added;
}

g3dTextureRecord FileRecord(const fsLocator& file, i32 shiftX, i32 shiftY) {
    g3dTextureRecord record;
    record.kind = g3dGetImageFileType(file);
    record.locator = file;
    record.shiftX = shiftX;
    record.shiftY = shiftY;
    return record;
}

// Device textures go with the device; the objects and their records stay and are filled again.
class g3dTextureReloader : public g2dD3DResetHandler {
  public:
    void OnDeviceLost() override {
        for (Table* table : {&g_plain, &g_mip, &g_renderTargets})
            for (auto& [texture, record] : *table)
                texture->GetPAC()->SetTexture(nullptr);
    }
    void OnDeviceReset() override {
        for (Table* table : {&g_plain, &g_mip, &g_renderTargets})
            for (auto& [texture, record] : *table)
                try {
                    Fill(texture, record, *table);
                } catch (const envExceptionX& exception) {
                    std::string path;
                    fsLocatorToNativePath(record.locator, path);
                    DBG_WARNING(
                        "texture %s not made again after the device reset (error 0x%08X); it stays empty",
                        path.c_str(), exception.GetCode());
                }
    }
};

} // namespace

namespace g3dTextureManagerPAC {

void RegisterResetHandler() {
    // A package start may come with another device: its free memory is asked anew.
    g_textureMemory = 0;
    g2dRegisterResetHandler(std::make_unique<g3dTextureReloader>());
}

g3dPlainTexture* LoadPlainTexture(const fsLocator& file, i32 shiftX, i32 shiftY) {
    return Add<g3dPlainTexture>(g_plain, FileRecord(file, shiftX, shiftY));
}

g3dMipTexture* LoadMipTexture(const fsLocator& file, i32 shiftX, i32 shiftY) {
    return Add<g3dMipTexture>(g_mip, FileRecord(file, shiftX, shiftY));
}

g3dRenderTargetTexture* CreateRenderTarget(i32 width, i32 height, const g2dPixelFormat& format) {
    g3dTextureRecord record;
    record.width = width;
    record.height = height;
    record.format = format;
    return Add<g3dRenderTargetTexture>(g_renderTargets, std::move(record));
}

g3dPlainTexture* CreateTextTexture(const g3dTextRuns& runs, i32 width, i32 height) {
    g3dTextureRecord record;
    record.kind = kKindText;
    record.runs = runs;
    record.width = width;
    record.height = height;
    record.format = *g3dGetAlpha16Format();
    return Add<g3dPlainTexture>(g_plain, std::move(record));
}

void DrawText(g3dPlainTexture* texture, const g3dTextRuns& runs) {
    const auto found = g_plain.find(texture);
    if (found == g_plain.end() || found->second.kind != kKindText) {
        DBG_WARNING("text drawn into a texture that is not a text texture; ignored");
        return;
    }
    found->second.runs = runs;
    DrawRuns(*texture, runs);
}

void ReleaseTexture(g3dTexture* texture) {
    for (Table* table : {&g_plain, &g_mip, &g_renderTargets})
        if (table->erase(texture) != 0) {
            delete texture;
            return;
        }
    DBG_WARNING("a texture the manager does not hold was released; ignored");
}

u32 GetAvailableTextureMemory() {
    if (g_textureMemory == 0 && g_pdevice)
        g_textureMemory = g_pdevice->GetAvailableTextureMem();
    return g_textureMemory;
}

} // namespace g3dTextureManagerPAC

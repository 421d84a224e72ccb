#include "Engine/Platform/Graphics/plD3dxFont.h"

#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/plServices.h"

#include <algorithm>
#include <span>
#include <utility>

namespace {

constexpr u32 kFvf = plD3dFvf::XyzRhw | plD3dFvf::Diffuse | plD3dFvf::Tex1;

// The states a draw needs: render states, then stage 0's and stage 1's.
constexpr std::pair<u32, u32> kRenderStates[] = {
    {plD3dRs::AlphaBlendEnable, 1},
    {plD3dRs::SrcBlend, plD3dBlend::SrcAlpha},
    {plD3dRs::DestBlend, plD3dBlend::InvSrcAlpha},
    {plD3dRs::BlendOp, 1}, // add
    {plD3dRs::AlphaTestEnable, 0},
    {plD3dRs::ZEnable, 0},
    {plD3dRs::ZWriteEnable, 0},
    {plD3dRs::CullMode, plD3dCull::None},
    {plD3dRs::FogEnable, 0},
    {plD3dRs::ColorWriteEnable, 0xF},
};
constexpr std::pair<u32, u32> kFirstStage[] = {
    {plD3dTss::ColorOp, plD3dTop::Modulate},
    {plD3dTss::ColorArg1, plD3dTa::Texture},
    {plD3dTss::ColorArg2, plD3dTa::Diffuse},
    {plD3dTss::AlphaOp, plD3dTop::Modulate},
    {plD3dTss::AlphaArg1, plD3dTa::Texture},
    {plD3dTss::AlphaArg2, plD3dTa::Diffuse},
    {plD3dTss::TexCoordIndex, 0},
    {plD3dTss::AddressU, plD3dTaddress::Clamp},
    {plD3dTss::AddressV, plD3dTaddress::Clamp},
    {plD3dTss::MagFilter, plD3dTexf::Point},
    {plD3dTss::MinFilter, plD3dTexf::Point},
    {plD3dTss::MipFilter, plD3dTexf::None},
};
constexpr std::pair<u32, u32> kSecondStage[] = {
    {plD3dTss::ColorOp, plD3dTop::Disable},
    {plD3dTss::AlphaOp, plD3dTop::Disable},
};

// An atlas of at least 16 rows of cells, within the device's largest texture.
u32 AtlasSize(u32 cell, const plD3dCaps& caps) {
    u32 size = 256;
    const u32 largest = std::min(caps.maxTextureWidth, caps.maxTextureHeight);
    while (size < cell * 16 && size * 2 <= largest)
        size *= 2;
    return std::min(size, largest);
}

} // namespace

plD3dResult plD3dxCreateFont(plD3dDevice* device, plFontHandle font, plD3dxFont** created) {
    if (!created)
        return plD3dErr::InvalidCall;
    *created = nullptr;
    u32 width = 0, cell = 0;
    if (!device || !plGetFontRasterizer().MeasureText(font, u"", width, cell) || cell == 0)
        return plD3dErr::InvalidCall;
    plD3dCaps caps;
    device->GetDeviceCaps(&caps);
    const u32 size = AtlasSize(cell, caps);
    plD3dTexture* atlas = nullptr;
    const plD3dResult result =
        device->CreateTexture(size, size, 1, 0, plD3dFormat::A4R4G4B4, plD3dPool::Managed, &atlas);
    if (plD3dFailed(result))
        return result;
    *created = new plD3dxFont(*device, font, cell, atlas, size);
    return plD3dErr::Ok;
}

plD3dxFont::plD3dxFont(plD3dDevice& device, plFontHandle font, u32 cellHeight, plD3dTexture* atlas,
                       u32 atlasSize)
    : m_device(device), m_font(font), m_cell(static_cast<i32>(cellHeight)),
      m_pad(static_cast<i32>(cellHeight) / 4 + 1), m_atlas(atlas), m_atlasSize(atlasSize) {
    m_device.AddRef();
}

plD3dxFont::~plD3dxFont() {
    m_atlas->Release();
    m_device.Release();
}

void plD3dxFont::ClearAtlas() {
    m_glyphs.clear();
    m_shelfX = 0;
    m_shelfY = 0;
}

const plD3dxFont::Glyph* plD3dxFont::FindOrAdd(char16_t unit) {
    if (const auto found = m_glyphs.find(unit); found != m_glyphs.end())
        return &found->second;
    plFontRasterizer& fonts = plGetFontRasterizer();
    const char16_t text[1] = {unit};
    u32 advance = 0, cell = 0;
    fonts.MeasureText(m_font, {text, 1}, advance, cell);
    Glyph glyph;
    glyph.advance = static_cast<i32>(advance);
    glyph.width = advance + 2 * static_cast<u32>(m_pad);
    const u32 cellHeight = static_cast<u32>(m_cell);
    if (glyph.width > m_atlasSize || cellHeight > m_atlasSize)
        return nullptr;
    if (m_shelfX + glyph.width > m_atlasSize) {
        m_shelfX = 0;
        m_shelfY += cellHeight;
    }
    if (m_shelfY + cellHeight > m_atlasSize)
        return nullptr;
    glyph.x = m_shelfX;
    glyph.y = m_shelfY;
    m_shelfX += glyph.width;

    m_raster.assign(static_cast<size_t>(glyph.width) * cellHeight, 0);
    fonts.DrawText(m_font, {text, 1}, m_pad, 0, m_raster.data(), glyph.width, cellHeight);
    glyph.empty = std::all_of(m_raster.begin(), m_raster.end(), [](u32 pixel) { return pixel == 0; });
    // White texels whose alpha is the coverage.
    const plD3dRect area{static_cast<i32>(glyph.x), static_cast<i32>(glyph.y),
                         static_cast<i32>(glyph.x + glyph.width), static_cast<i32>(glyph.y + cellHeight)};
    plD3dLockedRect locked;
    if (!glyph.empty && !plD3dFailed(m_atlas->LockRect(0, &locked, &area, 0))) {
        for (u32 y = 0; y < cellHeight; ++y) {
            auto* row =
                reinterpret_cast<u16*>(static_cast<u8*>(locked.bits) + static_cast<size_t>(y) * locked.pitch);
            for (u32 x = 0; x < glyph.width; ++x)
                row[x] = static_cast<u16>((m_raster[y * glyph.width + x] & 0xF0) << 8 | 0x0FFF);
        }
        m_atlas->UnlockRect(0);
    }
    return &m_glyphs.emplace(unit, glyph).first->second;
}

i32 plD3dxFont::DrawText(std::u16string_view text, const plD3dRect& rect, u32 colour) {
    const f32 scale = 1.0f / static_cast<f32>(m_atlasSize);
    i32 penX = rect.left;
    i32 top = rect.top;
    m_quads.clear();
    for (char16_t unit : text) {
        if (unit == u'\n') {
            penX = rect.left;
            top += m_cell;
            continue;
        }
        const Glyph* glyph = FindOrAdd(unit);
        if (!glyph) {
            // The atlas is full: draw what it holds and start it again.
            Flush();
            ClearAtlas();
            glyph = FindOrAdd(unit);
            if (!glyph)
                continue;
        }
        if (!glyph->empty) {
            // Texel centres on pixel centres: quads start half a pixel before them.
            const f32 x0 = static_cast<f32>(penX - m_pad) - 0.5f;
            const f32 y0 = static_cast<f32>(top) - 0.5f;
            const f32 x1 = x0 + static_cast<f32>(glyph->width);
            const f32 y1 = y0 + static_cast<f32>(m_cell);
            const f32 u0 = static_cast<f32>(glyph->x) * scale;
            const f32 v0 = static_cast<f32>(glyph->y) * scale;
            const f32 u1 = static_cast<f32>(glyph->x + glyph->width) * scale;
            const f32 v1 = static_cast<f32>(glyph->y + static_cast<u32>(m_cell)) * scale;
            m_quads.insert(m_quads.end(), {{x0, y0, 0, 1, colour, u0, v0},
                                           {x1, y0, 0, 1, colour, u1, v0},
                                           {x0, y1, 0, 1, colour, u0, v1},
                                           {x1, y0, 0, 1, colour, u1, v0},
                                           {x1, y1, 0, 1, colour, u1, v1},
                                           {x0, y1, 0, 1, colour, u0, v1}});
        }
        penX += glyph->advance;
    }
    Flush();
    return text.empty() ? 0 : top + m_cell - rect.top;
}

void plD3dxFont::Flush() {
    if (m_quads.empty())
        return;
    // Only what differs is set, and only that is put back.
    std::vector<std::pair<u32, u32>> renderStates;
    std::vector<std::pair<u32, u32>> stageStates[2];
    for (const auto& [state, value] : kRenderStates) {
        u32 old = 0;
        m_device.GetRenderState(state, &old);
        if (old != value) {
            renderStates.emplace_back(state, old);
            m_device.SetRenderState(state, value);
        }
    }
    for (u32 stage = 0; stage < 2; ++stage)
        for (const auto& [state, value] : stage == 0 ? std::span<const std::pair<u32, u32>>(kFirstStage)
                                                     : std::span<const std::pair<u32, u32>>(kSecondStage)) {
            u32 old = 0;
            m_device.GetTextureStageState(stage, state, &old);
            if (old != value) {
                stageStates[stage].emplace_back(state, old);
                m_device.SetTextureStageState(stage, state, value);
            }
        }
    plD3dTexture* oldTexture = nullptr;
    u32 oldFvf = 0;
    m_device.GetTexture(0, &oldTexture);
    m_device.GetVertexShader(&oldFvf);
    m_device.SetTexture(0, m_atlas);
    m_device.SetVertexShader(kFvf);

    const bool ownScene = !m_device.IsInScene();
    if (ownScene)
        m_device.BeginScene();
    m_device.DrawPrimitiveUP(plD3dPt::TriangleList, static_cast<u32>(m_quads.size() / 3), m_quads.data(),
                             sizeof(Vertex));
    if (ownScene)
        m_device.EndScene();
    m_quads.clear();

    m_device.SetVertexShader(oldFvf);
    m_device.SetTexture(0, oldTexture);
    for (u32 stage = 0; stage < 2; ++stage)
        for (const auto& [state, old] : stageStates[stage])
            m_device.SetTextureStageState(stage, state, old);
    for (const auto& [state, old] : renderStates)
        m_device.SetRenderState(state, old);
}

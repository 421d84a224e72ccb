// The texture manager on the test device, with text in DejaVu.
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "g3dTextureFixture.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>

namespace {

using g3dTextureManagerTest = g3dTextureFixture;
namespace tm = g3dTextureManager;

const std::string kRgbaPixel("\xFF\x80\x00\x80", 4);
const std::string kRgbPixel("\x10\x20\x30", 3);

std::string SmallBmp() {
    return g2dImageBuilder::Bmp(2, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9});
}

// The texels of a text texture as A4R4G4B4 values, row after row.
std::vector<u16> TextTexels(const g3dTexture& texture) {
    const std::vector<u8> bytes = g3dTexels(texture);
    std::vector<u16> texels(bytes.size() / 2);
    std::memcpy(texels.data(), bytes.data(), bytes.size());
    return texels;
}

} // namespace

TEST_F(g3dTextureManagerTest, FilesGiveTheirFormatsAndEveryLoadIsATextureOfItsOwn) {
    const struct {
        const char* name;
        std::string bytes;
        plD3dFormat format;
    } cases[] = {
        {"alpha.png", g2dImageBuilder::Png(1, 8, 6, {kRgbaPixel}), plD3dFormat::A4R4G4B4},
        {"rgb.png", g2dImageBuilder::Png(1, 8, 2, {kRgbPixel}), plD3dFormat::R5G6B5},
        {"picture.bmp", SmallBmp(), plD3dFormat::R5G6B5},
    };
    for (const auto& c : cases) {
        const fsLocator file = m_folder.Write(c.name, c.bytes);
        g3dPlainTexture* first = tm::LoadPlainTexture(file, 0, 0);
        g3dMipTexture* second = tm::LoadMipTexture(file, 0, 0);
        EXPECT_EQ(first->GetPixelFormat(), FormatOf(c.format)) << c.name;
        EXPECT_EQ(second->GetPixelFormat(), FormatOf(c.format)) << c.name;
        EXPECT_NE(first->GetPAC()->GetTexture(), second->GetPAC()->GetTexture());
        tm::ReleaseTexture(first);
        tm::ReleaseTexture(second);
    }
    m_d3d.GetLog().clear();
    EXPECT_THROW(tm::LoadPlainTexture(m_folder.Write("text.png", "not a picture"), 0, 0),
                 g3dUnknownImageFileTypeX);
    EXPECT_THROW(tm::LoadMipTexture(m_folder.Locator("missing.bmp"), 0, 0), fsFileDoesntExistX);
    EXPECT_TRUE(Calls("CreateTexture").empty());
    EXPECT_EQ(tm::GetAvailableTextureMemory(), 64u << 20);
}

TEST_F(g3dTextureManagerTest, AResetMakesEveryTextureAgainButReleasedAndVanishedOnes) {
    const fsLocator bmp = m_folder.Write("a.bmp", SmallBmp());
    const fsLocator gone = m_folder.Write("gone.png", g2dImageBuilder::Png(1, 8, 6, {kRgbaPixel}));
    const g2dFont font = g2dFont::Get("Arial", 16);
    std::vector<g3dTexture*> kept = {
        tm::LoadPlainTexture(bmp, 0, 0),
        tm::LoadMipTexture(
            m_folder.Write(
                "b.png", g2dImageBuilder::Png(4, 8, 6, {kRgbaPixel + kRgbaPixel + kRgbaPixel + kRgbaPixel})),
            0, 0),
        tm::CreateTextTextureRuns({font, font}, {"Hi", "there"}, {0, 20}, {{255, 0, 0}, {0, 0, 255}}, 64, 32),
    };
    g3dPlainTexture* redrawn = tm::CreateTextTextureSingle(font, "old", {255, 255, 255}, 32, 16);
    tm::DrawTextSingle(redrawn, font, "new", {0, 255, 0});
    kept.push_back(redrawn);
    g3dRenderTargetTexture* target = tm::CreateRenderTarget(16, 16, FormatOf(plD3dFormat::X8R8G8B8));
    g3dPlainTexture* released = tm::LoadPlainTexture(bmp, 0, 0);
    g3dPlainTexture* vanished = tm::LoadPlainTexture(gone, 0, 0);
    std::vector<std::vector<u8>> before;
    for (g3dTexture* texture : kept)
        before.push_back(g3dTexels(*texture));
    tm::ReleaseTexture(released);
    std::filesystem::remove(m_folder.Path("gone.png"));

    Device().InjectLoss(0);
    m_d3d.GetLog().clear();
    g2dScreen::EndFrame();
    EXPECT_EQ(Calls("Reset"), std::vector<std::string>{"Reset"});
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(g3dTexels(*kept[i]), before[i]) << "texture " << i;
    EXPECT_NE(target->GetPAC()->GetTexture(), nullptr);
    EXPECT_EQ(vanished->GetPAC()->GetTexture(), nullptr);
    EXPECT_TRUE(m_log.Holds("gone.png not made again after the device reset"));
    // The plain, the mip with its staging texture, the two text textures, the render target and the
    // font's atlas; nothing for the released one.
    EXPECT_EQ(Calls("CreateTexture").size(), 7u);

    for (g3dTexture* texture : kept)
        tm::ReleaseTexture(texture);
    tm::ReleaseTexture(target);
    tm::ReleaseTexture(vanished);
    g2dFont::Release(font);
}

TEST_F(g3dTextureManagerTest, TextRunsTakeTheirColoursByColumnAndLinesTheCellHeight) {
    const g2dFont font = g2dFont::Get("Arial", 16);
    // A second line lies a cell below the first: 17 rows for a size of 16 (its accents take a row more).
    g3dPlainTexture* one = tm::CreateTextTextureSingle(font, "Ag", {255, 255, 255}, 24, 40);
    g3dPlainTexture* two = tm::CreateTextTextureSingle(font, "\nAg", {255, 255, 255}, 24, 40);
    EXPECT_EQ(one->GetPixelFormat(), FormatOf(plD3dFormat::A4R4G4B4));
    const std::vector<u16> first = TextTexels(*one);
    const std::vector<u16> second = TextTexels(*two);
    EXPECT_NE(first, std::vector<u16>(24 * 40, 0x0FFF));
    EXPECT_EQ(std::vector<u16>(first.begin(), first.end() - 24 * 17),
              std::vector<u16>(second.begin() + 24 * 17, second.end()));
    // The ink is the bounding box of the texels with any alpha.
    for (g3dPlainTexture* texture : {one, two}) {
        g3dTexelRect box{24, 40, -1, -1};
        const std::vector<u16> texels = TextTexels(*texture);
        for (i32 i = 0; i < 24 * 40; ++i)
            if (texels[i] >> 12 != 0)
                box = {std::min(box.left, i % 24), std::min(box.top, i / 24), std::max(box.right, i % 24),
                       std::max(box.bottom, i / 24)};
        ASSERT_TRUE(texture->GetInk().has_value());
        const g3dTexelRect ink = *texture->GetInk();
        EXPECT_EQ(std::tie(ink.left, ink.top, ink.right, ink.bottom),
                  std::tie(box.left, box.top, box.right, box.bottom));
    }

    // Red up to column 20, blue from it; the coverage is the alpha.
    g3dPlainTexture* runs =
        tm::CreateTextTextureRuns({font, font}, {"HHH", "HHH"}, {0, 20}, {{255, 0, 0}, {0, 0, 255}}, 40, 16);
    const std::vector<u16> texels = TextTexels(*runs);
    bool opaque = false;
    for (size_t i = 0; i < texels.size(); ++i) {
        EXPECT_EQ(texels[i] & 0x0FFF, i % 40 < 20 ? 0x0F00 : 0x000F) << "texel " << i;
        opaque |= (texels[i] >> 12) == 0xF;
    }
    EXPECT_TRUE(opaque);
    // A run too long for its column stops short of the next column with text; an empty column leaves
    // it room; a run that ends before the next column (a sign) is drawn whole. Compared by coverage.
    const auto coverage = [&](const std::vector<envString>& strings, const std::vector<i32>& xs) {
        g3dPlainTexture* texture =
            tm::CreateTextTextureRuns(std::vector<g2dFont>(strings.size(), font), strings, xs,
                                      std::vector<g3dTextColour>(strings.size()), 40, 16);
        std::vector<u16> alphas;
        for (const u16 texel : TextTexels(*texture))
            alphas.push_back(texel >> 12);
        tm::ReleaseTexture(texture);
        return alphas;
    };
    const std::vector<u16> cut = coverage({"HHHHHH", "H"}, {0, 20});
    const std::vector<u16> sign = coverage({"-", "1"}, {0, 8}), dash = coverage({"-"}, {0});
    for (size_t i = 0; i < cut.size(); ++i) {
        if (i % 40 >= 14 && i % 40 < 20) {
            EXPECT_EQ(cut[i], 0) << "texel " << i;
        }
        if (i % 40 < 8) {
            EXPECT_EQ(sign[i], dash[i]) << "texel " << i;
        }
    }
    EXPECT_NE(cut, std::vector<u16>(cut.size(), 0));
    EXPECT_EQ(coverage({"HHHHHH", ""}, {0, 20}), coverage({"HHHHHH"}, {0}));
    // Runs that disagree draw nothing, at creation and at a redraw.
    g3dPlainTexture* blank = tm::CreateTextTextureRuns({font}, {"a", "b"}, {0}, {{1, 2, 3}}, 8, 8);
    EXPECT_EQ(TextTexels(*blank), std::vector<u16>(64, 0));
    tm::DrawTextRuns(runs, {}, {}, {}, {});
    EXPECT_EQ(TextTexels(*runs), std::vector<u16>(40 * 16, 0));
    EXPECT_TRUE(m_log.Holds("no text drawn"));
    for (g3dTexture* texture : {one, two, runs, blank})
        tm::ReleaseTexture(texture);
    g2dFont::Release(font);
}

// A box's text keeps each glyph whole in its line, in every size the interface uses: the underscore and
// descenders below the baseline though the next line is drawn right under it, the accents above. Each
// line is compared with the glyph drawn alone with a cell of room around it, which must stay empty.
TEST_F(g3dTextureManagerTest, ALineOfTextKeepsItsGlyphsWholeBelowAndAboveTheBaseline) {
    constexpr u32 kWidth = 32;
    for (const i32 size : {12, 13, 14, 15, 16, 18, 20, 22, 24, 26}) {
        const g2dFont font = g2dFont::Get("Arial", size);
        u32 width = 0, cell = 0;
        g2dFont::MeasureText(font, "H", width, cell);
        for (const char16_t unit : std::u16string_view(u"_gjpqy,ÂÉÅ")) {
            const std::u16string glyph(1, unit);
            std::vector<u32> alone(kWidth * 3 * cell, 0);
            m_fonts.DrawText(font.GetHandle(), glyph, 0, static_cast<i32>(cell), alone.data(), kWidth,
                             3 * cell);
            g3dPlainTexture* box = tm::CreateTextTextureSingle(
                font, envString((glyph + u"\n" + glyph).c_str()), {255, 255, 255}, kWidth, 2 * cell);
            const std::vector<u16> texels = TextTexels(*box);
            u32 outside = 0, differing = 0;
            for (u32 i = 0; i < alone.size(); ++i) {
                const u32 y = i / kWidth, alpha = (alone[i] & 0xFF) >> 4;
                if (y < cell || y >= 2 * cell)
                    outside += alpha != 0;
                else
                    for (u32 line = 0; line < 2; ++line)
                        differing += texels[i - cell * kWidth + line * cell * kWidth] >> 12 != alpha;
            }
            EXPECT_EQ(outside + differing, 0u)
                << "size " << size << " glyph U+" << std::hex << static_cast<u32>(unit);
            tm::ReleaseTexture(box);
        }
        g2dFont::Release(font);
    }
}

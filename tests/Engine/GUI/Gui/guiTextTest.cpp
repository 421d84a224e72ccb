#include "Engine/GUI/Gui/guiScrollingText.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "guiWidgetFixture.h"

#include <algorithm>
#include <string>

namespace {

const g3dTextColour kWhite{255, 255, 255};

// The ink columns (texels with any alpha) of the state's text texture, first and last; -1, -1 without.
std::pair<i32, i32> InkColumns(const g3dTexture& texture, const std::vector<u16>& texels) {
    i32 first = -1, last = -1;
    for (size_t i = 0; i < texels.size(); ++i)
        if (texels[i] >> 12) {
            const i32 x = static_cast<i32>(i % static_cast<size_t>(texture.GetWidth()));
            first = first < 0 ? x : std::min(first, x);
            last = std::max(last, x);
        }
    return {first, last};
}

i32 Width(g2dFont font, const std::u16string& text) {
    u32 w = 0, h = 0;
    g2dFont::MeasureText(font ? font : g2dScreen::GetDefaultFont(), envString(text.c_str()), w, h);
    return static_cast<i32>(w);
}

std::u16string Units(const envString& s) {
    return s.GetLength() ? std::u16string(s.GetData(), s.GetLength()) : std::u16string();
}

} // namespace

class guiTextTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        text = new guiScrollingText;
        text->SetSize(256, 128);
        guiWindowMgr::AddWindow(text);
        text->SetState(guiStateIdle);
    }
    const g3dTexture& Texture(i32 state) { return *text->GetStateMaterial(state).GetStage(0).texture; }

    guiScrollingText* text = nullptr;
};

TEST_F(guiTextTest, OnlyAChangedTextIsDrawnAgain) {
    ASSERT_TRUE(g2dScreen::GetDefaultFont());
    Mark();
    const struct {
        const char* text;
        size_t draws;
    } steps[] = {{"Hello", 1}, {"Hello", 0}, {"World", 1}, {"", 1}, {"", 1}};
    for (const auto& step : steps) {
        text->SetText(envString(step.text), guiStateIdle);
        EXPECT_EQ(CountSinceMark("CopyRects"), step.draws) << step.text;
    }
    // A record made from the defaults, which name no offset, draws.
    text->SetText(envString("Hello"), guiStateIdle);
    EXPECT_GE(InkColumns(Texture(guiStateIdle), Texels(Texture(guiStateIdle))).first, 0);
    EXPECT_EQ(CountSinceMark("CreateTexture"), 0u);
}

TEST_F(guiTextTest, HiddenTextsHoldNoTextures) {
    text->SetVisible(false);
    Mark();
    text->SetText(envString("later"), guiStateIdle);
    text->SetText(envString("over"), guiStateOver);
    EXPECT_EQ(CountSinceMark("CreateTexture"), 0u);
    EXPECT_FALSE(text->guiMaterial::HasTexture(guiStateIdle));
    text->SetVisible(true);
    EXPECT_EQ(CountSinceMark("CreateTexture"), 2u);
    EXPECT_EQ(text->GetShownState(), guiStateIdle);
    text->SetVisible(false);
    EXPECT_FALSE(text->guiMaterial::HasTexture(guiStateOver));
    EXPECT_FALSE(text->guiMaterial::HasTexture(guiStateIdle));
}

TEST_F(guiTextTest, FieldsDrawFromTheirOffsets) {
    const std::vector<i32> offsets{0, 90, 180};
    text->SetStateStyle({kWhite, kWhite, kWhite}, {{}, {}, {}}, offsets, guiStateIdle);
    for (size_t k = 0; k < offsets.size(); ++k) {
        std::vector<envString> lines(3);
        lines[k] = envString("WWWW");
        text->SetTextLines(lines, guiStateIdle);
        const auto [first, last] = InkColumns(Texture(guiStateIdle), Texels(Texture(guiStateIdle)));
        EXPECT_GE(first, offsets[k]) << k;
        EXPECT_LT(first, offsets[k] + 10) << k;
    }
}

TEST_F(guiTextTest, WordWrapFitsRowsToTheirField) {
    text->SetTextureSize(128, 128);
    text->SetWordWrap(1);
    const char* paragraphs[] = {"the quick brown fox jumps over the lazy dog again and again",
                                "WWWWWWWWWWWWWWWWWWWWWWWWWWWW", "short"};
    for (const char* paragraph : paragraphs) {
        text->SetText(envString(paragraph), guiStateIdle);
        const guiTextRecord& record = *text->FindRecord(guiStateIdle);
        const std::u16string wrapped =
            record.wrapped.empty() ? Units(record.fields[0]) : Units(record.wrapped[0]);
        std::u16string joined;
        size_t start = 0;
        std::vector<std::u16string> rows;
        while (start <= wrapped.size()) {
            const size_t end = std::min(wrapped.find(u'\n', start), wrapped.size());
            rows.push_back(wrapped.substr(start, end - start));
            start = end + 1;
        }
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_LE(Width({}, rows[i]), 128) << paragraph;
            EXPECT_FALSE(rows[i].empty()) << paragraph;
            // Breaks at the last space that fits: the next row's first word would not.
            if (i + 1 < rows.size() && rows[i].find(u' ') != std::u16string::npos) {
                EXPECT_GE(Width({}, rows[i] + u" " + rows[i + 1].substr(0, rows[i + 1].find(u' '))), 128);
            }
        }
        std::u16string plain = Units(record.fields[0]);
        std::u16string rejoined;
        for (const std::u16string& row : rows)
            rejoined += row;
        std::erase(plain, u' ');
        std::erase(rejoined, u' ');
        EXPECT_EQ(rejoined, plain) << paragraph;
    }
    // Fields without room (offsets falling) or narrower than one glyph still end, one glyph a row.
    text->SetStateStyle({kWhite, kWhite}, {{}, {}}, {100, 50}, guiStateIdle);
    text->SetTextLines({envString("a b c"), envString("d e f")}, guiStateIdle);
    text->SetStateStyle({kWhite, kWhite}, {{}, {}}, {0, 2}, guiStateIdle);
    text->SetTextLines({envString("WWW"), envString("x")}, guiStateIdle);
    EXPECT_EQ(Units(text->FindRecord(guiStateIdle)->wrapped[0]), u"W\nW\nW");
}

TEST_F(guiTextTest, DefaultsReachOnlyTheStatesThatFollowThem) {
    text->SetText(envString("a"), guiStateIdle);
    text->SetText(envString("b"), guiStateOver);
    text->SetTextColor({255, 0, 0}, guiStateIdle);
    text->SetDefaultColor({0, 0, 255});
    EXPECT_EQ(text->GetTextColor(guiStateIdle), (g3dTextColour{255, 0, 0}));
    EXPECT_EQ(text->GetTextColor(guiStateOver), (g3dTextColour{0, 0, 255}));
    text->UseDefaultColours(guiStateIdle);
    EXPECT_EQ(text->GetTextColor(guiStateIdle), (g3dTextColour{0, 0, 255}));
    // A default style of three colours gives the following states three fields, every list as long.
    text->SetDefaultStyle({kWhite, kWhite, kWhite}, {}, {0, 50});
    const guiTextRecord& over = *text->FindRecord(guiStateOver);
    EXPECT_EQ(over.fields.size(), 3u);
    EXPECT_EQ(over.fonts.size(), 3u);
    EXPECT_EQ(over.offsets, (std::vector<i32>{0, 50, 0}));
    EXPECT_EQ(text->GetText(guiStateOver), envString("b"));
}

TEST_F(guiTextTest, ANewTextureSizeReplacesEveryTexture) {
    text->SetText(envString("a"), guiStateIdle);
    text->SetText(envString("b"), guiStateOver);
    Mark();
    text->SetTextureSize(128, 64);
    EXPECT_EQ(CountSinceMark("CreateTexture"), 2u);
    EXPECT_EQ(Texture(guiStateOver).GetWidth(), 128);
    text->SetTextureSize(128, 64);
    const std::pair<i32, i32> refused[] = {{0, 64}, {128, -1}, {5000, 64}};
    for (const auto& [w, h] : refused)
        text->SetTextureSize(w, h);
    EXPECT_EQ(CountSinceMark("CreateTexture"), 0u);
    i32 w = 0, h = 0;
    text->GetTextureSize(w, h);
    EXPECT_EQ(w * 1000 + h, 128064);
}

TEST_F(guiTextTest, AScrollingTextShowsItsLineFromTheFirstVisibleCharacter) {
    text->SetText(envString("abcdef"), guiStateIdle);
    EXPECT_EQ(text->GetTextList(), std::vector<envString>{envString("abcdef")});
    text->SetFirstVisibleChar(3, guiStateIdle);
    EXPECT_EQ(text->GetTextList(), std::vector<envString>{envString("def")});
    text->SetFirstVisibleChar(6, guiStateIdle);
    EXPECT_EQ(text->GetTextList(), std::vector<envString>{envString("abcdef")});
    EXPECT_EQ(text->GetFirstVisibleChar(), 0);
    text->SetFirstVisibleChar(2, guiStateIdle);
    text->SetWordWrap(1);
    EXPECT_EQ(text->GetFirstVisibleChar(), 0);
    text->SetFirstVisibleChar(2, guiStateIdle);
    EXPECT_EQ(text->GetFirstVisibleChar(), 0);
    // The plain rendering hands the texts on whole until the line is scrolled, and then keeps the scroll.
    text->SetWordWrap(0);
    EXPECT_EQ(text->GetTextList(), std::vector<envString>{envString("abcdef")});
    text->SetFirstVisibleChar(3, guiStateIdle);
    text->SetText(envString("abcdefg"), guiStateIdle);
    EXPECT_EQ(text->GetTextList(), std::vector<envString>{envString("defg")});
}

// The quad leaves out the clear texels, but never a pixel whose filtered texels (the two taps on each
// axis at floor(t - 0.5) and the next, the texture repeating) reach the ink.
TEST_F(guiTextTest, TheQuadCoversEveryPixelItsInkReaches) {
    const struct {
        const char* text;
        i32 offset;
        f32 tile, largestShare;
    } cases[] = {{"Hello", 0, 1.0f, 0.2f},  {"W", 120, 1.0f, 0.1f},
                 {"Hello", 60, 0.5f, 0.4f}, {"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 0, 1.0f, 1.0f},
                 {"WWWW", 230, 1.0f, 1.0f}, {" ", 0, 1.0f, 0.0f}};
    for (const auto& c : cases) {
        text->SetStateStyle({kWhite}, {{}}, {c.offset}, guiStateIdle);
        text->SetText(envString(c.text), guiStateIdle);
        text->SetTile(c.tile, 1.0f, guiStateIdle);
        Update(700, 500);
        const std::vector<u16> texels = Texels(Texture(guiStateIdle));
        const i32 size[2] = {256, 128};
        i32 ink[2][2] = {{size[0], -1}, {size[1], -1}}; // first and last inked column, row
        for (size_t i = 0; i < texels.size(); ++i)
            for (int axis = 0; texels[i] >> 12 && axis < 2; ++axis) {
                const i32 at = static_cast<i32>(axis == 0 ? i % 256 : i / 256);
                ink[axis][0] = std::min(ink[axis][0], at);
                ink[axis][1] = std::max(ink[axis][1], at);
            }
        const auto* quad = reinterpret_cast<const g3dVertexPNT*>(
            dynamic_cast<const g3dHFragment*>(text->GetRenderEntry()->GetNode())
                ->GetFragment()
                ->GetVertices());
        const f32 from[2] = {quad[0].position.x, -quad[0].position.y},
                  to[2] = {quad[3].position.x, -quad[3].position.y};
        for (int axis = 0; axis < 2; ++axis)
            for (i32 pixel = 0; pixel < size[axis]; ++pixel) {
                const f32 share = (static_cast<f32>(pixel) + 0.5f) / static_cast<f32>(size[axis]);
                const f32 t = share * (axis == 0 ? c.tile : 1.0f) * static_cast<f32>(size[axis]);
                const i32 tap = static_cast<i32>(std::floor(t - 0.5f));
                bool reached = false;
                for (const i32 texel : {(tap + size[axis]) % size[axis], (tap + 1) % size[axis]})
                    reached = reached || (texel >= ink[axis][0] && texel <= ink[axis][1]);
                EXPECT_TRUE(!reached || (share >= from[axis] && share <= to[axis])) << c.text << " " << pixel;
            }
        EXPECT_LE((to[0] - from[0]) * (to[1] - from[1]), c.largestShare) << c.text;
    }
}

// A texture the window's size shows texel for pixel, so a row drawn as it measures keeps its place and
// its last columns: the quad's texture coordinates run with its position and reach the last ink.
TEST_F(guiTextTest, EachPixelShowsItsOwnTexel) {
    for (const i32 offset : {0, 256 - Width({}, u"WWWW")}) {
        text->SetStateStyle({kWhite}, {{}}, {offset}, guiStateIdle);
        text->SetText(envString("WWWW"), guiStateIdle);
        Update(700, 500);
        const auto* quad = reinterpret_cast<const g3dVertexPNT*>(
            dynamic_cast<const g3dHFragment*>(text->GetRenderEntry()->GetNode())
                ->GetFragment()
                ->GetVertices());
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(quad[i].uv.x, quad[i].position.x) << offset << " " << i;
            EXPECT_FLOAT_EQ(quad[i].uv.y, -quad[i].position.y) << offset << " " << i;
        }
        const i32 last = InkColumns(Texture(guiStateIdle), Texels(Texture(guiStateIdle))).second;
        EXPECT_GE(quad[3].uv.x * 256.0f, static_cast<f32>(last + 1)) << offset;
    }
}

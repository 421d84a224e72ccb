#include "Engine/Platform/Font/plFreeTypeFonts.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {
// Outlines only, so advances and drawings come from the same glyphs.
constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP;
// The tallest cell asked for; its 26.6 size and its negation stay inside 32 bits.
constexpr i32 kMaxHeight = 0x7FFF;
} // namespace

struct plFreeTypeFonts::Library {
    FT_Library freeType = nullptr;
    FcConfig* config = nullptr;
};

struct plFreeTypeFonts::Face {
    // A character as drawn: its advance in whole pixels and its grey coverage, which stays inside the
    // cell; a character that cannot be loaded has no advance and draws nothing.
    struct Glyph {
        i32 advance = 0;
        i32 left = 0;
        i32 top = 0;
        u32 width = 0;
        u32 rows = 0;
        std::vector<u8> coverage;
    };

    FT_Face face = nullptr;
    i32 cellHeight = 0;
    i32 ascent = 0;
    // Loaded and rendered once, by code point: menus draw the same few characters over and over.
    std::unordered_map<u32, Glyph> glyphs;

    ~Face() { FT_Done_Face(face); }

    // The cell holds every Latin-1 glyph as drawn: hinted at a whole ppem, glyphs reach past the size's
    // rounded ascent and descent (at 14 pixels an underscore lies a row below), and a line, a text
    // texture or an atlas slot keeps only the cell. The size's height and ascent stand where the glyphs
    // fit in them. The bitmaps' places are read from the loaded outlines, without drawing them.
    void FitCell(i32 lineHeight, i32 lineAscent) {
        i32 top = 0, bottom = 0;
        for (const auto& [first, last] : {std::pair(u' ', u'~'), std::pair(u'\u00A0', u'\u00FF')})
            for (char16_t unit = first; unit <= last; ++unit) {
                const FT_GlyphSlot slot = face->glyph;
                if (FT_Load_Char(face, unit, kLoadFlags) != 0 || slot->bitmap.rows == 0)
                    continue;
                top = std::max(top, slot->bitmap_top);
                bottom = std::min(bottom, slot->bitmap_top - static_cast<i32>(slot->bitmap.rows));
            }
        cellHeight = std::max(lineHeight, top - bottom);
        ascent = std::clamp(lineAscent, top, cellHeight + bottom);
    }

    bool LoadGlyph(u32 code) {
        const FT_UInt index = envIsSurrogate(code) ? 0 : FT_Get_Char_Index(face, code);
        return index != 0 && FT_Load_Glyph(face, index, kLoadFlags) == 0;
    }

    // A character that the face lacks is drawn as the replacement mark (the face's missing-glyph box
    // where it has no mark either). A glyph taller than the cell (the cell holds Latin-1) is cut to it,
    // so that it never reaches into the lines beside it.
    const Glyph& GlyphOf(u32 code) {
        const auto [found, added] = glyphs.try_emplace(code);
        Glyph& glyph = found->second;
        if (!added)
            return glyph;
        if (!LoadGlyph(code) && !LoadGlyph(envReplacementCharacter) &&
            FT_Load_Glyph(face, 0, kLoadFlags) != 0)
            return glyph;
        const FT_GlyphSlot slot = face->glyph;
        glyph.advance = static_cast<i32>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 ||
            slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
            return glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        // Only the rows inside the cell are kept.
        const i32 first = std::max(slot->bitmap_top - ascent, 0);
        const i32 last = std::min(static_cast<i32>(bitmap.rows), slot->bitmap_top - ascent + cellHeight);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top - first;
        glyph.width = bitmap.width;
        glyph.rows = static_cast<u32>(std::max(last - first, 0));
        glyph.coverage.resize(static_cast<size_t>(bitmap.width) * glyph.rows);
        for (u32 row = 0; row < glyph.rows; ++row)
            std::copy_n(
                bitmap.buffer + static_cast<std::ptrdiff_t>(first + static_cast<i32>(row)) * bitmap.pitch,
                bitmap.width, glyph.coverage.begin() + static_cast<std::ptrdiff_t>(row) * bitmap.width);
        return glyph;
    }

    // Calls draw(glyph) for each character of the text, a surrogate pair being one.
    template <class Draw> void ForEachGlyph(std::u16string_view text, Draw draw) {
        for (size_t at = 0; at < text.size();)
            draw(GlyphOf(envDecodeUtf16(text, at)));
    }
};

plFreeTypeFonts::plFreeTypeFonts() : m_library(std::make_unique<Library>()) {
    if (FT_Init_FreeType(&m_library->freeType) != 0) {
        m_library->freeType = nullptr;
        DBG_WARNING("FreeType cannot start: no text can be drawn");
    }
}

plFreeTypeFonts::~plFreeTypeFonts() {
    m_faces.clear();
    if (m_library->config)
        FcConfigDestroy(m_library->config);
    if (m_library->freeType)
        FT_Done_FreeType(m_library->freeType);
}

std::string plFreeTypeFonts::Match(const std::string& faceUtf8, int& index) {
    // The configuration is read on first use, so a program that draws no text never reads it.
    if (!m_library->config)
        m_library->config = FcInitLoadConfigAndFonts();
    if (!m_library->config)
        return {};
    FcPattern* pattern = FcPatternCreate();
    if (!faceUtf8.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceUtf8.c_str()));
    FcConfigSubstitute(m_library->config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(m_library->config, pattern, &result);
    FcPatternDestroy(pattern);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
            index = 0;
    }
    if (match)
        FcPatternDestroy(match);
    return file;
}

plFontHandle plFreeTypeFonts::CreateFont(const std::string& faceUtf8, i32 height) {
    if (!m_library->freeType || height == 0 || height < -kMaxHeight || height > kMaxHeight)
        return 0;
    int index = 0;
    const std::string file = Match(faceUtf8, index);
    if (file.empty())
        return 0;
    auto face = std::make_unique<Face>();
    if (FT_New_Face(m_library->freeType, file.c_str(), index, &face->face) != 0) {
        face->face = nullptr;
        DBG_WARNING("The font file %s cannot be read", file.c_str());
        return 0;
    }
    FT_Error error = 0;
    if (height > 0) {
        FT_Size_RequestRec request{FT_SIZE_REQUEST_TYPE_REAL_DIM, 0, height * 64, 0, 0};
        error = FT_Request_Size(face->face, &request);
    } else {
        error = FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(-height));
    }
    if (error != 0)
        return 0;
    const FT_Size_Metrics& metrics = face->face->size->metrics;
    face->FitCell(static_cast<i32>(metrics.height >> 6), static_cast<i32>(metrics.ascender >> 6));
    const plFontHandle handle = m_next++;
    m_faces[handle] = std::move(face);
    return handle;
}

void plFreeTypeFonts::DeleteFont(plFontHandle font) {
    m_faces.erase(font);
}

plFreeTypeFonts::Face* plFreeTypeFonts::Find(plFontHandle font) {
    const auto found = m_faces.find(font);
    return found == m_faces.end() ? nullptr : found->second.get();
}

bool plFreeTypeFonts::MeasureText(plFontHandle font, std::u16string_view text, u32& width, u32& height) {
    Face* face = Find(font);
    if (!face)
        return false;
    i32 sum = 0;
    face->ForEachGlyph(text, [&sum](const Face::Glyph& glyph) { sum += glyph.advance; });
    width = static_cast<u32>(std::max(sum, 0));
    height = static_cast<u32>(face->cellHeight);
    return true;
}

void plFreeTypeFonts::DrawText(plFontHandle font, std::u16string_view text, i32 x, i32 y, u32* pixels,
                               u32 width, u32 height) {
    Face* face = Find(font);
    if (!face || !pixels)
        return;
    const i32 bufferWidth = static_cast<i32>(width);
    const i32 bufferHeight = static_cast<i32>(height);
    u32 textWidth = 0, cellHeight = 0;
    MeasureText(font, text, textWidth, cellHeight);
    // The cell's background first, as an opaque text call paints it.
    for (i32 row = std::max(y, 0); row < std::min(y + face->cellHeight, bufferHeight); ++row)
        for (i32 column = std::max(x, 0); column < std::min(x + static_cast<i32>(textWidth), bufferWidth);
             ++column)
            pixels[static_cast<size_t>(row) * width + static_cast<size_t>(column)] = 0;
    const i32 baseline = y + face->ascent;
    i32 pen = x;
    face->ForEachGlyph(text, [&](const Face::Glyph& glyph) {
        const i32 left = pen + glyph.left;
        const i32 top = baseline - glyph.top;
        for (u32 row = 0; row < glyph.rows; ++row) {
            const i32 py = top + static_cast<i32>(row);
            if (py < 0 || py >= bufferHeight)
                continue;
            const u8* coverage = glyph.coverage.data() + static_cast<size_t>(row) * glyph.width;
            for (u32 column = 0; column < glyph.width; ++column) {
                const i32 px = left + static_cast<i32>(column);
                if (px < 0 || px >= bufferWidth || coverage[column] == 0)
                    continue;
                u32& pixel = pixels[static_cast<size_t>(py) * width + static_cast<size_t>(px)];
                // Glyphs that overlap keep the stronger coverage.
                const u32 value = std::max<u32>(pixel & 0xFF, coverage[column]);
                pixel = value * 0x010101u;
            }
        }
        pen += glyph.advance;
    });
}

#include "Engine/Graphics/G2d/g2dFont.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/private/g2dFontUtilPAC.h"

#include <map>
#include <memory>

namespace {

constexpr u32 kFontNameSet = 32;

// Face and size order the table; the text number only tells how the entry was made.
struct FontKey {
    envString face;
    i32 size = 0;
    i32 textId = -1;

    bool operator<(const FontKey& other) const {
        if (face != other.face)
            return face < other.face;
        return size < other.size;
    }
};

struct FontUse {
    g2dFont font;
    i32 count = 0;
};

std::map<FontKey, FontUse> g_fonts;
std::unique_ptr<gfTextSet> g_fontNames;

g2dFont GetEntry(const envString& face, i32 size, i32 textId) {
    const auto found = g_fonts.find({face, size, textId});
    if (found != g_fonts.end()) {
        ++found->second.count;
        return found->second.font;
    }
    const g2dFont font = g2dFontUtilPAC::CreateFont(face, size);
    g_fonts.emplace(FontKey{face, size, textId}, FontUse{font, 1});
    return font;
}

} // namespace

g2dFont g2dFont::Get(const envString& face, i32 size) {
    return GetEntry(face, size, -1);
}

g2dFont g2dFont::GetByTextId(u32 textId, i32 size) {
    if (!g_fontNames) {
        DBG_WARNING("font %u asked for by number before the font-name table was loaded", textId);
        throw g2dUnknownFontX(envString());
    }
    return GetEntry(g_fontNames->GetText(textId), size, static_cast<i32>(textId));
}

void g2dFont::Release(g2dFont font) {
    for (auto entry = g_fonts.begin(); entry != g_fonts.end(); ++entry) {
        if (entry->second.font != font)
            continue;
        if (entry->second.count-- == 0) {
            g2dFontUtilPAC::DeleteFont(font);
            g_fonts.erase(entry);
        }
        return;
    }
}

void g2dFont::MeasureText(g2dFont font, const envString& text, u32& width, u32& height) {
    if (text.GetLength() == 0) {
        width = height = 0;
        return;
    }
    g2dFontUtilPAC::MeasureText(font, text, width, height);
}

bool g2dFont::GetInfo(g2dFont font, envString& face, i32& size, i32& textId) {
    for (const auto& [key, use] : g_fonts)
        if (use.font == font) {
            face = key.face;
            size = key.size;
            textId = key.textId;
            return true;
        }
    return false;
}

void g2dFont::ReleaseAll() {
    for (const auto& [key, use] : g_fonts)
        g2dFontUtilPAC::DeleteFont(use.font);
    g_fonts.clear();
}

void g2dLoadFontNameTable(const fsLocator& file) {
    g_fontNames = std::make_unique<gfTextSet>(file, kFontNameSet, true);
}

void g2dFontStartup() {
    g2dFontUtilPAC::RegisterResetHandler();
}

void g2dFontShutdown() {
    g2dFont::ReleaseAll();
    g_fontNames.reset();
}

#include "Engine/Graphics/G2d/g2dTextService.h"

#include "Engine/Graphics/G2d/private/g2dFontUtilPAC.h"
#include "Engine/Platform/Graphics/plD3dxFont.h"

namespace {

// Fonts from the shared table, drawn with their device objects.
class FontTableTextService : public g2dTextService {
  public:
    g2dFont GetFont(const envString& face, i32 size) override { return g2dFont::Get(face, size); }
    void ReleaseFont(g2dFont font) override { g2dFont::Release(font); }
    void MeasureText(g2dFont font, const envString& text, u32& width, u32& height) override {
        g2dFont::MeasureText(font, text, width, height);
    }
    void DrawText(g2dFont font, const envString& text, const plD3dRect& rect, u32 colour) override {
        if (plD3dxFont* deviceFont = g2dFontUtilPAC::GetD3DXFont(font))
            deviceFont->DrawText({text.GetData(), text.GetLength()}, rect, colour);
    }
};

FontTableTextService g_fontTable;
g2dTextService* g_service = &g_fontTable;

} // namespace

void g2dSetTextService(g2dTextService* service) {
    g_service = service ? service : &g_fontTable;
}

g2dTextService& g2dGetTextService() {
    return *g_service;
}

#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

// The font calls the screen makes: its default font for the debug lines, text measuring and drawing.
// The font table serves them unless a test installs a service of its own.
class g2dTextService {
  public:
    virtual ~g2dTextService() = default;
    virtual g2dFont GetFont(const envString& face, i32 size) = 0;
    virtual void ReleaseFont(g2dFont font) = 0;
    virtual void MeasureText(g2dFont font, const envString& text, u32& width, u32& height) = 0;
    // Unclipped, from the rectangle's top-left corner, in colour 0xAARRGGBB.
    virtual void DrawText(g2dFont font, const envString& text, const plD3dRect& rect, u32 colour) = 0;
};

// Not owned; null puts the font table back.
void g2dSetTextService(g2dTextService* service);
g2dTextService& g2dGetTextService();

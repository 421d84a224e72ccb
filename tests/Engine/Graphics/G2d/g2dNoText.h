#pragma once
#include "Engine/Graphics/G2d/g2dTextService.h"

// A text service for runs that draw no text: the screen asks for one, and every text measures nothing.
class g2dNoText : public g2dTextService {
  public:
    g2dFont GetFont(const envString&, i32) override { return g2dFont(1); }
    void ReleaseFont(g2dFont) override {}
    void MeasureText(g2dFont, const envString&, u32& width, u32& height) override { width = height = 0; }
    void DrawText(g2dFont, const envString&, const plD3dRect&, u32) override {}
};

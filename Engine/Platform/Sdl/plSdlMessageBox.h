#pragma once
#include "Engine/Platform/Window/plMessageBox.h"

class plSdlWindowHost;
class plFontRasterizer;

// Message boxes through SDL, owned by the host's window when it has one. Where SDL's own box cannot
// show on a display (on X it needs a core font, which many servers lack) the box is drawn in a window
// of its own with the font rasterizer. Without a display, or when neither shows, the text goes to
// stderr: a notice then answers OK, and a question, which nobody can answer there, answers 0.
class plSdlMessageBox : public plMessageBox {
  public:
    plSdlMessageBox(const plSdlWindowHost& host, plFontRasterizer& fonts) : m_host(host), m_fonts(fonts) {}
    i32 Show(const std::u16string& text, const std::u16string& caption, u32 type) override;

  private:
    const plSdlWindowHost& m_host;
    plFontRasterizer& m_fonts;
};

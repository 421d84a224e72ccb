#include "Engine/GUI/Gui/guiToolTip.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dScreen.h"

#include <algorithm>
#include <bit>

namespace {

// The whole text's extent, or with line feeds the widest line by the sum of the lines' heights; empty
// lines add nothing.
void Measure(g2dFont font, const envString& text, u32& width, u32& height) {
    const u32 length = text.GetLength();
    u32 start = 0;
    while (start < length && text[start] != u'\n')
        ++start;
    if (start == length) {
        g2dFont::MeasureText(font, text, width, height);
        return;
    }
    width = height = 0;
    start = 0;
    while (start <= length) {
        u32 end = start;
        while (end < length && text[end] != u'\n')
            ++end;
        if (end > start) {
            u32 lineWidth = 0;
            u32 lineHeight = 0;
            g2dFont::MeasureText(font, envString(start, end - start, text), lineWidth, lineHeight);
            width = std::max(width, lineWidth);
            height += lineHeight;
        }
        start = end + 1;
    }
}

// A button's image and text show its state, so a tip given to the button serves them too.
const envString& TipOf(const guiWindow& over) {
    const auto* button = dynamic_cast<const guiButton*>(over.GetParent());
    if (over.GetToolTipText().GetLength() == 0 && button)
        return button->GetToolTipText();
    return over.GetToolTipText();
}

} // namespace

void guiToolTip::Create() {
    Destroy();
    s_window = new guiButton;
    s_window->SetEnabled(false);
    // Disabling shows the Disabled state; the tip is drawn in the Idle look, which holds its text.
    s_window->SetState(guiStateIdle);
    s_window->SetVisible(false);
    s_window->SetPosition({0.0f, 0.0f, kDepth});
    guiText* text = s_window->GetText();
    text->SetPosition({3.0f, 3.0f, text->GetPosition().z});
}

void guiToolTip::Destroy() {
    if (!s_window)
        return;
    guiButton* window = s_window;
    s_window = nullptr;
    guiWindowMgr::DeleteWindow(window);
}

guiImage* guiToolTip::GetImage() {
    return s_window ? s_window->GetImage() : nullptr;
}

guiText* guiToolTip::GetText() {
    return s_window ? s_window->GetText() : nullptr;
}

void guiToolTip::SetLayout(i32 offsetX, i32 offsetY, i32 flipAdjust) {
    s_offsetX = offsetX;
    s_offsetY = offsetY;
    s_flipAdjust = flipAdjust;
}

void guiToolTip::Hide() {
    if (!s_window)
        return;
    s_hovered = nullptr;
    s_hoverTime = 0.0f;
    s_window->SetVisible(false);
    s_lastTime = 0.0f;
}

void guiToolTip::Update(f32 now) {
    if (!s_window)
        return;
    const guiWindow* over = guiWindow::GetOverWindow();
    s_hoverTime += now - s_lastTime;
    if (s_lastTime == 0.0f) {
        s_lastTime = now;
        s_hoverTime = 0.0f;
        return;
    }
    s_lastTime = now;
    if (!over || over != s_hovered || over->GetState() != guiStateOver || TipOf(*over).GetLength() == 0) {
        s_hovered = over;
        s_hoverTime = 0.0f;
        s_window->SetVisible(false);
        return;
    }
    if (s_hoverTime < kDelay)
        return;
    const bool appearing = !s_window->IsVisible();
    s_window->SetVisible(true);
    const envString& tip = TipOf(*over);
    const bool changed = s_window->GetText()->GetText(guiStateIdle) != tip;
    if (changed)
        Layout(tip);
    // The box and the laid-out text show in their Idle look as it is now: looks given since the
    // last showing take effect.
    if (appearing || changed)
        s_window->SetState(guiStateIdle);
    Place();
}

void guiToolTip::Forget(const guiWindow* window) {
    if (s_hovered == window) {
        s_hovered = nullptr;
        s_hoverTime = 0.0f;
    }
}

void guiToolTip::Layout(const envString& tip) {
    guiText& text = *s_window->GetText();
    text.SetText(tip, guiStateIdle);
    const g2dFont font = text.GetFont(guiStateIdle);
    u32 width = 0;
    u32 height = 0;
    Measure(font ? font : g2dScreen::GetDefaultFont(), tip, width, height);
    const auto w = static_cast<i32>(width);
    const auto h = static_cast<i32>(height);
    s_window->GetImage()->SetSize(w + 5, h + 5);
    text.SetSize(w, h);
    // The texture is shown unscaled: the quad covers as many texels as it has pixels, and a little more.
    // A tip longer than its texture would be cut and its start repeated, so the texture grows to hold it.
    i32 textureWidth = 0;
    i32 textureHeight = 0;
    text.GetTextureSize(textureWidth, textureHeight);
    if (w + 5 > textureWidth || h + 5 > textureHeight) {
        text.SetTextureSize(
            static_cast<i32>(std::bit_ceil(static_cast<u32>(std::max(w + 5, textureWidth)))),
            static_cast<i32>(std::bit_ceil(static_cast<u32>(std::max(h + 5, textureHeight)))));
        text.GetTextureSize(textureWidth, textureHeight);
    }
    text.SetTile(static_cast<f32>(w + 5) / static_cast<f32>(textureWidth),
                 static_cast<f32>(h + 5) / static_cast<f32>(textureHeight), guiStateIdle);
}

void guiToolTip::Place() {
    i32 imageWidth = 0, imageHeight = 0, textWidth = 0, textHeight = 0;
    s_window->GetImage()->GetSize(imageWidth, imageHeight);
    s_window->GetText()->GetSize(textWidth, textHeight);
    const i32 boxWidth = std::max(imageWidth, textWidth);
    const i32 boxHeight = std::max(imageHeight, textHeight);
    i32 screenWidth = 0;
    i32 screenHeight = 0;
    guiGetScreenSize(screenWidth, screenHeight);
    const maVector2d pointer = guiCursorMgr::GetPosition();
    f32 x = pointer.x + static_cast<f32>(s_offsetX);
    f32 y = pointer.y + static_cast<f32>(s_offsetY);
    if (x + static_cast<f32>(boxWidth) >= static_cast<f32>(screenWidth))
        x = static_cast<f32>(screenWidth - boxWidth);
    if (y + static_cast<f32>(boxHeight) >= static_cast<f32>(screenHeight))
        y = pointer.y - static_cast<f32>(boxHeight) + static_cast<f32>(s_flipAdjust);
    s_window->SetPosition({x, y, kDepth});
}

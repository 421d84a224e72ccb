#include "Engine/GUI/Gui/guiButton.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"

namespace {

constexpr float kImageDepth = 1.0f;
constexpr float kPlacedTextDepth = 0.99f;

// A share from a script may be huge or negative: the part stays within 0 and the largest size.
i32 Fraction(i32 size, f32 fraction) {
    const f32 part = static_cast<f32>(size) * fraction;
    constexpr f32 kLargest = 2147483520.0f; // the largest float below 2^31
    return part >= kLargest ? static_cast<i32>(kLargest) : part > 0.0f ? static_cast<i32>(part) : 0;
}

} // namespace

guiButton::guiButton() {
    auto* image = new guiImage;
    image->SetName("Image");
    image->SetPosition({0.0f, 0.0f, kImageDepth});
    auto* text = new guiText;
    text->SetName("Text");
    text->SetPosition({0.0f, 0.0f, 0.5f});
    AddChild(image);
    AddChild(text);
    m_image = image;
    m_text = text;
}

guiButton::~guiButton() {
    DeleteAllChildren();
    m_image = nullptr;
    m_text = nullptr;
}

void guiButton::SetState(i32 state) {
    m_image->SetState(state);
    m_text->SetState(state);
    guiWindow::SetState(state);
}

void guiButton::Think() {
    guiContainer::Think();
    if (m_text->IsEnabled() && m_text->GetState() != guiStateIdle) {
        const i32 state = m_text->GetState();
        m_image->SetState(state);
        SetState(state);
        return;
    }
    const i32 state = m_image->GetState();
    m_text->SetState(state);
    SetState(state);
}

void guiButton::SetPosition(const maVector3d& position) {
    guiWindow::SetPosition(position);
    if (!m_image || m_positioning == Free)
        return;
    i32 iw = 0, ih = 0, tw = 0, th = 0;
    m_image->GetSize(iw, ih);
    m_text->GetSize(tw, th);
    const maVector3d ip = m_image->GetPosition();
    const maVector3d tp = m_text->GetPosition();
    switch (m_positioning) {
    case TextAbove:
        m_image->SetPosition({ip.x, static_cast<float>(th), kImageDepth});
        m_text->SetPosition({tp.x, tp.y, kPlacedTextDepth});
        break;
    case TextRight:
        m_text->SetPosition({static_cast<float>(iw), tp.y, kPlacedTextDepth});
        break;
    case TextBelow:
        m_text->SetPosition({tp.x, static_cast<float>(ih), kPlacedTextDepth});
        break;
    case TextLeft:
        m_image->SetPosition({static_cast<float>(tw), ip.y, kImageDepth});
        m_text->SetPosition({tp.x, tp.y, kPlacedTextDepth});
        break;
    default:
        break;
    }
}

void guiButton::SetSize(i32 width, i32 height) {
    guiWindow::SetSize(width, height);
    if (!m_image)
        return;
    m_image->SetSize(Fraction(width, m_imageWidth), Fraction(height, m_imageHeight));
    m_text->SetSize(Fraction(width, m_textWidth), Fraction(height, m_textHeight));
    if (m_positioning != Free)
        SetPosition(GetPosition());
}

void guiButton::SetTextPositioning(i32 positioning) {
    m_positioning = positioning;
    SetPosition(GetPosition());
}

void guiButton::SetLayout(f32 imageWidth, f32 imageHeight, f32 textWidth, f32 textHeight) {
    m_imageWidth = imageWidth;
    m_imageHeight = imageHeight;
    m_textWidth = textWidth;
    m_textHeight = textHeight;
    i32 width = 0, height = 0;
    GetSize(width, height);
    SetSize(width, height);
    SetPosition(GetPosition());
}

void guiButton::GetLayout(f32& imageWidth, f32& imageHeight, f32& textWidth, f32& textHeight) const {
    imageWidth = m_imageWidth;
    imageHeight = m_imageHeight;
    textWidth = m_textWidth;
    textHeight = m_textHeight;
}

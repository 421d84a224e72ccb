#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

class guiImage;
class guiText;

// The basic clickable widget: a container of an image ("Image") and a text in front of it ("Text")
// that the button keeps in one state. It calls nobody: its owner reads the state after the update and
// acts on Released.
class guiButton : public guiContainer {
  public:
    // Text positionings: the children keep their places, or the text goes above, right of, below or
    // left of the image.
    enum Positioning : i32 { Free = 0, TextAbove = 1, TextRight = 2, TextBelow = 3, TextLeft = 4 };

    guiButton();
    ~guiButton() override;

    // Both children first, then the button.
    void SetState(i32 state) override;
    // The text's state wins while the text is enabled and not Idle, else the image's.
    void Think() override;
    void SetPosition(const maVector3d& position) override;
    // The children take their fractions of the size, truncated.
    void SetSize(i32 width, i32 height) override;

    void SetTextPositioning(i32 positioning);
    i32 GetTextPositioning() const { return m_positioning; }
    void SetLayout(f32 imageWidth, f32 imageHeight, f32 textWidth, f32 textHeight);
    void GetLayout(f32& imageWidth, f32& imageHeight, f32& textWidth, f32& textHeight) const;

    guiImage* GetImage() const { return m_image; }
    guiText* GetText() const { return m_text; }

  private:
    i32 m_positioning = Free;
    f32 m_imageWidth = 1.0f;
    f32 m_imageHeight = 1.0f;
    f32 m_textWidth = 1.0f;
    f32 m_textHeight = 1.0f;
    guiImage* m_image = nullptr;
    guiText* m_text = nullptr;
};

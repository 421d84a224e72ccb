#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <array>

// What the GUI script parsers ask of the drawable widgets, beyond guiWindow (whose SetColor and
// SetTransparency take the material's per-state colour and alpha). The widgets take these as secondary
// bases (a material widget the first, an image or text widget the first and its own); the parsers reach
// them from the window by a type-tested conversion, so a window of another class fails a load with
// std::bad_cast. They share no base, so a widget class takes each once.

// A material widget: one material per interaction state (-1 is the default look).
class guiMaterialTarget {
  public:
    virtual ~guiMaterialTarget() = default;
    virtual bool HasStateMaterial(i32 state) const = 0;
    // Whether the state's material has a texture; false without a material.
    virtual bool HasTexture(i32 state) const = 0;
    virtual std::array<u8, 3> GetColor(i32 state) const = 0;
    virtual f32 GetTransparency(i32 state) const = 0;
    // The UV scale of the state's texture; callers check HasTexture first.
    virtual void SetTile(f32 u, f32 v, i32 state) = 0;
    virtual void GetTile(f32& u, f32& v, i32 state) const = 0;
    // Which texels react to the pointer: those whose alpha exceeds the threshold.
    virtual void MakeTransparencyMap(f32 threshold, i32 state) = 0;
};

// A text widget: per state a text with its colour and font, defaults for the states that set none, and
// the size of the texture the text is drawn into. Fonts handed in carry one use for the widget.
class guiTextTarget {
  public:
    virtual ~guiTextTarget() = default;
    virtual void SetText(const envString& text, i32 state) = 0;
    virtual envString GetText(i32 state) const = 0;
    virtual void SetTextColor(const std::array<u8, 3>& rgb, i32 state) = 0;
    virtual std::array<u8, 3> GetTextColor(i32 state) const = 0;
    virtual void SetFont(g2dFont font, i32 state) = 0;
    virtual g2dFont GetFont(i32 state) const = 0;
    virtual void SetDefaultColor(const std::array<u8, 3>& rgb) = 0;
    virtual std::array<u8, 3> GetDefaultColor() const = 0;
    virtual void SetDefaultFont(g2dFont font) = 0;
    virtual g2dFont GetDefaultFont() const = 0;
    virtual void SetDefaultXOffset(i32 offset) = 0;
    virtual i32 GetDefaultXOffset() const = 0;
    // Sizes outside 1 to 4096 are refused by the widget.
    virtual void SetTextureSize(i32 width, i32 height) = 0;
    virtual void GetTextureSize(i32& width, i32& height) const = 0;
    virtual void SetWordWrap(i32 flag) = 0;
    virtual i32 GetWordWrap() const = 0;
};

// The scrolling text takes every text keyword; this tells its class apart when saving.
class guiScrollingTextTarget {
  public:
    virtual ~guiScrollingTextTarget() = default;
};

// An image widget: per state the texture of an image file, shared through the GUI texture cache.
class guiImageTarget {
  public:
    virtual ~guiImageTarget() = default;
    virtual void SetImage(const fsLocator& file, i32 state) = 0;
    // The file of the state's texture as the texture cache records it.
    virtual void GetImageFile(i32 state, fsLocator& file) const = 0;
};

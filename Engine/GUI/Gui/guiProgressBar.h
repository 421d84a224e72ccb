#pragma once
#include "Engine/GUI/Gnf/gnfValue.h"
#include "Engine/GUI/Gui/guiContainer.h"

class guiImage;

// A value from 0 to 1 shown by scaling a picture ("Progress") over its background ("Background") from
// the top-left corner along the chosen axes; the picture's tiling shrinks with it, so the texture is
// cut rather than squeezed.
class guiProgressBar : public guiContainer, public gnfValue {
  public:
    // Bits of the axes: scale in x, scale in y.
    static constexpr i32 kAxisX = 1;
    static constexpr i32 kAxisY = 2;

    guiProgressBar();
    ~guiProgressBar() override;

    // The background goes just behind the picture.
    void SetPosition(const maVector3d& position) override;
    // Both images take the size; at value 0 the picture keeps it until the next SetValue.
    void SetSize(i32 width, i32 height) override;
    void Increase() override;
    void Decrease() override;

    // Clamps to 0..1; a value that is not finite is ignored.
    void SetValue(f32 value);
    f32 GetValue() const { return m_value; }
    void SetIncrement(f32 increment) { m_increment = increment; }
    void SetAxes(i32 axes) { m_axes = axes; }
    // Texture repeats over the full bar.
    void SetTiles(i32 x, i32 y);

    guiImage* GetBackground() const { return m_background; }
    guiImage* GetProgress() const { return m_progress; }

  private:
    i32 m_axes = kAxisX;
    i32 m_tilesX = 1;
    i32 m_tilesY = 1;
    f32 m_value = 0.0f;
    f32 m_increment = 0.01f;
    guiImage* m_background = nullptr;
    guiImage* m_progress = nullptr;
};

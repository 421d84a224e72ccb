#pragma once
#include "Engine/GUI/Gnf/gnfValue.h"
#include "Engine/GUI/Gui/guiContainer.h"

class guiImage;

// A value from 0 to 1 shown by a thumb image ("Thumb") along a track image ("Background"), dragged
// with the pointer horizontally (axis 1) or vertically (axis 2); other axes neither place nor drag.
// The constraint replaces the track's extent by two slider coordinates for the values 0 and 1.
class guiSlider : public guiContainer, public gnfValue {
  public:
    guiSlider();
    ~guiSlider() override;

    // Drags while the thumb is held or keeps the press, or while the track is pressed (a click on the
    // track jumps there for that frame).
    void Think() override;
    // The track goes just behind the thumb.
    void SetPosition(const maVector3d& position) override;
    // Never reaches 1: a step that would is not taken.
    void Increase() override;
    // Clamps at 0.
    void Decrease() override;

    // Clamps to 0..1 and places the thumb; a value that is not finite is ignored.
    void SetValue(f32 value);
    f32 GetValue() const { return m_value; }
    // Does not place the thumb again.
    void SetAxis(i32 axis) { m_axis = axis; }
    i32 GetAxis() const { return m_axis; }
    void SetIncrement(f32 increment) { m_increment = increment; }
    f32 GetIncrement() const { return m_increment; }
    // Moves the thumb by the change of the offset.
    void SetThumbOffset(i32 x, i32 y);
    void GetThumbOffset(i32& x, i32& y) const;
    void SetBackgroundConstraint(i32 min, i32 max);
    void GetBackgroundConstraint(i32& min, i32& max) const;

    guiImage* GetBackground() const { return m_background; }
    guiImage* GetThumb() const { return m_thumb; }

  private:
    void PlaceThumb();
    bool IsDragged() const;

    guiImage* m_background = nullptr;
    guiImage* m_thumb = nullptr;
    i32 m_axis = 1;
    f32 m_value = 0.0f;
    f32 m_increment = 0.01f;
    i32 m_offsetX = 0;
    i32 m_offsetY = 0;
    bool m_constraint = false;
    i32 m_min = 0;
    i32 m_max = 0;
};

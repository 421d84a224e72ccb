#pragma once
#include "Engine/Core/Env/envTypes.h"

class envString;
class guiButton;
class guiImage;
class guiText;
class guiWindow;

// The GUI's one tooltip: a disabled button outside the window tree whose Image is the box and whose
// Text holds the tip. When the pointer has rested a second on a window in state Over that has a tip (or
// whose button has one), the tooltip shows beside the pointer, sized to its text, kept on the screen. Without
// a tooltip window every call does nothing.
class guiToolTip {
  public:
    static void Create();
    static void Destroy();
    // Null without a tooltip window.
    static guiImage* GetImage();
    static guiText* GetText();
    static void SetLayout(i32 offsetX, i32 offsetY, i32 flipAdjust);
    static void Hide();
    // The per-frame step at the game time in seconds.
    static void Update(f32 now);
    // A window going away stops being timed, so a new one at its address starts afresh.
    static void Forget(const guiWindow* window);

    static constexpr f32 kDelay = 1.0f;
    static constexpr f32 kDepth = 0.003f;

  private:
    static void Layout(const envString& tip);
    static void Place();

    static inline guiButton* s_window = nullptr;
    static inline i32 s_offsetX = 0;
    static inline i32 s_offsetY = 0;
    static inline i32 s_flipAdjust = 0;
    static inline f32 s_hoverTime = 0.0f;
    static inline f32 s_lastTime = 0.0f;
    static inline const guiWindow* s_hovered = nullptr;
};

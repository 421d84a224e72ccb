#pragma once
#include "Engine/GUI/Gui/guiMaterial.h"

class guiContainer;

// A quad over the whole GUI screen whose transparency moves between 0 (clear) and the full alpha
// over a duration, fading the picture to its colour and back.
class xuiFadeOutObject : public guiMaterial {
  public:
    xuiFadeOutObject();
    // The facade forgets the object, so a container deleted with it leaves no dangling pointer.
    ~xuiFadeOutObject() override;

    // Steps the fade at the application time; takes no pointer input.
    void Think() override;

    void SetDuration(f32 seconds) { m_duration = seconds; }
    void SetFullAlpha(f32 alpha) { m_fullAlpha = alpha; }
    // A fade towards the state the object rests in does nothing.
    void FadeToClear();
    void FadeToColor();
    bool IsClear() const { return m_clear; }

  private:
    void Show(f32 alpha);

    f32 m_duration = 0.0f;
    f32 m_startTime = 0.0f;
    f32 m_fullAlpha = 1.0f;
    bool m_fadingToClear = true;
    bool m_clear = true;
};

// The one shared fade object. Every call without an object does nothing.
class xuiFadeOutMgr {
  public:
    // The object joins the root.
    static void Create();
    static void Destroy();
    static xuiFadeOutObject* Get();
    // Only the object's destructor calls it.
    static void Forget(const xuiFadeOutObject* object);

    static void SetColor(const std::array<u8, 3>& rgb);
    static void SetFullAlpha(f32 alpha);
    static void SetDuration(f32 seconds);
    // The object moves into the container (out of any, given null) at minus the container's absolute
    // place, so it keeps covering the screen from its top-left corner.
    static void AttachTo(guiContainer* container);
    static void SetDepth(f32 depth);
    static void FadeToClear();
    static void FadeToColor();
};

#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

#include <array>
#include <string>

// Interaction states of a window; scripts name them through the state-name table.
enum guiState : i32 {
    guiStateNone = -1,
    guiStateIdle = 0,
    guiStateOver = 1,
    guiStateReleased = 2,
    guiStatePressed = 3,
    guiStateHeld = 4,
    guiStateDisabled = 5,
};

// Justifications: horizontal 0 left, 1 right, 2 centred; vertical 3 top, 4 bottom, 2 centred.
enum guiJustification : i32 {
    guiJustifyLeft = 0,
    guiJustifyRight = 1,
    guiJustifyCenter = 2,
    guiJustifyTop = 3,
    guiJustifyBottom = 4,
};

// The base of every GUI element: a pixel size, an interaction state, enabled and visible flags, a name,
// a tooltip, a position relative to the parent (z orders siblings, smaller in front) with a
// justification, orientation, pivot and scale, and the world matrix that places the quad. Its
// translation is in absolute GUI pixels; its z-translation holds the draw stamp instead of a depth.
// A window knows its parent and does not own it. Deleting a window takes it out of its parent and out
// of every program-wide pointer that names it, so nothing keeps a freed window.
class guiWindow {
  public:
    guiWindow() = default;
    guiWindow(const guiWindow&) = delete;
    guiWindow& operator=(const guiWindow&) = delete;
    virtual ~guiWindow();

    virtual void SetState(i32 state) { m_state = state; }
    virtual void SetVisible(bool visible);
    virtual void UpdateVisibility();
    virtual void Think() = 0;
    virtual void SetEnabled(bool enabled);
    virtual bool IsEnabled() const { return m_enabled; }
    virtual void Draw() = 0;
    virtual void SetPosition(const maVector3d& position);
    // Negative sizes count as 0: a mirrored quad helps no layout.
    virtual void SetSize(i32 width, i32 height);
    virtual void UpdateTransform();
    virtual void SetColor(const std::array<u8, 3>& rgb, i32 state) = 0;
    virtual void SetTransparency(float alpha, i32 state) = 0;

    i32 GetState() const { return m_state; }
    bool IsVisible() const { return m_visible; }
    bool IsEffectivelyVisible() const { return m_effectiveVisible; }
    bool IsDepthDirty() const { return m_depthDirty; }
    const std::string& GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name ? name : ""; }
    const envString& GetToolTipText() const { return m_toolTipText; }
    void SetToolTipText(const envString& text) { m_toolTipText = text; }
    i32 GetToolTipNum() const { return m_toolTipNum; }
    void SetToolTipNum(i32 number) { m_toolTipNum = number; }
    void GetSize(i32& width, i32& height) const;
    const maVector3d& GetPosition() const { return m_position; }
    const maVector3d& GetScale() const { return m_scale; }
    const maMatrix4d& GetWorldMatrix() const { return m_world; }
    void SetOrientation(const maRotation& orientation);
    const maRotation& GetOrientation() const { return m_orientation; }
    void SetPivotPoint(const maVector3d& pivot);
    const maVector3d& GetPivotPoint() const { return m_pivot; }
    void SetScale(const maVector3d& scale);
    // Moves the window without touching its depth, so the depth stays clean.
    void SetJustification(i32 horizontal, i32 vertical);
    void GetJustification(i32& horizontal, i32& vertical) const;
    void SetSoundEnabled(bool enabled) { m_soundEnabled = enabled; }
    bool IsSoundEnabled() const { return m_soundEnabled; }
    guiWindow* GetParent() const { return m_parent; }
    // Only containers call it, when they add or remove the window.
    void SetParent(guiWindow* parent) { m_parent = parent; }
    bool IsDescendantOf(const guiWindow* ancestor) const;
    // The draw stamp into the world matrix; clears depth dirty.
    void SetDrawDepth(i32 stamp);
    // The stamp last stored by SetDrawDepth.
    i32 GetDrawStamp() const { return static_cast<i32>(m_world.m[14]); }

    static void SetFocusWindow(guiWindow* window) { s_focus = window; }
    static guiWindow* GetFocusWindow() { return s_focus; }
    static void SetOverWindow(guiWindow* window) { s_over = window; }
    static guiWindow* GetOverWindow() { return s_over; }

  private:
    maVector3d JustifiedPosition() const;

    i32 m_width = 0;
    i32 m_height = 0;
    i32 m_state = guiStateNone;
    i32 m_toolTipNum = -1;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_effectiveVisible = true;
    bool m_depthDirty = false;
    bool m_soundEnabled = true;
    std::string m_name = "-1";
    envString m_toolTipText;
    maVector3d m_position{0.0f, 0.0f, 1.0f};
    maRotation m_orientation;
    maVector3d m_pivot;
    maVector3d m_scale{1.0f, 1.0f, 1.0f};
    maMatrix4d m_world;
    i32 m_horizontal = guiJustifyLeft;
    i32 m_vertical = guiJustifyTop;
    guiWindow* m_parent = nullptr;

    static inline guiWindow* s_focus = nullptr;
    static inline guiWindow* s_over = nullptr;
};

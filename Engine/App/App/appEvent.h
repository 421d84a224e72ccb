#pragma once
#include "Engine/Core/Env/envTypes.h"

// An application event, built on the dispatcher's stack for one dispatch; handlers get a pointer
// they must not keep. A handler that marks it handled ends the dispatch.
class appEvent {
  public:
    virtual ~appEvent() = default;
    bool IsHandled() const { return m_handled != 0; }
    void SetHandled() { m_handled = 1; }

  private:
    u8 m_handled = 0;
};

class appStartEvent : public appEvent {};
class appStopEvent : public appEvent {};
class appSuspendEvent : public appEvent {};
class appResumeEvent : public appEvent {};
class appQuitRequestEvent : public appEvent {};

// One typed character: a UTF-16 code unit (keys without a character arrive as private-use units).
class appCharEvent : public appEvent {
  public:
    explicit appCharEvent(u16 character) : m_character(character) {}
    u16 GetChar() const { return m_character; }

  private:
    u16 m_character;
};

// The pointer position: client or screen coordinates, as the window is set to deliver them.
class appMouseEvent : public appEvent {
  public:
    appMouseEvent(i32 x, i32 y) : m_x(x), m_y(y) {}
    i32 GetX() const { return m_x; }
    i32 GetY() const { return m_y; }

  private:
    i32 m_x;
    i32 m_y;
};

class appMouseMoveEvent : public appMouseEvent {
  public:
    using appMouseEvent::appMouseEvent;
};

// Buttons: 0 left, 1 right, 2 middle.
class appMouseUpEvent : public appMouseEvent {
  public:
    appMouseUpEvent(i32 x, i32 y, i32 button) : appMouseEvent(x, y), m_button(button) {}
    i32 GetButton() const { return m_button; }

  private:
    i32 m_button;
};

class appMouseDownEvent : public appMouseEvent {
  public:
    appMouseDownEvent(i32 x, i32 y, i32 button) : appMouseEvent(x, y), m_button(button) {}
    i32 GetButton() const { return m_button; }

  private:
    i32 m_button;
};

#pragma once
#include "Engine/App/App/appEvent.h"

// The three handler interfaces. A handler joins its interface's registry when constructed and leaves it
// when destroyed; every dispatch calls the registered handlers by descending priority.

// What every handler has: its place in the dispatch order (higher priorities first) and whether it takes
// events at all.
class appEventHandlerSettings {
  public:
    i32 GetPriority() const { return m_priority; }
    void SetPriority(i32 priority) { m_priority = priority; }
    bool IsEnabled() const { return m_enabled != 0; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

  private:
    i32 m_priority = 0;
    u8 m_enabled = 1;
};

class appFlowEventHandler : public appEventHandlerSettings {
  public:
    appFlowEventHandler();
    virtual ~appFlowEventHandler();
    appFlowEventHandler(const appFlowEventHandler&) = delete;
    appFlowEventHandler& operator=(const appFlowEventHandler&) = delete;

    virtual void OnStart(appStartEvent*) {}
    virtual void OnStop(appStopEvent*) {}
    virtual void OnSuspend(appSuspendEvent*) {}
    virtual void OnResume(appResumeEvent*) {}
    virtual void OnQuitRequest(appQuitRequestEvent*) {}
};

// Button events need only `active`; moves need `enabled` as well, so a disabled pointer still clicks.
class appMouseEventHandler : public appEventHandlerSettings {
  public:
    appMouseEventHandler();
    virtual ~appMouseEventHandler();
    appMouseEventHandler(const appMouseEventHandler&) = delete;
    appMouseEventHandler& operator=(const appMouseEventHandler&) = delete;

    virtual void OnMouseUp(appMouseUpEvent* event) = 0;
    virtual void OnMouseDown(appMouseDownEvent* event) = 0;
    virtual void OnMouseMove(appMouseMoveEvent* event) = 0;

    bool IsActive() const { return m_active != 0; }
    void SetActive(bool active) { m_active = active; }

  private:
    u8 m_active = 1;
};

class appCharEventHandler : public appEventHandlerSettings {
  public:
    appCharEventHandler();
    virtual ~appCharEventHandler();
    appCharEventHandler(const appCharEventHandler&) = delete;
    appCharEventHandler& operator=(const appCharEventHandler&) = delete;

    virtual void OnChar(appCharEvent* event) = 0;
};

// The dispatches, called by the window code. Suspend, resume and quit request reach nobody until the
// start event has gone out; stop always goes out. An exception from a handler ends its dispatch and
// propagates to the caller.
void appDispatchStart();
void appDispatchStop();
void appDispatchSuspend();
void appDispatchResume();
void appDispatchQuitRequest();
void appDispatchChar(u16 character);
void appDispatchMouseDown(i32 x, i32 y, i32 button);
void appDispatchMouseUp(i32 x, i32 y, i32 button);
void appDispatchMouseMove(i32 x, i32 y);

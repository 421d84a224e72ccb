#include "Engine/App/App/appEventHandler.h"

#include <algorithm>
#include <vector>

namespace {

// A registry of live handlers in registration order, and the sorted copies of the dispatches under
// way (nested dispatches stack up), so that a handler destroyed mid-dispatch is struck from them.
template <class Handler> struct Registry {
    std::vector<Handler*> handlers;
    std::vector<std::vector<Handler*>*> liveCopies;

    void Remove(Handler* handler) {
        std::erase(handlers, handler);
        for (std::vector<Handler*>* copy : liveCopies)
            std::replace(copy->begin(), copy->end(), handler, static_cast<Handler*>(nullptr));
    }
};

// Created on first use, so handlers built during static initialisation find their registry, and never
// destroyed, so handlers destroyed during static destruction (an exit() from a library) still find it.
template <class Handler> Registry<Handler>& RegistryOf() {
    static auto* registry = new Registry<Handler>;
    return *registry;
}

template <class Handler> class LiveCopy {
  public:
    explicit LiveCopy(Registry<Handler>& registry) : m_registry(registry), m_handlers(registry.handlers) {
        std::stable_sort(m_handlers.begin(), m_handlers.end(), [](const Handler* a, const Handler* b) {
            return a->GetPriority() > b->GetPriority();
        });
        m_registry.liveCopies.push_back(&m_handlers);
    }
    ~LiveCopy() {
        auto& copies = m_registry.liveCopies;
        copies.erase(std::find(copies.begin(), copies.end(), &m_handlers));
    }
    LiveCopy(const LiveCopy&) = delete;
    LiveCopy& operator=(const LiveCopy&) = delete;

    std::vector<Handler*>& Handlers() { return m_handlers; }

  private:
    Registry<Handler>& m_registry;
    std::vector<Handler*> m_handlers;
};

// Walks a sorted copy of the registry: handlers built during the walk wait for the next dispatch, the
// flags are read from each live handler as it is reached, and a handled event ends the walk.
template <class Handler, class Passes, class Call>
void Dispatch(const appEvent& event, Passes passes, Call call) {
    LiveCopy<Handler> copy(RegistryOf<Handler>());
    for (size_t i = 0; i < copy.Handlers().size(); ++i) {
        Handler* handler = copy.Handlers()[i];
        if (!handler || !passes(*handler))
            continue;
        call(*handler);
        if (event.IsHandled())
            break;
    }
}

bool g_started = false;

bool FlowPasses(const appFlowEventHandler& handler) {
    return handler.IsEnabled();
}

} // namespace

appFlowEventHandler::appFlowEventHandler() {
    RegistryOf<appFlowEventHandler>().handlers.push_back(this);
}
appFlowEventHandler::~appFlowEventHandler() {
    RegistryOf<appFlowEventHandler>().Remove(this);
}

appMouseEventHandler::appMouseEventHandler() {
    RegistryOf<appMouseEventHandler>().handlers.push_back(this);
}
appMouseEventHandler::~appMouseEventHandler() {
    RegistryOf<appMouseEventHandler>().Remove(this);
}

appCharEventHandler::appCharEventHandler() {
    RegistryOf<appCharEventHandler>().handlers.push_back(this);
}
appCharEventHandler::~appCharEventHandler() {
    RegistryOf<appCharEventHandler>().Remove(this);
}

void appDispatchStart() {
    appStartEvent event;
    Dispatch<appFlowEventHandler>(event, FlowPasses, [&](appFlowEventHandler& h) { h.OnStart(&event); });
    g_started = true;
}

void appDispatchStop() {
    appStopEvent event;
    Dispatch<appFlowEventHandler>(event, FlowPasses, [&](appFlowEventHandler& h) { h.OnStop(&event); });
}

void appDispatchSuspend() {
    if (!g_started)
        return;
    appSuspendEvent event;
    Dispatch<appFlowEventHandler>(event, FlowPasses, [&](appFlowEventHandler& h) { h.OnSuspend(&event); });
}

void appDispatchResume() {
    if (!g_started)
        return;
    appResumeEvent event;
    Dispatch<appFlowEventHandler>(event, FlowPasses, [&](appFlowEventHandler& h) { h.OnResume(&event); });
}

void appDispatchQuitRequest() {
    if (!g_started)
        return;
    appQuitRequestEvent event;
    Dispatch<appFlowEventHandler>(event, FlowPasses,
                                  [&](appFlowEventHandler& h) { h.OnQuitRequest(&event); });
}

void appDispatchChar(u16 character) {
    appCharEvent event(character);
    Dispatch<appCharEventHandler>(
        event, [](const appCharEventHandler& h) { return h.IsEnabled(); },
        [&](appCharEventHandler& h) { h.OnChar(&event); });
}

void appDispatchMouseDown(i32 x, i32 y, i32 button) {
    appMouseDownEvent event(x, y, button);
    Dispatch<appMouseEventHandler>(
        event, [](const appMouseEventHandler& h) { return h.IsActive(); },
        [&](appMouseEventHandler& h) { h.OnMouseDown(&event); });
}

void appDispatchMouseUp(i32 x, i32 y, i32 button) {
    appMouseUpEvent event(x, y, button);
    Dispatch<appMouseEventHandler>(
        event, [](const appMouseEventHandler& h) { return h.IsActive(); },
        [&](appMouseEventHandler& h) { h.OnMouseUp(&event); });
}

void appDispatchMouseMove(i32 x, i32 y) {
    appMouseMoveEvent event(x, y);
    Dispatch<appMouseEventHandler>(
        event, [](const appMouseEventHandler& h) { return h.IsEnabled() && h.IsActive(); },
        [&](appMouseEventHandler& h) { h.OnMouseMove(&event); });
}

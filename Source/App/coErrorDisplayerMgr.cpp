#include "Source/App/coErrorDisplayerMgr.h"

namespace {

u32 g_reports = 0;

// The engine's default displayer, counted.
class CountingDisplayer : public gfErrorDisplayer {
  public:
    u32 Display(u32 type, const envString& message) override {
        ++g_reports;
        return gfErrorHandler::GetDefaultDisplayer()->Display(type, message);
    }
};

CountingDisplayer* g_counting = nullptr;

gfErrorDisplayer* Default() {
    return g_counting ? static_cast<gfErrorDisplayer*>(g_counting) : gfErrorHandler::GetDefaultDisplayer();
}

class InGameDisplayer : public gfErrorDisplayer {
  public:
    u32 Display(u32 type, const envString& message) override {
        if (m_showing || !m_show)
            return Default()->Display(type, message);
        ++g_reports;
        m_showing = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{m_showing};
        return m_show(type, message);
    }

    coErrorDisplayerMgr::Show m_show;
    bool m_showing = false;
};

InGameDisplayer g_inGame;

} // namespace

void coErrorDisplayerMgr::Start(Show show) {
    g_inGame.m_show = std::move(show);
    gfErrorHandler::SetDisplayer(&g_inGame);
}

void coErrorDisplayerMgr::Stop() {
    gfErrorHandler::SetDisplayer(Default());
    g_inGame.m_show = nullptr;
}

bool coErrorDisplayerMgr::IsStarted() {
    return g_inGame.m_show != nullptr;
}

u32 coErrorDisplayerMgr::GetReportCount() {
    return g_reports;
}

void coErrorDisplayerMgr::CountDefaultReports() {
    static CountingDisplayer counting;
    g_counting = &counting;
    gfErrorHandler::SetDisplayer(g_counting);
}

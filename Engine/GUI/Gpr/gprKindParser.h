#pragma once
#include "Engine/GUI/Gpr/gprKeywords.h"

class guiWindow;

// A parser that reads, translates and saves exactly as its base, differing only in its type keyword and
// the widget class it makes and accepts.
template <class Base, class Widget> class gprKindParser : public Base {
  public:
    explicit gprKindParser(const char* keyword) : m_type(gprLookUpKeyword(keyword)) {}

    bool IsType(u32 id) const override { return id == m_type; }
    u32 GetType() const override { return m_type; }
    bool CanHandle(guiWindow* window) const override { return dynamic_cast<Widget*>(window) != nullptr; }
    guiWindow* CreateWidget() const override { return new Widget; }

  private:
    u32 m_type;
};

#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// MessageBox's type bits and answers.
namespace plMb {
constexpr u32 Ok = 0x0, OkCancel = 0x1, AbortRetryIgnore = 0x2, YesNoCancel = 0x3, YesNo = 0x4,
              RetryCancel = 0x5;
constexpr u32 ButtonMask = 0xF;
constexpr u32 IconError = 0x10, IconQuestion = 0x20, IconWarning = 0x30, IconInformation = 0x40,
              IconMask = 0xF0;
} // namespace plMb

namespace plId {
constexpr i32 Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
} // namespace plId

// A modal message box, shaped like MessageBoxW: the buttons and icon come from the type, the answer
// is the id of the button pressed, or 0 when no box could be shown.
class plMessageBox {
  public:
    virtual ~plMessageBox() = default;
    virtual i32 Show(const std::u16string& text, const std::u16string& caption, u32 type) = 0;
};

// No window: the caption and text go to stderr and the box answers as when nobody is there to press a
// button, OK for a box with only OK, else 0. The boxes of unattended runs, and the fallback without a
// display.
class plStderrMessageBox : public plMessageBox {
  public:
    i32 Show(const std::u16string& text, const std::u16string& caption, u32 type) override;
};

// Records every box and answers with a set answer (OK unless set).
class plTestMessageBox : public plMessageBox {
  public:
    struct Shown {
        std::u16string text;
        std::u16string caption;
        u32 type;
    };

    i32 Show(const std::u16string& text, const std::u16string& caption, u32 type) override;
    void SetAnswer(i32 answer) { m_answer = answer; }
    const std::vector<Shown>& GetShown() const { return m_shown; }

  private:
    std::vector<Shown> m_shown;
    i32 m_answer = plId::Ok;
};

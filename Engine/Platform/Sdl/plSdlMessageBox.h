#pragma once
#include "Engine/Platform/plMessageBox.h"

class plSdlWindowHost;

// Message boxes through SDL, owned by the host's window when it has one. Without a display (or
// when SDL cannot show one) the text goes to stderr: a notice then answers OK, and a question,
// which nobody can answer there, answers 0.
class plSdlMessageBox : public plMessageBox {
  public:
    explicit plSdlMessageBox(const plSdlWindowHost& host) : m_host(host) {}
    i32 Show(const std::u16string& text, const std::u16string& caption, u32 type) override;

  private:
    const plSdlWindowHost& m_host;
};

#include "Engine/GUI/Gui/guiDialog.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

guiDialog::guiDialog() : m_font(g2dFont::Get(u"Arial Unicode MS", 24)) {
    m_background = AddChild(std::make_unique<guiImage>());
    m_background->SetName("Background");
    m_ok = AddChild(std::make_unique<guiButton>());
    m_ok->SetName("Ok");
    m_cancel = AddChild(std::make_unique<guiButton>());
    m_cancel->SetName("Cancel");
    SetJustification(guiJustifyCenter, guiJustifyCenter);
    SetEnabled(false);
    SetVisible(false);
}

guiDialog::~guiDialog() {
    g2dFont::Release(m_font);
    DeleteAllChildren();
    m_ok = nullptr;
    m_cancel = nullptr;
    m_background = nullptr;
}

void guiDialog::SetPosition(const maVector3d& position) {
    guiWindow::SetPosition(position);
    // The children are placed relative to the dialog, so the container's place is their origin.
    const maVector3d& back = m_background->GetPosition();
    m_background->SetPosition({back.x, back.y, 1.0f});
    for (guiButton* button : {m_ok, m_cancel}) {
        const maVector3d& at = button->GetPosition();
        button->SetPosition({at.x, at.y, 0.99f});
    }
}

void guiDialog::SetSize(i32 width, i32 height) {
    guiWindow::SetSize(width, height);
    m_background->SetSize(width, height);
}

void guiDialog::OnClose(bool) {}

void guiDialog::EndDialog(bool ok) {
    m_endRequested = true;
    m_result = ok ? 1 : 2;
}

i32 guiDialog::TestEnd(bool okKey, bool cancelKey, bool& accepted) {
    accepted = true;
    if (m_endRequested) {
        m_endRequested = false;
        return m_result;
    }
    if (m_ok->GetState() == guiStateReleased || (m_ok->IsEnabled() && okKey))
        return 1;
    if (m_cancel->GetState() == guiStateReleased || (m_cancel->IsEnabled() && cancelKey)) {
        accepted = false;
        return 2;
    }
    // Deleted from within its own run: freed once the run has let it go.
    if (guiWindowMgr::IsDeletePending(this)) {
        accepted = false;
        return 2;
    }
    return 0;
}

i32 guiDialog::DoModal() {
    if (!m_frame)
        return 0;
    SetEnabled(true);
    SetVisible(true);
    guiWindowMgr::PushModal(this);
    guiWindowMgr::KeepAlive(this, true);
    // Last of all, also on unwind: a dialog deleted during its run is freed here.
    struct Release {
        guiDialog* dialog;
        ~Release() { guiWindowMgr::KeepAlive(dialog, false); }
    } release{this};
    // Leaves the stack, hidden and disabled, even when the frame function throws.
    struct Finish {
        guiDialog* dialog;
        ~Finish() {
            guiWindowMgr::ForgetModal(dialog);
            dialog->SetEnabled(false);
            dialog->SetVisible(false);
        }
    };
    bool accepted = true;
    i32 result = 0;
    {
        Finish finish{this};
        const bool keyboard = inDeviceManager::GetKeyboard(0) != nullptr;
        while (result == 0) {
            m_frame->Execute();
            const inKeyboard* keys = m_keysEnabled && keyboard ? inDeviceManager::GetKeyboard(0) : nullptr;
            const bool okKey =
                keys && (keys->WasKeyReleased(inKeyReturn) || keys->WasKeyReleased(inKeyNumpadEnter));
            const bool cancelKey = keys && keys->WasKeyReleased(inKeyEscape);
            result = TestEnd(okKey, cancelKey, accepted);
        }
    }
    OnClose(accepted);
    return result;
}

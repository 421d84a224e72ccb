#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gui/guiContainer.h"

class guiEditField;

// A results window with a drop-down button beside it and a scroll view (usually a scroll box holding a
// list) that opens above or below the results while open. The box's own height covers the results and
// the opened view together. Losing the focus closes the view.
class xuiComboBox : public guiContainer, public appCharEventHandler, public gnfView {
  public:
    enum Edge : i32 { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3, kNone = 4 };

    // One of the parts with its edge: the button left or right of the results, the view above or below.
    // The view is the window seen as a gnfView, filled in when the part is set.
    struct ChildRecord {
        i32 position = kNone;
        guiWindow* window = nullptr;
        gnfView* view = nullptr;
    };

    // The window's flag, not the character handler's.
    using guiContainer::IsEnabled;
    using guiContainer::SetEnabled;

    // Each part becomes a child when it is not null.
    virtual void SetResults(guiWindow* results);
    virtual void SetScrollView(const ChildRecord& record);
    void SetDropDown(const ChildRecord& record);
    void SetOpen(bool open);
    bool IsOpen() const { return m_open; }
    guiWindow* GetResults() const { return m_results; }
    const ChildRecord& GetScrollView() const { return m_scrollView; }
    const ChildRecord& GetDropDown() const { return m_dropDown; }

    // Lays the parts out once all three are there.
    void SetSize(i32 width, i32 height) override;
    void Think() override;
    void OnChar(appCharEvent*) override {}

    float GetHorizontalScroll() const override;
    float GetVerticalScroll() const override;
    void SetHorizontalScroll(float fraction) override;
    void SetVerticalScroll(float fraction) override;

  private:
    guiWindow* m_results = nullptr;
    ChildRecord m_scrollView;
    ChildRecord m_dropDown;
    bool m_open = false;
};

// The combo box whose results are an edit field kept in step with the list: a chosen item fills the
// field and closes the list, and typing an item's exact text selects it.
class xuiComboBoxText : public xuiComboBox {
  public:
    void SetResults(guiWindow* results) override;
    void Think() override;

  private:
    guiEditField* m_editField = nullptr;
    envString m_typed;
    envString m_chosen;
};

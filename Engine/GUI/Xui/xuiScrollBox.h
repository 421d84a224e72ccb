#pragma once
#include "Engine/GUI/Gnf/gnfSelection.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <map>
#include <memory>
#include <type_traits>

class guiSlider;

// A container that frames one scrollable view with up to one slider per axis along its edges: it lays
// the sliders out, gives the view the rest, keeps slider and view scrolled alike every frame and hides
// a slider while its direction needs no scrolling. To the outside it is the view's view and selection.
class xuiScrollBox : public guiContainer, public gnfView, public gnfSelection {
  public:
    enum Edge : i32 { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3, kNone = 4 };
    enum Axis : i32 { kHorizontal = 1, kVertical = 2 };

    // Only the first slider of an axis takes part; later ones and controls that are no slider become
    // ordinary children. A null control is ignored.
    void AddAssociatedControl(i32 edge, guiWindow* control, i32 axis);
    // The view's window becomes a child; an earlier view stays, and the next SetSize lays the new one
    // out. A view that is no window is refused with a warning.
    void SetView(gnfView* view);
    // The same for a view window its maker held until now; gives it back for keeping.
    template <class View> View* SetView(std::unique_ptr<View> view) {
        static_assert(std::is_base_of_v<guiWindow, View> && std::is_base_of_v<gnfView, View>);
        View* taken = view.release();
        SetView(static_cast<gnfView*>(taken));
        return taken;
    }

    void SetSize(i32 width, i32 height) override;
    void Think() override;

    // The box itself never needs scrolling.
    bool FitsVertically() const override { return true; }
    bool FitsHorizontally() const override { return true; }
    float GetHorizontalScroll() const override { return m_lastHorizontal; }
    float GetVerticalScroll() const override { return m_lastVertical; }
    void SetHorizontalScroll(float fraction) override;
    void SetVerticalScroll(float fraction) override;

    // Passed to the view's selection; without one: 0, nothing, the empty text and 0.
    i32 GetSelection() const override;
    void Select(i32 index) override;
    const envString& GetItemText(i32 index) const override;
    i32 GetItemCount() const override;

  private:
    struct Control {
        i32 edge;
        guiSlider* slider; // a child, deleted with the children
    };
    // Sets every slider of the axis.
    void SetSliders(i32 axis, float value);

    std::map<i32, Control> m_controls;
    gnfView* m_view = nullptr;
    gnfSelection* m_selection = nullptr;
    float m_lastHorizontal = 0.0f;
    float m_lastVertical = 0.0f;
};

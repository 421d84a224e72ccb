#include "../Gui/guiWidgetFixture.h"
#include "Engine/GUI/Gnf/gnfSelection.h"
#include "Engine/GUI/Gnf/gnfValue.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/GUI/Xui/xuiSliderComposite.h"

#include <functional>
#include <memory>

namespace {

struct PlainView : gnfView {};
struct PlainList : gnfSelection {
    i32 GetItemCount() const override { return 0; }
};

} // namespace

TEST(gnfView, AViewOverridingNothingFitsSitsAtZeroAndIgnoresScrolling) {
    PlainView view;
    view.SetHorizontalScroll(0.5f);
    view.SetVerticalScroll(0.75f);
    EXPECT_TRUE(view.FitsVertically() && view.FitsHorizontally());
    EXPECT_EQ(view.GetHorizontalScroll(), 0.0f);
    EXPECT_EQ(view.GetVerticalScroll(), 0.0f);
}

TEST(gnfSelection, AnEmptyListSelectsNothingAndAnswersTheOneEmptyText) {
    PlainList list;
    list.Select(0);
    EXPECT_EQ(list.GetSelection(), -1);
    for (i32 index : {0, -1, 5})
        EXPECT_EQ(&list.GetItemText(index), &gnfEmptyString()) << index;
    EXPECT_EQ(gnfEmptyString(), envString(""));
}

TEST_F(guiWidgetTest, EveryImplementerCastsToItsInterfacesAndBack) {
    struct Case {
        const char* name;
        std::function<guiWindow*()> make;
        bool value, view, selection;
    };
    const Case cases[] = {
        {"check box", [] { return new guiCheckbox; }, true, false, false},
        {"radio group", [] { return new guiRadioGroup; }, true, false, false},
        {"slider", [] { return new guiSlider; }, true, false, false},
        {"slider composite", [] { return new xuiSliderComposite; }, true, false, false},
        {"progress bar", [] { return new guiProgressBar; }, true, false, false},
        {"scroll box", [] { return new xuiScrollBox; }, false, true, true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<guiWindow> window(c.make());
        auto* value = dynamic_cast<gnfValue*>(window.get());
        auto* view = dynamic_cast<gnfView*>(window.get());
        auto* selection = dynamic_cast<gnfSelection*>(window.get());
        EXPECT_EQ(value != nullptr, c.value) << c.name;
        EXPECT_EQ(view != nullptr, c.view) << c.name;
        EXPECT_EQ(selection != nullptr, c.selection) << c.name;
        if (value) {
            EXPECT_EQ(dynamic_cast<guiWindow*>(value), window.get()) << c.name;
        }
        if (view) {
            EXPECT_EQ(dynamic_cast<guiWindow*>(view), window.get()) << c.name;
        }
        if (selection) {
            EXPECT_EQ(dynamic_cast<guiWindow*>(selection), window.get()) << c.name;
        }
    }
}

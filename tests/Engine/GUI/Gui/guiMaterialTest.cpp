#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "guiWidgetFixture.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

guiMaterial* Widget(guiContainer& parent, maVector3d at, i32 w = 100, i32 h = 50) {
    auto* widget = new guiMaterial;
    widget->SetSize(w, h);
    widget->SetPosition(at);
    parent.AddChild(widget);
    return widget;
}

} // namespace

TEST_F(guiWidgetTest, EveryWidgetIsOneEntryDrawnWhileEffectivelyVisible) {
    guiContainer& root = *guiWindowMgr::GetRoot();
    Widget(root, {0, 0, 1});
    guiMaterial* hidden = Widget(root, {0, 100, 1});
    auto* box = new guiContainer;
    root.AddChild(box);
    guiMaterial* inBox = Widget(*box, {0, 200, 1});
    hidden->SetVisible(false);
    box->SetVisible(false);
    auto draws = [&] {
        Mark();
        g3dRenderer::RenderFrame(0.0f);
        return CountSinceMark("DrawIndexedPrimitive");
    };
    EXPECT_EQ(draws(), 1u);
    box->SetVisible(true);
    EXPECT_TRUE(inBox->GetRenderEntry()->IsVisible());
    EXPECT_EQ(draws(), 2u);
    EXPECT_NE(inBox->GetRenderEntry(), hidden->GetRenderEntry());
}

TEST_F(guiWidgetTest, AnUnchangedScreenWritesNoEntryMatrix) {
    std::vector<guiMaterial*> widgets;
    for (i32 i = 0; i < 500; ++i)
        widgets.push_back(
            Widget(*guiWindowMgr::GetRoot(),
                   {static_cast<float>(i % 25) * 30.0f, static_cast<float>(i / 25) * 30.0f, 1.0f}, 20, 20));
    Update(790, 590);
    for (guiMaterial* widget : widgets)
        widget->GetRenderEntry()->GetNode()->GetLocalMatrix().m[0] = 12345.0f;
    Update(790, 590);
    EXPECT_TRUE(std::all_of(widgets.begin(), widgets.end(),
                            [](guiMaterial* w) { return EntryMatrix(*w).m[0] == 12345.0f; }));
    // The first drawn is in front: depth 0, then larger depths below 1.
    EXPECT_EQ(EntryMatrix(*widgets[0]).m[14], 0.0f);
    EXPECT_NEAR(EntryMatrix(*widgets[1]).m[14], 0.5f, 1e-6f);
}

TEST_F(guiWidgetTest, ThePointerDrivesTheStates) {
    struct Step {
        float x, y;
        bool down;
        i32 state;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"click",
         {{10, 10, false, guiStateOver},
          {10, 10, true, guiStatePressed},
          {10, 10, true, guiStateHeld},
          {10, 10, false, guiStateReleased},
          {10, 10, false, guiStateOver}}},
        {"drag off",
         {{10, 10, true, guiStatePressed},
          {10, 10, true, guiStateHeld},
          {300, 10, true, guiStateIdle},
          {300, 10, false, guiStateIdle}}},
        {"pressed elsewhere, dragged on", {{300, 10, true, guiStateIdle}, {10, 10, true, guiStateHeld}}},
    };
    for (const Case& c : cases) {
        guiMaterial* widget = Widget(*guiWindowMgr::GetRoot(), {0, 0, 1});
        // Hidden widgets still think.
        widget->SetVisible(false);
        for (const Step& step : c.steps) {
            Update(step.x, step.y, step.down);
            EXPECT_EQ(widget->GetState(), step.state) << c.name << " at " << step.x;
        }
        Update(500, 500);
        guiWindowMgr::DeleteWindow(widget);
    }
}

TEST_F(guiWidgetTest, OnlyTheFrontOfTwoOverlappingWidgetsIsOver) {
    guiMaterial* back = Widget(*guiWindowMgr::GetRoot(), {0, 0, 1.0f});
    guiMaterial* front = Widget(*guiWindowMgr::GetRoot(), {20, 10, 0.5f});
    Update(30, 20);
    EXPECT_EQ(front->GetState(), guiStateOver);
    EXPECT_EQ(back->GetState(), guiStateIdle);
    // Drawn later, the front widget's quad has the smaller depth key.
    EXPECT_LT(EntryMatrix(*front).m[14], EntryMatrix(*back).m[14]);
}

TEST_F(guiWidgetTest, AStateWithoutALookKeepsTheOneBefore) {
    guiMaterial* widget = Widget(*guiWindowMgr::GetRoot(), {0, 0, 1});
    widget->SetColor({255, 0, 0}, guiStateIdle);
    widget->SetColor({0, 255, 0}, guiStateOver);
    widget->SetColor({0, 0, 255}, guiStatePressed);
    const g3dMaterial* pressed = &widget->GetStateMaterial(guiStatePressed);
    Update(10, 10);
    EXPECT_EQ(Shown(*widget), &widget->GetStateMaterial(guiStateOver));
    for (bool down : {true, true, false}) {
        Update(10, 10, down);
        EXPECT_EQ(Shown(*widget), pressed) << widget->GetState();
    }
    // A new colour of the shown state shows at once; of another state only once shown.
    Update(300, 300);
    widget->SetColor({9, 9, 9}, guiStateIdle);
    EXPECT_FLOAT_EQ(Shown(*widget)->GetEmissive().r, 9 * 0.003921569f);
    EXPECT_EQ(Shown(*widget)->GetDiffuse().r, Shown(*widget)->GetEmissive().r);
    for (i32 byte = 0; byte < 256; ++byte) {
        const u8 b = static_cast<u8>(byte);
        widget->SetColor({b, static_cast<u8>(255 - b), b}, 7);
        ASSERT_EQ(widget->GetColor(7), (std::array<u8, 3>{b, static_cast<u8>(255 - b), b}));
    }
    widget->ClearMaterials();
    EXPECT_EQ(widget->GetShownState(), guiStateNone);
    EXPECT_FALSE(widget->HasStateMaterial(guiStateIdle));
    // First shown under the pointer with no look for "over": the normal look, not the white default.
    guiMaterial* under = Widget(*guiWindowMgr::GetRoot(), {0, 0, 0.5f});
    under->SetColor({10, 20, 30}, guiStateIdle);
    Update(10, 10);
    EXPECT_EQ(under->GetState(), guiStateOver);
    EXPECT_EQ(Shown(*under), &under->GetStateMaterial(guiStateIdle));
    // A fully transparent look is left out of the frame until it has some alpha again.
    for (const float alpha : {0.0f, 0.5f, 0.0f}) {
        under->SetTransparency(alpha, guiStateIdle);
        Update(300, 300);
        EXPECT_EQ(under->GetRenderEntry()->IsVisible(), alpha > 0.0f) << alpha;
    }
}

TEST_F(guiWidgetTest, HitsAreMinInclusiveMaxExclusive) {
    guiMaterial* widget = Widget(*guiWindowMgr::GetRoot(), {0, 0, 1});
    const struct {
        float x, y;
        bool hit;
    } points[] = {{0, 10, true},    {100, 10, true}, {10, 50, true},
                  {101, 10, false}, {10, 0, false},  {10, 51, false}};
    for (const auto& p : points) {
        guiCursorMgr::SetPosition({p.x, p.y});
        EXPECT_EQ(widget->IsPointerOver(), p.hit) << p.x << ", " << p.y;
    }
}

TEST_F(guiWidgetTest, AnUnsizedWidgetIsHitNowhereAndAnEmptyCaptionDrawsNothing) {
    guiMaterial* unsized = Widget(*guiWindowMgr::GetRoot(), {0, 0, 1}, 0, 0);
    guiCursorMgr::SetPosition({10, 10});
    EXPECT_FALSE(unsized->IsPointerOver());
    auto* button = new guiButton;
    button->SetSize(100, 50);
    guiWindowMgr::GetRoot()->AddChild(button);
    const g3dDynamicModel& caption = *button->GetText()->GetRenderEntry();
    EXPECT_FALSE(caption.IsVisible());
    for (const char16_t* text : {u"Go", u""}) {
        button->GetText()->SetText(envString(text), guiStateIdle);
        EXPECT_EQ(caption.IsVisible(), text[0] != 0);
    }
}

TEST_F(guiWidgetTest, TransparentTexelsLetThePointerThrough) {
    // 2 x 2, the top-left texel clear.
    const std::string opaque("\xFF\xFF\xFF\xFF", 4);
    const std::string clear("\x00\x00\x00\x00", 4);
    folder.Write("badge.png", g2dImageBuilder::Png(2, 8, 6, {clear + opaque, opaque + opaque}));
    auto* widget = new guiImage;
    widget->SetSize(100, 50);
    guiWindowMgr::AddWindow(widget);
    widget->SetImage(folder.Locator("badge.png"), guiStateIdle);
    widget->SetState(guiStateIdle);
    widget->MakeTransparencyMap(0.0f, guiStateIdle);
    ASSERT_TRUE(widget->HasTransparencyMap(guiStateIdle));
    const struct {
        float x;
        bool hit;
    } points[] = {{10, false}, {50, false}, {51, true}, {60, true}};
    for (const auto& p : points) {
        guiCursorMgr::SetPosition({p.x, 10});
        EXPECT_EQ(widget->IsPointerOver(), p.hit) << p.x;
    }
    // Outside the map nothing is transparent; a state without a texture has no map to read.
    EXPECT_FALSE(widget->IsTransparentAt(2, 0, guiStateIdle));
    EXPECT_FALSE(widget->IsTransparentAt(-1, 0, guiStateIdle));
    EXPECT_FALSE(widget->IsTransparentAt(0, 0, guiStateOver));
    widget->SetTile(2, 2, guiStateOver);
    f32 u = 0, v = 0;
    widget->GetTile(u, v, guiStateOver);
    EXPECT_EQ(u, 1.0f);
    i32 w = -1, h = -1;
    widget->GetTextureSize(w, h, guiStateOver);
    EXPECT_EQ(w + h, 0);
    // A quad scaled to nothing is hit nowhere.
    widget->SetScale({0.0f, 0.0f, 1.0f});
    guiCursorMgr::SetPosition({60, 10});
    EXPECT_FALSE(widget->IsPointerOver());
    // The map belongs to the texture, which the cache shares between widgets showing the same file.
    auto* twin = new guiImage;
    guiWindowMgr::AddWindow(twin);
    twin->SetImage(folder.Locator("badge.png"), guiStateOver);
    EXPECT_TRUE(twin->HasTransparencyMap(guiStateOver));
    widget->FreeTransparencyMap(guiStateIdle);
    EXPECT_FALSE(twin->HasTransparencyMap(guiStateOver));
}

TEST_F(guiWidgetTest, AMissingImageLeavesTheStateUntextured) {
    folder.Write("a.png", g2dImageBuilder::Png(1, 8, 6, {std::string("\xFF\x00\x00\xFF", 4)}));
    auto* widget = new guiImage;
    guiWindowMgr::AddWindow(widget);
    widget->SetImage(folder.Locator("a.png"), guiStateIdle);
    fsLocator file;
    widget->GetImageFile(guiStateIdle, file);
    EXPECT_EQ(file, folder.Locator("a.png"));
    // The same file again: the texture only this widget used is released before the file is loaded again.
    Mark();
    widget->SetImage(folder.Locator("a.png"), guiStateIdle);
    EXPECT_EQ(CountSinceMark("CreateTexture"), 1u);
    EXPECT_THROW(widget->SetImage(folder.Locator("missing.png"), guiStateIdle), fsFileDoesntExistX);
    EXPECT_TRUE(widget->HasStateMaterial(guiStateIdle));
    EXPECT_FALSE(widget->HasTexture(guiStateIdle));
    // A damaged file: the cut PNG's own exception, the state still untextured, the cache still usable.
    const std::string png = g2dImageBuilder::Png(1, 8, 6, {std::string("\xFF\x00\x00\xFF", 4)});
    EXPECT_THROW(widget->SetImage(folder.Write("cut.png", png.substr(0, png.size() / 2)), guiStateOver),
                 envExceptionX);
    EXPECT_FALSE(widget->HasTexture(guiStateOver));
    widget->SetImage(folder.Locator("a.png"), guiStateOver);
    EXPECT_TRUE(widget->HasTexture(guiStateOver));
}

TEST_F(guiWidgetTest, AWidgetDeletedWhilePressedEndsThePress) {
    guiMaterial* widget = Widget(*guiWindowMgr::GetRoot(), {0, 0, 1});
    Update(10, 10, true);
    ASSERT_TRUE(widget->IsCaptured(guiMouseButtons::kMain));
    guiWindowMgr::DeleteWindow(widget);
    guiMouseButtons::ClearClaims();
    EXPECT_TRUE(guiMouseButtons::IsUnclaimed(guiMouseButtons::kMain));
    // The next click, even on a widget in the same place, is no second click of the first.
    Widget(*guiWindowMgr::GetRoot(), {0, 0, 1});
    Update(10, 10, false);
    EXPECT_EQ(guiMouseButtons::GetDoubleClick(guiMouseButtons::kMain), nullptr);
}

TEST_F(guiWidgetTest, AWidgetWithoutItsRenderListIsNotMade) {
    guiSetRenderList(9);
    EXPECT_THROW(guiMaterial widget, std::out_of_range);
    guiSetRenderList(3);
    // The fixture finds no fragment left behind.
}

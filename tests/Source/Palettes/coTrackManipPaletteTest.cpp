#include "Source/Palettes/coTrackManipPalette.h"

#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include <memory>
#include <set>
#include <string>

namespace {

using State = coTrackManipPalette::PieceState;

// The buttons whose enabling the table below reads, in its order.
constexpr const char* kWatched[] = {
    "Short Straightaway", "Loop",         "Corkscrew", "Half Loop",           "Pitch Up",       "Bend Left",
    "Add Chain",          "Remove Chain", "Add Brake", "Add Tube Decoration", "Finish Coaster", "Delete"};

struct coTrackManipPaletteTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        palette = new coTrackManipPalette;
        guiWindowMgr::AddWindow(palette);
        palette->SetEnabled(true);
    }
    void TearDown() override {
        coSetCoasterDefinition(nullptr);
        coScreenTest::TearDown();
    }
    guiTableBox* Placers() const { return static_cast<guiTableBox*>(palette->FindChild("Placers")); }
    guiWindow* Find(const char* name) const {
        if (guiWindow* child = palette->FindChild(name))
            return child;
        for (i32 column = 0; column < 6; ++column) {
            auto* cell = static_cast<guiContainer*>(Placers()->GetCellWindow(0, column));
            if (cell->GetName() == name)
                return cell->FindChild(name);
        }
        return nullptr;
    }
    // "1" for each watched button enabled, "0" for each disabled.
    std::string Enabled() const {
        std::string out;
        for (const char* name : kWatched)
            out += Find(name)->IsEnabled() ? '1' : '0';
        return out;
    }
    coTrackManipPalette* palette = nullptr;
};

TEST_F(coTrackManipPaletteTest, EnablingRules) {
    coCoasterPieceTurn turn;
    coCoasterPieceStraight straight;
    coCoasterPieceUp up;
    const State built{.circuitEmpty = false,
                      .pieceContext = true,
                      .piece = &turn,
                      .finishAllowed = true,
                      .deleteAllowed = true};
    auto with = [&](auto change) {
        State state = built;
        change(state);
        return state;
    };
    struct Case {
        const char* what;
        State state;
        bool inversions = true;
        const char* type = "Steel";
        const char* enabled;
    } const cases[] = {
        {"empty", State{.finishAllowed = true}, true, "Steel", "000000000010"},
        {"built", built, true, "Steel", "111111101111"},
        {"closed", with([](State& s) { s.circuitClosed = true; }), true, "Steel", "000011101111"},
        {"colliding", with([](State& s) { s.trackCollides = true; }), true, "Steel", "000011101111"},
        {"first piece", with([](State& s) { s.pieceIsFirst = true; }), true, "Steel", "111100101111"},
        {"straight", with([&](State& s) { s.piece = &straight; }), true, "Steel", "111110101111"},
        {"up", with([&](State& s) { s.piece = &up; }), true, "Steel", "111110101111"},
        {"wooden", built, true, "Wooden", "111111101011"},
        {"no inversions", built, false, "Steel", "110011101111"},
        {"chain", with([](State& s) { s.element = 1; }), true, "Steel", "111111010111"},
        {"brakes", with([](State& s) { s.element = 2; }), true, "Steel", "111111000111"},
        {"retarder", with([](State& s) { s.element = 4; }), true, "Steel", "111111000111"},
        {"unknown element", with([](State& s) { s.element = 9; }), true, "Steel", "111111000111"},
    };
    coCoasterDefinition definition;
    for (const Case& c : cases) {
        definition.SetCoasterTypeName(c.type);
        coSetCoasterDefinition(&definition);
        coPrefs::SetBool(coPrefAllowInversions, false);
        palette->SetAllowInversions(c.inversions);
        palette->SetPieceState(c.state);
        EXPECT_EQ(Enabled(), c.enabled) << c.what;
    }
    // Code 9 left the pairs as the retarder case had them.
    EXPECT_TRUE(palette->FindChild("Remove Retarder")->IsVisible());
    EXPECT_STREQ(palette->GetRetarderButton(), "Add Retarder");
}

// A turn, a loop and a corkscrew each name their own bend; a piece after them that none of those texts
// is true for (a half loop, a climb) shows the script's own tips again, not theirs.
TEST_F(coTrackManipPaletteTest, BendTipsAreThePiecesOwnOrTheScripts) {
    const auto tips = [&] {
        return envStringToNarrow(palette->FindChild("Bend Left")->GetToolTipText()) + " / " +
               envStringToNarrow(palette->FindChild("Bend Right")->GetToolTipText());
    };
    const std::string own = tips();
    coCoasterPieceTurn turn;
    coCoasterPieceLoop loop;
    coCoasterPieceCorkscrew corkscrew;
    coCoasterPieceHalfLoop halfLoop;
    coCoasterPieceUp up;
    const coCoasterPiece* const named[] = {&turn, &loop, &corkscrew};
    const coCoasterPiece* const others[] = {&halfLoop, &up};
    std::set<std::string> texts;
    for (const coCoasterPiece* piece : named) {
        palette->SetPieceState({.circuitEmpty = false, .pieceContext = true, .piece = piece});
        texts.insert(tips());
        for (const coCoasterPiece* other : others) {
            palette->SetPieceState({.circuitEmpty = false, .pieceContext = true, .piece = other});
            EXPECT_EQ(tips(), own);
        }
    }
    texts.insert(own);
    EXPECT_EQ(texts.size(), 4u);
}

TEST_F(coTrackManipPaletteTest, BudgetsAndCounters) {
    coCoasterPieceTurn turn;
    palette->SetAllowInversions(true);
    palette->SetPieceState({.circuitEmpty = false, .pieceContext = true, .piece = &turn, .element = 1});
    const auto text = [&](const char* counter) {
        const guiWindow* window = palette->FindChild(counter);
        if (!window)
            window = static_cast<guiContainer*>(Placers()->GetCellWindow(0, 2))->FindChild(counter);
        return static_cast<const guiText*>(window)->GetText(0);
    };
    palette->SetConstraintCount(0, 3);
    palette->SetConstraintCount(5, 12);
    palette->SetConstraintCount(15, 9);
    palette->SetConstraintCount(1, -4);
    EXPECT_EQ(text("Short Straightaway Constraint"), envString(" x3"));
    EXPECT_EQ(text("Long Straightaway Constraint"), envString(" x3"));
    EXPECT_TRUE(palette->FindChild("Long Straightaway Constraint")->IsVisible());
    EXPECT_EQ(text("Corkscrew Constraint"), envString("x12"));
    EXPECT_EQ(text("Shallow Left Constraint"), envString(" x9"));
    EXPECT_EQ(text("Curved Right Constraint"), envString(" x-4"));
    for (const i32 outside : {16, -1})
        palette->SetConstraintCount(outside, 1);
    EXPECT_TRUE(log.Holds("Budget index 16"));

    // Budgets act at the next enabling; a Remove button is never held back.
    palette->SetConstraintCount(0, 0);
    palette->SetConstraintCount(6, 0);
    EXPECT_TRUE(palette->FindChild("Short Straightaway")->IsEnabled());
    palette->SetEnabled(true);
    EXPECT_FALSE(palette->FindChild("Short Straightaway")->IsEnabled());
    EXPECT_FALSE(palette->FindChild("Long Straightaway")->IsEnabled());
    EXPECT_TRUE(palette->FindChild("Remove Chain")->IsEnabled());
    palette->HideConstraintCounts();
    palette->SetEnabled(true);
    EXPECT_TRUE(palette->FindChild("Short Straightaway")->IsEnabled());
    EXPECT_FALSE(palette->FindChild("Short Straightaway Constraint")->IsVisible());
}

TEST_F(coTrackManipPaletteTest, PlacersAndReleasedButtons) {
    for (i32 column = 0; column < 6; ++column) {
        const guiWindow* cell = Placers()->GetCellWindow(0, column);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->GetPosition().x, 44.0f * static_cast<f32>(column)) << column;
        EXPECT_EQ(cell->GetPosition().y, 0.0f) << column;
    }
    EXPECT_EQ(palette->GetReleasedButtonName(), envString(u""));
    auto* box = static_cast<guiCheckbox*>(palette->FindChild("Placer Displayer"));
    box->SetChecked(true);
    Click(box, true);
    EXPECT_EQ(palette->GetReleasedButtonName(), envString("Placer Displayer"));
    EXPECT_TRUE(Placers()->IsVisible());
    box->SetState(0);

    coCoasterPieceTurn turn;
    palette->SetAllowInversions(true);
    palette->SetPieceState({.circuitEmpty = false, .pieceContext = true, .piece = &turn});
    for (int twice = 0; twice < 2; ++twice) {
        Click(Find("Half Loop"));
        EXPECT_EQ(palette->GetReleasedButtonName(), envString("Half Loop")) << twice;
        EXPECT_EQ(Find("Half Loop")->GetState(), 0);
    }
}

// The shipped placer picture's corner is see-through: a click there does not press the placer, one on the
// picture's middle does.
TEST_F(coTrackManipPaletteTest, APlacersTransparentCornerTakesNoClick) {
    fsLocator pakFile;
    fsLocatorFromNativePath(DataPath("Data/GUI/gui.pak").c_str(), pakFile);
    gfPakEntryStream entry(gfPakFile(pakFile), fsRootedLocator(coRootGui, "uitm/uitmhl_i.png"));
    std::vector<u8> bytes(entry.GetSize());
    entry.Read(bytes.data(), entry.GetSize());
    const g2dPixelRows picture = g2dDecodePNG(bytes);
    ASSERT_EQ(picture.BytesPerPixel(), 4u);
    ASSERT_EQ(picture.Row(1)[4 + 3], 0) << "texel (1, 1) of the idle picture is opaque";

    coCoasterPieceTurn turn;
    palette->SetAllowInversions(true);
    palette->SetPieceState({.circuitEmpty = false, .pieceContext = true, .piece = &turn});
    auto* displayer = static_cast<guiCheckbox*>(palette->FindChild("Placer Displayer"));
    displayer->SetChecked(true);
    Click(displayer, true);
    palette->GetReleasedButtonName();
    guiWindowMgr::Update();
    // The drawn quad's box is in device coordinates, y up; the pointer's are GUI pixels, y down.
    const maBoundingBox& box = static_cast<const guiMaterial*>(Find("Half Loop"))->GetScreenBox();
    for (const bool onCorner : {true, false}) {
        const f32 along = onCorner ? 1.5f / static_cast<f32>(picture.width) : 0.5f;
        const f32 x = box.minX + along * (box.maxX - box.minX), y = box.maxY - along * (box.maxY - box.minY);
        guiCursorMgr::SetPosition({((x + 1.0f) * 800.0f + 1.0f) / 2.0f, ((1.0f - y) * 600.0f + 1.0f) / 2.0f});
        PointerFrame(nullptr, true);
        PointerFrame(nullptr, false);
        // Through the corner the click reaches the bars behind, which are no command.
        EXPECT_EQ(envStringToNarrow(palette->GetReleasedButtonName()),
                  onCorner ? "Placer Bars" : "Half Loop");
    }
}

TEST_F(coTrackManipPaletteTest, ThePieceIsNeverReadAfterItsStateWasSet) {
    auto piece = std::make_unique<coCoasterPieceStraight>();
    palette->SetPieceState({.circuitEmpty = false, .pieceContext = true, .piece = piece.get()});
    piece.reset();
    palette->SetEnabled(true); // under ASan: reads no freed piece
    EXPECT_FALSE(palette->FindChild("Bend Left")->IsEnabled());
}

TEST_F(coTrackManipPaletteTest, MissingPicturesAndWidgets) {
    // With its pictures there, a placer shows its own.
    fsLocator face;
    const auto placerFace = [&face](const coTrackManipPalette& shown, const char* name) {
        auto* cell = static_cast<guiContainer*>(
            static_cast<guiTableBox*>(shown.FindChild("Placers"))->GetCellWindow(0, 1));
        static_cast<guiImage*>(cell->FindChild(name))->GetImageFile(1, face);
        return face.GetComponent(face.GetComponentCount() - 1);
    };
    EXPECT_EQ(placerFace(*palette, "Shallow Right"), envString("uitmsr_o.png"));

    fsTestFolder gui;
    gui.MakeFolder("uitm");
    std::filesystem::copy_file(DataPath("Data/GUI/uitm/uitm.gsf"), gui.Path("uitm/uitm.gsf"));
    // Only the placeholder's pictures, loose, out of the tree's pak.
    fsLocator pakFile;
    fsLocatorFromNativePath(DataPath("Data/GUI/gui.pak").c_str(), pakFile);
    const gfPakFile pak(pakFile);
    for (const char* file : {"uitmnc_i.png", "uitmnc_o.png", "uitmnc_p.png", "uitmnc_d.png"}) {
        gfPakEntryStream entry(pak, fsRootedLocator(coRootGui, std::string("uitm/") + file));
        std::string bytes(entry.GetSize(), '\0');
        entry.Read(bytes.data(), entry.GetSize());
        gui.Write("uitm/" + std::string(file), bytes);
    }
    SetRoot(coRootGui, gui.Path());
    coTrackManipPalette blank;
    EXPECT_EQ(placerFace(blank, "Shallow Right"), envString("uitmnc_o.png"));

    gui.Write("uitm/uitm.gst", "Container { Id \"uitm\" }");
    std::filesystem::remove(gui.Path("uitm/uitm.gsf"));
    EXPECT_THROW(coTrackManipPalette(), coScreenScriptX);
    EXPECT_TRUE(log.Holds("\"uitm\" has no Window named \"Short Straightaway\""));
}

} // namespace

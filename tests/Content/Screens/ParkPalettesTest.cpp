// The builder's park palettes over the built tree: every picture they name exists, so none falls back.
#include "Content/GUI/guiPakPictures.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiPropSheet.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Palettes/coDockPalette.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coPropTemplateList.h"

namespace {

struct TypeDefinition : coCoasterDefinition {
    explicit TypeDefinition(const char* type) : type(type) {}
    std::string GetCoasterTypeName() const override { return type; }
    std::string type;
};

// The screen columns of a palette piece's picture that are not clear, the picture stretched over the piece.
std::pair<f32, f32> DrawnColumns(const guiWindow& piece, const std::string& picture) {
    const g2dPixelRows image = guiReadPakPicture(picture);
    u32 first = image.width, last = 0;
    for (u32 y = 0; y < image.height; ++y)
        for (u32 x = 0; x < image.width; ++x)
            if (image.Row(y)[x * 4 + 3] != 0) {
                first = std::min(first, x);
                last = std::max(last, x + 1);
            }
    i32 width = 0, height = 0;
    piece.GetSize(width, height);
    const f32 scale = static_cast<f32>(width) / static_cast<f32>(image.width);
    const f32 left = piece.GetWorldMatrix().m[12];
    return {left + static_cast<f32>(first) * scale, left + static_cast<f32>(last) * scale};
}

using ParkPalettesContentTest = coScreenTest;

TEST_F(ParkPalettesContentTest, TheDefaultTreeFillsEveryPaletteWithoutAWarning) {
    SetRoot(coRootThemes, DataPath("Themes"));
    TypeDefinition steel("Steel");
    coSetCoasterDefinition(&steel);
    coPaths::ListRootDirectories(coRootThemes);
    coPropTemplateList::Build(false);
    log.lines.clear();
    {
        coPropsPalette props;
        i32 w = 0, h = 0;
        props.GetSize(w, h);
        // Four props a theme at most: two rows of three.
        EXPECT_EQ(std::pair(w, h), std::pair(160, 214));
        // More themes than the row shows: it opens on the first, so only the right arrow pages.
        std::vector<std::string> tabs;
        for (const guiButton* tab : props.GetTabs())
            tabs.push_back(tab->GetName());
        EXPECT_EQ(tabs, (std::vector<std::string>{"Amusement Park", "Gothic", "Monster Island", "Ironvale"}));
        EXPECT_EQ(props.GetSheet()->GetActiveTab()->GetName(), "Amusement Park");
        EXPECT_FALSE(props.FindChild("LeftArrow")->IsEnabled());
        EXPECT_TRUE(props.FindChild("RightArrow")->IsEnabled());
        coManipulatePalette manipulate;
    }
    // In its place on the screen, the props palette's arrows stand inside its frame's top, on the screen,
    // and every category's title between them, a few pixels clear of both; each page's buttons find their
    // pictures as it is shown.
    auto* props = new coPropsPalette;
    guiWindowMgr::AddWindow(props);
    const auto [frameLeft, frameRight] = DrawnColumns(*props->FindChild("Top"), "uipp/uippnb_i.png");
    EXPECT_LE(frameRight, 800.0f);
    std::vector<std::pair<f32, f32>> arrows;
    for (const auto& [arrow, picture] :
         {std::pair("LeftArrow", "uipp/uippla_i.png"), {"RightArrow", "uipp/uippra_i.png"}}) {
        const auto [left, right] = arrows.emplace_back(DrawnColumns(*props->FindChild(arrow), picture));
        EXPECT_GE(left, frameLeft) << arrow;
        EXPECT_LE(right, frameRight) << arrow;
    }
    for (i32 category = 0; category < coPropTemplateList::GetCategoryCount(); ++category) {
        props->GetSheet()->SetActivePage(category);
        props->Think();
        const auto& page = dynamic_cast<const guiContainer&>(*props->GetSheet()->GetActivePage());
        const auto& title = dynamic_cast<const guiText&>(*page.FindChild("Top"));
        u32 inkWidth = 0, inkHeight = 0;
        g2dFont::MeasureText(title.GetFont(0), title.GetText(0), inkWidth, inkHeight);
        const f32 inkLeft = title.GetWorldMatrix().m[12] + static_cast<f32>(title.GetXOffset(0));
        const std::string shown = envStringToNarrow(title.GetText(0));
        EXPECT_GE(inkLeft, arrows[0].second + 6.0f) << shown;
        EXPECT_LE(inkLeft + static_cast<f32>(inkWidth), arrows[1].first - 6.0f) << shown;
    }
    guiWindowMgr::DeleteWindow(props);
    // Every type the new-coaster choice offers has a station to start from.
    for (const char* type : {"Steel", "Wooden"}) {
        TypeDefinition definition(type);
        coSetCoasterDefinition(&definition);
        coDockPalette dock;
        EXPECT_EQ(dock.GetItems().size(), 1u) << type;
        // The frame's top ends above the icons, so they show whole.
        i32 width = 0, height = 0;
        dock.FindChild("Top")->GetSize(width, height);
        EXPECT_LE(dock.FindChild("Top")->GetPosition().y + static_cast<f32>(height),
                  dock.GetItems().front()->GetPosition().y)
            << type;
        coSetCoasterDefinition(&steel);
    }
    EXPECT_EQ(log.Count("Warning"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    coPropTemplateList::DeleteAll();
    coSetCoasterDefinition(nullptr);
}

} // namespace

// The builder's park palettes over the built tree: every picture they name exists, so none falls back.
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gui/guiButton.h"
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
        EXPECT_EQ(std::pair(w, h), std::pair(160, 182));
        EXPECT_EQ(props.GetTabs().size(), 1u);
        EXPECT_FALSE(props.FindChild("LeftArrow")->IsEnabled());
        EXPECT_FALSE(props.FindChild("RightArrow")->IsEnabled());
        coManipulatePalette manipulate;
    }
    // Every type the new-coaster choice offers has a station to start from.
    for (const char* type : {"Steel", "Wooden"}) {
        TypeDefinition definition(type);
        coSetCoasterDefinition(&definition);
        coDockPalette dock;
        EXPECT_EQ(dock.GetItems().size(), 1u) << type;
        coSetCoasterDefinition(&steel);
    }
    EXPECT_EQ(log.Count("Warning"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    coPropTemplateList::DeleteAll();
    coSetCoasterDefinition(nullptr);
}

} // namespace

#include "Source/Screens/coChooseCoasterDialog.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "coScreenTestKit.h"

namespace {

struct coChooseCoasterDialogTest : coScreenTest {
    void TearDown() override {
        // The program-wide lists forget the test's folders.
        fsResetRootTable();
        coPaths::ListRootDirectories(coRootTracks);
        coPaths::ListRootDirectories(coRootEnvironments);
        coScreenTest::TearDown();
    }
    // The roots' folder lists made from these folders.
    void UseFolders(const std::string& tracks, const std::string& environments) {
        SetRoot(coRootTracks, tracks);
        SetRoot(coRootEnvironments, environments);
        coPaths::ListRootDirectories(coRootTracks);
        coPaths::ListRootDirectories(coRootEnvironments);
    }
};

TEST_F(coChooseCoasterDialogTest, TheFirstOfEachColumnIsChosen) {
    fsTestFolder tracks, environments;
    tracks.MakeFolder("Steel");
    environments.MakeFolder("Mountain");
    UseFolders(tracks.Path(), environments.Path());
    coChooseCoasterDialog dialog;
    EXPECT_EQ(dialog.GetSelectedTrackType(), "Steel");
    EXPECT_EQ(dialog.GetSelectedEnvironment(), "Mountain");
    EXPECT_TRUE(dialog.GetOk()->IsEnabled());
    // Its pictures are missing: warned, the button stays.
    EXPECT_TRUE(log.Holds("uiccbn_o.png"));
    EXPECT_EQ(dialog.GetTrackTypeTable()->GetVisibleRows(), 3);
}

TEST_F(coChooseCoasterDialogTest, FolderNamesAndEmptyColumns) {
    fsTestFolder tracks, environments;
    tracks.MakeFolder("Zigzag");
    UseFolders(tracks.Path(), environments.Path());
    coChooseCoasterDialog dialog;
    auto* button = dynamic_cast<guiButton*>(dialog.GetTrackTypeTable()->GetCellWindow(0, 0));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(envStringToNarrow(button->GetText()->GetText(1)), "Zigzag");
    EXPECT_EQ(dialog.GetSelectedEnvironment(), "");
    EXPECT_FALSE(dialog.GetOk()->IsEnabled());
}

} // namespace

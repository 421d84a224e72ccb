// The editor's input in the running game, over the input package and the GUI's mouse records.
#include "Source/App/coGameEditorInput.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(coGameEditorInputTest, BeforeTheInputStartsNothingIsPressedOrMoved) {
    coGameEditorInput input;
    EXPECT_FALSE(input.HasMouse());
    for (i32 action : {coActionEscape, coActionMouseLeft, coActionShift}) {
        EXPECT_FALSE(input.IsDown(action));
        EXPECT_FALSE(input.IsHeld(action));
        EXPECT_FALSE(input.WasReleased(action));
        input.SuppressRelease(action);
    }
    EXPECT_FALSE(input.IsKeyDown(coKeyLeftControl));
    i32 x = 7, y = 7;
    input.GetMotion(x, y);
    EXPECT_EQ(std::tuple(x, y, input.GetAxisZ()), std::tuple(0, 0, 0));
}

TEST(coGameEditorInputTest, TheViewHoldsAMouseButtonUntilItsDragEnds) {
    // A click is recorded with its time.
    plTestTimeSource time;
    plInstallServices({&time, nullptr, nullptr});
    coGameEditorInput input;
    for (i32 record : {coMouseRecordLeft, coMouseRecordRight, coMouseRecordWheel}) {
        guiMouseButtons::ClearClaims();
        EXPECT_FALSE(input.IsMouseClaimed(record));
        input.ClaimMouse(record);
        EXPECT_TRUE(input.IsMouseClaimed(record)) << record;
        input.ReleaseMouse(record);
        EXPECT_FALSE(input.IsMouseClaimed(record)) << record;
    }
    plInstallServices({});
}

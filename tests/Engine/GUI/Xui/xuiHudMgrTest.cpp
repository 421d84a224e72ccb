#include "Engine/GUI/Xui/xuiHudMgr.h"
#include "../Gui/guiTestFrame.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"

using xuiHudMgrTest = guiTestGui;

TEST_F(xuiHudMgrTest, ItemsToggleWhenTheirActionIsReleased) {
    constexpr u8 kScanReturn = 0x1C;
    inDeviceManager::GetVirtualJoystick()->Bind(*inDeviceManager::GetKeyboard(0), 57, inKeyReturn);
    auto* hud = Add<xuiHudMgr>();
    auto* palette = new guiTestWindow("palette");
    hud->AddItem(palette, {57});
    const auto key = [&](bool down) {
        input.GetScript(1).keys[kScanReturn] = down ? 0x80 : 0;
        Update(700, 500);
    };
    const auto frame = [&](bool down) {
        key(down);
        return std::pair{palette->IsEnabled(), palette->IsVisible()};
    };
    EXPECT_EQ(frame(true), std::pair(true, true));
    EXPECT_EQ(frame(false), std::pair(false, false));
    // The flags flip separately.
    palette->SetVisible(true);
    frame(true);
    EXPECT_EQ(frame(false), std::pair(true, false));
    hud->SetItemEnabled(false, "palette");
    frame(true);
    EXPECT_EQ(frame(false), std::pair(true, false));
    hud->SetItemEnabled(true, "none");
    // A deleted item is no longer touched.
    hud->SetItemEnabled(true, "palette");
    delete palette;
    key(true);
    key(false);
}

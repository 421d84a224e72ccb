#include "Source/Screens/coDialogFrameFunction.h"

#include "coScreenTestKit.h"

#include <algorithm>

namespace {

using coDialogFrameFunctionTest = coScreenTest;

// Over a menu or over the world, every frame starts on a cleared screen: what the pictures or the sky
// leave uncovered never shows a frame before.
TEST_F(coDialogFrameFunctionTest, EveryFrameClearsTheScreenFirst) {
    for (const bool menu : {true, false}) {
        coDialogFrameFunction frame(mode.ModalFrameStart(), menu);
        d3d.GetLog().clear();
        frame.Execute();
        const std::vector<std::string>& calls = d3d.GetLog();
        const auto clear = std::find_if(calls.begin(), calls.end(), [](const std::string& line) {
            return line.rfind("Clear 1 ", 0) == 0;
        });
        const auto scene = std::find(calls.begin(), calls.end(), "BeginScene");
        EXPECT_LT(clear, scene) << menu;
    }
}

} // namespace

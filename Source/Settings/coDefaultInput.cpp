#include "coDefaultInput.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"

#include <utility>

namespace {

// Action id and key code; an action listed twice has two keys, and keys 53 and 54 serve two actions each.
constexpr std::pair<int, int> kKeyboardBindings[] = {
    {coActionNum4, 90},
    {coActionNum6, 92},
    {coActionNum9, 95},
    {coActionNum3, 89},
    {coActionNum8, 94},
    {coActionNum5, 91},
    {coActionNum5, 88},
    {coActionLeft, 84},
    {coActionRight, 85},
    {coActionUp, 82},
    {coActionDown, 83},
    {coActionShift, 64},
    {coActionShift, 68},
    {coActionControl, coKeyLeftControl},
    {coActionControl, coKeyRightControl},
    {coActionLoad, 27},
    {coActionSave, 28},
    {coActionCamera, 29},
    {coActionGrid, 30},
    {coActionTest, 31},
    {coActionRide, 32},
    {coActionOptions, 33},
    {coActionBack, 34},
    {coActionStraightUp, 22},
    {coActionShallowRight, 4},
    {coActionShallowLeft, 17},
    {coActionHalfLoop, 19},
    {coActionHalfCorkRight, 24},
    {coActionHalfCorkLeft, 20},
    {coActionShortStraightaway, 0},
    {coActionLongStraightaway, 18},
    {coActionCurvedRight, 3},
    {coActionCurvedLeft, 5},
    {coActionLoop, 6},
    {coActionCorkscrew, 7},
    {coActionSTurn, 9},
    {coActionPitchUp, 10},
    {coActionPitchDown, 11},
    {coActionBankLeft, 61},
    {coActionBankRight, 62},
    {coActionAccelerator, 25},
    {coActionBrake, 23},
    {coActionChain, 2},
    {coActionRetarder, 21},
    {coActionTubeDecoration, 1},
    {coActionFinishCoaster, 13},
    {coActionBendRight, 12},
    {coActionBendLeft, 65},
    {coActionWiden, 66},
    {coActionNarrow, 67},
    {coActionSelectPrevious, 53},
    {coActionSelectNext, 54},
    {coActionSelectDock, 77},
    {coActionSelectLast, 80},
    {coActionSlower, 53},
    {coActionFaster, 54},
    {coActionPreviousTrack, 57},
    {coActionNextTrack, 58},
    {coActionToggleShuffle, 59},
    {coActionEscape, 36},
};

// Both buttons, and control 0 for the GUI pointer action.
constexpr std::pair<int, int> kMouseBindings[] = {
    {coActionMouseLeft, 0},
    {coActionMouseRight, 1},
    {coMouseRecordLeft, 0},
};

template <std::size_t N>
void BindAll(inVirtualJoystick& joystick, inDevice& device, const std::pair<int, int> (&table)[N]) {
    for (const auto& [action, control] : table)
        joystick.Bind(device, action, control);
}

} // namespace

void coBindDefaultInput() {
    inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    if (!joystick)
        return;
    if (inKeyboard* keyboard = inDeviceManager::GetKeyboard(0))
        BindAll(*joystick, *keyboard, kKeyboardBindings);
    if (inMouse* mouse = inDeviceManager::GetMouse(0))
        BindAll(*joystick, *mouse, kMouseBindings);
}

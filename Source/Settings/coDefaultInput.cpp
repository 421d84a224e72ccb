#include "coDefaultInput.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"

#include <utility>
#include <vector>

namespace {

// Action id and key code; an action listed twice has two keys, and minus and equals serve two actions each.
constexpr std::pair<int, int> kKeyboardBindings[] = {
    {coActionNum4, inKeyNumpad0 + 4},
    {coActionNum6, inKeyNumpad0 + 6},
    {coActionNum9, inKeyNumpad0 + 9},
    {coActionNum3, inKeyNumpad0 + 3},
    {coActionNum8, inKeyNumpad0 + 8},
    {coActionNum5, inKeyNumpad0 + 5},
    {coActionNum5, inKeyNumpad0 + 2},
    {coActionLeft, inKeyLeft},
    {coActionRight, inKeyRight},
    {coActionUp, inKeyUp},
    {coActionDown, inKeyDown},
    {coActionShift, inKeyLeftShift},
    {coActionShift, inKeyRightShift},
    {coActionControl, coKeyLeftControl},
    {coActionControl, coKeyRightControl},
    {coActionLoad, inKeyDigit(1)},
    {coActionSave, inKeyDigit(2)},
    {coActionCamera, inKeyDigit(3)},
    {coActionGrid, inKeyDigit(4)},
    {coActionTest, inKeyDigit(5)},
    {coActionRide, inKeyDigit(6)},
    {coActionOptions, inKeyDigit(7)},
    {coActionBack, inKeyDigit(8)},
    {coActionStraightUp, inKeyLetter('W')},
    {coActionShallowRight, inKeyLetter('E')},
    {coActionShallowLeft, inKeyLetter('R')},
    {coActionHalfLoop, inKeyLetter('T')},
    {coActionHalfCorkRight, inKeyLetter('Y')},
    {coActionHalfCorkLeft, inKeyLetter('U')},
    {coActionShortStraightaway, inKeyLetter('A')},
    {coActionLongStraightaway, inKeyLetter('S')},
    {coActionCurvedRight, inKeyLetter('D')},
    {coActionCurvedLeft, inKeyLetter('F')},
    {coActionLoop, inKeyLetter('G')},
    {coActionCorkscrew, inKeyLetter('H')},
    {coActionSTurn, inKeyLetter('J')},
    {coActionPitchUp, inKeyLetter('K')},
    {coActionPitchDown, inKeyLetter('L')},
    {coActionBankLeft, inKeySemicolon},
    {coActionBankRight, inKeyApostrophe},
    {coActionAccelerator, inKeyLetter('Z')},
    {coActionBrake, inKeyLetter('X')},
    {coActionChain, inKeyLetter('C')},
    {coActionRetarder, inKeyLetter('V')},
    {coActionTubeDecoration, inKeyLetter('B')},
    {coActionFinishCoaster, inKeyLetter('N')},
    {coActionBendRight, inKeyLetter('M')},
    {coActionBendLeft, inKeyComma},
    {coActionWiden, inKeyPeriod},
    {coActionNarrow, inKeySlash},
    {coActionSelectPrevious, inKeyMinus},
    {coActionSelectNext, inKeyEquals},
    {coActionSelectDock, inKeyHome},
    {coActionSelectLast, inKeyEnd},
    {coActionSlower, inKeyMinus},
    {coActionFaster, inKeyEquals},
    {coActionPreviousTrack, inKeyLeftBracket},
    {coActionNextTrack, inKeyRightBracket},
    {coActionToggleShuffle, inKeyBackslash},
    {coActionEscape, inKeyEscape},
};

// Both buttons, and control 0 for the GUI pointer action.
constexpr std::pair<int, int> kMouseBindings[] = {
    {coActionMouseLeft, 0},
    {coActionMouseRight, 1},
    {coMouseRecordLeft, 0},
};

// The table as the joystick's two parallel lists, actions and controls, bound in one call.
template <std::size_t N>
void BindAll(inVirtualJoystick& joystick, inDevice& device, const std::pair<int, int> (&table)[N]) {
    std::vector<i32> actions, controls;
    for (const auto& [action, control] : table) {
        actions.push_back(action);
        controls.push_back(control);
    }
    joystick.BindMany(device, actions, controls);
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

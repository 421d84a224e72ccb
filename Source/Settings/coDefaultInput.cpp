#include "coDefaultInput.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"

#include <utility>

namespace {

// Action id and key code; an action listed twice has two keys, and keys 53 and 54 serve two actions each.
constexpr std::pair<int, int> kKeyboardBindings[] = {
    {103, 90}, {104, 92}, {105, 95}, {106, 89}, {107, 94}, {108, 91}, {108, 88}, {109, 84}, {110, 85},
    {111, 82}, {112, 83}, {113, 64}, {113, 68}, {114, 69}, {114, 75}, {117, 27}, {118, 28}, {119, 29},
    {120, 30}, {121, 31}, {122, 32}, {123, 33}, {124, 34}, {125, 22}, {126, 4},  {127, 17}, {128, 19},
    {129, 24}, {130, 20}, {131, 0},  {132, 18}, {133, 3},  {134, 5},  {135, 6},  {136, 7},  {137, 9},
    {138, 10}, {139, 11}, {140, 61}, {141, 62}, {142, 25}, {143, 23}, {144, 2},  {145, 21}, {146, 1},
    {147, 13}, {148, 12}, {149, 65}, {150, 66}, {151, 67}, {152, 53}, {153, 54}, {154, 77}, {155, 80},
    {156, 53}, {157, 54}, {158, 57}, {159, 58}, {160, 59}, {36, 36}};

// Both buttons, and control 0 for the GUI pointer action.
constexpr std::pair<int, int> kMouseBindings[] = {{115, 0}, {116, 1}, {1111, 0}};

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

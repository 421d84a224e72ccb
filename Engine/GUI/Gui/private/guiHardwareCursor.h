#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"

class g2dImage;

// The thin layer between the GUI's pointer and the device's hardware cursor: the shown flag, the hot
// spot, a copy of the current image's pixels (the image object may be replaced or deleted while the
// device still needs them after a reset), positions in GUI pixels, and the set-cursor hook. Calls made
// without a device only store.
namespace HardwareCursor {

// Registers the reset handler (once a program: GUI restarts keep it), marks the pointer shown and
// installs the set-cursor hook.
void SetUp();
// Removes the hook and forgets the image; the reset handler stays registered.
void ShutDown();

// The pointer in GUI pixels; false without a device.
bool GetPosition(maVector2d& position);
// Moves the pointer to GUI pixels.
void SetPosition(const maVector2d& position);
// Pixels, truncated; applied at once when an image is set.
void SetHotSpot(const maVector2d& hotSpot);
void Show(bool show);
// Reads a PNG or BMP into the image as A8R8G8B8; the readers' exceptions pass on.
void LoadCursorImage(const fsLocator& file, g2dImage& image);
// Copies the image's pixels as A8R8G8B8 and hands them with the hot spot to the device; nothing without
// a device.
void SetCursorImage(const g2dImage& image);

} // namespace HardwareCursor

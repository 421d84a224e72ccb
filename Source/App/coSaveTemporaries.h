#pragma once
#include <filesystem>

// Removes what saves cut short by a kill or a hang-up left in the saves folder: the atomic writer's
// temporary (the target's name plus ".tmp") of each file the game writes there, in the folder itself, each
// trackwright's folder and its track-type folders, the track colours and the unlocked props. Any other
// ".tmp" stays, and no link is followed. Called after the single-instance check, so that a second copy
// never removes a temporary that the first is writing.
void coRemoveSaveTemporaries(const std::filesystem::path& saves);
// The same in the first folder of the saves root, where the game writes.
void coRemoveSaveTemporaries();

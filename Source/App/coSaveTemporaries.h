#pragma once
#include <filesystem>

// Removes what saves cut short by a kill or a hang-up left in the saves folder: the atomic writer's
// temporaries (plAtomicFile) of each file the game writes there, in the folder itself, each trackwright's
// folder and its track-type folders, the track colours and the unlocked props, once their writer no longer
// runs. Any other ".tmp" stays, another running game's temporaries too, and no link is followed.
void coRemoveSaveTemporaries(const std::filesystem::path& saves);
// The same in the first folder of the saves root, where the game writes.
void coRemoveSaveTemporaries();

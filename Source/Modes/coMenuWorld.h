#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// What the menus ask of the game world and the career save; each subsystem fills its part as it is
// built. Besides clearing the world the base does nothing, so menus run on an empty world.
class coMenuWorld {
  public:
    virtual ~coMenuWorld() = default;
    // Empties track, props, rings, dock, terrain and statistics (coClearScene).
    virtual void ClearScene();
    virtual void SetWorldMode(i32) {}
    virtual void LoadCoasterDefinitions(const std::string& /*trackType*/,
                                        const std::string& /*environment*/) {}
    // Loads a saved coaster; throws the loaders' exceptions.
    virtual void LoadCoaster(const fsLocator& file);
    // Supports rebuilt and placed props active, before a ride.
    virtual void PrepareRide() {}
    // The coaster name on the main palette.
    virtual void SetCoasterName(const envString&) {}
};

// Not owned; null goes back to the base's empty world.
void coSetMenuWorld(coMenuWorld* world);
coMenuWorld& coGetMenuWorld();

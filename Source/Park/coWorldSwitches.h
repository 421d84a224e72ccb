#pragma once
#include <functional>

// The parts of the game world in the order coClearScene empties them. Holders of pointers into the
// world let go first; the ride and the props leave before the pieces they stand on; the track's objects
// go before their materials, and the materials before their textures.
enum class coClearStep {
    Holders,
    Ride,
    Props,
    TrackObjects,
    CollisionMarkers,
    TrackColours,
    TrackDefinitions,
    TrackTextures,
    Rings,
    Dock,
    PlacementOverlay,
    Terrain,
    Statistics,
};

// Adds a step to the part's clear, after the part's own and after those added before. An owner
// registers under its own address and removes its steps before it goes; a step adds or removes none.
void coAddClearSceneStep(coClearStep part, const void* owner, std::function<void()> step);
void coRemoveClearSceneSteps(const void* owner);

// Empties every part of the game world, in order, before another coaster is put in.
void coClearScene();

// Shows or hides the terrain, the track with its supports, the placed props, the collision markers, the
// rings and the loading dock's models.
void coSetWorldVisible(bool visible);
// Gives the terrain, the props and the dock their textures, or strips them (the untextured building
// view). Attaching the world objects for a render is this switch with true.
void coSetWorldTextured(bool textured);
// What the switch was last set to; textured until then.
bool coIsWorldTextured();

// Shows the world textured while it lives (a picture, a ride), then puts it back as it was, the dock's
// own building view included.
class coTexturedWorld {
  public:
    coTexturedWorld();
    ~coTexturedWorld();
    coTexturedWorld(const coTexturedWorld&) = delete;
    coTexturedWorld& operator=(const coTexturedWorld&) = delete;

  private:
    bool m_worldTextured;
    bool m_dockStripped;
};

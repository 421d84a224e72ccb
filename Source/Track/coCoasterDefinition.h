#pragma once
#include <string>

// The current coaster type's definition values as the track code reads them. The track geometry
// installs the loaded definition; until then (and in tests that install none) the defaults hold.
class coCoasterDefinition {
  public:
    virtual ~coCoasterDefinition() = default;
    // The collision radius of the track (the extrusion scale), and the radius picking uses when above 0.
    virtual float GetExtrusionScale() const { return 1.0f; }
    virtual float GetPickPathRadius() const { return 0.0f; }
    // The current coaster type's folder name under "Tracks"; empty when none is loaded.
    virtual std::string GetCoasterTypeName() const { return std::string(); }

    // Whether pieces may be rolled past 54 degrees either way.
    virtual bool GetAllowInvertPieces() const { return true; }
    // The train: its cars, their spacing along the track, where a ride starts and ends, and the height of
    // a car object above its car frame.
    virtual int GetNumCars() const { return 4; }
    virtual float GetCarSeparation() const { return 4.0f; }
    virtual float GetInitialPosition() const { return 25.0f; }
    virtual float GetRailHeight() const { return 1.0f; }
    // The least height of track above the terrain.
    virtual float GetTerrainOffset() const { return 1.5f; }
};

const coCoasterDefinition& coGetCoasterDefinition();
// Not owned; null restores the defaults.
void coSetCoasterDefinition(const coCoasterDefinition* definition);

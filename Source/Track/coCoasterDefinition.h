#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <string>
#include <vector>

class chReader;

// Told by the definition whether inverting pieces may be placed; the track-manipulation palette listens.
// The game's screens install it; until then nobody is told.
class coInversionListener {
  public:
    virtual ~coInversionListener() = default;
    virtual void SetAllowInversions(bool allow) = 0;
};

// Not owned; null for none.
void coSetInversionListener(coInversionListener* listener);

// The current coaster type as its "Coaster.def" describes it: how the train hangs and what it holds,
// where the ride cameras sit, the pick path round the track and the type's folder under "Tracks".
// One store lives for the whole run (coCoasterDefinitionStore); the track code reads whichever
// definition is installed (coGetCoasterDefinition), so tests can override single getters.
class coCoasterDefinition {
  public:
    virtual ~coCoasterDefinition() = default;

    // Reads "Tracks" / type name / file name: the four keys a type need not name go back to their
    // defaults first, every other key keeps its value unless the file names it. File and chunk errors
    // pass to the caller; what was read before them stays.
    void Load(const std::string& fileName);
    // The children of a "CoasterDefinition" chunk; unknown children and extra values are skipped.
    void ReadDefinition(chReader& reader);

    // The type's folder name under "Tracks"; empty until set.
    virtual std::string GetCoasterTypeName() const { return m_typeName; }
    void SetCoasterTypeName(const std::string& name) { m_typeName = name; }

    // Trains hang below the rail.
    virtual bool GetInverted() const { return m_inverted; }
    // Whether pieces may be rolled past 54 degrees either way.
    virtual bool GetAllowInvertPieces() const { return m_allowInvertPieces; }
    virtual bool GetNeedsShadow() const { return m_needsShadow; }
    virtual bool GetInvertStation() const { return m_invertStation; }
    virtual bool GetWoodSupports() const { return m_woodSupports; }
    // The ride cameras.
    virtual const maVector3d& GetEyePosition() const { return m_eyePosition; }
    virtual const maVector3d& GetCloseEyePosition() const { return m_closeEyePosition; }
    virtual const maVector4d& GetTetherOffset() const { return m_tetherOffset; }
    // Radians.
    virtual float GetCameraPitch() const { return m_cameraPitch; }
    virtual float GetCameraShake() const { return m_cameraShake; }
    virtual void GetCameraSlide(maVector4d& out) const { out = m_cameraSlide; }
    // The point in a piece's frame that the pick path follows, and the collision radius of the track.
    virtual void GetExtrusion(maVector3d& offset, float& width) const;
    virtual float GetExtrusionScale() const { return m_extrusionWidth; }
    // Above 0, pick paths also keep the frame origins.
    virtual float GetPickPathRadius() const { return m_pickPathRadius; }
    // The outline of the pick path's rings, across and up in a piece's frame.
    virtual const std::vector<maVector2d>& GetExtrusionPolygon() const { return m_extrusionPolygon; }
    // The train: its cars, their spacing along the track, where a ride starts, and the height of a car
    // object above its car frame.
    virtual int GetNumCars() const { return m_numCars; }
    virtual float GetCarSeparation() const { return m_carSeparation; }
    virtual float GetInitialPosition() const { return m_initialPosition; }
    virtual float GetRailHeight() const { return m_railHeight; }
    // The least height of track above the terrain.
    virtual float GetTerrainOffset() const { return m_terrainOffset; }

    void SetInverted(bool on) { m_inverted = on; }
    // Also tells the track-manipulation palette.
    void SetAllowInvertPieces(bool on);
    void SetNeedsShadow(bool on) { m_needsShadow = on; }
    void SetInvertStation(bool on) { m_invertStation = on; }
    void SetWoodSupports(bool on) { m_woodSupports = on; }
    void SetEyePosition(const maVector3d& position) { m_eyePosition = position; }
    void SetCloseEyePosition(const maVector3d& position) { m_closeEyePosition = position; }
    void SetTetherOffset(const maVector4d& offset) { m_tetherOffset = offset; }
    void SetCameraPitch(float radians) { m_cameraPitch = radians; }
    void SetCameraShake(float shake) { m_cameraShake = shake; }
    void SetCameraSlide(const maVector4d& slide) { m_cameraSlide = slide; }
    void SetExtrusion(const maVector3d& offset, float width);
    void SetPickPathRadius(float radius) { m_pickPathRadius = radius; }
    // Count 0 or less empties the outline.
    void SetExtrusionPolygon(const maVector2d* points, int count);
    // Fewer than one car is refused with a warning: the train code divides by the count.
    void SetNumCars(int cars);
    void SetCarSeparation(float separation) { m_carSeparation = separation; }
    void SetInitialPosition(float distance) { m_initialPosition = distance; }
    void SetRailHeight(float height) { m_railHeight = height; }
    void SetTerrainOffset(float offset) { m_terrainOffset = offset; }

  private:
    std::string m_typeName;
    bool m_inverted = false;
    bool m_allowInvertPieces = true;
    bool m_needsShadow = true;
    bool m_invertStation = false;
    bool m_woodSupports = false;
    maVector3d m_eyePosition{0.0f, 2.5f, -1.5f};
    maVector3d m_closeEyePosition{0.0f, 1.5f, 0.0f};
    maVector4d m_tetherOffset;
    maVector3d m_extrusionOffset{0.0f, 1.1f, 0.0f};
    float m_extrusionWidth = 1.0f;
    float m_pickPathRadius = 0.0f;
    float m_initialPosition = 25.0f;
    int m_numCars = 4;
    float m_carSeparation = 4.0f;
    float m_railHeight = 1.0f;
    float m_terrainOffset = 1.5f;
    float m_cameraPitch = 0.0f;
    float m_cameraShake = 0.0f;
    maVector4d m_cameraSlide;
    std::vector<maVector2d> m_extrusionPolygon;
};

// The process-wide store that "Coaster.def" is read into.
coCoasterDefinition& coCoasterDefinitionStore();
// The definition the game reads: the installed one, else the store.
const coCoasterDefinition& coGetCoasterDefinition();
// Not owned; null restores the store. A seam for tests and tools: the game reads the store.
void coSetCoasterDefinition(const coCoasterDefinition* definition);
// Replaces the store's extrusion polygon.
void coSetExtrusionPolygon(const maVector2d* points, int count);

// Reads count (at most 4) floats of a definition key into out. Every value is read (so a short chunk throws),
// but when one is not finite, out is left as it was, a warning names the key, and the answer is false.
bool coReadFiniteFloats(chReader& reader, const char* key, float* out, int count);

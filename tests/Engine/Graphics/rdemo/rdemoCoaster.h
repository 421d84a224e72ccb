#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coSceneTrackObjectMaker.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "rdemoR1.h"

#include <functional>
#include <string>
#include <vector>

class g3dFragment;
class g3dModel;

// Flat ground at 0 with a cone-shaped hill.
class DemoHillPark : public coParkWorld {
  public:
    bool GetHeightAt(float x, float z, float& height) const override;
    bool IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const override;
    float Ground(float x, float z) const;

    maVector3d hill{-30.0f, 0.0f, 30.0f};
    bool flat = false;
};

// A coaster of a type from the built content laid over the ground under the sun and drawn as the game
// draws it: track objects, supports and shadows in the renderer's lists, the camera above one corner of
// the track's box. Everything it starts ends with it.
class DemoCoaster {
  public:
    // lay appends the pieces. With a hill piece, the track is laid once on flat ground to find that piece's
    // middle, the hill is raised there, and the track is laid again over it; below 0 the ground stays flat.
    // A scheme at 0 or above is one of the type's shipped colour schemes.
    DemoCoaster(const std::string& type, int scheme, bool shadows, const std::function<void()>& lay,
                int hillPiece);
    DemoCoaster(const DemoCoaster&) = delete;
    DemoCoaster& operator=(const DemoCoaster&) = delete;
    ~DemoCoaster();

    // Set when the content could not give what was asked (with a message on stderr).
    bool Failed() const { return m_failed; }
    coTrackMeshBuilder& Builder() { return m_builder; }
    g3dCamera& Camera() { return m_camera; }
    // An environment's terrain stands in place of the demo's own ground.
    void HideGround();
    // Clears to the sky, renders, reads the back buffer and presents it.
    std::vector<u32> Frame();
    // The same without reading the back buffer, at any window size.
    void Draw();

  private:
    DemoHillPark m_park;
    coSceneTrackObjectMaker m_maker;
    coTrackMeshBuilder m_builder;
    coMeshBuilderDefinitions m_definitions{m_builder};
    g3dMaterial m_grass;
    g3dFragment* m_ground = nullptr;
    g3dModel* m_groundModel = nullptr;
    g3dCamera m_camera;
    bool m_failed = false;
};

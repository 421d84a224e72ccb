#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Geo/geoKDTree.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Source/Scene/coObject.h"
#include "Source/Track/coTrackBuilder.h"

#include <map>
#include <memory>
#include <vector>

class coCoasterPiece;
class coModelHolder;
class g3dMaterial;
class scSimpleMovableObject;
struct g3dTextureStage;

// The coaster's station: the theme's dock model standing in the world, picked and moved by the dock
// mode, with the first track piece attached at its back. At most one is loaded (coLoadDock).
class coLoadingDock : public coObject {
  public:
    // A dock without models, for stand-ins.
    coLoadingDock();
    explicit coLoadingDock(const coModelHolder& holder);
    ~coLoadingDock() override;

    // The union of the world boxes of its models.
    virtual coWorldBox GetBox() const;
    // Moves the dock to the piece's start plus half its span along the dock's facing.
    virtual void PlaceAtPiece(const coCoasterPiece& piece);
    // Places the dock at the piece and rebuilds the track near where it stood and now stands.
    void FollowPiece(const coCoasterPiece& piece);
    // Puts the piece half its span behind the dock with the dock's heading.
    void AttachFirstPiece(coCoasterPiece& piece) const;

    // On leaving the dock mode: the first piece goes to the dock, or an empty circuit starts with a
    // chain-lift straight of 40 through it, rolled over for coasters whose station is inverted.
    void ConnectTrack() const;

    maBoundingBox GetBounds() const;
    maBoundingBox GetBoundingBox() const override { return GetBounds(); }
    // The world box from origin along direction (its lengths), to a parameter of 2.0.
    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override;

    void SetPosition(const maVector3d& position);
    void SetAngle(f32 heading);
    const maVector3d& GetPosition() const { return m_position; }
    f32 GetAngle() const { return m_heading; }
    // The unit vector the dock faces: (sin heading, 0, cos heading).
    maVector3d GetFacing() const;
    void ShowModels(bool shown);

    // Takes every texture stage off the materials for building, once; the restore puts back the stage
    // lists as they were, modes and transforms included, and only after a strip.
    void StripTextures();
    void RestoreTextures();
    bool IsStripped() const { return m_stripped; }

    const std::vector<std::unique_ptr<scSimpleMovableObject>>& GetObjects() const { return m_objects; }
    const maBoundingBox& GetLocalBounds() const { return m_localBounds; }
    const maMatrix4d& GetLocalToWorld() const { return m_localToWorld; }
    const maMatrix4d& GetWorldToLocal() const { return m_worldToLocal; }

  private:
    void UpdateMatrices();

    maVector3d m_position{0.0f, 0.0f, 0.0f};
    f32 m_heading = 0.0f;
    maBoundingBox m_localBounds;
    maMatrix4d m_localToWorld, m_worldToLocal;
    std::vector<std::unique_ptr<scSimpleMovableObject>> m_objects;
    std::map<g3dMaterial*, std::vector<g3dTextureStage>> m_stages;
    bool m_stripped = false;
};

// A dock's box (GetBox, as stand-ins give it) as the placement grid reads it.
maBoundingBox coDockBounds(const coLoadingDock& dock);

// Frees the dock, then loads "loaddock.mx" of the theme's track type; a failed load leaves no dock, no
// theme and an empty tree.
void coLoadDock(const envString& theme);
// Frees the dock's grid cells, the dock, its models and its tree.
void coFreeDock();
coLoadingDock* coGetDock();
const envString& coGetDockTheme();
// False without a dock or when the segment misses its box; else the dock tree's answer in dock space.
bool coDockIntersectSegment(const maVector3d& p0, const maVector3d& p1, geoKDTreeHit& hit);

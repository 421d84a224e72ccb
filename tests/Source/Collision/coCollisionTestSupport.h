#pragma once
#include "Engine/Core/Geo/geoKDTree.h"
#include "Engine/Graphics/G3d/g3dRendererFixture.h"
#include "Engine/Graphics/Sc/scObject.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Settings/coPrefs.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// A scene object with a fixed box.
class coFakeSceneObject : public scObject {
  public:
    explicit coFakeSceneObject(const maBoundingBox& box) { SetBoundingBox(box); }
    void Update(float) override {}
};

inline std::unique_ptr<scObject> coMakeObject(const maVector3d& low, const maVector3d& high) {
    return std::make_unique<coFakeSceneObject>(maBoundingBox(low, high));
}

// The engine's scene on the test device: the renderer's lists and the update list for the objects the
// track makes, the fragment manager for their meshes, the screen for the debug lines.
class coEngineSceneTest : public g3dRendererFixture {
  protected:
    static u32 FragmentCount() {
        u32 count = 0;
        for (const g3dFragment* f = g3dFragmentManager::GetFirstFragment(); f; f = f->GetNext())
            ++count;
        return count;
    }
};

// Bool 41 and float 5 of the preferences, set to false and 1.0 for a test; the values before are put
// back afterwards.
class coFakePrefs {
  public:
    coFakePrefs()
        : m_disablePropCollisions(coPrefs::GetBool(coPrefDisablePropCollisions)),
          m_detailFactor(coPrefs::GetFloat(coPrefDetailDistance)) {
        SetDisablePropCollisions(false);
        SetDetailFactor(1.0f);
    }
    ~coFakePrefs() {
        SetDisablePropCollisions(m_disablePropCollisions);
        SetDetailFactor(m_detailFactor);
    }
    coFakePrefs(const coFakePrefs&) = delete;
    coFakePrefs& operator=(const coFakePrefs&) = delete;

    void SetDisablePropCollisions(bool on) { coPrefs::SetBool(coPrefDisablePropCollisions, on); }
    void SetDetailFactor(float factor) { coPrefs::SetFloat(coPrefDetailDistance, factor); }

  private:
    bool m_disablePropCollisions;
    float m_detailFactor;
};

// A park of flat ground at height groundY (two triangles in a kd-tree) over the grid, with settable
// props and dock; installed for its lifetime.
class coFakeCollisionPark : public coCollisionPark {
  public:
    coFakeCollisionPark(float minXZ, float maxXZ, float groundY) : gridMin(minXZ), gridMax(maxXZ) {
        const maVector3d corners[4] = {{minXZ, groundY, minXZ},
                                       {minXZ, groundY, maxXZ},
                                       {maxXZ, groundY, minXZ},
                                       {maxXZ, groundY, maxXZ}};
        const u16 indices[6] = {0, 1, 2, 2, 1, 3};
        terrain.AddTriangles(corners, 4, indices, 6);
        terrain.Build();
        coSetCollisionPark(this);
    }
    ~coFakeCollisionPark() override { coSetCollisionPark(nullptr); }

    void TrianglesInBox(const maVector3d& boxMin, const maVector3d& boxMax,
                        std::vector<maVector3d>& points) const override {
        if (hasTerrain)
            terrain.GetTrianglesInBox(boxMin, boxMax, points);
        else
            points.clear();
    }
    maBoundingBox GetCollisionBounds() const override {
        return hasTerrain ? terrain.GetBounds() : maBoundingBox();
    }
    float GetGridMinX() const override { return gridMin; }
    float GetGridMaxX() const override { return gridMax; }
    float GetGridMinZ() const override { return gridMin; }
    float GetGridMaxZ() const override { return gridMax; }
    bool IsBoxFree(const maBoundingBox& box) const override {
        return gridFree && box.minX >= gridMin && box.maxX <= gridMax && box.minZ >= gridMin &&
               box.maxZ <= gridMax;
    }
    void FindPropsInBox(const maBoundingBox&, std::vector<coCollisionProp>& found) const override {
        ++propQueries;
        found = props;
    }
    bool GetDock(maBoundingBox& world, coOrientedBox& box) const override {
        if (!hasDock)
            return false;
        ++dockQueries;
        box = dock;
        world = maBoundingBox(dock.transform.TransformPoint(dock.local.GetMin()),
                              dock.transform.TransformPoint(dock.local.GetMax()));
        return true;
    }

    geoKDTree terrain;
    bool hasTerrain = true;
    float gridMin, gridMax;
    bool gridFree = true;
    std::vector<coCollisionProp> props;
    bool hasDock = false;
    coOrientedBox dock;
    mutable int propQueries = 0;
    mutable int dockQueries = 0;
};

// An axis-aligned oriented box: local box centred on the origin, moved to the centre.
inline coOrientedBox coMakeOrientedBox(const maVector3d& centre, const maVector3d& half) {
    coOrientedBox box;
    box.local = maBoundingBox(half.Negate(), half);
    box.transform.SetTranslation(centre.x, centre.y, centre.z);
    return box;
}

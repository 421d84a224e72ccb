#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scObject.h"

#include <memory>
#include <vector>

class g3dFragment;

// The visible geometry of one placed track item in groups of scene objects, group g being level of detail
// g (0 the finest), of which only the current group is shown. The set owns its objects and the fragments
// they draw.
class coSceneObjectSet {
  public:
    coSceneObjectSet() = default;
    // Takes each object off the scene update list and deletes it, then releases the fragments.
    ~coSceneObjectSet();
    coSceneObjectSet(const coSceneObjectSet&) = delete;
    coSceneObjectSet& operator=(const coSceneObjectSet&) = delete;

    // Appends the object to group g (grown as needed), shown when g is the current group of a set that is
    // not hidden, else hidden; the box, centre and radius then take in every object. Nothing for no object
    // or a negative group.
    void Add(int g, std::unique_ptr<scObject> object);
    // A fragment of the fragment manager, destroyed with the set.
    void AddFragment(g3dFragment* fragment);

    const maBoundingBox& GetBox() const { return m_box; }
    const maVector3d& GetCentre() const { return m_centre; }
    float GetSquaredRadius() const { return m_squaredRadius; }
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    int GetCurrentGroup() const { return m_currentGroup; }
    const std::vector<std::unique_ptr<scObject>>& GetGroup(int g) const {
        return m_groups[static_cast<size_t>(g)];
    }
    bool HasObjectsIn(int g) const { return g >= 0 && g < GetGroupCount() && !GetGroup(g).empty(); }

    // The visible flag of the first object of the current group; false when that group is empty or absent.
    bool IsVisible() const;
    // False hides every object, and the set stays hidden whichever group becomes current; true shows the
    // current group's.
    void SetVisible(bool show);
    // Hides the current group and shows group g (unless the set is hidden), which becomes current.
    void ChooseGroup(int g);
    // The coarsest group whose distance threshold lies below the squared distance from the camera to the
    // set's bounding sphere; group 0 when none does.
    void ChooseGroupByDistance(const maVector3d& camera);
    // The culled state of the current group's objects, kept by the scene for this frame.
    void MarkCulled(bool culled);

    // Threshold of group g with the distance factor f: groups 1 and 2 have their own, others 0.
    static float Threshold(int g, float f);

  private:
    void ShowGroup(int g, bool show);

    std::vector<std::vector<std::unique_ptr<scObject>>> m_groups;
    std::vector<g3dFragment*> m_meshes;
    maBoundingBox m_box;
    maVector3d m_centre;
    float m_squaredRadius = 0.0f;
    int m_currentGroup = 0;
    bool m_hidden = false;
};

#include "Source/Scene/coSceneObjectSet.h"

#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Source/Settings/coPrefs.h"

#include <algorithm>

coSceneObjectSet::~coSceneObjectSet() {
    for (auto& group : m_groups) {
        for (auto& object : group) {
            scRemoveFromUpdateList(object.get());
            object.reset();
        }
    }
    for (g3dFragment* mesh : m_meshes)
        g3dFragmentManager::DestroyFragment(mesh);
}

void coSceneObjectSet::Add(int g, std::unique_ptr<scObject> object) {
    if (!object || g < 0)
        return;
    if (GetGroupCount() < g + 1)
        m_groups.resize(static_cast<size_t>(g) + 1);
    object->SetVisible(!m_hidden && g == m_currentGroup);
    m_groups[static_cast<size_t>(g)].push_back(std::move(object));

    m_box = maBoundingBox();
    for (const auto& group : m_groups) {
        for (const auto& member : group) {
            const maBoundingBox& box = member->GetBoundingBox();
            m_box.minX = std::min(m_box.minX, box.minX);
            m_box.maxX = std::max(m_box.maxX, box.maxX);
            m_box.minY = std::min(m_box.minY, box.minY);
            m_box.maxY = std::max(m_box.maxY, box.maxY);
            m_box.minZ = std::min(m_box.minZ, box.minZ);
            m_box.maxZ = std::max(m_box.maxZ, box.maxZ);
        }
    }
    m_centre = m_box.GetCenter();
    const maVector3d reach = m_box.GetMax() - m_centre;
    m_squaredRadius = maDot(reach, reach);
}

void coSceneObjectSet::AddFragment(g3dFragment* fragment) {
    m_meshes.push_back(fragment);
}

bool coSceneObjectSet::IsVisible() const {
    return HasObjectsIn(m_currentGroup) && GetGroup(m_currentGroup).front()->IsVisible();
}

void coSceneObjectSet::SetVisible(bool show) {
    m_hidden = !show;
    if (show) {
        ShowGroup(m_currentGroup, true);
        return;
    }
    for (int g = 0; g < GetGroupCount(); ++g)
        ShowGroup(g, false);
}

void coSceneObjectSet::ChooseGroup(int g) {
    if (g == m_currentGroup)
        return;
    // A hidden track (the ride without its rails) stays hidden as the camera moves.
    ShowGroup(m_currentGroup, false);
    ShowGroup(g, !m_hidden);
    m_currentGroup = g;
}

void coSceneObjectSet::ChooseGroupByDistance(const maVector3d& camera) {
    const maVector3d offset = m_centre - camera;
    const float q = maDot(offset, offset) - m_squaredRadius;
    const float f = coPrefs::GetFloat(coPrefDetailDistance);
    for (int g = GetGroupCount() - 1; g >= 1; --g) {
        if (Threshold(g, f) < q) {
            ChooseGroup(g);
            return;
        }
    }
    ChooseGroup(0);
}

void coSceneObjectSet::MarkCulled(bool culled) {
    if (m_currentGroup < 0 || m_currentGroup >= GetGroupCount())
        return;
    for (const auto& object : GetGroup(m_currentGroup)) {
        object->SetCulled(culled);
        object->SetSkipCullOnce(true);
    }
}

float coSceneObjectSet::Threshold(int g, float f) {
    if (g == 1)
        return f * 25000.0f + 800.0f;
    if (g == 2)
        return f * 80000.0f + 8000.0f;
    return 0.0f;
}

void coSceneObjectSet::ShowGroup(int g, bool show) {
    if (g < 0 || g >= GetGroupCount())
        return;
    for (const auto& object : GetGroup(g))
        object->SetVisible(show);
}

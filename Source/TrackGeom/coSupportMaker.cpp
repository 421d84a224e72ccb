#include "Source/TrackGeom/coSupportMaker.h"

namespace {

void CollectModelMaterials(const std::vector<std::unique_ptr<coSupportGeometry>>& entries,
                           const std::string& part, std::vector<g3dMaterial*>& out) {
    for (const auto& entry : entries) {
        if (entry->name != part || !entry->model)
            continue;
        for (int i = 0; i < entry->model->GetMaterialCount(); ++i)
            out.push_back(entry->model->GetMaterial(i));
    }
}

} // namespace

void coSupportMaker::CollectMaterials(const std::string& part, std::vector<g3dMaterial*>& out) const {
    // Parts read without a material draw with the shared default, which no scheme may recolour.
    for (const auto& pole : m_poles) {
        if (pole->GetName() == part && pole->GetMaterial())
            out.push_back(pole->GetMaterial());
    }
    for (const auto& plane : m_planes) {
        if (plane->name == part && plane->material)
            out.push_back(plane->material.get());
    }
    CollectModelMaterials(m_poleGeometry, part, out);
    CollectModelMaterials(m_jointGeometry, part, out);
    CollectModelMaterials(m_halfJointGeometry, part, out);
}

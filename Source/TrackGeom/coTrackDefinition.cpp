#include "Source/TrackGeom/coTrackDefinition.h"

void coCollectPartMaterials(const coTrackDefinition& definition, const std::string& part,
                            std::vector<g3dMaterial*>& out) {
    out.clear();
    for (const auto& section : definition.GetCrossSections())
        if (section->GetName() == part && section->GetMaterial())
            out.push_back(section->GetMaterial());
    for (const auto& crossbar : definition.GetCrossbars()) {
        if (crossbar->name != part || !crossbar->model)
            continue;
        for (int i = 0; i < crossbar->model->GetMaterialCount(); ++i)
            out.push_back(crossbar->model->GetMaterial(i));
    }
}

#include "Source/World/coLoadingDock.h"

#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr f32 kPickLimit = 2.0f;
constexpr u32 kRenderList = 0;

struct DockState {
    std::unique_ptr<coLoadingDock> dock;
    std::unique_ptr<coModelHolder> holder;
    envString theme;
};

// Never destroyed: the scene packages its objects would leave may be gone at exit.
DockState& State() {
    static auto* state = new DockState;
    return *state;
}

} // namespace

coLoadingDock::coLoadingDock() {
    UpdateMatrices();
}

coLoadingDock::coLoadingDock(const coModelHolder& holder) {
    for (int i = 0; i < holder.GetModelCount(); ++i) {
        g3dFragment* model = holder.GetModel(i);
        auto object = std::make_unique<scSimpleMovableObject>(model, kRenderList);
        object->SetVisible(true);
        scAddToUpdateList(object.get());
        m_objects.push_back(std::move(object));
        const maBoundingBox box = model->GetBoundingBox();
        m_localBounds.AddPoint(box.GetMin());
        m_localBounds.AddPoint(box.GetMax());
        for (u32 m = 0; m < model->GetMaterialCount(); ++m)
            if (g3dMaterial* material = model->GetMaterial(m)) {
                std::vector<g3dTextureStage>& stages = m_stages[material];
                for (u32 s = 0; s < material->GetStageCount(); ++s)
                    stages.push_back(material->GetStage(s));
            }
    }
    UpdateMatrices();
}

coLoadingDock::~coLoadingDock() = default;

void coLoadingDock::UpdateMatrices() {
    m_localToWorld.SetRotationY(m_heading);
    m_localToWorld.ReplaceTranslation(m_position);
    m_worldToLocal = m_localToWorld;
    m_worldToLocal.Invert();
}

maBoundingBox coLoadingDock::GetBounds() const {
    return m_objects.empty() ? maBoundingBox() : scWorldBox(m_localBounds, m_localToWorld);
}

coWorldBox coLoadingDock::GetBox() const {
    const maBoundingBox b = GetBounds();
    return {b.minX, b.maxX, b.minY, b.maxY, b.minZ, b.maxZ};
}

maBoundingBox coDockBounds(const coLoadingDock& dock) {
    const coWorldBox b = dock.GetBox();
    maBoundingBox box;
    box.Set(maVector3d(b[0], b[2], b[4]), maVector3d(b[1], b[3], b[5]));
    return box;
}

bool coLoadingDock::RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const {
    const maBoundingBox b = GetBounds();
    if (b.minX > b.maxX)
        return false;
    f32 hit = 0.0f;
    if (!geoIntersectSegmentBox(origin, direction, b.GetMin(), b.GetMax(), hit) || hit > kPickLimit)
        return false;
    t = hit;
    return true;
}

maVector3d coLoadingDock::GetFacing() const {
    return {std::sin(m_heading), 0.0f, std::cos(m_heading)};
}

void coLoadingDock::PlaceAtPiece(const coCoasterPiece& piece) {
    SetPosition(piece.GetStart() + GetFacing() * (piece.GetSpan() * 0.5f));
}

void coLoadingDock::FollowPiece(const coCoasterPiece& piece) {
    const coWorldBox before = GetBox();
    PlaceAtPiece(piece);
    const coWorldBox after = GetBox();
    coGetTrackBuilder().RebuildNearBox({std::min(before[0], after[0]), std::max(before[1], after[1]),
                                        std::min(before[2], after[2]), std::max(before[3], after[3]),
                                        std::min(before[4], after[4]), std::max(before[5], after[5])});
}

void coLoadingDock::AttachFirstPiece(coCoasterPiece& piece) const {
    piece.Place(m_position - GetFacing() * (piece.GetSpan() * 0.5f), m_heading);
}

void coLoadingDock::ConnectTrack() const {
    if (coCoasterPiece* first = coCircuitFirstPiece()) {
        AttachFirstPiece(*first);
        coCircuitReflowFrom(first, true);
        return;
    }
    constexpr f32 kLength = 40.0f;
    auto straight = std::make_unique<coCoasterPieceStraight>();
    straight->SetRunLength(kLength);
    straight->SetElement(coElementChainLift);
    if (coGetCoasterDefinition().GetInvertStation())
        straight->SetRoll(maPi);
    straight->Place(m_position - GetFacing() * (kLength * 0.5f), m_heading);
    coCircuitAppend(std::move(straight), false);
}

void coLoadingDock::SetPosition(const maVector3d& position) {
    m_position = position;
    for (const auto& object : m_objects)
        object->SetPosition(position);
    UpdateMatrices();
}

void coLoadingDock::SetAngle(f32 heading) {
    m_heading = heading;
    const maRotation rotation(maVector3d(0.0f, 1.0f, 0.0f), heading);
    for (const auto& object : m_objects)
        object->SetRotation(rotation);
    UpdateMatrices();
}

void coLoadingDock::ShowModels(bool shown) {
    for (const auto& object : m_objects)
        object->SetVisible(shown);
}

void coLoadingDock::StripTextures() {
    if (m_stripped)
        return;
    for (auto& [material, stages] : m_stages)
        material->ClearTextureStages();
    m_stripped = true;
}

void coLoadingDock::RestoreTextures() {
    if (!m_stripped)
        return;
    for (auto& [material, stages] : m_stages) {
        material->ClearTextureStages();
        for (u32 s = 0; s < stages.size(); ++s) {
            const g3dTextureStage& stage = stages[s];
            material->AddTextureStage(stage.texture, stage.mode);
            if (stage.transformed) {
                material->SetStageOffset(stage.offset, s);
                material->SetStageScale(stage.scale, s);
                material->SetStageRotation(stage.rotation, s);
            }
        }
    }
    m_stripped = false;
}

void coLoadDock(const envString& theme) {
    coFreeDock();
    DockState& state = State();
    state.theme = theme;
    fsLocator folder(coRootThemes);
    folder.AppendComponent(theme);
    fsLocator file = folder;
    file.AppendComponent("Tracks");
    file.AppendComponent(coGetCoasterDefinition().GetCoasterTypeName().c_str());
    file.AppendComponent("Model");
    file.AppendComponent("loaddock.mx");
    folder.AppendComponent("Texture");
    try {
        state.holder = coLoadModelHolder(file, folder, true);
    } catch (...) {
        state.theme.Clear();
        throw;
    }
    state.dock = std::make_unique<coLoadingDock>(*state.holder);
}

void coFreeDock() {
    DockState& state = State();
    if (state.dock)
        coPropList::FreeGridCells(coDockBounds(*state.dock), state.dock.get());
    state.dock.reset();
    state.holder.reset();
    state.theme.Clear();
}

coLoadingDock* coGetDock() {
    return State().dock.get();
}

const envString& coGetDockTheme() {
    return State().theme;
}

bool coDockIntersectSegment(const maVector3d& p0, const maVector3d& p1, geoKDTreeHit& hit) {
    const DockState& state = State();
    f32 t = 0.0f;
    if (!state.dock || !state.holder || !state.dock->RayTest(p0, p1 - p0, t))
        return false;
    const maMatrix4d& toLocal = state.dock->GetWorldToLocal();
    return state.holder->GetTree().IntersectSegment(toLocal.TransformPoint(p0), toLocal.TransformPoint(p1),
                                                    hit);
}

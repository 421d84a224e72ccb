#include "Source/TrackGeom/coTrackMeshBuilder.h"

#include "Source/Collision/coBoxTree.h"
#include "Source/Collision/coPickPathBuilder.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coExtrusion.h"
#include "Source/TrackGeom/coSupportDefinitionReader.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coSupportMakerWood.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsCavern(const std::string& name) {
    static const std::string cavern = "cavern";
    return std::equal(name.begin(), name.end(), cavern.begin(), cavern.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

coWorldBox ToWorldBox(const maBoundingBox& box) {
    return {box.minX, box.maxX, box.minY, box.maxY, box.minZ, box.maxZ};
}

// Unregisters the set from collision and deletes it.
void DropSet(std::unique_ptr<coSceneObjectSet>& set) {
    if (!set)
        return;
    coUnregisterObjectSet(set.get());
    set.reset();
}

// Walks along the next links from `from` while visit says so, at most once round the circuit and once more:
// a broken chain that never returns cannot hold the walk.
template <class Visit> void WalkBounded(coCoasterPiece* from, Visit visit) {
    int steps = coCircuitPieceCount() + 1;
    for (coCoasterPiece* q = from; q && steps > 0; q = q->GetNext(), --steps)
        if (!visit(q))
            return;
}

} // namespace

coTrackMeshBuilder::~coTrackMeshBuilder() {
    DropAll();
}

coTrackPieceObjects* coTrackMeshBuilder::Find(const coCoasterPiece* piece) {
    if (!piece)
        return nullptr;
    const auto found = m_registry.find(piece->GetSerial());
    return found != m_registry.end() && found->second.piece == piece ? &found->second : nullptr;
}

const coTrackPieceObjects* coTrackMeshBuilder::GetPieceObjects(const coCoasterPiece* piece) const {
    return const_cast<coTrackMeshBuilder*>(this)->Find(piece);
}

void coTrackMeshBuilder::RemovePieceObjects(coCoasterPiece* piece) {
    coTrackPieceObjects* entry = Find(piece);
    if (!entry)
        return;
    DropObjects(*entry);
    m_registry.erase(piece->GetSerial());
}

void coTrackMeshBuilder::DropObjects(coTrackPieceObjects& entry) {
    DropSet(entry.mesh);
    DropSupports(entry);
    DropSet(entry.shadow);
    DropPath(entry);
}

void coTrackMeshBuilder::RebuildPieceObjects(coCoasterPiece* piece, int mode) {
    if (!piece)
        return;
    coGetParkWorld().PlaceAllTrackProps();
    std::vector<coCoasterPiece*> pieces{piece};
    if (mode != 0 && piece->GetPrevious())
        pieces.push_back(piece->GetPrevious());
    if (mode == 1 && piece->GetNext())
        pieces.push_back(piece->GetNext());
    // On a closed circuit the walk ends with the piece itself, which is built a second time.
    if (mode == 2)
        WalkBounded(piece->GetNext(), [&](coCoasterPiece* q) {
            pieces.push_back(q);
            return q != piece;
        });
    for (coCoasterPiece* q : pieces)
        RemovePieceObjects(q);
    if (!coGetLoadedTrackDefinition())
        coLoadTrackDefinition("Track.def");
    if (!m_supportMaker)
        MakeSupportMaker("Support.def");
    for (coCoasterPiece* q : pieces)
        BuildPieceObjects(q);
}

void coTrackMeshBuilder::BuildPieceObjects(coCoasterPiece* piece) {
    RemovePieceObjects(piece);
    coTrackPieceObjects entry;
    entry.piece = piece;
    entry.mesh = std::make_unique<coSceneObjectSet>();
    if (const coTrackDefinition* definition = coGetLoadedTrackDefinition())
        coBuildPieceGeometry(*definition, *piece, *entry.mesh);
    coRegisterObjectSet(entry.mesh.get());
    if (m_supportMaker)
        MakeSupports(entry, false);
    if (coGetCoasterDefinition().GetNeedsShadow() && coGetShadowsEnabled() != 0 &&
        !IsCavern(coGetParkWorld().GetEnvironmentName())) {
        entry.shadow = std::make_unique<coSceneObjectSet>();
        coMakePieceShadow(*piece, *entry.shadow);
        coRegisterObjectSet(entry.shadow.get());
    }
    MakePath(entry);
    if (std::find(m_flagged.begin(), m_flagged.end(), piece) != m_flagged.end())
        coCollisionMarkPiece(entry.path.get());
    m_registry[piece->GetSerial()] = std::move(entry);
}

void coTrackMeshBuilder::DropSupports(coTrackPieceObjects& entry) {
    if (entry.supports && m_supportMaker)
        m_supportMaker->RemoveSupports(*entry.piece, *entry.supports);
    DropSet(entry.supports);
}

void coTrackMeshBuilder::MakeSupports(coTrackPieceObjects& entry, bool keepEmpty) {
    auto set = std::make_unique<coSceneObjectSet>();
    if (!m_supportMaker->MakeSupports(*entry.piece, *set) && !keepEmpty)
        return;
    coRegisterObjectSet(set.get());
    entry.supports = std::move(set);
}

void coTrackMeshBuilder::MakePath(coTrackPieceObjects& entry) {
    entry.path = std::make_unique<coPickPathMesh>(coBuildPickPathMesh(*entry.piece));
    coRegisterPlacedPiece(entry.path.get(), entry.piece);
}

void coTrackMeshBuilder::DropPath(coTrackPieceObjects& entry) {
    if (!entry.path)
        return;
    coUnregisterPlacedPiece(entry.path.get());
    entry.path->Clear();
    entry.path.reset();
}

void coTrackMeshBuilder::RebuildSupports(coCoasterPiece* piece) {
    if (!m_supportMaker || !piece)
        return;
    WalkBounded(piece->GetNext(), [&](coCoasterPiece* p) {
        if (coTrackPieceObjects* entry = Find(p)) {
            DropSupports(*entry);
            MakeSupports(*entry, false);
        }
        return p != piece;
    });
}

void coTrackMeshBuilder::RebuildNearBox(const coWorldBox& box) {
    if (!m_supportMaker)
        return;
    const float margin = 2.0f * coGetCoasterDefinition().GetExtrusionScale();
    for (auto& [serial, entry] : m_registry) {
        const maBoundingBox grown = coBoxGrow(entry.path->GetBounds(), margin);
        // Supports stand on the ground: only the horizontal overlap counts.
        if (!(box[0] <= grown.maxX && box[1] >= grown.minX && box[4] <= grown.maxZ && box[5] >= grown.minZ))
            continue;
        DropSupports(entry);
        DropPath(entry);
        MakeSupports(entry, true);
        MakePath(entry);
    }
}

void coTrackMeshBuilder::SetPieceFlagged(coCoasterPiece* piece, bool flagged) {
    const auto found = std::find(m_flagged.begin(), m_flagged.end(), piece);
    if (flagged && found == m_flagged.end())
        m_flagged.push_back(piece);
    else if (!flagged && found != m_flagged.end())
        m_flagged.erase(found);
}

coCoasterPiece* coTrackMeshBuilder::FindPieceByCollisionPath(const coPickPathMesh* path) const {
    for (const auto& [serial, entry] : m_registry)
        if (path && entry.path.get() == path)
            return entry.piece;
    return nullptr;
}

int coTrackMeshBuilder::GetShadowsEnabled() const {
    return coGetShadowsEnabled();
}

void coTrackMeshBuilder::GetPieceBounds(const coCoasterPiece* piece, coWorldBox& out) const {
    if (const coTrackPieceObjects* entry = GetPieceObjects(piece))
        out = ToWorldBox(entry->mesh->GetBox());
}

void coTrackMeshBuilder::GetTrackBounds(coWorldBox& out) const {
    coTrackBuilder::GetTrackBounds(out);
    bool first = true;
    for (const auto& [serial, entry] : m_registry) {
        const coWorldBox box = ToWorldBox(entry.mesh->GetBox());
        for (int axis = 0; axis < 3; ++axis) {
            const auto lo = static_cast<size_t>(2 * axis), hi = lo + 1;
            out[lo] = first ? box[lo] : std::min(out[lo], box[lo]);
            out[hi] = first ? box[hi] : std::max(out[hi], box[hi]);
        }
        first = false;
    }
}

void coTrackMeshBuilder::ShowTrackObjects(bool show) {
    const bool shadows = show && coPrefs::GetBool(coPrefTrackShadows);
    for (auto& [serial, entry] : m_registry) {
        entry.mesh->SetVisible(show);
        if (entry.supports)
            entry.supports->SetVisible(show);
        if (entry.shadow)
            entry.shadow->SetVisible(shadows);
    }
}

void coTrackMeshBuilder::RefreshShadows() {
    const bool shadows = coPrefs::GetBool(coPrefTrackShadows);
    for (auto& [serial, entry] : m_registry)
        if (entry.shadow)
            entry.shadow->SetVisible(shadows && entry.mesh->IsVisible());
}

void coTrackMeshBuilder::LoadTrackDefinition(const std::string& fileName) {
    DropAll();
    coLoadTrackDefinition(fileName);
}

void coTrackMeshBuilder::LoadSupportDefinition(const std::string& fileName) {
    DropAll();
    MakeSupportMaker(fileName);
}

void coTrackMeshBuilder::MakeSupportMaker(const std::string& fileName) {
    const coCoasterDefinition& coaster = coGetCoasterDefinition();
    if (coaster.GetCoasterTypeName() == "Wooden" || coaster.GetWoodSupports())
        m_supportMaker = std::make_unique<coSupportMakerWood>();
    else
        m_supportMaker = std::make_unique<coSupportMakerPole>();
    coLoadSupportDefinition(fileName, *m_supportMaker);
}

coTrackDefinition& coTrackMeshBuilder::GetTrackDefinition() {
    if (!coGetLoadedTrackDefinition())
        coLoadTrackDefinition("Track.def");
    return *coGetLoadedTrackDefinition();
}

coSupportMaker& coTrackMeshBuilder::GetSupportMaker() {
    if (!m_supportMaker)
        MakeSupportMaker("Support.def");
    return *m_supportMaker;
}

void coTrackMeshBuilder::SetSupportMaker(std::unique_ptr<coSupportMaker> maker) {
    DropAll();
    m_supportMaker = std::move(maker);
}

void coTrackMeshBuilder::FreeDefinitions() {
    m_flagged.clear();
    DropAll();
    coFreeTrackDefinition();
    m_supportMaker.reset();
}

coTrackDefinitions coTrackMeshBuilder::ResetDefinitionPointers() {
    return {coReleaseTrackDefinition(), std::move(m_supportMaker)};
}

void coTrackMeshBuilder::CreateShadowMaterial() {
    coCreateShadowMaterial();
}

void coTrackMeshBuilder::DestroyShadowMaterial() {
    for (auto& [serial, entry] : m_registry)
        DropSet(entry.shadow);
    coDestroyShadowMaterial();
}

void coTrackMeshBuilder::DropAll() {
    for (auto& [serial, entry] : m_registry)
        DropObjects(entry);
    m_registry.clear();
}

#include "Source/Modes/coModePlaceProp.h"

#include "Engine/GUI/Gui/guiCursor.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coTrackProp.h"

namespace {
constexpr int kSoundPlaced = 6;
constexpr u32 kMessagePlacing = 3;
constexpr u32 kMessageCannotPlace = 4;

void StartPlacing() {
    guiCursorMgr::SetShape(coPointerArrow);
    coGetPlacementGrid().ShowOverlay();
    coGetEditorHost().ShowMessage(kMessagePlacing, 5.0f);
    coGetEditorHost().ShowBuildPalettes(false);
}
} // namespace

bool coPropMayStand(const coProp& prop) {
    return coGetPlacementGrid().IsBoxFree(prop.GetBounds()) &&
           !coCollisionTestProp({prop.GetLocalBounds(), prop.GetTransform()});
}

bool coAttachTrackPropUnderRay(coTrackProp& prop, coPickRay ray) {
    maVector3d ground;
    if (coGetParkWorld().IntersectSegment(ray.start, ray.end, ground))
        ray.end = ground;
    float fraction = 0.5f;
    coCoasterPiece* piece = coPickTrackPosition(ray.start, ray.end, fraction);
    if (piece == nullptr || piece == coCircuitFirstPiece())
        return false;
    prop.SetPiece(piece);
    prop.SetDistance(fraction);
    prop.PlaceOnTrack();
    prop.SetVisible(true);
    return true;
}

coModePlaceProp::coModePlaceProp() = default;
coModePlaceProp::~coModePlaceProp() = default;

void coModePlaceProp::Enter() {
    EnterCommon();
    m_cancelled = false;
    m_shown = false;
    m_prop = std::make_unique<coProp>(*m_template);
    m_prop->SetVisible(false);
    StartPlacing();
}

void coModePlaceProp::Think() {
    BeginToolFrame();
    coPlacementGrid& grid = coGetPlacementGrid();
    maVector3d hit;
    if (HitTerrain(PointerRay(), hit)) {
        hit.y += m_template->GetHeight();
        m_prop->SetPosition(hit);
        m_prop->SetVisible(true);
        grid.SetCursorVisible(true);
        m_shown = true;
    } else {
        grid.SetCursorVisible(false);
        m_prop->SetVisible(false);
    }
    if (Released(coActionEscape)) {
        m_cancelled = true;
        SetResult(Leave);
    }
    const bool mayPlace = coPropMayStand(*m_prop);
    if (Released(coActionMouseLeft) && m_shown) {
        if (mayPlace) {
            SetResult(Leave);
            coGetEditorHost().PlaySound(kSoundPlaced);
        } else {
            Feedback(kMessageCannotPlace);
        }
    }
    EndToolFrame(m_prop->GetBounds(), mayPlace);
}

void coModePlaceProp::Exit() {
    ExitCommon();
    std::unique_ptr<coProp> prop = std::move(m_prop);
    if (!m_cancelled && m_shown) {
        coProp* placed = prop.get();
        coPropList::Add(std::move(prop));
        placed->SetVisible(true);
        coSelectionSetProp(placed);
        coGetTrackBuilder().RebuildNearBox(coWorldBoxOf(placed->GetBounds()));
    }
    m_camera = nullptr;
    m_template = nullptr;
    coGetPlacementGrid().HideOverlay();
}

coModePlaceTrackProp::coModePlaceTrackProp() = default;
coModePlaceTrackProp::~coModePlaceTrackProp() = default;

void coModePlaceTrackProp::Enter() {
    EnterCommon();
    m_cancelled = false;
    m_prop = std::make_unique<coTrackProp>(*m_template);
    m_prop->SetVisible(false);
    StartPlacing();
}

void coModePlaceTrackProp::Think() {
    BeginToolFrame();
    coAttachTrackPropUnderRay(*m_prop, PointerRay());
    if (Released(coActionEscape)) {
        m_cancelled = true;
        SetResult(Leave);
    }
    if (Released(coActionMouseLeft)) {
        SetResult(Leave);
        coGetEditorHost().PlaySound(kSoundPlaced);
    }
    EndToolFrame(m_prop->GetBounds(), true);
}

void coModePlaceTrackProp::Exit() {
    ExitCommon();
    std::unique_ptr<coTrackProp> prop = std::move(m_prop);
    if (!m_cancelled && prop->GetPiece() != nullptr) {
        coTrackProp* placed = prop.get();
        coPropList::Add(std::move(prop));
        placed->SetVisible(true);
        coSelectionSetProp(placed);
    }
    m_camera = nullptr;
    m_template = nullptr;
    coGetPlacementGrid().HideOverlay();
}

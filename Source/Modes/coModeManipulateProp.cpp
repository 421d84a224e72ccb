#include "Source/Modes/coModeManipulateProp.h"

#include "Engine/GUI/Gui/guiCursor.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coModePlaceProp.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coTrackProp.h"

namespace {
constexpr i32 kPropPalette = 4;
constexpr u32 kMessageCannotPlace = 4;
constexpr u32 kMessageRotating = 6;
constexpr u32 kMessageCannotTurn = 8;
constexpr u32 kMessageDragging = 10;
constexpr u32 kMessageClicking = 3;

// The palette hidden, the tool's message and the other palettes inert, as every prop tool starts.
void StartTool(u32 message) {
    coEditorHost& host = coGetEditorHost();
    host.ShowManipulatePalette(kPropPalette, false);
    host.ShowMessage(message, 5.0f);
    host.ShowBuildPalettes(false);
}

u32 MoveMessage() {
    return coToolClicksToFinish() == 1 ? kMessageDragging : kMessageClicking;
}

// The prop's cells taken off the grid while it is handled, with the overlay up.
void LiftFromGrid(const coProp& prop, maBoundingBox& oldBounds) {
    coPlacementGrid& grid = coGetPlacementGrid();
    grid.SetCursorVisible(true);
    oldBounds = prop.GetBounds();
    coPropList::FreeGridCells(oldBounds, &prop);
    grid.ShowOverlay();
}

// The prop's cells marked where it ends, and the track near both places rebuilt.
void SetDownOnGrid(const coProp& prop, const maBoundingBox& oldBounds) {
    coGetPlacementGrid().MarkBox(prop.GetBounds(), coPlacementGrid::kOccupied);
    coGetTrackBuilder().RebuildNearBox(coWorldBoxOf(oldBounds));
    coGetTrackBuilder().RebuildNearBox(coWorldBoxOf(prop.GetBounds()));
}
} // namespace

void coModeRotateProp::Enter() {
    EnterCommon();
    guiCursorMgr::SetShape(coPointerArrow);
    m_cancelled = false;
    m_turned = 0.0f;
    m_startAngle = m_prop->GetAngle();
    LiftFromGrid(*m_prop, m_oldBounds);
    m_clicksLeft = coToolClicksToFinish();
    StartTool(kMessageRotating);
}

void coModeRotateProp::Think() {
    BeginToolFrame();
    m_turned += HorizontalMotion();
    m_prop->SetAngle(coTurnedHeading(m_turned, m_startAngle));
    if (Released(coActionEscape)) {
        m_cancelled = true;
        SetResult(Leave);
    }
    const bool mayPlace = coPropMayStand(*m_prop);
    // The click asks the grid only; a heading that meets the track is undone when the tool ends.
    if (Released(coActionMouseLeft)) {
        if (coGetPlacementGrid().IsBoxFree(m_prop->GetBounds()))
            --m_clicksLeft;
        else
            Feedback(kMessageCannotTurn);
    }
    if (m_clicksLeft == 0)
        SetResult(Leave);
    EndToolFrame(m_prop->GetBounds(), mayPlace);
}

void coModeRotateProp::Exit() {
    ExitCommon();
    coGetEditorHost().ShowManipulatePalette(kPropPalette, true);
    coGetPlacementGrid().HideOverlay();
    if (m_cancelled || !coPropMayStand(*m_prop))
        m_prop->SetAngle(m_startAngle);
    SetDownOnGrid(*m_prop, m_oldBounds);
    m_prop = nullptr;
    m_camera = nullptr;
}

void coModeTranslateProp::Enter() {
    EnterCommon();
    guiCursorMgr::SetShape(coPointerArrow);
    m_cancelled = false;
    m_startPosition = m_prop->GetPosition();
    // The ground under the prop is what the pointer moves, so grabbing it keeps the prop in place.
    GrabPoint(m_startPosition - maVector3d(0.0f, m_prop->GetTemplate().GetHeight(), 0.0f));
    LiftFromGrid(*m_prop, m_oldBounds);
    m_clicksLeft = coToolClicksToFinish();
    StartTool(MoveMessage());
}

void coModeTranslateProp::Think() {
    BeginToolFrame();
    coPlacementGrid& grid = coGetPlacementGrid();
    maVector3d hit;
    if (HitTerrain(PointerRay(), hit)) {
        hit.y += m_prop->GetTemplate().GetHeight();
        m_prop->SetPosition(hit);
        m_prop->SetVisible(true);
        grid.SetCursorVisible(true);
    } else {
        grid.SetCursorVisible(false);
        m_prop->SetVisible(false);
    }
    const bool mayPlace = coPropMayStand(*m_prop);
    if (Released(coActionEscape)) {
        m_cancelled = true;
        SetResult(Leave);
    }
    if (Released(coActionMouseLeft)) {
        if (mayPlace)
            --m_clicksLeft;
        else
            Feedback(kMessageCannotPlace);
    }
    if (m_clicksLeft == 0)
        SetResult(Leave);
    EndToolFrame(m_prop->GetBounds(), mayPlace);
}

void coModeTranslateProp::Exit() {
    ExitCommon();
    coGetEditorHost().ShowManipulatePalette(kPropPalette, true);
    coGetPlacementGrid().HideOverlay();
    if (m_cancelled || !coPropMayStand(*m_prop))
        m_prop->SetPosition(m_startPosition);
    // A prop hidden over the sky stands again where it was last shown, or back at its start.
    m_prop->SetVisible(true);
    SetDownOnGrid(*m_prop, m_oldBounds);
    m_prop = nullptr;
    m_camera = nullptr;
}

void coModeTranslateTrackProp::Enter() {
    EnterCommon();
    m_cancelled = false;
    guiCursorMgr::SetShape(coPointerArrow);
    m_startPiece = m_prop->GetPiece();
    m_startFraction = m_prop->GetDistance();
    m_grabX = m_grabY = 0.0f;
    if (m_startPiece != nullptr)
        GrabPoint(m_startPiece->PointAt(m_startFraction));
    m_clicksLeft = coToolClicksToFinish();
    StartTool(MoveMessage());
}

void coModeTranslateTrackProp::Think() {
    BeginToolFrame();
    coAttachTrackPropUnderRay(*m_prop, PointerRay());
    if (Released(coActionEscape)) {
        m_cancelled = true;
        SetResult(Leave);
    }
    if (Released(coActionMouseLeft))
        --m_clicksLeft;
    if (m_clicksLeft == 0)
        SetResult(Leave);
    EndToolFrame(m_prop->GetBounds(), true);
}

void coModeTranslateTrackProp::Exit() {
    ExitCommon();
    coGetEditorHost().ShowManipulatePalette(kPropPalette, true);
    coGetPlacementGrid().HideOverlay();
    if (m_cancelled || m_prop->GetPiece() == nullptr) {
        m_prop->SetPiece(m_startPiece);
        m_prop->SetDistance(m_startFraction);
        m_prop->PlaceOnTrack();
    }
    m_prop = nullptr;
    m_camera = nullptr;
}

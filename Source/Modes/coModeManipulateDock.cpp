#include "Source/Modes/coModeManipulateDock.h"

#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"

namespace {
constexpr i32 kDockPalette = 5;
constexpr int kSoundPlaced = 6;
// The station's height over the terrain, on top of the coaster type's own offset.
constexpr float kStationHeight = 13.5f;
constexpr u32 kMessageCannotPlace = 4;
constexpr u32 kMessageCannotTurn = 7;
constexpr u32 kMessagePlaceDock = 2;
constexpr u32 kMessageTurnDock = 5;
constexpr u32 kMessageDragDock = 9;

// How far above the terrain the dock's origin stands.
float DockLift() {
    return coGetCoasterDefinition().GetTerrainOffset() + kStationHeight;
}
} // namespace

void coModeManipulateDock::RestoreFirstPiece() {
    if (coCoasterPiece* first = coCircuitFirstPiece())
        coGetTrackBuilder().RebuildPieceObjects(first, 1);
}

void coModeManipulateDock::Enter() {
    EnterCommon();
    guiCursorMgr::SetShape(coPointerArrow);
    coEditorHost& host = coGetEditorHost();
    m_grabX = m_grabY = 0.0f;
    if (m_kind == PlaceNew) {
        // Loading frees the dock the park had; nothing may keep pointing at it.
        if (coSelectionGetKind() == coSelectionDock)
            coSelectionClear();
        try {
            coLoadDock(envString(m_dockType.c_str()));
        } catch (const envExceptionX& failure) {
            host.ReportError(failure);
        }
        m_dock = coGetDock();
        // Nothing to place: the player has been told and is back in the editor at once.
        if (m_dock == nullptr) {
            SetResult(Leave);
            return;
        }
        // A coaster not yet ridden has no car theme: its dock's stands in, as a load would give it.
        if (coGetThemeName().empty())
            coSetThemeName(m_dockType);
        if (!coPrefs::GetBool(coPrefTextureInBuild))
            m_dock->StripTextures();
    }
    m_startPosition = m_dock->GetPosition();
    m_startAngle = m_dock->GetAngle();
    m_turned = 0.0f;
    m_cancelled = false;
    // The ground under the dock is what the pointer moves, so grabbing it keeps the dock in place.
    if (m_kind == Move)
        GrabPoint(m_startPosition - maVector3d(0.0f, DockLift(), 0.0f));
    host.ShowManipulatePalette(kDockPalette, false);
    coPlacementGrid& grid = coGetPlacementGrid();
    grid.SetCursorVisible(true);
    if (coCoasterPiece* first = coCircuitFirstPiece())
        coGetTrackBuilder().RemovePieceObjects(first);
    if (m_kind != PlaceNew)
        coPropList::FreeGridCells(coDockBounds(*m_dock), m_dock);
    grid.ShowOverlay();
    const bool drag = coToolClicksToFinish() == 1;
    m_clicksLeft = !drag && m_kind != PlaceNew ? 2 : 1;
    const u32 messages[] = {drag ? kMessageDragDock : kMessagePlaceDock, kMessageTurnDock, kMessagePlaceDock};
    host.ShowMessage(messages[m_kind], 5.0f);
    host.ShowBuildPalettes(false);
}

void coModeManipulateDock::Think() {
    BeginToolFrame();
    if (m_dock == nullptr)
        return;
    coPlacementGrid& grid = coGetPlacementGrid();
    if (m_kind == Turn) {
        m_turned += HorizontalMotion();
        m_dock->SetAngle(coTurnedHeading(m_turned, m_startAngle));
    } else {
        maVector3d hit;
        if (HitTerrain(PointerRay(), hit)) {
            hit.y += DockLift();
            m_dock->SetPosition(hit);
            m_dock->ShowModels(true);
            grid.SetCursorVisible(true);
        } else {
            grid.SetCursorVisible(false);
            m_dock->ShowModels(false);
        }
    }
    const bool mayPlace = grid.CanPlaceBox(coDockBounds(*m_dock));
    if (Released(coActionEscape)) {
        m_cancelled = true;
        SetResult(Leave);
    } else {
        if (Released(coActionMouseLeft)) {
            if (mayPlace)
                --m_clicksLeft;
            else
                Feedback(m_kind == Turn ? kMessageCannotTurn : kMessageCannotPlace);
        }
        if (m_clicksLeft == 0) {
            if (m_kind == PlaceNew)
                coGetEditorHost().PlaySound(kSoundPlaced);
            SetResult(Leave);
        }
    }
    EndToolFrame(coDockBounds(*m_dock), mayPlace);
}

void coModeManipulateDock::Exit() {
    ExitCommon();
    coGetEditorHost().ShowManipulatePalette(kDockPalette, true);
    coPlacementGrid& grid = coGetPlacementGrid();
    grid.HideOverlay();
    if (m_dock == nullptr) {
        RestoreFirstPiece();
        coSelectLoadingDock();
        m_camera = nullptr;
        return;
    }
    if (m_cancelled || !grid.CanPlaceBox(coDockBounds(*m_dock))) {
        if (m_kind == PlaceNew) {
            coFreeDock();
            m_dock = nullptr;
            m_camera = nullptr;
            RestoreFirstPiece();
            coSelectLoadingDock();
            return;
        }
        m_dock->SetPosition(m_startPosition);
        m_dock->SetAngle(m_startAngle);
    }
    m_dock->ShowModels(true);
    m_dock->ConnectTrack();
    coSelectionSetDock(m_dock);
    grid.MarkBox(coDockBounds(*m_dock), coPlacementGrid::kOccupied);
    m_dock = nullptr;
    m_camera = nullptr;
}

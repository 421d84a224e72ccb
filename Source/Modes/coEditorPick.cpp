#include "Source/Modes/coEditorPick.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coEditorWorld.h"
#include "Source/Scene/coObject.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coParkWorld.h"
#include <cstdlib>

namespace {
// Whether the last press landed on the view; a press a window took must not let its release pick.
bool g_pressed = false;
double g_pressTime = 0.0;
i32 g_pressX = 0;
i32 g_pressY = 0;
} // namespace

void coEditorClickPick(g3dCamera& camera) {
    coEditorInput* input = coGetEditorInput();
    if (input == nullptr || !input->HasMouse())
        return;
    const bool pressed = input->IsDown(coActionMouseLeft) && !input->IsHeld(coActionMouseLeft);
    if (input->IsMouseClaimed(coMouseRecordLeft)) {
        if (pressed)
            g_pressed = false;
        return;
    }
    i32 x = 0;
    i32 y = 0;
    input->GetPointer(x, y);
    if (pressed) {
        g_pressed = true;
        g_pressTime = input->GetTime();
        g_pressX = x;
        g_pressY = y;
    } else if (input->WasReleased(coActionMouseLeft) && g_pressed) {
        g_pressed = false;
        const bool quick = input->GetTime() - g_pressTime < 1.0;
        const bool still = std::abs(x - g_pressX) < 5 && std::abs(y - g_pressY) < 5;
        if (quick && still) {
            i32 width = 0;
            i32 height = 0;
            input->GetScreenSize(width, height);
            coEditorPickAt(camera, x, y, width, height);
        }
    }
}

void coEditorPickAt(g3dCamera& camera, i32 x, i32 y, i32 width, i32 height) {
    const coEditorInput* input = coGetEditorInput();
    const bool tracksOnly =
        input != nullptr && (input->IsKeyDown(coKeyLeftControl) || input->IsKeyDown(coKeyRightControl));
    const float halfWidth = static_cast<float>(width) / 2.0f;
    const float halfHeight = static_cast<float>(height) / 2.0f;
    const float nx = (static_cast<float>(x) - halfWidth) / halfWidth;
    const float ny = (halfHeight - static_cast<float>(y)) / halfHeight;

    const maVector3d origin = *camera.GetPosition();
    maVector3d end = origin + (camera.ScreenToWorld(nx, ny) - origin) * 1000.0f;
    maVector3d ground;
    if (coGetParkWorld().IntersectSegment(origin, end, ground))
        end = ground;

    float pieceT = 1.01f;
    float objectT = 1.01f;
    float t = 1.0f;
    const coPickPathMesh* mesh = coCollisionPickPiece(origin, end, t);
    if (mesh != nullptr)
        pieceT = t;
    coObject* object = nullptr;
    if (!tracksOnly) {
        object = coPickObject(origin, end - origin, t);
        if (object != nullptr)
            objectT = t;
    }
    if (mesh == nullptr && object == nullptr)
        return;
    if (mesh != nullptr && pieceT < objectT) {
        coCoasterPiece* piece = coGetEditorWorld().FindPieceByCollisionPath(mesh);
        if (piece == nullptr)
            return;
        if (piece == coCircuitFirstPiece())
            coSelectLoadingDock();
        else
            coSelectionSetPiece(piece);
    } else {
        coSelectionSetObject(object);
    }
}

#include "Source/SavedCoaster/coCoasterThumbnail.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/Ch/chWriter.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scObject.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coLFVisCompute.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"

#include <vector>

namespace {

constexpr f32 kFieldOfView = 60.0f;
constexpr f32 kNear = 1.0f;
constexpr f32 kClearance = 5.0f;

maBoundingBox Around(const maVector3d& p, f32 half) {
    return maBoundingBox(maVector3d(p.x - half, p.y - half, p.z - half),
                         maVector3d(p.x + half, p.y + half, p.z + half));
}

maBoundingBox TrackBox() {
    coWorldBox box{};
    coGetTrackBuilder().GetTrackBounds(box);
    maBoundingBox out;
    out.minX = box[0], out.maxX = box[1], out.minY = box[2], out.maxY = box[3], out.minZ = box[4],
    out.maxZ = box[5];
    return out;
}

// What the picture leaves out (the palettes and any dialog up, the builder's selection marker), shown
// again as it was.
template <class Shown> class HiddenWhileDrawn {
  public:
    explicit HiddenWhileDrawn(Shown* shown) : m_shown(shown) {
        if (!m_shown)
            return;
        m_wasVisible = m_shown->IsVisible();
        m_shown->SetVisible(false);
    }
    ~HiddenWhileDrawn() {
        if (m_shown)
            m_shown->SetVisible(m_wasVisible);
    }
    HiddenWhileDrawn(const HiddenWhileDrawn&) = delete;
    HiddenWhileDrawn& operator=(const HiddenWhileDrawn&) = delete;

  private:
    Shown* m_shown;
    bool m_wasVisible = false;
};

scObject* g_marker = nullptr;

// The sun's flare as the picture's camera sees it; the flares' test then looks from the player's camera
// again.
class FlaresFrom {
  public:
    explicit FlaresFrom(g3dCamera& camera) : m_test(dynamic_cast<coLFVisCompute*>(scLFGetVisCompute())) {
        if (m_test) {
            m_playersCamera = m_test->GetCamera();
            m_test->SetCamera(&camera);
        }
        scUpdateLensFlares();
    }
    ~FlaresFrom() {
        if (m_test)
            m_test->SetCamera(m_playersCamera);
    }
    FlaresFrom(const FlaresFrom&) = delete;
    FlaresFrom& operator=(const FlaresFrom&) = delete;

  private:
    coLFVisCompute* m_test;
    g3dCamera* m_playersCamera = nullptr;
};

} // namespace

void coRenderCoasterThumbnail() {
    const coThumbnailWorld world{
        [](f32 x, f32 z, f32& height) { return coGetParkWorld().GetHeightAt(x, z, height); },
        [](const maBoundingBox& box) {
            std::vector<coProp*> props;
            coPropList::FindInBox(box, props);
            return !props.empty();
        },
        [](const maVector3d& p) { return coCollisionBoxOverlaps(Around(p, kClearance)); }};
    maVector3d target;
    const maVector3d eye = coChooseThumbnailCamera(TrackBox(), world, target);

    i32 width = 0, height = 0;
    g2dScreen::GetSize(width, height);
    g3dCamera camera;
    camera.SetFieldOfView(kFieldOfView);
    if (width > 0 && height > 0)
        camera.SetAspectRatio(static_cast<f32>(width) / static_cast<f32>(height));
    camera.SetClipPlanes(kNear, coEnvironment::kFarClipDistance);
    camera.LookAt(eye, target, maVector3d(0.0f, 1.0f, 0.0f));
    camera.Apply();
    // The still picture shows the whole track at full detail, whatever the player's view culled.
    coChooseDetailGroup(0);
    coCullScene(camera);

    // The picture shows the world textured; a save leaves the builder's look as it was.
    const coTexturedWorld textured;
    const HiddenWhileDrawn<guiContainer> hiddenGui(guiWindowMgr::GetRoot());
    const HiddenWhileDrawn<scObject> hiddenMarker(g_marker);
    const FlaresFrom flares(camera);
    g2dScreen::Clear(coGetEnvironment().GetBackgroundColor());
    g3dRenderer::RenderFrame(appClock::GetTime());
}

void coWriteCoasterThumbnail(const coBmpTarget& target, plD3dDevice& device) {
    coRenderCoasterThumbnail();
    coWriteThumbnailBmp(target, device);
}

void coSetThumbnailHiddenMarker(scObject* marker) {
    g_marker = marker;
}

bool coGameCoasterServices::GetDock(maVector3d& position, float& heading, std::string& type) const {
    const coLoadingDock* dock = coGetDock();
    if (!dock)
        return false;
    position = dock->GetPosition();
    heading = dock->GetAngle();
    type = envStringToNarrow(coGetDockTheme());
    return true;
}

void coGameCoasterServices::LoadDock(const std::string& type) {
    coLoadDock(envString(type.c_str()));
}

void coGameCoasterServices::PlaceDock(const maVector3d& position, float heading) {
    coLoadingDock* dock = coGetDock();
    if (!dock)
        return;
    dock->SetPosition(position);
    dock->SetAngle(heading);
    // Props are not placed over the station.
    coGetPlacementGrid().MarkBox(coDockBounds(*dock), coPlacementGrid::kOccupied);
}

void coGameCoasterServices::AttachTrackToDock() {
    const coLoadingDock* dock = coGetDock();
    if (dock && coCircuitFirstPiece())
        dock->ConnectTrack();
}

void coGameCoasterServices::WriteThumbnail(chWriter& writer) const {
    if (!g_pdevice)
        return;
    writer.BeginChunk(coChunkSnapshot, 1, true);
    coWriteCoasterThumbnail(
        [&writer](const u8* bytes, u32 count) {
            for (u32 i = 0; i < count; ++i)
                writer.WriteUInt8(bytes[i]);
        },
        *g_pdevice);
    writer.EndChunk();
}
